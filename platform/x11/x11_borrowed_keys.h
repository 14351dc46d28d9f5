// The record, kept on the display, of the keys this program has borrowed for characters the
// layout lacks. A Plumwick killed mid-job never gives its keys back, and the spare key pool only
// takes empty keys: without a record on the display, no later Plumwick could tell such a key from
// one another program bound, and the keys would stay lost until the layout is reloaded.
#pragma once

// Before any X header: Xlib defines KeyPress as a macro, which the key notation uses as a name.
#include "platform/x11/x11_spare_key_pool.h"

#include <X11/Xlib.h>

#include <cstddef>
#include <vector>

namespace plumwick::x11 {

class BorrowedKeysRecord {
 public:
  // `display` must outlive this object.
  explicit BorrowedKeysRecord(Display* display);

  // Replaces the record with these keycodes and what was written to them (the pool's Written()).
  // Called before the keymap is written, so that a crash in between still leaves a record: then
  // with what the keys hold and what they are about to hold, a keycode listed with both, and
  // again with what they hold once written.
  // Throws Failure (kKeystrokes) when the server refuses it.
  void Record(const std::vector<KeycodeBinding>& written);
  // Empties the record, once the keys are given back.
  void Clear();
  // Empties every recorded keycode that still holds what the record says was written there, then
  // clears the record; keys rebound since by someone else are left alone. Returns how many keys
  // it gave back. Only while this program holds the display's keyboard turn: no live Plumwick is
  // in a job then, so a record on the display is one a Plumwick that ended left behind.
  std::size_t GiveBackLeftovers();

 private:
  Display* display_;
  Atom property_;
};

}  // namespace plumwick::x11
