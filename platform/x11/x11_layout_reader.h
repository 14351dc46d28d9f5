// Reads the keyboard layout from the X server's XKB keymap.
#pragma once

// Before any X header: Xlib defines KeyPress as a macro, which the key notation uses as a name.
#include "platform/x11/x11_keyboard_layout.h"

#include <X11/Xlib.h>

namespace plumwick::x11 {

// `group` is the keyboard group keys will be typed in; `locked_mods` the locked modifiers that
// stay on while typing (Num Lock, say), which decide the level of some keys. Levels that need a
// modifier other than Shift or a level shift key (Control, Alt, Caps Lock) are left out: typing
// with those would trigger shortcuts or toggle state; the Control and Alt keys are found only to
// be held around a key pressed with them. Throws Failure (kKeystrokes) when the server does not
// give its keymap.
KeyboardLayout ReadKeyboardLayout(Display* display, int group, unsigned locked_mods);

}  // namespace plumwick::x11
