// Lets the window process its pending events (user input, painting and the handlers they start)
// while a handler waits, the program's one wait loop built on it, and the two ways a wait asks
// another program for something: again until it is done, and not more often than it can act.
#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <optional>

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

  // Asks for something (`ask`: that a window come forward), then waits up to `each` for `done`,
  // and asks again, until `done` answers true or `limit` has passed; returns its last answer. A
  // window manager may drop a request that comes while it is busy, so one request is not enough.
  bool Retry(std::chrono::milliseconds limit, std::chrono::milliseconds each,
             const std::function<void()>& ask, const std::function<bool()>& done) {
    const Clock::TimePoint deadline = Now() + limit;
    for (;;) {
      ask();
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Now());
      if (Until(std::min(each, left), done)) return true;
      if (Now() >= deadline) return false;
    }
  }

 private:
  const Clock& clock_;
  EventPump& pump_;
};

// Says when something may happen again, at most once every interval on the wait's clock: a
// window manager asked to bring a window forward needs a moment to act before it is asked again.
class Throttle {
 public:
  Throttle(const EventWait& wait, std::chrono::milliseconds every) : wait_(wait), every_(every) {}

  // True the first time, then once `every` has passed since the last true answer.
  bool Due() {
    const Clock::TimePoint now = wait_.Now();
    if (last_ && now - *last_ < every_) return false;
    last_ = now;
    return true;
  }

 private:
  const EventWait& wait_;
  std::chrono::milliseconds every_;
  std::optional<Clock::TimePoint> last_;
};

}  // namespace plumwick
