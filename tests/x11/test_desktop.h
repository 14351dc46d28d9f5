// The private desktop that the keystroke test program starts in its main before any test runs
// (Xvfb with openbox, or a compositor's XWayland: see x11_test_main.cpp), and the one keystroke
// synthesizer all its tests share, as the program has one.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/x11/x11_xtest_keystrokes.h"
#include "tests/x11/typing_desktop.h"

namespace plumwick::x11_test {

TypingDesktop& TestDesktop();
// Typing to the test desktop by its display name, not through $DISPLAY.
XTestKeystrokes& TestKeys();
// Reads key notation and types it with TestKeys() into the focused window, as the program reads a
// text once and types what it read: notation that does not read throws before any key is sent.
// Returns once the window has read the keys (its read receipt).
void TypeNotation(std::string_view notation);
// Waits, handling this process's events, for the window's read receipt of the keys typed so far.
void AwaitReadReceipt(std::uint64_t window);

// Called by main: the desktop lives until `desktop` is reset, the keys until ReleaseTestKeys.
void SetTestDesktop(TypingDesktop* desktop);
void ReleaseTestKeys();

}  // namespace plumwick::x11_test
