// Listens, as one more X client, for the key events that reach a window: the way to prove that no
// key typed by the program lands in its own window, whatever the program then does with it.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace plumwick::e2e {

class KeyEventWatch {
 public:
  // Starts listening on the display for key presses and releases on `window`; throws
  // std::runtime_error when the display cannot be opened.
  KeyEventWatch(const std::string& display, unsigned long window);
  ~KeyEventWatch();

  KeyEventWatch(const KeyEventWatch&) = delete;
  KeyEventWatch& operator=(const KeyEventWatch&) = delete;

  // The key events so far, as "press Shift_L", "release D", ...
  std::vector<std::string> Events() const;

 private:
  void Listen();

  void* display_;  // Display*, kept out of this header: Xlib's macros clash with GoogleTest's
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  std::vector<std::string> events_;
  std::thread thread_;
};

}  // namespace plumwick::e2e
