// The keyboard layout as the keystroke planner needs it: which key and modifiers give each keysym
// and character in the current group, which keycodes are free, and which keys hold the modifiers.
// Plain data, filled from the X server by ReadKeyboardLayout (x11_layout_reader.h) and by hand in
// tests.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <vector>

#include "platform/x11/x11_keysyms.h"
#include "platform/x11/x11_spare_key_pool.h"

namespace plumwick::x11 {

// One key press: the key, and the modifier mask (X core bits) held down while it is pressed.
struct Stroke {
  Keycode keycode = 0;
  unsigned mods = 0;
  bool operator==(const Stroke&) const = default;
};

// A keysym the layout gives for a stroke. `character` is the text a receiver reads for it, or 0
// for keys that type no text (Return, arrows, keypad keys).
struct LayoutEntry {
  Stroke stroke;
  Keysym keysym = kNoSymbol;
  char32_t character = 0;
  bool operator==(const LayoutEntry&) const = default;
};

struct KeyboardLayout {
  std::vector<LayoutEntry> entries;  // every reachable level of every key, in the current group
  std::vector<Keycode> empty;        // keycodes with no keysym in any group or level
  std::map<Keycode, std::array<Keysym, 2>> first_levels;  // group 1, levels 1 and 2 of each key
  std::map<unsigned, Keycode> modifier_keys;  // a key to hold for each usable modifier bit
  unsigned shift_mask = 0;                    // the Shift bit when a Shift key exists, else 0
  // The Control bit when a Control key exists, else 0. Control chooses no level of any entry: it
  // is held only around a key pressed with Control.
  unsigned control_mask = 0;
  // The bit an Alt key sets (Meta on a layout without Alt), usually Mod1, else 0. Like Control,
  // it chooses no level: held only around a key pressed with Alt.
  unsigned alt_mask = 0;
};

}  // namespace plumwick::x11
