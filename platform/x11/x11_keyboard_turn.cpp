// The display's keyboard, one keyboard job at a time, through a selection's ownership.
#include "platform/x11/x11_keyboard_turn.h"

namespace plumwick::x11 {

KeyboardTurn::KeyboardTurn(Display* display)
    : display_(display),
      selection_(XInternAtom(display, "_PLUMWICK_KEYBOARD_JOB", False)),
      // Never mapped: it only names the owner.
      owner_(XCreateWindow(display, DefaultRootWindow(display), -1, -1, 1, 1, 0, 0, InputOnly,
                           CopyFromParent, 0, nullptr)) {}

KeyboardTurn::~KeyboardTurn() {
  XDestroyWindow(display_, owner_);
  XFlush(display_);
}

bool KeyboardTurn::Take() {
  // Setting an owner replaces any other: asking and setting must be one step, or two programs
  // that both found it free would both go on.
  XGrabServer(display_);
  const Window owner = XGetSelectionOwner(display_, selection_);
  if (owner == None) XSetSelectionOwner(display_, selection_, owner_, CurrentTime);
  XUngrabServer(display_);
  XFlush(display_);
  return owner == None || owner == owner_;
}

void KeyboardTurn::Give() {
  if (XGetSelectionOwner(display_, selection_) != owner_) return;
  XSetSelectionOwner(display_, selection_, None, CurrentTime);
  XFlush(display_);
}

}  // namespace plumwick::x11
