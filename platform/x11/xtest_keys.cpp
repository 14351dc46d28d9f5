// Sends key presses as XTest input.
#include "platform/x11/xtest_keys.h"

#include <X11/extensions/XTest.h>

namespace plumwick::x11 {
namespace {

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
  for (const Stroke& stroke : strokes) {
    // The X server handles input between a client's requests, also while it serves this one
    // alone: the keys are delivered before the grab ends, to the window looked at. A modifier is
    // let go within the grab too, so that no other window gets a key or a click with it held.
    const ServerGrab grab(display);
    if (!may_send()) break;
    SetModifiers(display, 0, stroke.mods, modifier_keys);
    XTestFakeKeyEvent(display, stroke.keycode, True, CurrentTime);
    XTestFakeKeyEvent(display, stroke.keycode, False, CurrentTime);
    SetModifiers(display, stroke.mods, 0, modifier_keys);
    ++sent;
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
