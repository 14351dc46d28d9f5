// The desktop parts for finishing a job in another program's window, bundled once: the program
// builds them, the window hands them to its actions' typing and to the messaging client.
#pragma once

#include "platform/event_pump.h"
#include "platform/focused_window.h"
#include "platform/keystrokes.h"
#include "platform/window_manager.h"

namespace plumwick {

struct Desktop {
  EventWait& wait;
  FocusedWindow& focus;
  Keystrokes& keys;
  WindowManager& windows;
};

}  // namespace plumwick
