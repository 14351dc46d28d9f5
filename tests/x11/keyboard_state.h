// The keyboard's lock state on a test display, read and set directly: what a person's Caps Lock
// key does, without a window manager or toolkit in between.
#pragma once

#include <string>

namespace plumwick::x11_test {

bool CapsLockOn(const std::string& display);
void SetCapsLock(const std::string& display, bool on);

}  // namespace plumwick::x11_test
