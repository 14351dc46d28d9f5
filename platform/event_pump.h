// Lets the window process its pending events (user input, painting and the handlers they start)
// while a handler waits.
#pragma once

#include "platform/clock.h"

namespace plumwick {

class EventPump {
 public:
  virtual ~EventPump() = default;
  // Processes events as they come, sleeping while there are none, and returns after the first
  // batch of events or once the deadline has passed, whichever is first. It may return early.
  virtual void ProcessEventsUntil(Clock::TimePoint deadline) = 0;
};

}  // namespace plumwick
