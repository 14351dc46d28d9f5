// Whether keys sent now would reach the focused window: another client's active keyboard grab (a
// screen locker, an open menu, a drag) takes every key, and a screen saver that is on hides the
// screen, locked or blank. Asked without side effects: a probe grab that succeeds tells the
// focused window it lost the focus and got it back (FocusOut and FocusIn of mode NotifyGrab and
// NotifyUngrab), which toolkits act on. A grab request stamped with a time still to come can
// never succeed, yet the X server answers AlreadyGrabbed before it looks at the time.
#pragma once

#include <X11/Xlib.h>

namespace plumwick::x11 {

enum class KeyboardBlock {
  kNone,
  kGrabbed,      // another client holds the keyboard
  kScreenSaver,  // the screen saver is on
  // A pointer button is held down, or another client holds the pointer (a window manager
  // handling a click, a drag): the click may move the focus once it is handled, and the client
  // that handles it waits for the server, which typing holds.
  kButtonHeld,
};

class KeyboardBlockProbe {
 public:
  // Makes a window of its own on `display` (to learn the server's time), which must outlive
  // this object.
  explicit KeyboardBlockProbe(Display* display);
  ~KeyboardBlockProbe();

  KeyboardBlockProbe(const KeyboardBlockProbe&) = delete;
  KeyboardBlockProbe& operator=(const KeyboardBlockProbe&) = delete;

  KeyboardBlock Probe();
  // A stamp for PointerHeld: later than the server's time for days.
  Time Later();
  // Whether another client holds the pointer: a click or a drag under way. One round trip. The
  // pointer of a click a window manager handles is frozen, and the button shows as down only
  // once it has handled it.
  bool PointerHeld(Time later);
  // The X server's time now, from the stamp of a property change on the probe's own window:
  // later than every event of the requests sent before.
  Time ServerTime();

 private:
  Display* display_;
  Window window_;
  Atom stamp_;
  bool saver_extension_;
};

}  // namespace plumwick::x11
