// Listening for the key events that reach a window, on an X connection of the test's own.
#include "tests/e2e/harness/key_event_watch.h"

#include <X11/Xlib.h>

namespace plumwick::e2e {

KeyEventWatch::KeyEventWatch(const std::string& display, unsigned long window)
    : listener_(
          display,
          [window](void* connection) {
            // Key events go to every client that selected them on the window, the program's own
            // included.
            XSelectInput(static_cast<Display*>(connection), window, KeyPressMask | KeyReleaseMask);
          },
          [this](void* /*connection*/, void* event) { Record(event); }) {}

std::vector<std::string> KeyEventWatch::Events() const {
  const std::lock_guard lock(mutex_);
  return events_;
}

void KeyEventWatch::Record(void* event) {
  XEvent& key = *static_cast<XEvent*>(event);
  if (key.type != KeyPress && key.type != KeyRelease) return;
  const char* name = XKeysymToString(XLookupKeysym(&key.xkey, 0));
  const std::lock_guard lock(mutex_);
  events_.push_back(std::string(key.type == KeyPress ? "press " : "release ") +
                    (name != nullptr ? name : std::to_string(key.xkey.keycode)));
}

}  // namespace plumwick::e2e
