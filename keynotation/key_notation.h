// The key notation of keystroke strings: what the user's text plus tokens such as "{ENTER}" mean as
// keystrokes. Toolkit-free, so the synthesizer, the logic and the tests share one reading of it.
//
// The notation:
//   - Only braces are special. Every other character (+ ^ % ~ ( ) included, and any Unicode text)
//     is typed as itself.
//   - {NAME} presses a named key once, {NAME N} presses it N times: one space, then a decimal count
//     from 1 to 999 with no sign and no leading zero.
//   - Names: ENTER, TAB, BACKSPACE (aliases BS, BKSP), DELETE (alias DEL), ESC, HOME, END,
//     UP, DOWN, LEFT, RIGHT, PGUP, PGDN, INSERT, F1..F16. Names are matched without regard to
//     ASCII case: "{enter}" and "{Enter}" are "{ENTER}".
//   - "{{}" types "{" and "{}}" types "}".
//   - Every brace belongs to one of those tokens. A "}" that closes nothing is an error, not a
//     literal: it is most often the end of a mistyped token, and typing it as text would send the
//     client something the writer did not mean. Write it as "{}}".
//
// The notation has no way to hold a key down while another is pressed: a user's text types only
// characters and named keys. A press with Control, Shift or Alt held (KeyPress::control, ::shift,
// ::alt) is made by the program itself, for a client's window that takes such a chord (the next
// tab of a window, a selection to the start of a text, a dialog's underlined letter, say).
//
// A string that breaks any of these rules, or is not valid UTF-8, is rejected as a whole by
// throwing plumwick::Failure with error_code::kKeyNotation; nothing of it is returned. The message
// reads as a person counts: "at the 4th character, {FOO} is not a key name (see the README for the
// names)", the characters counted from 1 as code points, the offending text quoted as written.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace plumwick {

// F1..F16 are consecutive so that F<n> is NamedKey::kF1 plus n - 1.
enum class NamedKey {
  kEnter,
  kTab,
  kBackspace,
  kDelete,
  kEscape,
  kHome,
  kEnd,
  kUp,
  kDown,
  kLeft,
  kRight,
  kPageUp,
  kPageDown,
  kInsert,
  kF1,
  kF2,
  kF3,
  kF4,
  kF5,
  kF6,
  kF7,
  kF8,
  kF9,
  kF10,
  kF11,
  kF12,
  kF13,
  kF14,
  kF15,
  kF16,
};

inline constexpr int kMaxKeyRepeat = 999;

// A named key pressed `count` times (1..kMaxKeyRepeat), with Control and Shift held down around
// the presses when `control` and `shift` are set. The parser never sets them, nor `letter`: a
// press the program makes of the key that types that lowercase letter instead of `key`, with Alt
// held (`alt`), for a dialog's button reached by its underlined letter.
struct KeyPress {
  NamedKey key;
  int count = 1;
  bool control = false;
  bool shift = false;
  char32_t letter = 0;
  bool alt = false;
  bool operator==(const KeyPress&) const = default;
};

// Text to type, one code point per element: the synthesizer sends each as its own keysym, so the
// parser decodes once instead of every consumer decoding UTF-8 again. Literal braces are part of
// the text. A run from the parser is never empty and never follows another run.
using KeyText = std::u32string;

using KeyToken = std::variant<KeyText, KeyPress>;

// Keys to type, read once: the typing, the focus guard and the messaging client's job all take
// this, so no one reads a text's notation a second time.
using KeySequence = std::vector<KeyToken>;

// One press of a named key, as a sequence.
inline KeySequence OnePress(NamedKey key) {
  return {KeyPress{key}};
}

// One press of the key typing `letter` (a lowercase ASCII letter) with Alt held: the button or
// field of a dialog whose label underlines that letter.
inline KeySequence AltPress(char32_t letter) {
  return {KeyPress{.key = NamedKey::kEnter, .letter = letter, .alt = true}};
}

// How many characters and key presses the keys are: one press per character, `count` for a key.
std::size_t KeyCount(const KeySequence& keys);
// The keys after the first `count` characters and key presses, and those first ones.
KeySequence KeysAfter(const KeySequence& keys, std::size_t count);
KeySequence KeysBefore(const KeySequence& keys, std::size_t count);

// Reads a keystroke string (UTF-8) into tokens in typing order. The empty string gives no tokens.
// Throws Failure (kKeyNotation) for anything that is not valid notation.
KeySequence ParseKeyNotation(std::string_view keys);

// Writes tokens back as notation (UTF-8): braces in text escaped, names in their canonical
// spelling, a count of 1 left out. For tokens the parser returned, ParseKeyNotation gives them
// back unchanged. Also what logs show for a sequence: a press with Control reads "{CTRL+PGDN}",
// one with Alt "{ALT+R}", which the parser rejects rather than reading it as another key.
std::string FormatKeyNotation(const KeySequence& tokens);

// The text as UTF-8, braces and all.
std::string Utf8Of(std::u32string_view text);

// "1st", "2nd", "3rd", "4th", ... "11th", "21st": how an error names a position counted from 1.
std::string Ordinal(std::size_t n);

// The canonical name of a key as written in the notation ("ENTER", "BACKSPACE", "F12"); empty for
// a value outside the enumeration.
std::string_view KeyName(NamedKey key);

}  // namespace plumwick
