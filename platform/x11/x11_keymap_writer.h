// Writes the bindings of free keys to the X server's keymap in one request. Every change of the
// keymap makes each X client on the desktop, the window manager included, read the whole keymap
// again, and some take tens of milliseconds for it: one request per typing step instead of one
// per new character keeps a burst of new characters from stalling the desktop for seconds.
#pragma once

// Before any X header: Xlib defines KeyPress as a macro, which the key notation uses as a name.
#include "platform/x11/x11_spare_key_pool.h"

#include <X11/Xlib.h>

#include <vector>

namespace plumwick::x11 {

// A binding of {kNoSymbol, kNoSymbol} empties the key again. Other keys between the first and
// the last keycode are written back as the server has them. Throws Failure (kKeystrokes) when
// the server's keymap cannot be read; errors of the write itself arrive through an XErrorTrap.
void WriteKeycodeBindings(Display* display, const std::vector<KeycodeBinding>& bindings);

}  // namespace plumwick::x11
