// The real wait on the Qt event loop: a Pause sleeps until its deadline instead of spinning, and
// handlers that events start still run inside it.
#include <gtest/gtest.h>

#include <QTimer>

#include "platform/event_pump.h"
#include "platform/posix/steady_clock.h"
#include "platform/qt/qt_event_pump.h"

namespace plumwick {
namespace {

// The real pump, counting how often the wait had to come back to it.
class CountingPump final : public EventPump {
 public:
  void ProcessEventsUntil(Clock::TimePoint deadline) override {
    ++calls;
    pump_.ProcessEventsUntil(deadline);
  }
  int calls = 0;

 private:
  QtEventPump pump_;
};

TEST(QtEventPump, APauseSleepsToItsDeadlineAndRunsTheEventsThatComeMeanwhile) {
  const SteadyClock clock;
  CountingPump pump;
  EventWait wait(clock, pump);

  const auto start = clock.Now();
  wait.Pause(std::chrono::milliseconds(300));
  EXPECT_GE(clock.Now() - start, std::chrono::milliseconds(300));
  // One sleep to the deadline; a timer's early wake may cost one more look, a spin thousands.
  EXPECT_LE(pump.calls, 3) << "the wait spins instead of sleeping";

  pump.calls = 0;
  bool ran = false;
  QTimer::singleShot(50, [&ran] { ran = true; });
  wait.Pause(std::chrono::milliseconds(200));
  EXPECT_TRUE(ran) << "a handler due during the wait runs inside it";
  EXPECT_LE(pump.calls, 4);
}

}  // namespace
}  // namespace plumwick
