// The event pump on the Qt event loop.
#include "platform/qt/qt_event_pump.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace plumwick {

void QtEventPump::ProcessEventsUntil(Clock::TimePoint deadline) {
  const auto remaining = deadline - std::chrono::steady_clock::now();
  if (remaining <= Clock::TimePoint::duration::zero()) return;
  // The timer wakes the wait at the deadline when nothing else does.
  QTimer wake;
  wake.setSingleShot(true);
  wake.setTimerType(Qt::PreciseTimer);
  wake.start(std::chrono::ceil<std::chrono::milliseconds>(remaining));
  QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

}  // namespace plumwick
