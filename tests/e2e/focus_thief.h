// What the end-to-end tests read of the foreign window plumwick_e2e_focus_thief
// (focus_thief_main.cpp), another program's window that takes the focus and logs every key it gets.
#pragma once

#include <string>
#include <vector>

#include "tests/e2e/harness/child_process.h"

namespace plumwick::e2e {

// The "key ..." lines the foreign window logged: one for each key that reached it.
inline std::vector<std::string> KeysLogged(const ChildProcess& thief) {
  std::vector<std::string> keys;
  for (const std::string& line : thief.OutLines()) {
    if (line.starts_with("key ")) keys.push_back(line);
  }
  return keys;
}

}  // namespace plumwick::e2e
