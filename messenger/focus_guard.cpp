// Keys go only to the messaging client.
#include "messenger/focus_guard.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>

#include "platform/failure.h"

namespace plumwick::messenger {

namespace {

std::string Describe(const DesktopWindow& window) {
  if (window.id == 0) return "no window has the keyboard focus";
  char text[96];
  std::snprintf(text, sizeof text, "window 0x%" PRIx64 " of process %" PRId64, window.id,
                window.pid);
  return std::string("the keyboard focus is on ") + text;
}

}  // namespace

void TypeIntoClient(Messenger& msn, const FocusGuardParts& parts, const std::string& keys) {
  const Clock::TimePoint deadline = parts.clock.Now() + kFocusWait;
  for (;;) {
    const DesktopWindow focused = parts.focus.Focused();
    if (msn.OwnsWindow(focused)) break;
    const Clock::TimePoint now = parts.clock.Now();
    if (now >= deadline) {
      throw Failure(error_code::kFocus,
                    "The messaging client's window did not take the keyboard focus within 3 "
                    "seconds (" +
                        Describe(focused) + "), so nothing was typed");
    }
    parts.pump.ProcessEventsUntil(std::min(deadline, now + kFocusPoll));
  }
  parts.keys.Type(keys);
}

}  // namespace plumwick::messenger
