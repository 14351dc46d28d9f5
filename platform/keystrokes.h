// Types key sequences (keynotation/key_notation.h) into the window that has the keyboard focus.
// Typing returns once the keys are sent, without waiting for the
// target window to process them. Every character arrives or the call fails.
#pragma once

#include <string>
#include <vector>

#include "keynotation/key_notation.h"

namespace plumwick {

class Keystrokes {
 public:
  virtual ~Keystrokes() = default;
  // Throws Failure, typing nothing, also when one of the keys it must press is held down (see
  // HeldKeys) or when keys cannot reach the focused window (see Blocked): ask those first and
  // wait until they are empty.
  virtual void Type(const KeySequence& keys) = 0;
  // The keys that typing `keys` would press and that are held down right now, by name ("Return"),
  // by the person at the keyboard or by another program. A press of a key that is already down
  // never arrives, so typing must wait until the person lets go. Modifier keys are not counted:
  // typing lets go of those itself and holds them again afterwards. Throws Failure as Type does
  // for a keyboard that cannot be reached. A keyboard that
  // cannot tell which keys are down answers none.
  virtual std::vector<std::string> HeldKeys(const KeySequence& keys) = 0;

  // What keeps keys from reaching the focused window right now, as a person would name it
  // ("another program holds the keyboard ..."), or empty when nothing does: keys sent while
  // another program holds the keyboard (a screen locker, an open menu) all go to that program.
  // Throws Failure as Type does for a keyboard that cannot be reached.
  virtual std::string Blocked() = 0;
  // Takes the display's keyboard for a job of this program: false while a job of another program
  // on the display holds it (jobs of two programs at once would take the focus from each other's
  // windows), true when this program holds it, already or now. Throws Failure as Type does for a
  // keyboard that cannot be reached.
  virtual bool TakeTurn() = 0;
  // Whether typing has borrowed keys for characters the layout lacks: the client reads such a key
  // with the keymap of the moment it handles it, so the job gives it time to before EndJob.
  virtual bool Borrowed() const = 0;
  // Ends a keyboard job: gives back the keys borrowed for it, so that between jobs the keymap is
  // exactly the user's, and the display's keyboard to the next job. Call it once the client has
  // handled the keys typed last. Cannot fail.
  virtual void EndJob() noexcept = 0;
};

}  // namespace plumwick
