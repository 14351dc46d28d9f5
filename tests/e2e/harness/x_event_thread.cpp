// The event thread of the harness's X listeners.
#include "tests/e2e/harness/x_event_thread.h"

#include <poll.h>

#include <stdexcept>

#include <X11/Xlib.h>

namespace plumwick::e2e {
namespace {

void CloseDisplay(void* display) {
  if (display != nullptr) XCloseDisplay(static_cast<Display*>(display));
}

}  // namespace

XEventThread::XEventThread(const std::string& display, const Setup& setup, Handler handler)
    : display_(XOpenDisplay(display.c_str()), &CloseDisplay), handler_(std::move(handler)) {
  if (!display_) throw std::runtime_error("cannot open display " + display);
  setup(display_.get());
  XSync(static_cast<Display*>(display_.get()), False);
  thread_ = std::thread([this] { Listen(); });
}

XEventThread::~XEventThread() {
  stop_ = true;
  thread_.join();
}

void XEventThread::Listen() {
  auto* display = static_cast<Display*>(display_.get());
  pollfd connection{ConnectionNumber(display), POLLIN, 0};
  while (!stop_) {
    while (XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      handler_(display, &event);
    }
    poll(&connection, 1, 20);
  }
}

}  // namespace plumwick::e2e
