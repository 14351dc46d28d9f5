// The keymap, read on a connection of its own.
#include "tests/e2e/harness/keymap.h"

#include <memory>
#include <stdexcept>
#include <string>

#include <X11/Xlib.h>

namespace plumwick::e2e {

namespace {

// The keysyms of every keycode, `per` a keycode, from the lowest keycode on.
struct Keymap {
  int min = 0, max = 0, per = 0;
  std::unique_ptr<KeySym, int (*)(void*)> syms{nullptr, XFree};

  KeySym At(int code, int level) const { return syms.get()[(code - min) * per + level]; }
};

Keymap ReadKeymap(const std::string& display) {
  const std::unique_ptr<Display, int (*)(Display*)> x(XOpenDisplay(display.c_str()), XCloseDisplay);
  if (!x) throw std::runtime_error("cannot open display " + display);
  Keymap map;
  XDisplayKeycodes(x.get(), &map.min, &map.max);
  map.syms.reset(
      XGetKeyboardMapping(x.get(), static_cast<KeyCode>(map.min), map.max - map.min + 1, &map.per));
  return map;
}

}  // namespace

int EmptyKeycodes(const std::string& display) {
  const Keymap map = ReadKeymap(display);
  int empty = 0;
  for (int code = map.min; code <= map.max; ++code) {
    bool bound = false;
    for (int level = 0; level < map.per; ++level) bound = bound || map.At(code, level) != NoSymbol;
    if (!bound) ++empty;
  }
  return empty;
}

std::string KeymapText(const std::string& display) {
  const Keymap map = ReadKeymap(display);
  std::string text;
  for (int code = map.min; code <= map.max; ++code) {
    text += std::to_string(code) + ":";
    for (int level = 0; level < map.per; ++level) {
      const KeySym sym = map.At(code, level);
      const char* name = sym == NoSymbol ? "NoSymbol" : XKeysymToString(sym);
      text += " " + (name != nullptr ? std::string(name) : std::to_string(sym));
    }
    text += "\n";
  }
  return text;
}

}  // namespace plumwick::e2e
