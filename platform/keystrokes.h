// Types key sequences (keynotation/key_notation.h) into one window of another program, a key at a
// time and each only while that window has the keyboard focus. Typing returns once the keys are
// sent, without waiting for the window to read them: a read receipt says when it has.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "keynotation/key_notation.h"

namespace plumwick {

// How far a Type call got.
struct TypedKeys {
  enum class Stop {
    kDone,       // every key went out
    kFocusLeft,  // the keyboard focus left the window: the rest did not go out
    // The rest needs a key bound anew that the window may not have read yet under its binding of
    // now: ask for a read receipt, then type the rest.
    kUnread,
    // A key the keys need is held down (see HeldKeys), or something else keeps keys from the
    // window (see Blocked; a click under way also stops keys that were going out). Wait until
    // that is over, then type the rest.
    kKeyboardBusy,
  };
  std::size_t keys = 0;  // characters and key presses that went out, from the first
  Stop stop = Stop::kDone;
  // The desktop's input time stamps (milliseconds, wrapping) around the keys that went out: each
  // key event carries one from this span.
  std::uint32_t from_stamp = 0;
  std::uint32_t to_stamp = 0;
};

class Keystrokes {
 public:
  virtual ~Keystrokes() = default;
  // Types the keys into `window`, the top-level window that has the keyboard focus (as
  // FocusedWindow names it). Every key goes out in one step with a look at the focus (one look
  // may serve a few keys) that no other program's request can come between, so that no key goes
  // anywhere else: a focus that moved stops the typing there (kFocusLeft). Types nothing while one
  // of the keys it must press is held down or keys cannot reach the focused window
  // (kKeyboardBusy). Throws Failure, typing nothing, for a character no key types; and, with keys
  // typed, when the keyboard layout changed under the keys still unread.
  virtual TypedKeys Type(const KeySequence& keys, std::uint64_t window) = 0;
  // What of `keys` no key of the keyboard can type as it is now, even on a spare key, described
  // for a person ("2 characters the keyboard layout lacks, such as \"Ω\", and the layout leaves
  // no key free to type them"); empty when all of it can be typed. Throws Failure as Type does
  // for a keyboard that cannot be reached.
  virtual std::string Untypable(const KeySequence& keys) = 0;
  // Asks the window's program to say when it has read every key typed so far: it translates a
  // key into a character with the keymap of the moment it reads it.
  virtual void AskReadReceipt(std::uint64_t window) = 0;
  // Whether the receipt asked for came (or the window went away, reading nothing more). Throws
  // Failure when the keyboard layout changed before it came, after keys were typed: the window
  // may have read some of them under the new layout, as other characters.
  virtual bool ReadReceiptCame() = 0;
  // The keys that typing `keys` would press and that are held down right now, by name ("Return"),
  // by the person at the keyboard or by another program. A press of a key that is already down
  // never arrives, so typing must wait until the person lets go. Modifier keys are not counted:
  // typing lets go of those itself and holds them again afterwards. Throws Failure as Type does
  // for a keyboard that cannot be reached. A keyboard that cannot tell which keys are down
  // answers none.
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
