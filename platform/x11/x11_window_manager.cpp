// Other programs' windows over EWMH on X11.
#include "platform/x11/x11_window_manager.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include "platform/failure.h"
#include "platform/x11/x_display.h"
#include "platform/x11/x_error_trap.h"
#include "platform/x11/x_window_facts.h"

namespace plumwick {

struct X11WindowManager::Connection {
  x11::DisplayPtr display;
  Atom client_list;
  Atom wm_pid;
  Atom active_window;
};

X11WindowManager::X11WindowManager(std::string display) : display_(std::move(display)) {}

X11WindowManager::~X11WindowManager() = default;

X11WindowManager::Connection& X11WindowManager::Connect() {
  if (!connection_) {
    auto display = x11::OpenDisplay(display_, error_code::kWindow,
                                    "Cannot find the messaging client's windows");
    Display* d = display.get();
    connection_ = std::make_unique<Connection>(Connection{
        std::move(display), XInternAtom(d, "_NET_CLIENT_LIST", False),
        XInternAtom(d, "_NET_WM_PID", False), XInternAtom(d, "_NET_ACTIVE_WINDOW", False)});
  }
  return *connection_;
}

std::vector<std::uint64_t> X11WindowManager::WindowsOf(std::int64_t pid) {
  Connection& c = Connect();
  Display* d = c.display.get();
  // Windows come and go between the list and the questions about them: a window that is gone
  // has no owner and is left out.
  x11::XErrorTrap trap(d);
  std::vector<std::uint64_t> windows;
  constexpr long kMaxWindows = 4096;
  for (const unsigned long window :
       x11::Property32List(d, DefaultRootWindow(d), c.client_list, XA_WINDOW, kMaxWindows)) {
    const auto owner = x11::Property32List(d, window, c.wm_pid, XA_CARDINAL, 1);
    if (!owner.empty() && static_cast<std::int64_t>(owner[0]) == pid) windows.push_back(window);
  }
  trap.Failed();
  return windows;
}

void X11WindowManager::Activate(std::uint64_t window) {
  Connection& c = Connect();
  Display* d = c.display.get();
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = static_cast<Window>(window);
  event.xclient.message_type = c.active_window;
  event.xclient.format = 32;
  // Source 2: a pager or taskbar, which is the user's own request; a window manager that keeps
  // programs from stealing the focus grants it.
  event.xclient.data.l[0] = 2;
  event.xclient.data.l[1] = CurrentTime;
  x11::XErrorTrap trap(d);
  XSendEvent(d, DefaultRootWindow(d), False, SubstructureRedirectMask | SubstructureNotifyMask,
             &event);
  if (trap.Failed()) {
    throw Failure(error_code::kWindow,
                  "The window manager could not be asked to activate the messaging client's "
                  "window: " +
                      trap.FirstError());
  }
}

bool X11WindowManager::HasInputFocus(std::uint64_t window) {
  Display* d = Connect().display.get();
  x11::XErrorTrap trap(d);
  const bool in = x11::InputFocusIn(d, static_cast<Window>(window));
  // A window that went away in between has no focus.
  return !trap.Failed() && in;
}

}  // namespace plumwick
