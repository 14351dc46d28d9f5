// Sends key presses as XTest input, the way a keyboard would: each stroke's modifier keys are
// held while it is pressed.
#pragma once

// Before any X header: Xlib defines KeyPress as a macro, which the key notation uses as a name.
#include "platform/x11/x11_keyboard_layout.h"

#include <X11/Xlib.h>

#include <cstddef>
#include <functional>
#include <map>
#include <vector>

namespace plumwick::x11 {

// Sends the strokes a few at a time, each few under a server grab that also holds the look at
// `may_send` before them: no other program's request (a window manager's focus change, say) is
// handled between the look and the keys. Stops before the first strokes `may_send` refuses and
// returns how many strokes went out. `modifier_keys` must hold a key for every modifier bit the
// strokes use. `may_send` may throw; the grab ends then too.
std::size_t SendStrokesWhile(Display* display, const std::vector<Stroke>& strokes,
                             const std::map<unsigned, Keycode>& modifier_keys,
                             const std::function<bool()>& may_send);

// Lets go of keys that are held down, or (`down`) presses them and holds them.
void SetKeysDown(Display* display, const std::vector<Keycode>& keycodes, bool down);

// Holds the X server for this connection alone for its lifetime: other clients' requests wait.
class ServerGrab {
 public:
  explicit ServerGrab(Display* display) : display_(display) { XGrabServer(display); }
  ~ServerGrab() {
    XUngrabServer(display_);
    XFlush(display_);
  }
  ServerGrab(const ServerGrab&) = delete;
  ServerGrab& operator=(const ServerGrab&) = delete;

 private:
  Display* display_;
};

}  // namespace plumwick::x11
