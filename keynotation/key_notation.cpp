// Reading and writing the key notation of keystroke strings (see key_notation.h for the rules).
// The input is decoded to code points first, so every position in an error is a character index
// and the token scan never sees a partial UTF-8 sequence.
#include "keynotation/key_notation.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "platform/failure.h"

namespace plumwick {
namespace {

struct KeyNameEntry {
  std::string_view name;
  NamedKey key;
};

// The canonical spelling of each key comes before its aliases: KeyName returns the first match.
constexpr KeyNameEntry kKeyNames[] = {
    {"ENTER", NamedKey::kEnter},
    {"TAB", NamedKey::kTab},
    {"BACKSPACE", NamedKey::kBackspace},
    {"BS", NamedKey::kBackspace},
    {"BKSP", NamedKey::kBackspace},
    {"DELETE", NamedKey::kDelete},
    {"DEL", NamedKey::kDelete},
    {"ESC", NamedKey::kEscape},
    {"HOME", NamedKey::kHome},
    {"END", NamedKey::kEnd},
    {"UP", NamedKey::kUp},
    {"DOWN", NamedKey::kDown},
    {"LEFT", NamedKey::kLeft},
    {"RIGHT", NamedKey::kRight},
    {"PGUP", NamedKey::kPageUp},
    {"PGDN", NamedKey::kPageDown},
    {"INSERT", NamedKey::kInsert},
    {"F1", NamedKey::kF1},
    {"F2", NamedKey::kF2},
    {"F3", NamedKey::kF3},
    {"F4", NamedKey::kF4},
    {"F5", NamedKey::kF5},
    {"F6", NamedKey::kF6},
    {"F7", NamedKey::kF7},
    {"F8", NamedKey::kF8},
    {"F9", NamedKey::kF9},
    {"F10", NamedKey::kF10},
    {"F11", NamedKey::kF11},
    {"F12", NamedKey::kF12},
    {"F13", NamedKey::kF13},
    {"F14", NamedKey::kF14},
    {"F15", NamedKey::kF15},
    {"F16", NamedKey::kF16},
};

// An error message quotes at most this many characters of the offending text: an unclosed "{"
// early in a long message would otherwise put the whole message in the dialog.
constexpr std::size_t kQuoteLimit = 24;

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// The text as written, cut short after kQuoteLimit characters.
std::string Shown(std::u32string_view text) {
  std::string out = Utf8Of(text.substr(0, kQuoteLimit));
  if (text.size() > kQuoteLimit) out += "...";
  return out;
}

std::string Quote(std::u32string_view text) {
  return "\"" + Shown(text) + "\"";
}

}  // namespace

std::size_t KeyCount(const KeySequence& keys) {
  std::size_t count = 0;
  for (const KeyToken& token : keys) {
    const auto* text = std::get_if<KeyText>(&token);
    count +=
        text != nullptr ? text->size() : static_cast<std::size_t>(std::get<KeyPress>(token).count);
  }
  return count;
}

KeySequence KeysAfter(const KeySequence& keys, std::size_t count) {
  KeySequence rest;
  for (const KeyToken& token : keys) {
    if (const auto* text = std::get_if<KeyText>(&token)) {
      const std::size_t skip = std::min(count, text->size());
      count -= skip;
      if (skip < text->size()) rest.emplace_back(text->substr(skip));
      continue;
    }
    KeyPress press = std::get<KeyPress>(token);
    const auto skip = std::min(count, static_cast<std::size_t>(press.count));
    count -= skip;
    press.count -= static_cast<int>(skip);
    if (press.count > 0) rest.emplace_back(press);
  }
  return rest;
}

KeySequence KeysBefore(const KeySequence& keys, std::size_t count) {
  KeySequence first;
  for (const KeyToken& token : keys) {
    if (count == 0) break;
    if (const auto* text = std::get_if<KeyText>(&token)) {
      const std::size_t take = std::min(count, text->size());
      first.emplace_back(text->substr(0, take));
      count -= take;
      continue;
    }
    KeyPress press = std::get<KeyPress>(token);
    const auto take = std::min(count, static_cast<std::size_t>(press.count));
    press.count = static_cast<int>(take);
    first.emplace_back(press);
    count -= take;
  }
  return first;
}

std::string Ordinal(std::size_t n) {
  const std::size_t tens = n % 100, ones = n % 10;
  const char* suffix = "th";
  if (tens < 11 || tens > 13) {
    if (ones == 1) suffix = "st";
    if (ones == 2) suffix = "nd";
    if (ones == 3) suffix = "rd";
  }
  return std::to_string(n) + suffix;
}

namespace {

// `position` counts characters from 0; a person counts them from 1.
std::string Where(std::size_t position) {
  return "at the " + Ordinal(position + 1) + " character, ";
}

[[noreturn]] void Reject(std::size_t position, const std::string& problem) {
  throw Failure(error_code::kKeyNotation, Where(position) + problem);
}

[[noreturn]] void RejectUtf8(std::string_view bytes, std::size_t at, std::size_t length,
                             std::size_t position) {
  std::string hex;
  for (std::size_t i = at; i < at + length; ++i) {
    char byte[4];
    std::snprintf(byte, sizeof byte, i == at ? "%02X" : " %02X",
                  static_cast<unsigned char>(bytes[i]));
    hex += byte;
  }
  throw Failure(error_code::kKeyNotation,
                Where(position) + "the text is not valid UTF-8 (bytes " + hex + ")");
}

// Strict decoding. Overlong forms are rejected because they would smuggle a brace past any tool
// that reads the bytes as plain text; surrogates and values past U+10FFFF because they name no
// character the synthesizer could type.
std::u32string DecodeUtf8(std::string_view bytes) {
  std::u32string out;
  out.reserve(bytes.size());
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80) {
      out += static_cast<char32_t>(lead);
      ++i;
      continue;
    }
    std::size_t length = 0;
    char32_t c = 0;
    char32_t smallest = 0;
    if ((lead & 0xE0) == 0xC0) {
      length = 2, c = lead & 0x1F, smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      length = 3, c = lead & 0x0F, smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      length = 4, c = lead & 0x07, smallest = 0x10000;
    } else {
      RejectUtf8(bytes, i, 1, out.size());
    }
    std::size_t k = 1;
    for (; k < length && i + k < bytes.size(); ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + k]);
      if ((next & 0xC0) != 0x80) break;
      c = (c << 6) | (next & 0x3F);
    }
    if (k < length) RejectUtf8(bytes, i, k, out.size());
    if (c < smallest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
      RejectUtf8(bytes, i, length, out.size());
    }
    out += c;
    i += length;
  }
  return out;
}

char32_t AsciiUpper(char32_t c) {
  return c >= U'a' && c <= U'z' ? c - U'a' + U'A' : c;
}

std::optional<NamedKey> FindKey(std::u32string_view name) {
  for (const auto& entry : kKeyNames) {
    if (entry.name.size() != name.size()) continue;
    bool same = true;
    for (std::size_t i = 0; i < name.size() && same; ++i) {
      same = AsciiUpper(name[i]) == static_cast<char32_t>(entry.name[i]);
    }
    if (same) return entry.key;
  }
  return std::nullopt;
}

// `token` runs from "{" to its closing "}"; `position` is where the "{" stands.
KeyPress ParseKeyToken(std::u32string_view token, std::size_t position) {
  const std::u32string_view body = token.substr(1, token.size() - 2);
  if (body.empty()) Reject(position, "{} names no key: write a literal { as {{}");
  const std::size_t space = body.find(U' ');
  const std::u32string_view name = body.substr(0, space);
  const std::optional<NamedKey> key = FindKey(name);
  if (!key) {
    Reject(position, Shown(token) + " is not a key name (see the README for the names)");
  }
  if (space == std::u32string_view::npos) return KeyPress{*key, 1};

  const std::u32string_view digits = body.substr(space + 1);
  // No leading zero, so each count has one spelling; at most three digits, so no overflow.
  bool valid = !digits.empty() && digits.size() <= 3 && digits[0] != U'0';
  int count = 0;
  for (std::size_t i = 0; i < digits.size() && valid; ++i) {
    valid = digits[i] >= U'0' && digits[i] <= U'9';
    if (valid) count = count * 10 + static_cast<int>(digits[i] - U'0');
  }
  if (!valid || count < 1 || count > kMaxKeyRepeat) {
    Reject(position, "the count " + Quote(digits) + " in " + Shown(token) +
                         " is not a whole number from 1 to " + std::to_string(kMaxKeyRepeat));
  }
  return KeyPress{*key, count};
}

}  // namespace

KeySequence ParseKeyNotation(std::string_view keys) {
  const std::u32string text = DecodeUtf8(keys);
  const std::u32string_view s = text;
  std::vector<KeyToken> tokens;
  auto add_text = [&tokens](std::u32string_view run) {
    if (tokens.empty() || !std::holds_alternative<KeyText>(tokens.back())) tokens.emplace_back();
    std::get<KeyText>(tokens.back()) += run;
  };

  std::size_t i = 0;
  while (i < s.size()) {
    const std::size_t brace = s.find_first_of(U"{}", i);
    if (brace == std::u32string_view::npos) {
      add_text(s.substr(i));
      break;
    }
    if (brace > i) add_text(s.substr(i, brace - i));
    i = brace;
    if (s[i] == U'}') Reject(i, "this } closes no {: write a literal } as {}}");
    if (s.substr(i, 3) == U"{{}" || s.substr(i, 3) == U"{}}") {
      add_text(s.substr(i + 1, 1));
      i += 3;
      continue;
    }
    const std::size_t close = s.find(U'}', i + 1);
    if (close == std::u32string_view::npos) {
      Reject(i, "this { is never closed (" + Shown(s.substr(i)) + "): write a literal { as {{}");
    }
    tokens.emplace_back(ParseKeyToken(s.substr(i, close + 1 - i), i));
    i = close + 1;
  }
  return tokens;
}

std::string Utf8Of(std::u32string_view text) {
  std::string out;
  for (const char32_t c : text) AppendUtf8(out, c);
  return out;
}

std::string FormatKeyNotation(const KeySequence& tokens) {
  std::string out;
  for (const KeyToken& token : tokens) {
    if (const auto* run = std::get_if<KeyText>(&token)) {
      for (const char32_t c : *run) {
        if (c == U'{') {
          out += "{{}";
        } else if (c == U'}') {
          out += "{}}";
        } else {
          AppendUtf8(out, c);
        }
      }
    } else {
      const auto& press = std::get<KeyPress>(token);
      out += '{';
      // No key name holds a "+": the parser refuses this, so a log never reads as a plain key.
      if (press.control) out += "CTRL+";
      if (press.alt) out += "ALT+";
      if (press.shift) out += "SHIFT+";
      if (press.letter != 0) {
        AppendUtf8(out,
                   press.letter >= U'a' && press.letter <= U'z' ? press.letter - 32 : press.letter);
      } else {
        out += KeyName(press.key);
      }
      if (press.count != 1) out += ' ' + std::to_string(press.count);
      out += '}';
    }
  }
  return out;
}

std::string_view KeyName(NamedKey key) {
  for (const auto& entry : kKeyNames) {
    if (entry.key == key) return entry.name;
  }
  return {};
}

}  // namespace plumwick
