// Counting the keys of a display from XInput 2's raw events, which the X server sends to any
// client that asks on the root window, for real and synthesized keys alike, before any window
// or grab decides where they go.
#include "tests/e2e/harness/typed_keys.h"

#include <stdexcept>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

namespace plumwick::e2e {

TypedKeys::TypedKeys(const std::string& display)
    : listener_(
          display, [this](void* connection) { SelectRawKeys(connection); },
          [this](void* connection, void* event) { Count(connection, event); }) {}

int TypedKeys::Releases(const std::string& key) const {
  const std::lock_guard lock(mutex_);
  const auto found = releases_.find(key);
  return found == releases_.end() ? 0 : found->second;
}

std::vector<unsigned long> TypedKeys::PressTimes(const std::string& key) const {
  const std::lock_guard lock(mutex_);
  const auto found = press_times_.find(key);
  return found == press_times_.end() ? std::vector<unsigned long>{} : found->second;
}

void TypedKeys::SelectRawKeys(void* connection) {
  auto* display = static_cast<Display*>(connection);
  int event = 0;
  int error = 0;
  int major = 2;
  int minor = 0;
  if (!XQueryExtension(display, "XInputExtension", &xinput_opcode_, &event, &error) ||
      XIQueryVersion(display, &major, &minor) != Success) {
    throw std::runtime_error(std::string("the X server of ") + DisplayString(display) +
                             " has no XInput 2");
  }
  unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
  XISetMask(bits, XI_RawKeyPress);
  XISetMask(bits, XI_RawKeyRelease);
  // The master keyboard only: each key also comes from the physical or XTest device behind it.
  XIEventMask mask{XIAllMasterDevices, sizeof bits, bits};
  XISelectEvents(display, DefaultRootWindow(display), &mask, 1);
}

void TypedKeys::Count(void* connection, void* event) {
  auto* display = static_cast<Display*>(connection);
  XGenericEventCookie& cookie = static_cast<XEvent*>(event)->xcookie;
  if (cookie.type != GenericEvent || cookie.extension != xinput_opcode_ ||
      !XGetEventData(display, &cookie)) {
    return;
  }
  if (cookie.evtype == XI_RawKeyPress || cookie.evtype == XI_RawKeyRelease) {
    const auto* raw = static_cast<const XIRawEvent*>(cookie.data);
    // Named at once: a program may bind a spare keycode to another key for a moment.
    const KeySym keysym = XkbKeycodeToKeysym(display, static_cast<KeyCode>(raw->detail), 0, 0);
    const char* name = XKeysymToString(keysym);
    const std::string key = name != nullptr ? name : std::to_string(raw->detail);
    const std::lock_guard lock(mutex_);
    if (cookie.evtype == XI_RawKeyPress) {
      press_times_[key].push_back(raw->time);
    } else {
      ++releases_[key];
    }
  }
  XFreeEventData(display, &cookie);
}

}  // namespace plumwick::e2e
