// The desktop parts for finishing a job in another program's window, bundled once: the program
// builds them, the window hands them to its actions' typing, and what a client needs of them to the
// messaging client. A client gets no keystrokes: every key goes through the window's focus guard.
#pragma once

#include "platform/event_pump.h"
#include "platform/focused_window.h"
#include "platform/keystrokes.h"
#include "platform/window_manager.h"

namespace plumwick {

// What a messaging client may use of the desktop: it waits, looks at windows and asks for one.
struct ClientDesktop {
  EventWait& wait;
  FocusedWindow& focus;
  WindowManager& windows;
};

struct Desktop {
  EventWait& wait;
  FocusedWindow& focus;
  Keystrokes& keys;
  WindowManager& windows;

  ClientDesktop ForClient() const { return {wait, focus, windows}; }
};

}  // namespace plumwick
