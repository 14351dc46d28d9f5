// A key sent to one window as an event of its own.
#include "tests/e2e/harness/window_keys.h"

#include <X11/Xlib.h>

#include <memory>
#include <stdexcept>

namespace plumwick::e2e {

void SendAltKeyToWindow(const DesktopSession& session, WindowId window, const std::string& keysym) {
  const std::unique_ptr<Display, decltype(&XCloseDisplay)> display(
      XOpenDisplay(session.Display().c_str()), &XCloseDisplay);
  if (!display) throw std::runtime_error("cannot open display " + session.Display());
  const KeySym symbol = XStringToKeysym(keysym.c_str());
  const KeyCode code = symbol == NoSymbol ? 0 : XKeysymToKeycode(display.get(), symbol);
  if (code == 0) throw std::runtime_error("no key for \"" + keysym + "\"");
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

}  // namespace plumwick::e2e
