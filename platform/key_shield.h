// Keeps the program's own windows from acting on the keys of a job: should one reach them anyway
// (where the focus follows the pointer, say), it would press a focused button or change a box.
// The job's keys are told from the person's by their time stamps, so that the person's typing is
// left alone. Such a key is swallowed, and counted.
#pragma once

#include <cstddef>
#include <cstdint>

namespace plumwick {

class KeyShield {
 public:
  virtual ~KeyShield() = default;
  // Keys went out for a job between these input time stamps (milliseconds, wrapping): one of
  // them that reaches the program's own windows is swallowed.
  virtual void Cover(std::uint32_t from, std::uint32_t to) = 0;
  // How many key presses were swallowed since the program started.
  virtual std::size_t Swallowed() const = 0;
};

}  // namespace plumwick
