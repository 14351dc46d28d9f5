// Sends key presses as XTest input, the way a keyboard would: each stroke's modifier keys are
// held while it is pressed and let go once a stroke no longer needs them.
#pragma once

// Before any X header: Xlib defines KeyPress as a macro, which the key notation uses as a name.
#include "platform/x11/keyboard_layout.h"

#include <X11/Xlib.h>

#include <map>
#include <vector>

namespace plumwick::x11 {

// Queues the events; the caller syncs. `modifier_keys` must hold a key for every modifier bit
// the strokes use.
void SendStrokes(Display* display, const std::vector<Stroke>& strokes,
                 const std::map<unsigned, Keycode>& modifier_keys);

// Lets go of keys that are held down, or (`down`) presses them and holds them.
void SetKeysDown(Display* display, const std::vector<Keycode>& keycodes, bool down);

}  // namespace plumwick::x11
