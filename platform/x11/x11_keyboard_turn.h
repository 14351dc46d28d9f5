// The display's keyboard, one keyboard job at a time across every Plumwick on the display. Jobs
// of two programs typing at once would take the focus from each other's windows and mix their
// keys. A job holds the keyboard by owning an X selection that only Plumwick uses: the X server
// tells every client who owns it, and it goes free by itself when the owner's connection closes,
// also when the process is killed.
#pragma once

#include <X11/Xlib.h>

namespace plumwick::x11 {

class KeyboardTurn {
 public:
  // Makes the selection's owner window on `display`, which must outlive this object.
  explicit KeyboardTurn(Display* display);
  ~KeyboardTurn();

  KeyboardTurn(const KeyboardTurn&) = delete;
  KeyboardTurn& operator=(const KeyboardTurn&) = delete;

  // Takes the keyboard when no job holds it; true when this object holds it now. Never takes it
  // from another program's job.
  bool Take();
  // Lets the keyboard go for the next job, when this object holds it.
  void Give();

 private:
  Display* display_;
  Atom selection_;
  Window owner_;
};

}  // namespace plumwick::x11
