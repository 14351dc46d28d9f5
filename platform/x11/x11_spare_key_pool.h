// The key positions this program binds to characters the keyboard layout lacks.
//
// Each keycode the layout leaves empty offers two positions: the plain level and the Shift level.
// A receiving application translates a key event with the keymap it holds when it processes the
// event, which may be long after the event was sent (a window in this very process is served only
// once Type has returned). So a binding stays in place after the keys are sent, a later string
// reuses it, and a position is rebound only to make room, least recently used first and never
// for a character of the same string. Whether the receiver has read the keys typed on a position
// is known only from its read receipt: Assign says when it rebinds a position typed since the last
// one, so that the caller can wait for it first. Pure bookkeeping: the caller writes the keymap.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "platform/x11/x11_keysyms.h"

namespace plumwick::x11 {

using Keycode = std::uint8_t;

// One position: a keycode and its level (0 plain, 1 with Shift).
struct SparePosition {
  Keycode keycode = 0;
  int level = 0;
  bool operator==(const SparePosition&) const = default;
};

// What the keymap must hold for a keycode: its plain and its Shift keysym.
struct KeycodeBinding {
  Keycode keycode = 0;
  std::array<Keysym, 2> keysyms{};
  bool operator==(const KeycodeBinding&) const = default;
};

class SpareKeyPool {
 public:
  // `levels` is 2 when the layout has a Shift key to reach the second level with, else 1.
  explicit SpareKeyPool(int levels = 2) : levels_(levels) {}

  // Brings the pool in line with the keymap as it is now. `empty` lists the keycodes with no
  // keysyms at all; `current` gives the first two keysyms of every keycode. A keycode of the pool
  // that still holds what this pool wrote keeps its bindings; one that is empty again (the layout
  // was reloaded) stays in the pool unbound; one that now holds something else belongs to someone
  // else and leaves the pool.
  void Refresh(const std::vector<Keycode>& empty,
               const std::map<Keycode, std::array<Keysym, 2>>& current, int levels);

  // Finds a position for each keysym, binding the ones not yet bound. Either every keysym gets a
  // position or nothing changes and Failure (kKeystrokes) is thrown. The keysyms must be distinct.
  std::map<Keysym, SparePosition> Assign(const std::vector<Keysym>& keysyms);

  // The keycodes whose keysyms Assign changed since the last call of this; the caller writes
  // them to the keymap.
  std::vector<KeycodeBinding> TakeChanges();

  // Every keycode this pool has written to, with what it wrote: to undo at the end.
  std::vector<KeycodeBinding> Written() const;

  // Whether the last Assign rebound a position typed since the last MarkRead: the receiver may
  // still read a key typed there, and would read the new character.
  bool ReboundUnread() const { return rebound_unread_; }
  // Where the pool's use stands now, to mark read once a receipt asked for now came.
  std::uint64_t Now() const { return clock_; }
  // The receiver has read every key typed on the positions assigned up to `now`.
  void MarkRead(std::uint64_t now) { read_through_ = std::max(read_through_, now); }

  bool Owns(Keycode keycode) const { return keys_.contains(keycode); }
  std::size_t Capacity() const { return keys_.size() * static_cast<std::size_t>(levels_); }

 private:
  struct Key {
    std::array<Keysym, 2> bound{};  // per level; kNoSymbol when free
    std::array<std::uint64_t, 2> last_use{};
    std::array<Keysym, 2> written{};  // what the keymap holds, as far as this pool knows
    bool changed = false;
  };

  static std::array<Keysym, 2> ToWrite(const std::array<Keysym, 2>& bound);

  int levels_;
  std::map<Keycode, Key> keys_;
  std::uint64_t clock_ = 0;
  std::uint64_t read_through_ = 0;
  bool rebound_unread_ = false;
};

}  // namespace plumwick::x11
