// Whether keys sent now would reach the focused window.
#include "platform/x11/x11_keyboard_block.h"

#include <X11/Xatom.h>
#include <X11/extensions/scrnsaver.h>

#include <memory>

#include "platform/x11/x11_display.h"
#include "platform/x11/x11_window_facts.h"

namespace plumwick::x11 {
namespace {

// Far enough ahead of the server's time to count as later than it (the server compares times
// within half the 32-bit range), near enough never to be taken for a time long past.
constexpr Time kAhead = Time{1} << 30;

Bool IsStampOf(Display* /*display*/, XEvent* event, XPointer window) {
  return static_cast<Bool>(event->type == PropertyNotify &&
                           event->xproperty.window == *reinterpret_cast<Window*>(window));
}

}  // namespace

KeyboardBlockProbe::KeyboardBlockProbe(Display* display)
    : display_(display),
      window_(XCreateWindow(display, DefaultRootWindow(display), -1, -1, 1, 1, 0, 0, InputOnly,
                            CopyFromParent, 0, nullptr)),
      stamp_(XInternAtom(display, "_PLUMWICK_SERVER_TIME", False)) {
  XSelectInput(display, window_, PropertyChangeMask);
  int event_base = 0, error_base = 0;
  saver_extension_ = XScreenSaverQueryExtension(display, &event_base, &error_base) != 0;
}

KeyboardBlockProbe::~KeyboardBlockProbe() {
  XDestroyWindow(display_, window_);
  XFlush(display_);
}

Time KeyboardBlockProbe::ServerTime() {
  XChangeProperty(display_, window_, stamp_, XA_INTEGER, 32, PropModeReplace, nullptr, 0);
  XEvent event;
  XIfEvent(display_, &event, IsStampOf, reinterpret_cast<XPointer>(&window_));
  return event.xproperty.time;
}

Time KeyboardBlockProbe::Later() {
  return (ServerTime() + kAhead) & 0xffffffffUL;
}

bool KeyboardBlockProbe::PointerHeld(Time later) {
  const int status = XGrabPointer(display_, DefaultRootWindow(display_), False, 0, GrabModeAsync,
                                  GrabModeAsync, None, None, later);
  if (status == GrabSuccess) XUngrabPointer(display_, CurrentTime);
  return status == AlreadyGrabbed || status == GrabFrozen;
}

KeyboardBlock KeyboardBlockProbe::Probe() {
  if (saver_extension_) {
    const XPtr<XScreenSaverInfo> info(XScreenSaverAllocInfo());
    if (info && XScreenSaverQueryInfo(display_, DefaultRootWindow(display_), info.get()) != 0 &&
        info->state == ScreenSaverOn) {
      return KeyboardBlock::kScreenSaver;
    }
  }
  // On the root window, which is always viewable: the server checks that before the time too.
  const Time later = Later();
  if (PointerButtonDown(display_) || PointerHeld(later)) return KeyboardBlock::kButtonHeld;
  const int status = XGrabKeyboard(display_, DefaultRootWindow(display_), False, GrabModeAsync,
                                   GrabModeAsync, later);
  // Should a server ever grant it, it is let go at once.
  if (status == GrabSuccess) XUngrabKeyboard(display_, CurrentTime);
  return status == AlreadyGrabbed || status == GrabFrozen ? KeyboardBlock::kGrabbed
                                                          : KeyboardBlock::kNone;
}

}  // namespace plumwick::x11
