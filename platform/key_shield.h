// Keeps the program's own windows from acting on keys while a keyboard job types: a key that
// reaches them then (the person's, or one of the job's where the focus follows the pointer) would
// press a focused button or change a box. Such a key is swallowed, and counted.
#pragma once

#include <cstddef>

namespace plumwick {

class KeyShield {
 public:
  virtual ~KeyShield() = default;
  // Starts or stops swallowing the keys that reach the program's own windows.
  virtual void Raise(bool raised) = 0;
  // How many key presses were swallowed since the program started.
  virtual std::size_t Swallowed() const = 0;
};

}  // namespace plumwick
