// The X server's keymap as a test sees it. A program that binds characters to spare keycodes
// changes it for every client of the server, and must give them back.
#pragma once

#include <string>

namespace plumwick::e2e {

// How many keycodes of `display` have no keysym bound at any level; throws std::runtime_error when
// the display cannot be opened.
int EmptyKeycodes(const std::string& display);

// Every keycode's keysyms, one line per keycode ("38: a A"), as `xmodmap -pke` lists them: two
// readings are equal when the keymap is the same. Throws as EmptyKeycodes does.
std::string KeymapText(const std::string& display);

}  // namespace plumwick::e2e
