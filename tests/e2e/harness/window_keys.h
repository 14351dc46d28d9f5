// A key sent to one window as an event of its own (XSendEvent), past the window manager's key
// bindings: what a window gets when the window manager lets a key through to it. xdotool cannot
// do this to the focused window, for which it types real keys that the window manager sees first.
#pragma once

#include <string>

#include "tests/e2e/harness/desktop_session.h"
#include "tests/e2e/harness/desktop_user.h"

namespace plumwick::e2e {

// Presses and releases the key named `keysym` (an X keysym name such as "F4") with Alt held, in
// the window. Throws std::runtime_error when the display or the key cannot be had.
void SendAltKeyToWindow(const DesktopSession& session, WindowId window, const std::string& keysym);

}  // namespace plumwick::e2e
