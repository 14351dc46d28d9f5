// The keyboard's layout and state on a test display, read and set directly: what a person's
// layout choice, Caps Lock key and layout switch do, without a window manager or toolkit in
// between.
#pragma once

#include <string>

#include "tests/e2e/harness/child_process.h"

namespace plumwick::x11_test {

bool CapsLockOn(const std::string& display);
void SetCapsLock(const std::string& display, bool on);

// The modifier bits (X core masks) of keys held down right now.
unsigned HeldModifiers(const std::string& display);
// The keyboard group in use (0 for the first layout of "us,ru").
int CurrentGroup(const std::string& display);
void LockGroup(const std::string& display, int group);

// Loads the layouts ("de", "us,ru") as setxkbmap does; `env` is the desktop's.
void SetLayout(const e2e::Environment& env, const std::string& layouts);

}  // namespace plumwick::x11_test
