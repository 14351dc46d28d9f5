// Types keystroke strings into the window that has the keyboard focus. The string is in the key
// notation of keynotation/key_notation.h; a string that is not valid notation is rejected whole
// before any key of it is typed. Typing returns once the keys are sent, without waiting for the
// target window to process them. Every character arrives or the call fails.
#pragma once

#include <string>

namespace plumwick {

class Keystrokes {
 public:
  virtual ~Keystrokes() = default;
  virtual void Type(const std::string& keys) = 0;
};

}  // namespace plumwick
