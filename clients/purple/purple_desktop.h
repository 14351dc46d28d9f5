// What this client needs of the desktop to finish a job in one of Pidgin's own windows: where the
// keyboard focus is, a way to type, the window manager, and a wait that keeps the program's window
// alive.
#pragma once

#include <algorithm>
#include <chrono>

#include "clients/purple/window_manager.h"
#include "platform/clock.h"
#include "platform/event_pump.h"
#include "platform/focused_window.h"
#include "platform/keystrokes.h"

namespace plumwick::purple {

struct PurpleDesktop {
  FocusedWindow& focus;
  Keystrokes& keys;
  Clock& clock;
  EventPump& pump;
  WindowManager& windows;
};

// How long a window Pidgin opens has to take the keyboard focus: as long as the program's own
// focus guard waits.
inline constexpr std::chrono::milliseconds kWindowFocusWait{3000};
inline constexpr std::chrono::milliseconds kFocusPoll{20};

// Handles events until `done` answers true or `wait` has passed; returns its last answer.
template <typename Done>
bool WaitWhileHandlingEvents(const PurpleDesktop& desktop, std::chrono::milliseconds wait,
                             Done done) {
  const Clock::TimePoint deadline = desktop.clock.Now() + wait;
  for (;;) {
    if (done()) return true;
    const Clock::TimePoint now = desktop.clock.Now();
    if (now >= deadline) return false;
    desktop.pump.ProcessEventsUntil(std::min(deadline, now + kFocusPoll));
  }
}

}  // namespace plumwick::purple
