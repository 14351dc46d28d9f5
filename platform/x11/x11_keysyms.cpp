// The X keysym for each thing the key notation can ask for.
#include "platform/x11/x11_keysyms.h"

namespace plumwick::x11 {

Keysym KeysymFor(NamedKey key) {
  switch (key) {
    case NamedKey::kEnter:
      return kReturnKeysym;
    case NamedKey::kTab:
      return kTabKeysym;
    case NamedKey::kBackspace:
      return 0xff08;
    case NamedKey::kDelete:
      return 0xffff;
    case NamedKey::kEscape:
      return 0xff1b;
    case NamedKey::kHome:
      return 0xff50;
    case NamedKey::kEnd:
      return 0xff57;
    case NamedKey::kUp:
      return 0xff52;
    case NamedKey::kDown:
      return 0xff54;
    case NamedKey::kLeft:
      return 0xff51;
    case NamedKey::kRight:
      return 0xff53;
    case NamedKey::kPageUp:
      return 0xff55;  // Prior
    case NamedKey::kPageDown:
      return 0xff56;  // Next
    case NamedKey::kInsert:
      return 0xff63;
    default:
      break;
  }
  // F1 is 0xffbe and the function keys follow one another, as do the enumerators.
  const int n = static_cast<int>(key) - static_cast<int>(NamedKey::kF1);
  if (n >= 0 && n < 16) return 0xffbe + static_cast<Keysym>(n);
  return kNoSymbol;
}

std::optional<Keysym> KeysymFor(char32_t c) {
  if (c == U'\n') return kReturnKeysym;
  if (c == U'\t') return kTabKeysym;
  if (c < 0x20 || (c >= 0x7f && c < 0xa0)) return std::nullopt;
  if (c > 0x10ffff || (c >= 0xd800 && c <= 0xdfff)) return std::nullopt;
  if (c < 0x100) return static_cast<Keysym>(c);
  return 0x1000000 + static_cast<Keysym>(c);
}

}  // namespace plumwick::x11
