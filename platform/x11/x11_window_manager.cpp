// Other programs' windows over EWMH on X11, or straight through the X server where no window
// manager runs.
#include "platform/x11/x11_window_manager.h"

#include <algorithm>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include "platform/failure.h"
#include "platform/x11/x11_display.h"
#include "platform/x11/x11_error_trap.h"
#include "platform/x11/x11_window_facts.h"

namespace plumwick {

struct X11WindowManager::Connection {
  x11::DisplayPtr display;
  Atom client_list;
  Atom wm_pid;
  Atom active_window;
  Atom supporting_wm_check;
  Atom wm_state;
  // An unmapped window of this connection's own, and a property on it, to learn the server time.
  Window clock_window;
  Atom clock_property;
};

X11WindowManager::X11WindowManager(std::string display) : display_(std::move(display)) {}

X11WindowManager::~X11WindowManager() = default;

X11WindowManager::Connection& X11WindowManager::Connect() {
  if (!connection_) {
    auto display = x11::OpenDisplay(display_, error_code::kWindow,
                                    "Cannot find the messaging client's windows");
    Display* d = display.get();
    XSetWindowAttributes attributes{};
    attributes.event_mask = PropertyChangeMask;
    const Window clock = XCreateWindow(d, DefaultRootWindow(d), -1, -1, 1, 1, 0, CopyFromParent,
                                       InputOnly, CopyFromParent, CWEventMask, &attributes);
    connection_ = std::make_unique<Connection>(Connection{
        std::move(display), XInternAtom(d, "_NET_CLIENT_LIST", False),
        XInternAtom(d, "_NET_WM_PID", False), XInternAtom(d, "_NET_ACTIVE_WINDOW", False),
        XInternAtom(d, "_NET_SUPPORTING_WM_CHECK", False), XInternAtom(d, "WM_STATE", False), clock,
        XInternAtom(d, "_PLUMWICK_SERVER_TIME", False)});
  }
  return *connection_;
}

bool X11WindowManager::ManagerRuns() {
  Connection& c = Connect();
  Display* d = c.display.get();
  x11::XErrorTrap trap(d);
  const auto check = x11::Property32(d, DefaultRootWindow(d), c.supporting_wm_check, XA_WINDOW);
  if (!check) return false;
  // A window manager that ended left the root's property behind, naming a window that is gone.
  const auto self =
      x11::Property32(d, static_cast<Window>(*check), c.supporting_wm_check, XA_WINDOW);
  return !trap.Failed() && self == check;
}

unsigned long X11WindowManager::ServerTime() {
  Connection& c = Connect();
  Display* d = c.display.get();
  // Appending nothing to a property changes nothing, but the server still reports the change,
  // stamped with its time.
  XChangeProperty(d, c.clock_window, c.clock_property, XA_STRING, 8, PropModeAppend, nullptr, 0);
  XEvent event{};
  XIfEvent(
      d, &event,
      [](Display*, XEvent* candidate, XPointer window) {
        return candidate->type == PropertyNotify &&
                       candidate->xproperty.window == *reinterpret_cast<Window*>(window)
                   ? True
                   : False;
      },
      reinterpret_cast<XPointer>(&c.clock_window));
  return event.xproperty.time;
}

std::vector<std::uint64_t> X11WindowManager::WindowsOf(std::int64_t pid) {
  const bool managed = ManagerRuns();
  Connection& c = Connect();
  Display* d = c.display.get();
  // Windows come and go between the list and the questions about them: a window that is gone
  // has no owner and is left out.
  x11::XErrorTrap trap(d);
  std::vector<unsigned long> candidates;
  if (managed) {
    constexpr long kMaxWindows = 4096;
    candidates =
        x11::Property32List(d, DefaultRootWindow(d), c.client_list, XA_WINDOW, kMaxWindows);
  } else if (const auto tree = x11::QueryTree(d, DefaultRootWindow(d))) {
    // Without a window manager the programs' top-level windows are the root's children, bottom
    // to top. Those a person sees: mapped, and not menus or tooltips (override-redirect).
    for (const Window child : tree->children) {
      XWindowAttributes attributes{};
      if (XGetWindowAttributes(d, child, &attributes) && attributes.map_state == IsViewable &&
          !attributes.override_redirect) {
        candidates.push_back(child);
      }
    }
  }
  std::vector<std::uint64_t> windows;
  for (const unsigned long window : candidates) {
    const auto owner = x11::Property32(d, window, c.wm_pid, XA_CARDINAL);
    if (owner && static_cast<std::int64_t>(*owner) == pid) windows.push_back(window);
  }
  trap.Failed();
  return windows;
}

bool X11WindowManager::TakenOn(std::uint64_t window) {
  Connection& c = Connect();
  Display* d = c.display.get();
  x11::XErrorTrap trap(d);
  // Shown: the window and its frame are mapped. Or kept minimized (ICCCM's IconicState), as KWin
  // keeps a dialog whose parent window is minimized until the dialog is activated.
  XWindowAttributes attributes{};
  const bool viewable = XGetWindowAttributes(d, static_cast<Window>(window), &attributes) != 0 &&
                        attributes.map_state == IsViewable;
  constexpr unsigned long kIconicState = 3;
  const bool iconic =
      !viewable && x11::Property32(d, static_cast<Window>(window), c.wm_state, c.wm_state) ==
                       std::optional<unsigned long>(kIconicState);
  return !trap.Failed() && (viewable || iconic);
}

void X11WindowManager::Activate(std::uint64_t window) {
  const bool managed = ManagerRuns();
  Connection& c = Connect();
  Display* d = c.display.get();
  x11::XErrorTrap trap(d);
  if (managed) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = static_cast<Window>(window);
    event.xclient.message_type = c.active_window;
    event.xclient.format = 32;
    // Source 2: a pager or taskbar, which is the user's own request; a window manager that keeps
    // programs from stealing the focus grants it. No time (CurrentTime): the manager takes its
    // own now. The X server's time would do under X11, but mutter as a Wayland compositor counts
    // time on another clock than its XWayland and dropped such requests as too old.
    event.xclient.data.l[0] = 2;
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, DefaultRootWindow(d), False, SubstructureRedirectMask | SubstructureNotifyMask,
               &event);
    if (trap.Failed()) {
      throw Failure(error_code::kWindow,
                    "The window manager could not be asked to activate the messaging client's "
                    "window: " +
                        trap.FirstError());
    }
    return;
  }
  // Nobody else would: raise it and give it the focus as a window manager does. Stamped with the
  // server's time now, so that a focus change stamped earlier that arrives later cannot undo it.
  const unsigned long now = ServerTime();
  XRaiseWindow(d, static_cast<Window>(window));
  XSetInputFocus(d, static_cast<Window>(window), RevertToParent, now);
  if (trap.Failed()) {
    throw Failure(error_code::kWindow,
                  "No window manager runs on this display, and the messaging client's window "
                  "could not be given the keyboard focus: " +
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

bool X11WindowManager::OnDisplay(std::int64_t pid) {
  Connection& c = Connect();
  Display* d = c.display.get();
  x11::XErrorTrap trap(d);
  const auto names_pid = [&](Window window) {
    return x11::Property32(d, window, c.wm_pid, XA_CARDINAL) == static_cast<unsigned long>(pid);
  };
  // A toolkit names its process on a window of its own at the root from its start (GTK's and
  // Qt's leader window), and on each top-level window, which a window manager puts in a frame. A
  // connection alone is not enough: a Wayland program may still read the X server's idle time.
  const auto top = x11::QueryTree(d, DefaultRootWindow(d));
  if (!top) return true;
  for (const Window window : top->children) {
    if (names_pid(window)) return true;
    if (const auto framed = x11::QueryTree(d, window)) {
      if (std::ranges::any_of(framed->children, names_pid)) return true;
    }
  }
  return false;
}

}  // namespace plumwick
