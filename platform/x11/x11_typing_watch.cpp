// The keyboard layout's changes and the typed window's read receipts, from the X server.
#include "platform/x11/x11_typing_watch.h"

#include <X11/XKBlib.h>
#include <unistd.h>

#include <memory>

#include "platform/x11/x11_error_trap.h"

namespace plumwick::x11 {
namespace {

// A window that gives no read receipt is given this long to read the keys typed into it.
constexpr std::chrono::seconds kNoReceiptGrace{1};

bool AnnouncesPing(Display* display, Window window, Atom ping) {
  XErrorTrap trap(display);
  Atom* protocols = nullptr;
  int count = 0;
  if (XGetWMProtocols(display, window, &protocols, &count) == 0) return false;
  const std::unique_ptr<Atom, int (*)(void*)> owner(protocols, XFree);
  for (int i = 0; i < count; ++i) {
    if (protocols[i] == ping) return true;
  }
  return false;
}

bool Exists(Display* display, Window window) {
  XErrorTrap trap(display);
  XWindowAttributes attributes;
  return XGetWindowAttributes(display, window, &attributes) != 0 && !trap.Failed();
}

}  // namespace

TypingWatch::TypingWatch(Display* display, int xkb_event_base)
    : display_(display),
      xkb_event_base_(xkb_event_base),
      protocols_(XInternAtom(display, "WM_PROTOCOLS", False)),
      ping_(XInternAtom(display, "_NET_WM_PING", False)),
      // Told apart from the window manager's pings, which carry the server's time.
      stamp_(0x70000000L + (static_cast<long>(getpid()) % 0x10000) * 0x100) {
  constexpr unsigned kKeymap = XkbNewKeyboardNotifyMask | XkbMapNotifyMask;
  XkbSelectEvents(display, XkbUseCoreKbd, kKeymap | XkbStateNotifyMask, kKeymap);
  XkbSelectEventDetails(display, XkbUseCoreKbd, XkbStateNotify, XkbGroupStateMask,
                        XkbGroupStateMask);
}

TypingWatch::~TypingWatch() {
  StopListening();
}

bool TypingWatch::IsLayoutChange(const XEvent& event) const {
  if (event.type != xkb_event_base_) return false;
  const auto& any = reinterpret_cast<const XkbAnyEvent&>(event);
  if (any.xkb_type == XkbStateNotify) {
    return (reinterpret_cast<const XkbStateNotifyEvent&>(event).changed & XkbGroupStateMask) != 0;
  }
  return any.xkb_type == XkbNewKeyboardNotify || any.xkb_type == XkbMapNotify;
}

void TypingWatch::Take(const XEvent& event) {
  if (IsLayoutChange(event)) {
    changed_ = true;
    return;
  }
  if (event.type == ClientMessage && asked_ != None && event.xclient.format == 32 &&
      event.xclient.message_type == protocols_ &&
      static_cast<Atom>(event.xclient.data.l[0]) == ping_ && event.xclient.data.l[1] == stamp_) {
    came_ = true;
  }
}

bool TypingWatch::LayoutChanged() {
  XEvent event;
  while (XCheckTypedEvent(display_, xkb_event_base_, &event) != 0) Take(event);
  const bool changed = changed_;
  changed_ = false;
  return changed;
}

void TypingWatch::TakeOwnChanges() {
  XEvent event;
  while (XCheckTypedEvent(display_, xkb_event_base_, &event) != 0) {
    // The person's group switch may come in between; the keymap changes are this program's.
    if (reinterpret_cast<const XkbAnyEvent&>(event).xkb_type == XkbStateNotify) changed_ = true;
  }
}

void TypingWatch::AskReceipt(Window window) {
  StopListening();
  came_ = false;
  ++stamp_;
  if (!AnnouncesPing(display_, window, ping_)) {
    asked_ = None;
    grace_end_ = std::chrono::steady_clock::now() + kNoReceiptGrace;
    return;
  }
  asked_ = window;
  // The answer is sent to the root window, to those that listen for its children's changes (GTK)
  // or for its own (Qt).
  XSelectInput(display_, DefaultRootWindow(display_), SubstructureNotifyMask | StructureNotifyMask);
  XEvent ping{};
  ping.xclient.type = ClientMessage;
  ping.xclient.window = window;
  ping.xclient.message_type = protocols_;
  ping.xclient.format = 32;
  ping.xclient.data.l[0] = static_cast<long>(ping_);
  ping.xclient.data.l[1] = stamp_;
  ping.xclient.data.l[2] = static_cast<long>(window);
  XErrorTrap trap(display_);
  XSendEvent(display_, window, False, NoEventMask, &ping);
  if (trap.Failed()) came_ = true;  // gone already
}

bool TypingWatch::ReceiptCame() {
  if (asked_ == None) return came_ || std::chrono::steady_clock::now() >= grace_end_;
  // In the order the server sent them: a layout change before the answer counts.
  while (!came_ && XPending(display_) > 0) {
    XEvent event;
    XNextEvent(display_, &event);
    Take(event);
  }
  if (!came_ && !Exists(display_, asked_)) came_ = true;
  if (came_) StopListening();
  return came_;
}

void TypingWatch::StopListening() {
  if (asked_ == None) return;
  XSelectInput(display_, DefaultRootWindow(display_), NoEventMask);
  XFlush(display_);
  asked_ = None;
}

}  // namespace plumwick::x11
