// The event pump on the Qt event loop: sleeps until an event or the deadline, never spins.
#pragma once

#include "platform/event_pump.h"

namespace plumwick {

class QtEventPump final : public EventPump {
 public:
  void ProcessEventsUntil(Clock::TimePoint deadline) override;
};

}  // namespace plumwick
