// Counting the keys of a display from XInput 2's raw events, which the X server sends to any
// client that asks on the root window, for real and synthesized keys alike, before any window
// or grab decides where they go.
#include "tests/e2e/harness/typed_keys.h"

#include <poll.h>

#include <stdexcept>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

namespace plumwick::e2e {
namespace {

Display* X(void* display) {
  return static_cast<Display*>(display);
}

}  // namespace

TypedKeys::TypedKeys(const std::string& display) : display_(XOpenDisplay(display.c_str())) {
  if (display_ == nullptr) throw std::runtime_error("cannot open display " + display);
  Display* d = X(display_);
  int event = 0;
  int error = 0;
  int major = 2;
  int minor = 0;
  if (!XQueryExtension(d, "XInputExtension", &xinput_opcode_, &event, &error) ||
      XIQueryVersion(d, &major, &minor) != Success) {
    XCloseDisplay(d);
    throw std::runtime_error("the X server of " + display + " has no XInput 2");
  }
  unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
  XISetMask(bits, XI_RawKeyRelease);
  // The master keyboard only: each key also comes from the physical or XTest device behind it.
  XIEventMask mask{XIAllMasterDevices, sizeof bits, bits};
  XISelectEvents(d, DefaultRootWindow(d), &mask, 1);
  XSync(d, False);
  thread_ = std::thread([this] { Listen(); });
}

TypedKeys::~TypedKeys() {
  stop_ = true;
  thread_.join();
  XCloseDisplay(X(display_));
}

int TypedKeys::Releases(const std::string& key) const {
  const std::lock_guard lock(mutex_);
  const auto found = releases_.find(key);
  return found == releases_.end() ? 0 : found->second;
}

void TypedKeys::Listen() {
  Display* display = X(display_);
  pollfd connection{ConnectionNumber(display), POLLIN, 0};
  while (!stop_) {
    while (XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      XGenericEventCookie& cookie = event.xcookie;
      if (cookie.type != GenericEvent || cookie.extension != xinput_opcode_ ||
          !XGetEventData(display, &cookie)) {
        continue;
      }
      if (cookie.evtype == XI_RawKeyRelease) {
        const auto* raw = static_cast<const XIRawEvent*>(cookie.data);
        // Named at once: a program may bind a spare keycode to another key for a moment.
        const KeySym keysym = XkbKeycodeToKeysym(display, static_cast<KeyCode>(raw->detail), 0, 0);
        const char* name = XKeysymToString(keysym);
        const std::lock_guard lock(mutex_);
        ++releases_[name != nullptr ? name : std::to_string(raw->detail)];
      }
      XFreeEventData(display, &cookie);
    }
    poll(&connection, 1, 20);
  }
}

}  // namespace plumwick::e2e
