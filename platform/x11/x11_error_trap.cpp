// Catches the X protocol errors of one connection for the span of a scope.
#include "platform/x11/x11_error_trap.h"

namespace plumwick::x11 {
namespace {

// Xlib has one error handler per process; the innermost trap sees errors first.
thread_local XErrorTrap* innermost = nullptr;

}  // namespace

XErrorTrap::XErrorTrap(Display* display)
    : display_(display), previous_(XSetErrorHandler(&XErrorTrap::Handle)), outer_(innermost) {
  innermost = this;
}

XErrorTrap::~XErrorTrap() {
  // Errors still in flight must reach this trap, not whatever handler comes back next.
  XSync(display_, False);
  innermost = outer_;
  XSetErrorHandler(previous_);
}

bool XErrorTrap::Failed() {
  XSync(display_, False);
  return failed_;
}

int XErrorTrap::Handle(Display* display, XErrorEvent* event) {
  for (XErrorTrap* trap = innermost; trap != nullptr; trap = trap->outer_) {
    if (trap->display_ != display) continue;
    if (!trap->failed_) {
      char text[160] = {};
      XGetErrorText(display, event->error_code, text, sizeof text);
      trap->first_error_ = std::string(text) + " in request " +
                           std::to_string(static_cast<int>(event->request_code)) + "." +
                           std::to_string(static_cast<int>(event->minor_code));
      trap->failed_ = true;
    }
    return 0;
  }
  // Not ours: hand it to the outermost trap's predecessor, the handler installed before any.
  XErrorTrap* outermost = innermost;
  while (outermost != nullptr && outermost->outer_ != nullptr) outermost = outermost->outer_;
  if (outermost != nullptr && outermost->previous_ != nullptr) {
    return outermost->previous_(display, event);
  }
  return 0;
}

}  // namespace plumwick::x11
