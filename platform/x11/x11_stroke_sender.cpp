// Sends key presses as XTest input.
#include "platform/x11/x11_stroke_sender.h"

#include <X11/extensions/XTest.h>

#include <algorithm>

namespace plumwick::x11 {
namespace {

// Strokes sent under one grab and one look at `may_send`: the look costs a round trip to the
// server, and the grab holds up every other program, the receiver of the keys included.
constexpr std::size_t kStrokesPerGrab = 8;

void SetModifiers(Display* display, unsigned from, unsigned to,
                  const std::map<unsigned, Keycode>& modifier_keys) {
  for (const auto& [bit, keycode] : modifier_keys) {
    const bool held = (from & bit) != 0;
    const bool wanted = (to & bit) != 0;
    if (held != wanted) XTestFakeKeyEvent(display, keycode, wanted ? True : False, CurrentTime);
  }
}

}  // namespace

std::size_t SendStrokesWhile(Display* display, const std::vector<Stroke>& strokes,
                             const std::map<unsigned, Keycode>& modifier_keys,
                             const std::function<bool()>& may_send) {
  std::size_t sent = 0;
  while (sent < strokes.size()) {
    // The X server handles input between a client's requests, also while it serves this one
    // alone: the keys are delivered before the grab ends, to the window looked at, which no one
    // else can change meanwhile. A modifier is let go within the grab too, so that no other
    // window gets a key or a click with it held.
    const ServerGrab grab(display);
    if (!may_send()) break;
    const std::size_t end = std::min(strokes.size(), sent + kStrokesPerGrab);
    for (; sent < end; ++sent) {
      const Stroke& stroke = strokes[sent];
      SetModifiers(display, 0, stroke.mods, modifier_keys);
      XTestFakeKeyEvent(display, stroke.keycode, True, CurrentTime);
      XTestFakeKeyEvent(display, stroke.keycode, False, CurrentTime);
      SetModifiers(display, stroke.mods, 0, modifier_keys);
    }
  }
  XFlush(display);
  return sent;
}

void SetKeysDown(Display* display, const std::vector<Keycode>& keycodes, bool down) {
  for (const Keycode keycode : keycodes) {
    XTestFakeKeyEvent(display, keycode, down ? True : False, CurrentTime);
  }
}

}  // namespace plumwick::x11
