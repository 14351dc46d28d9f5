// The private desktop (Xvfb, openbox) that the keystroke test program starts in its main before
// any test runs, and the one keystroke synthesizer all its tests share, as the program has one.
#pragma once

#include <memory>

#include "platform/x11/xdo_keystrokes.h"
#include "tests/e2e/harness/desktop_session.h"
#include "tests/e2e/harness/desktop_user.h"

namespace plumwick::x11_test {

e2e::DesktopSession& TestDesktop();
const e2e::DesktopUser& TestUser();
// Typing to the test desktop by its display name, not through $DISPLAY.
XdoKeystrokes& TestKeys();

// Called by main: the desktop lives until `session` is reset, the keys until ReleaseTestKeys.
void SetTestDesktop(e2e::DesktopSession* session);
void ReleaseTestKeys();

}  // namespace plumwick::x11_test
