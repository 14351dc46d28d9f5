// An elapsed-time clock that never runs backwards, for waits.
#pragma once

#include <chrono>

namespace plumwick {

class Clock {
 public:
  using TimePoint = std::chrono::steady_clock::time_point;
  virtual ~Clock() = default;
  virtual TimePoint Now() const = 0;
};

}  // namespace plumwick
