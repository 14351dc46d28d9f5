// Lets the window process its pending events (user input, painting and the handlers they start)
// while a handler waits, and the program's one wait loop built on it.
#pragma once

#include <algorithm>
#include <chrono>
#include <functional>

#include "platform/clock.h"

namespace plumwick {

class EventPump {
 public:
  virtual ~EventPump() = default;
  // Processes events as they come, sleeping while there are none, and returns after the first
  // batch of events or once the deadline has passed, whichever is first. It may return early.
  virtual void ProcessEventsUntil(Clock::TimePoint deadline) = 0;
};

// Waiting while the window keeps handling its events, so other handlers run nested inside the
// wait. Every wait of the program goes through here: the actions' pauses, the typing's wait for
// the focus and a client's waits for its windows.
class EventWait {
 public:
  // How often a condition is asked again while waiting for it: changes outside this program (the
  // focus moving between other programs' windows) send it no event to wake up on.
  static constexpr std::chrono::milliseconds kPoll{20};

  EventWait(const Clock& clock, EventPump& pump) : clock_(clock), pump_(pump) {}

  Clock::TimePoint Now() const { return clock_.Now(); }

  // Returns once the interval has passed. It sleeps between events and measures on a clock that
  // never runs backwards, so a wait across midnight ends after its interval too.
  void Pause(std::chrono::duration<double> interval) {
    const Clock::TimePoint deadline =
        Now() + std::chrono::duration_cast<Clock::TimePoint::duration>(interval);
    while (Now() < deadline) pump_.ProcessEventsUntil(deadline);
  }

  // Asks `done` first, then again at least every kPoll, until it answers true or `limit` has
  // passed; returns its last answer.
  bool Until(std::chrono::milliseconds limit, const std::function<bool()>& done) {
    const Clock::TimePoint deadline = Now() + limit;
    for (;;) {
      if (done()) return true;
      const Clock::TimePoint now = Now();
      if (now >= deadline) return false;
      pump_.ProcessEventsUntil(std::min(deadline, now + kPoll));
    }
  }

 private:
  const Clock& clock_;
  EventPump& pump_;
};

}  // namespace plumwick
