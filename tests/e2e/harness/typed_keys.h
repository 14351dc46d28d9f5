// Every key the X server takes in on a display, whoever typed it: how a test sees that a program's
// keyboard job has typed its last key, whichever window the key then reached.
#pragma once

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>

namespace plumwick::e2e {

class TypedKeys {
 public:
  // Starts counting on the display; throws std::runtime_error when the display cannot be opened
  // or its X server has no XInput 2.
  explicit TypedKeys(const std::string& display);
  ~TypedKeys();

  TypedKeys(const TypedKeys&) = delete;
  TypedKeys& operator=(const TypedKeys&) = delete;

  // How often the key with this keysym name ("Return") was released since the start.
  int Releases(const std::string& key) const;

 private:
  void Listen();

  void* display_;  // Display*, kept out of this header: Xlib's macros clash with GoogleTest's
  int xinput_opcode_ = 0;
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  std::map<std::string, int> releases_;
  std::thread thread_;
};

}  // namespace plumwick::e2e
