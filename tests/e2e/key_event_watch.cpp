// Listening for the key events that reach a window, on an X connection of the test's own.
#include "tests/e2e/key_event_watch.h"

#include <poll.h>

#include <stdexcept>

#include <X11/Xlib.h>

namespace plumwick::e2e {
namespace {

Display* X(void* display) {
  return static_cast<Display*>(display);
}

}  // namespace

KeyEventWatch::KeyEventWatch(const std::string& display, unsigned long window)
    : display_(XOpenDisplay(display.c_str())) {
  if (display_ == nullptr) throw std::runtime_error("cannot open display " + display);
  // Key events go to every client that selected them on the window, the program's own included.
  XSelectInput(X(display_), window, KeyPressMask | KeyReleaseMask);
  XSync(X(display_), False);
  thread_ = std::thread([this] { Listen(); });
}

KeyEventWatch::~KeyEventWatch() {
  stop_ = true;
  thread_.join();
  XCloseDisplay(X(display_));
}

std::vector<std::string> KeyEventWatch::Events() const {
  const std::lock_guard lock(mutex_);
  return events_;
}

void KeyEventWatch::Listen() {
  Display* display = X(display_);
  pollfd connection{ConnectionNumber(display), POLLIN, 0};
  while (!stop_) {
    while (XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type != KeyPress && event.type != KeyRelease) continue;
      const KeySym keysym = XLookupKeysym(&event.xkey, 0);
      const char* name = XKeysymToString(keysym);
      const std::lock_guard lock(mutex_);
      events_.push_back(std::string(event.type == KeyPress ? "press " : "release ") +
                        (name != nullptr ? name : std::to_string(event.xkey.keycode)));
    }
    poll(&connection, 1, 20);
  }
}

}  // namespace plumwick::e2e
