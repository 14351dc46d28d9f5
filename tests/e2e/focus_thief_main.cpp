// A foreign window for the focus guard's end-to-end test: another program's window that logs
// every key it receives and takes the keyboard focus back, within milliseconds, whenever a window
// with the given name becomes the active one. Plain Xlib, so that nothing but X stands between a
// key and its log line.
//
//   plumwick_e2e_focus_thief <a part of the name of the window to keep the focus from> [delay in
//   ms]
//
// With a delay, the focus is taken that long after the window became active, as a person's click
// elsewhere would in the middle of the keys typed into it.
//
// Standard output, one line each: "ready <window id>" once it is shown and active, "key <keysym
// name>" for every key press, "took the focus from <window id>" for every theft.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <sys/select.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

struct Atoms {
  Atom active_window;
  Atom wm_pid;
  Atom net_wm_name;
  Atom utf8_string;
};

void Say(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

Window ActiveWindow(Display* display, const Atoms& atoms) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0, remaining = 0;
  unsigned char* data = nullptr;
  Window active = None;
  if (XGetWindowProperty(display, DefaultRootWindow(display), atoms.active_window, 0, 1, False,
                         XA_WINDOW, &type, &format, &count, &remaining, &data) == Success &&
      type == XA_WINDOW && format == 32 && count == 1) {
    active = static_cast<Window>(reinterpret_cast<unsigned long*>(data)[0]);
  }
  if (data != nullptr) XFree(data);
  return active;
}

std::string WindowName(Display* display, const Atoms& atoms, Window window) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0, remaining = 0;
  unsigned char* data = nullptr;
  std::string name;
  if (XGetWindowProperty(display, window, atoms.net_wm_name, 0, 256, False, atoms.utf8_string,
                         &type, &format, &count, &remaining, &data) == Success &&
      type == atoms.utf8_string && format == 8) {
    name.assign(reinterpret_cast<const char*>(data), count);
  }
  if (data != nullptr) XFree(data);
  return name;
}

// Asks the window manager to activate the window as a pager would: a request on the user's
// behalf, which focus stealing prevention does not turn down.
void RequestActivation(Display* display, const Atoms& atoms, Window window, Time time) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = atoms.active_window;
  event.xclient.format = 32;
  event.xclient.data.l[0] = 2;
  event.xclient.data.l[1] = static_cast<long>(time);
  XSendEvent(display, DefaultRootWindow(display), False,
             SubstructureRedirectMask | SubstructureNotifyMask, &event);
  XFlush(display);
}

std::string Hex(Window window) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%lx", window);
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: %s <name of the window to keep the focus from> [delay in ms]\n",
                 argv[0]);
    return 2;
  }
  const std::string victim = argv[1];
  const std::chrono::milliseconds delay(argc == 3 ? std::atoi(argv[2]) : 0);
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "%s: cannot open the display\n", argv[0]);
    return 1;
  }
  const Window root = DefaultRootWindow(display);
  const Atoms atoms{
      XInternAtom(display, "_NET_ACTIVE_WINDOW", False), XInternAtom(display, "_NET_WM_PID", False),
      XInternAtom(display, "_NET_WM_NAME", False), XInternAtom(display, "UTF8_STRING", False)};

  const Window window = XCreateSimpleWindow(display, root, 0, 0, 240, 80, 0, 0,
                                            WhitePixel(display, DefaultScreen(display)));
  const std::string title = "Foreign window";
  XStoreName(display, window, title.c_str());
  XChangeProperty(display, window, atoms.net_wm_name, atoms.utf8_string, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(title.data()),
                  static_cast<int>(title.size()));
  // The focus guard names the owner of the focused window by this.
  const long pid = getpid();
  XChangeProperty(display, window, atoms.wm_pid, XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&pid), 1);
  XWMHints hints{};
  hints.flags = InputHint;
  hints.input = True;
  XSetWMHints(display, window, &hints);
  XSelectInput(display, window, KeyPressMask | StructureNotifyMask);
  XSelectInput(display, root, PropertyChangeMask);
  XMapWindow(display, window);

  bool ready = false;
  using Clock = std::chrono::steady_clock;
  // When a theft is due, and from which window.
  bool due = false;
  Clock::time_point due_at;
  Window from = None;
  for (;;) {
    if (due && XPending(display) == 0) {
      const auto left =
          std::chrono::duration_cast<std::chrono::microseconds>(due_at - Clock::now());
      if (left.count() > 0) {
        fd_set fds;
        FD_ZERO(&fds);
        FD_SET(ConnectionNumber(display), &fds);
        timeval timeout{static_cast<time_t>(left.count() / 1000000),
                        static_cast<suseconds_t>(left.count() % 1000000)};
        select(ConnectionNumber(display) + 1, &fds, nullptr, nullptr, &timeout);
      }
      if (XPending(display) == 0 && Clock::now() >= due_at) {
        due = false;
        RequestActivation(display, atoms, window, CurrentTime);
        Say("took the focus from " + std::to_string(from));
      }
      continue;
    }
    XEvent event;
    XNextEvent(display, &event);
    switch (event.type) {
      case MapNotify:
        if (event.xmap.window == window) RequestActivation(display, atoms, window, CurrentTime);
        break;
      case KeyPress: {
        char text[16];
        KeySym keysym = NoSymbol;
        XLookupString(&event.xkey, text, sizeof text, &keysym, nullptr);
        const char* name = XKeysymToString(keysym);
        Say(std::string("key ") + (name != nullptr ? name : Hex(keysym).c_str()));
        break;
      }
      case PropertyNotify: {
        if (event.xproperty.window != root || event.xproperty.atom != atoms.active_window) break;
        const Window active = ActiveWindow(display, atoms);
        if (active == window && !ready) {
          ready = true;
          Say("ready " + std::to_string(window));
        } else if (active != None && active != window &&
                   WindowName(display, atoms, active).find(victim) != std::string::npos) {
          if (delay.count() > 0) {
            due = true;
            due_at = Clock::now() + delay;
            from = active;
            break;
          }
          RequestActivation(display, atoms, window, event.xproperty.time);
          Say("took the focus from " + std::to_string(active));
        }
        break;
      }
      default:
        break;
    }
  }
}
