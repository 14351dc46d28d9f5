// Turns parsed key notation into the key presses that type it on the current layout, deciding
// which characters need a spare key of their own. Pure: the caller reads the layout and writes
// the bindings and key events.
#pragma once

#include <vector>

#include "keynotation/key_notation.h"
#include "platform/x11/x11_keyboard_layout.h"
#include "platform/x11/x11_spare_key_pool.h"

namespace plumwick::x11 {

// A stroke on a spare key and the keysym it must give: checked against the keymap once the
// bindings are written, before anything is typed.
struct BoundStroke {
  Stroke stroke;
  Keysym keysym = kNoSymbol;
};

struct KeystrokePlan {
  std::vector<Stroke> strokes;           // in typing order, one per character or key press
  std::vector<KeycodeBinding> bindings;  // keymap changes to make first
  std::vector<BoundStroke> spare;        // distinct strokes on spare keys
};

// A key pressed with Control, Shift or Alt gets the layout's bit for it among its stroke's
// modifiers. A press of a letter's key is of the key giving the letter's keysym with the fewest
// modifiers, or of a spare key bound to it when the layout (or the group in use) has none. Throws
// Failure (kKeystrokes) for a character no key can type (a control character), for a key pressed
// with a modifier the layout has no key for, and when the text needs more spare keys than the pool
// has; the pool is then unchanged.
KeystrokePlan PlanKeystrokes(const std::vector<KeyToken>& tokens, const KeyboardLayout& layout,
                             SpareKeyPool& pool);

// How many leading characters and key presses of the tokens one plan can type: all of them, or as
// many as need no more distinct spare positions than the pool has (a receiver may still read the
// keys typed on a position, so a position is bound anew only for a later plan). Throws Failure
// (kKeystrokes) for a character no key can type, as PlanKeystrokes does.
std::size_t PlannableKeys(const std::vector<KeyToken>& tokens, const KeyboardLayout& layout,
                          const SpareKeyPool& pool);

// The characters of the tokens the layout lacks, each once, in order of first use: those a spare
// key must type, the letters of letter keys pressed included. Throws Failure (kKeystrokes) for a
// character no key can type.
std::vector<char32_t> MissingCharacters(const std::vector<KeyToken>& tokens,
                                        const KeyboardLayout& layout, const SpareKeyPool& pool);
// How many characters spare keys can type in one plan on this layout: none when it leaves no key
// free.
std::size_t SpareCapacity(const KeyboardLayout& layout, const SpareKeyPool& pool);

// The layout's own keys that typing the tokens presses, each once, in ascending order. The X
// server drops a press of a key that is already down, so none of these may be held when typing
// starts. Modifier keys are not among them, Control or Alt held for a key included (typing lets
// go of held ones itself and holds them again afterwards), nor the pool's spare keys, which no
// keyboard has. Throws Failure (kKeystrokes) for a character no key can type, as PlanKeystrokes
// does.
std::vector<Keycode> LayoutKeysPressed(const std::vector<KeyToken>& tokens,
                                       const KeyboardLayout& layout, const SpareKeyPool& pool);

// Whether the layout, read again after the bindings were written, gives each spare stroke its
// keysym. Returns the first stroke that does not, or nullptr.
const BoundStroke* FirstMisbound(const std::vector<BoundStroke>& spare,
                                 const KeyboardLayout& layout);

}  // namespace plumwick::x11
