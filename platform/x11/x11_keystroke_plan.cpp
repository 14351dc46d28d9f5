// Turns parsed key notation into the key presses that type it on the current layout.
#include "platform/x11/x11_keystroke_plan.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <map>
#include <optional>
#include <set>
#include <tuple>
#include <variant>

#include "platform/failure.h"

namespace plumwick::x11 {
namespace {

// What one press must produce: a character of text, or a key that types none, pressed with
// Control, Shift or Alt held or not. Which key gives it does not depend on them, so the order
// leaves them out. A letter's key pressed with Alt is a key too: a dialog reads the keysym of the
// letter, not text, so the letter is found by its keysym.
struct Wanted {
  Keysym keysym = kNoSymbol;
  char32_t character = 0;  // 0 for a key
  bool control = false;
  bool shift = false;
  bool alt = false;
  char32_t letter = 0;  // the letter whose key is pressed, for what the layout lacks
  bool operator<(const Wanted& other) const {
    return std::tie(keysym, character) < std::tie(other.keysym, other.character);
  }
};

std::string CodePoint(char32_t c) {
  char text[16];
  std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(c));
  return text;
}

std::vector<Wanted> Expand(const std::vector<KeyToken>& tokens) {
  std::vector<Wanted> wanted;
  for (const auto& token : tokens) {
    if (const auto* press = std::get_if<KeyPress>(&token)) {
      Wanted want{KeysymFor(press->key), 0, press->control, press->shift, press->alt};
      if (press->letter != 0) {
        if (press->letter < U'a' || press->letter > U'z') {
          throw Failure(error_code::kKeystrokes, "A key pressed by its letter names " +
                                                     CodePoint(press->letter) +
                                                     ", which is no lowercase letter a to z. "
                                                     "Nothing was typed.");
        }
        // The keysyms of a to z are their ASCII codes.
        want.keysym = static_cast<Keysym>(press->letter);
        want.letter = press->letter;
      }
      wanted.insert(wanted.end(), static_cast<std::size_t>(press->count), want);
      continue;
    }
    for (const char32_t c : std::get<KeyText>(token)) {
      const auto keysym = KeysymFor(c);
      if (!keysym) {
        throw Failure(error_code::kKeystrokes, "The text contains the control character " +
                                                   CodePoint(c) +
                                                   ", which no key types. Nothing was typed.");
      }
      // Newline and tab are keys, and a layout has no character entry for them.
      const bool is_key = *keysym == kReturnKeysym || *keysym == kTabKeysym;
      wanted.push_back({*keysym, is_key ? 0 : c});
    }
  }
  return wanted;
}

// The preferred stroke for each keysym and character among the layout's own keys: fewest
// modifiers first, then the lowest keycode, as the layout lists them.
struct LayoutIndex {
  std::map<Keysym, Stroke> by_keysym;
  std::map<char32_t, Stroke> by_character;

  LayoutIndex(const KeyboardLayout& layout, const SpareKeyPool& pool) {
    const auto offer = [](auto& map, auto key, const Stroke& stroke) {
      const auto [it, inserted] = map.try_emplace(key, stroke);
      if (!inserted && std::popcount(stroke.mods) < std::popcount(it->second.mods)) {
        it->second = stroke;
      }
    };
    for (const auto& entry : layout.entries) {
      if (pool.Owns(entry.stroke.keycode)) continue;
      offer(by_keysym, entry.keysym, entry.stroke);
      if (entry.character != 0) offer(by_character, entry.character, entry.stroke);
    }
  }

  std::optional<Stroke> Find(const Wanted& wanted) const {
    if (wanted.character != 0) {
      const auto it = by_character.find(wanted.character);
      if (it != by_character.end()) return it->second;
      return std::nullopt;
    }
    const auto it = by_keysym.find(wanted.keysym);
    if (it != by_keysym.end()) return it->second;
    return std::nullopt;
  }
};

// Brings the pool in line with the layout's free keys.
void RefreshPool(const KeyboardLayout& layout, SpareKeyPool& pool) {
  // The highest free keycode stays free for programs that bind a key for a moment (xdotool
  // takes the first free one, or overwrites a used key when there is none).
  std::vector<Keycode> free = layout.empty;
  if (!free.empty()) free.pop_back();
  pool.Refresh(free, layout.first_levels, layout.shift_mask != 0 ? 2 : 1);
}

}  // namespace

std::size_t PlannableKeys(const std::vector<KeyToken>& tokens, const KeyboardLayout& layout,
                          const SpareKeyPool& pool) {
  SpareKeyPool refreshed = pool;
  RefreshPool(layout, refreshed);
  const LayoutIndex index(layout, refreshed);
  const std::vector<Wanted> wanted = Expand(tokens);
  std::set<Keysym> missing;
  for (std::size_t i = 0; i < wanted.size(); ++i) {
    if (index.Find(wanted[i])) continue;
    missing.insert(wanted[i].keysym);
    if (missing.size() > refreshed.Capacity()) return i;
  }
  return wanted.size();
}

std::vector<char32_t> MissingCharacters(const std::vector<KeyToken>& tokens,
                                        const KeyboardLayout& layout, const SpareKeyPool& pool) {
  const LayoutIndex index(layout, pool);
  std::vector<char32_t> missing;
  std::set<char32_t> seen;
  for (const Wanted& want : Expand(tokens)) {
    const char32_t character = want.character != 0 ? want.character : want.letter;
    if (character == 0 || index.Find(want) || !seen.insert(character).second) continue;
    missing.push_back(character);
  }
  return missing;
}

std::size_t SpareCapacity(const KeyboardLayout& layout, const SpareKeyPool& pool) {
  SpareKeyPool refreshed = pool;
  RefreshPool(layout, refreshed);
  return refreshed.Capacity();
}

KeystrokePlan PlanKeystrokes(const std::vector<KeyToken>& tokens, const KeyboardLayout& layout,
                             SpareKeyPool& pool) {
  RefreshPool(layout, pool);
  const std::vector<Wanted> wanted = Expand(tokens);
  for (const auto& [mask, held, name] :
       {std::tuple{layout.control_mask, &Wanted::control, "Control"},
        std::tuple{layout.shift_mask, &Wanted::shift, "Shift"},
        std::tuple{layout.alt_mask, &Wanted::alt, "Alt"}}) {
    if (mask == 0 && std::ranges::any_of(wanted, held)) {
      throw Failure(error_code::kKeystrokes, std::string("The keyboard layout has no ") + name +
                                                 " key to hold for a key pressed with it. "
                                                 "Nothing was typed.");
    }
  }
  const LayoutIndex index(layout, pool);

  std::map<Wanted, Stroke> strokes;
  std::vector<Keysym> missing;  // distinct, in order of first use
  std::set<Keysym> seen_missing;
  for (const auto& want : wanted) {
    if (strokes.contains(want)) continue;
    if (const auto stroke = index.Find(want)) {
      strokes.emplace(want, *stroke);
    } else if (seen_missing.insert(want.keysym).second) {
      missing.push_back(want.keysym);
    }
  }

  KeystrokePlan plan;
  const auto positions = pool.Assign(missing);
  for (const auto& [keysym, position] : positions) {
    const Stroke stroke{position.keycode, position.level == 0 ? 0u : layout.shift_mask};
    plan.spare.push_back({stroke, keysym});
  }
  plan.bindings = pool.TakeChanges();

  plan.strokes.reserve(wanted.size());
  for (const auto& want : wanted) {
    const auto found = strokes.find(want);
    Stroke stroke;
    if (found != strokes.end()) {
      stroke = found->second;
    } else {
      const auto& position = positions.at(want.keysym);
      stroke = {position.keycode, position.level == 0 ? 0u : layout.shift_mask};
    }
    if (want.control) stroke.mods |= layout.control_mask;
    if (want.shift) stroke.mods |= layout.shift_mask;
    if (want.alt) stroke.mods |= layout.alt_mask;
    plan.strokes.push_back(stroke);
  }
  return plan;
}

std::vector<Keycode> LayoutKeysPressed(const std::vector<KeyToken>& tokens,
                                       const KeyboardLayout& layout, const SpareKeyPool& pool) {
  const LayoutIndex index(layout, pool);
  std::set<Keycode> pressed;
  for (const auto& want : Expand(tokens)) {
    if (const auto stroke = index.Find(want)) pressed.insert(stroke->keycode);
  }
  return {pressed.begin(), pressed.end()};
}

const BoundStroke* FirstMisbound(const std::vector<BoundStroke>& spare,
                                 const KeyboardLayout& layout) {
  for (const auto& bound : spare) {
    const auto it =
        std::find_if(layout.entries.begin(), layout.entries.end(),
                     [&](const LayoutEntry& entry) { return entry.stroke == bound.stroke; });
    if (it == layout.entries.end() || it->keysym != bound.keysym) return &bound;
  }
  return nullptr;
}

}  // namespace plumwick::x11
