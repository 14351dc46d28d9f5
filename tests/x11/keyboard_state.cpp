// The keyboard's layout and state on a test display.
#include "tests/x11/keyboard_state.h"

#include <X11/XKBlib.h>

#include <memory>
#include <stdexcept>

#include "tests/e2e/harness/run_command.h"

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

XkbStateRec State(const std::string& display) {
  const auto connection = Open(display);
  XkbStateRec state{};
  XkbGetState(connection.get(), XkbUseCoreKbd, &state);
  return state;
}

}  // namespace

bool CapsLockOn(const std::string& display) {
  return (State(display).locked_mods & LockMask) != 0;
}

void SetCapsLock(const std::string& display, bool on) {
  const auto connection = Open(display);
  XkbLockModifiers(connection.get(), XkbUseCoreKbd, LockMask, on ? LockMask : 0);
  XSync(connection.get(), False);
}

unsigned HeldModifiers(const std::string& display) {
  return State(display).base_mods;
}

int CurrentGroup(const std::string& display) {
  return State(display).group;
}

void LockGroup(const std::string& display, int group) {
  const auto connection = Open(display);
  XkbLockGroup(connection.get(), XkbUseCoreKbd, static_cast<unsigned>(group));
  XSync(connection.get(), False);
}

void SetLayout(const e2e::Environment& env, const std::string& layouts) {
  // The desktop's own rules and model stay; only the layouts change.
  e2e::RunChecked({"setxkbmap", "-layout", layouts, "-variant", "", "-option", ""}, env);
}

}  // namespace plumwick::x11_test
