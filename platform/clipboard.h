// The desktop's clipboard, written as plain text.
#pragma once

#include <string>

namespace plumwick {

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  virtual void SetText(const std::string& text) = 0;
};

}  // namespace plumwick
