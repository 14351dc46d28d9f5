// Types key sequences into one X window, as XTest key events on a libxdo connection, each key
// under a server grab that holds the look at the input focus before it too. Every character of
// the text arrives as written, Unicode included: one the keyboard layout lacks is bound to a free
// keycode of its own, and the binding stays in place so that a receiver still reads it right when
// it handles the key much later (a window of this very process handles it only after Type has
// returned). Bindings are reused, and a binding the receiver may not have read yet is never
// changed: Type stops for a read receipt first (kUnread). All are removed by ReleaseKeys (at the
// end of each keyboard job) or when the object is destroyed: call it only once typed keys no
// longer wait in a receiver's queue. The bindings live in the X server, so a process that ends
// without running destructors must call ReleaseKeys first; one killed leaves a record on the
// display from which the next Plumwick to take the keyboard gives them back.
//
// Typing works in whatever layout and group is in use, and leaves the keyboard as it found it:
// modifier keys still held (Shift from a Shift-click) are let go for the typing and pressed again
// afterwards, Caps Lock is off while typing and on again afterwards. Any other key the typing
// presses must be up: the X server drops a press of a key that is down (the person's Return that
// has just closed a message box, say), so HeldKeys names those and Type refuses to type while one
// is held. Letting go of such a key for the person instead would end their key press as seen by
// the focused window and stop its auto-repeat, and pressing it again afterwards would type it.
//
// No X or libxdo header here: Qt code includes this one.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/keystrokes.h"

namespace plumwick {

class XTestKeystrokes final : public Keystrokes {
 public:
  // `display` names the X display to type on; empty means $DISPLAY. Nothing is connected yet:
  // the first Type connects, and fails when there is no display.
  explicit XTestKeystrokes(std::string display = {});
  ~XTestKeystrokes() override;

  XTestKeystrokes(const XTestKeystrokes&) = delete;
  XTestKeystrokes& operator=(const XTestKeystrokes&) = delete;

  // Keys that need more distinct characters the layout lacks than there are free key positions
  // (two for each unused keycode but one, which is left to other programs: 36 on a stock Xvfb) go
  // out as far as the positions reach, and Type stops there for a read receipt (kUnread).
  // Throws Failure(kKeystrokes) when there is no display, when the text holds a character no key
  // types (a control character other than newline and tab), or when the layout leaves no key free
  // for a character it lacks. In all these cases nothing is typed.
  // Also kKeystrokes, with nothing typed, when a key the text needs is held down or Blocked
  // names a cause, and when the keyboard layout changes under keys typed and not yet read.
  TypedKeys Type(const KeySequence& keys, std::uint64_t window) override;
  // Into whichever window has the focus as the first key goes out, and only there.
  TypedKeys Type(const KeySequence& keys) { return Type(keys, 0); }
  std::string Untypable(const KeySequence& keys) override;
  void AskReadReceipt(std::uint64_t window) override;
  bool ReadReceiptCame() override;
  // Names keys by their keysym on the first level ("Return", "A" for a letter key). Connects
  // first like Type, and throws as it does.
  std::vector<std::string> HeldKeys(const KeySequence& keys) override;
  // Removes the bindings of characters the layout lacks (those still as this object left them)
  // and lets the display go, and with it the keyboard's turn; a later Type starts afresh. Best
  // effort: it cannot fail.
  void ReleaseKeys() noexcept;
  // Connects first like Type, and throws as it does.
  std::string Blocked() override;
  // Connects first like Type, and throws as it does.
  bool TakeTurn() override;
  bool Borrowed() const override;
  // Releases the keys as ReleaseKeys does, and with the display the keyboard's turn.
  void EndJob() noexcept override { ReleaseKeys(); }

 private:
  struct Connection;

  // The connection, made on first use.
  Connection& Connected();

  std::string display_;
  std::unique_ptr<Connection> connection_;
};

}  // namespace plumwick
