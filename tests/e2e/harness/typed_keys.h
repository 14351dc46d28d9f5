// Every key the X server takes in on a display, whoever typed it: how a test sees that a program's
// keyboard job has typed its last key, whichever window the key then reached.
#pragma once

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "tests/e2e/harness/x_event_thread.h"

namespace plumwick::e2e {

class TypedKeys {
 public:
  // Starts counting on the display; throws std::runtime_error when the display cannot be opened
  // or its X server has no XInput 2.
  explicit TypedKeys(const std::string& display);

  // How often the key with this keysym name ("Return") was released since the start.
  int Releases(const std::string& key) const;
  // The X server's times (milliseconds of its clock) of that key's presses since the start.
  std::vector<unsigned long> PressTimes(const std::string& key) const;

 private:
  void SelectRawKeys(void* display);
  void Count(void* display, void* event);

  int xinput_opcode_ = 0;
  mutable std::mutex mutex_;
  std::map<std::string, int> releases_;
  std::map<std::string, std::vector<unsigned long>> press_times_;
  XEventThread listener_;  // last: stopped before what it counts into goes
};

}  // namespace plumwick::e2e
