// The keyboard's lock state on a test display.
#include "tests/x11/keyboard_state.h"

#include <X11/XKBlib.h>

#include <memory>
#include <stdexcept>

namespace plumwick::x11_test {
namespace {

struct Closer {
  void operator()(Display* display) const { XCloseDisplay(display); }
};

std::unique_ptr<Display, Closer> Open(const std::string& name) {
  std::unique_ptr<Display, Closer> display(XOpenDisplay(name.c_str()));
  if (!display) throw std::runtime_error("cannot open display " + name);
  return display;
}

}  // namespace

bool CapsLockOn(const std::string& display) {
  const auto connection = Open(display);
  XkbStateRec state{};
  XkbGetState(connection.get(), XkbUseCoreKbd, &state);
  return (state.locked_mods & LockMask) != 0;
}

void SetCapsLock(const std::string& display, bool on) {
  const auto connection = Open(display);
  XkbLockModifiers(connection.get(), XkbUseCoreKbd, LockMask, on ? LockMask : 0);
  XSync(connection.get(), False);
}

}  // namespace plumwick::x11_test
