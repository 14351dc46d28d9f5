// Keys given to windows: one sent to a window as an event of its own, and one held down.
#include "tests/e2e/harness/window_keys.h"

#include <X11/Xlib.h>

#include <memory>
#include <stdexcept>

#include "tests/e2e/harness/run_command.h"

namespace plumwick::e2e {
namespace {

using DisplayPtr = std::unique_ptr<Display, decltype(&XCloseDisplay)>;

DisplayPtr Open(const std::string& name) {
  DisplayPtr display(XOpenDisplay(name.c_str()), &XCloseDisplay);
  if (!display) throw std::runtime_error("cannot open display " + name);
  return display;
}

KeyCode KeycodeOf(Display* display, const std::string& keysym) {
  const KeySym symbol = XStringToKeysym(keysym.c_str());
  const KeyCode code = symbol == NoSymbol ? 0 : XKeysymToKeycode(display, symbol);
  if (code == 0) throw std::runtime_error("no key for \"" + keysym + "\"");
  return code;
}

std::string DisplayOf(const Environment& env) {
  const auto display = env.find("DISPLAY");
  if (display == env.end()) throw std::runtime_error("the desktop's environment has no DISPLAY");
  return display->second;
}

}  // namespace

void SendAltKeyToWindow(const DesktopSession& session, WindowId window, const std::string& keysym) {
  const DisplayPtr display = Open(session.Display());
  const KeyCode code = KeycodeOf(display.get(), keysym);
  for (const int type : {KeyPress, KeyRelease}) {
    XEvent event{};
    event.xkey.type = type;
    event.xkey.display = display.get();
    event.xkey.window = window;
    event.xkey.root = DefaultRootWindow(display.get());
    event.xkey.subwindow = None;
    event.xkey.time = CurrentTime;
    event.xkey.same_screen = True;
    event.xkey.keycode = code;
    event.xkey.state = Mod1Mask;
    const long mask = type == KeyPress ? KeyPressMask : KeyReleaseMask;
    XSendEvent(display.get(), window, True, mask, &event);
  }
  XSync(display.get(), False);
}

HeldKey::HeldKey(const Environment& env, const std::string& keysym) : env_(env), keysym_(keysym) {
  keycode_ = KeycodeOf(Open(DisplayOf(env_)).get(), keysym_);
  SetAutoRepeat(false);
  held_ = true;
  try {
    RunChecked({"xdotool", "keydown", keysym_}, env_);
  } catch (...) {
    Release();
    throw;
  }
}

HeldKey::~HeldKey() {
  try {
    Release();
  } catch (...) {
    // A test that already failed may have taken the desktop down.
  }
}

void HeldKey::Release() {
  if (!held_) return;
  held_ = false;
  try {
    RunChecked({"xdotool", "keyup", keysym_}, env_);
  } catch (...) {
    SetAutoRepeat(true);
    throw;
  }
  SetAutoRepeat(true);
}

void HeldKey::SetAutoRepeat(bool on) const {
  const DisplayPtr display = Open(DisplayOf(env_));
  XKeyboardControl control{};
  control.key = keycode_;
  control.auto_repeat_mode = on ? AutoRepeatModeDefault : AutoRepeatModeOff;
  XChangeKeyboardControl(display.get(), KBKey | KBAutoRepeatMode, &control);
  XSync(display.get(), False);
}

}  // namespace plumwick::e2e
