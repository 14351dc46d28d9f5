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

void SendStrokes(Display* display, const std::vector<Stroke>& strokes,
                 const std::map<unsigned, Keycode>& modifier_keys) {
  unsigned held = 0;
  for (const Stroke& stroke : strokes) {
    // "HELLO" holds Shift once for all five letters, as a person would.
    SetModifiers(display, held, stroke.mods, modifier_keys);
    held = stroke.mods;
    XTestFakeKeyEvent(display, stroke.keycode, True, CurrentTime);
    XTestFakeKeyEvent(display, stroke.keycode, False, CurrentTime);
  }
  SetModifiers(display, held, 0, modifier_keys);
}

void SetKeysDown(Display* display, const std::vector<Keycode>& keycodes, bool down) {
  for (const Keycode keycode : keycodes) {
    XTestFakeKeyEvent(display, keycode, down ? True : False, CurrentTime);
  }
}

}  // namespace plumwick::x11
