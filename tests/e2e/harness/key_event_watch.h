// Listens, as one more X client, for the key events that reach a window: the way to prove that no
// key typed by the program lands in its own window, whatever the program then does with it.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "tests/e2e/harness/x_event_thread.h"

namespace plumwick::e2e {

class KeyEventWatch {
 public:
  // Starts listening on the display for key presses and releases on `window`; throws
  // std::runtime_error when the display cannot be opened.
  KeyEventWatch(const std::string& display, unsigned long window);

  // The key events so far, as "press Shift_L", "release D", ...
  std::vector<std::string> Events() const;

 private:
  void Record(void* event);

  mutable std::mutex mutex_;
  std::vector<std::string> events_;
  XEventThread listener_;  // last: stopped before what it records into goes
};

}  // namespace plumwick::e2e
