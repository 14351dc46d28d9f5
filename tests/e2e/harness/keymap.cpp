// The keymap, read on a connection of its own.
#include "tests/e2e/harness/keymap.h"

#include <memory>
#include <stdexcept>

#include <X11/Xlib.h>

namespace plumwick::e2e {

int EmptyKeycodes(const std::string& display) {
  const std::unique_ptr<Display, int (*)(Display*)> x(XOpenDisplay(display.c_str()), XCloseDisplay);
  if (!x) throw std::runtime_error("cannot open display " + display);
  int min = 0, max = 0, per = 0;
  XDisplayKeycodes(x.get(), &min, &max);
  const std::unique_ptr<KeySym, int (*)(void*)> syms(
      XGetKeyboardMapping(x.get(), static_cast<KeyCode>(min), max - min + 1, &per), XFree);
  int empty = 0;
  for (int code = 0; code <= max - min; ++code) {
    bool bound = false;
    for (int level = 0; level < per; ++level) {
      bound = bound || syms.get()[code * per + level] != NoSymbol;
    }
    if (!bound) ++empty;
  }
  return empty;
}

}  // namespace plumwick::e2e
