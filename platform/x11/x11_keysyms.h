// The X keysym for each thing the key notation can ask for: a named key, or a character of text.
// Pure arithmetic on the keysym encoding, so it is shared by the layout lookup and the spare key
// bindings and tested without an X server.
#pragma once

#include <cstdint>
#include <optional>

#include "keynotation/key_notation.h"

namespace plumwick::x11 {

// Same values as Xlib's KeySym; kept as a fixed-width type so this header needs no X header.
using Keysym = std::uint32_t;

inline constexpr Keysym kNoSymbol = 0;
inline constexpr Keysym kReturnKeysym = 0xff0d;
inline constexpr Keysym kTabKeysym = 0xff09;

Keysym KeysymFor(NamedKey key);

// The keysym that makes a receiving application read exactly `c`: the Latin-1 keysym for
// U+00A0..U+00FF and printable ASCII, the Unicode keysym (0x1000000 + code point) for the rest.
// Newline and tab are the Return and Tab keys. nullopt for other control characters, which no
// key types.
std::optional<Keysym> KeysymFor(char32_t c);

}  // namespace plumwick::x11
