// What the X server tells, after keys went out, of the keyboard layout and of the window the keys
// went into. A receiver translates a key into a character with the keymap of the moment it reads
// the key, which may be long after it went out: a layout changed in between (another keymap loaded,
// a key rebound, the group switched) turns keys still unread into other characters. A window's
// answer to the desktop's ping (_NET_WM_PING) comes once it has read every event sent to it before
// the ping: its read receipt. Both arrive on the connection the keys go out on, in the order the
// server handled them, so a layout change that comes before the receipt came before the reading.
#pragma once

#include <X11/Xlib.h>

#include <chrono>
#include <cstdint>

namespace plumwick::x11 {

class TypingWatch {
 public:
  // Selects the keyboard's layout events on `display`, which must outlive this object and offer
  // XKB, whose events start at `xkb_event_base`.
  TypingWatch(Display* display, int xkb_event_base);
  ~TypingWatch();

  TypingWatch(const TypingWatch&) = delete;
  TypingWatch& operator=(const TypingWatch&) = delete;

  // Takes in the layout events queued now, without asking the server; whether one came, from
  // another program's hand or the person's, since the last call. It may change nothing that
  // matters: the server tells of a new keyboard also when its keys change hands between two
  // devices with the same layout (the person's keyboard and the one XTest types on).
  bool LayoutChanged();
  // Takes the keymap changes queued now as this program's own: call under a server grab, after
  // writing bindings and reading them back, when no other program can have changed the keymap.
  void TakeOwnChanges();

  // Pings the window. One that does not announce the ping is given a second instead.
  void AskReceipt(Window window);
  // Whether the receipt asked for came, or the window went away (it reads no more keys). A layout
  // change that came before it counts in LayoutChanged.
  bool ReceiptCame();

 private:
  // Handles one event of the connection's queue: a layout event, or the receipt.
  void Take(const XEvent& event);
  bool IsLayoutChange(const XEvent& event) const;
  void StopListening();

  Display* display_;
  int xkb_event_base_;
  Atom protocols_;
  Atom ping_;
  bool changed_ = false;
  Window asked_ = None;  // the window a receipt is awaited from
  bool came_ = false;
  long stamp_;
  std::chrono::steady_clock::time_point grace_end_{};  // for a window without the ping
};

}  // namespace plumwick::x11
