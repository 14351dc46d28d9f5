// The real elapsed-time clock: std::chrono::steady_clock, which never runs backwards.
#pragma once

#include "platform/clock.h"

namespace plumwick {

class SteadyClock final : public Clock {
 public:
  TimePoint Now() const override { return std::chrono::steady_clock::now(); }
};

}  // namespace plumwick
