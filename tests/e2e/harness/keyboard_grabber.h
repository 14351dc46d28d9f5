// A stand-in for a screen locker: one more X client that holds the keyboard grab, as a locker (or
// an open menu) does, for as long as it lives, and counts the key presses that reach it. The
// focus stays where it was, as it does under a real locker.
#pragma once

#include <atomic>
#include <string>

#include "tests/e2e/harness/x_event_thread.h"

namespace plumwick::e2e {

class KeyboardGrabber {
 public:
  // Returns once the keyboard is grabbed; throws std::runtime_error when the display cannot be
  // opened or the grab is refused for two seconds.
  explicit KeyboardGrabber(const std::string& display);

  // The key presses that reached the grab so far.
  int KeyPresses() const { return presses_; }

 private:
  std::atomic<int> presses_{0};
  XEventThread listener_;  // last: its connection, and with it the grab, goes first
};

}  // namespace plumwick::e2e
