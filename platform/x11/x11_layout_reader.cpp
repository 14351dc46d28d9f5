// Reads the keyboard layout from the X server's XKB keymap.
#include "platform/x11/x11_layout_reader.h"

#include "platform/failure.h"

#include <X11/XKBlib.h>
#include <X11/keysym.h>
#include <xkbcommon/xkbcommon.h>

#include <bit>
#include <memory>
#include <optional>

namespace plumwick::x11 {
namespace {

struct KeyboardFreer {
  void operator()(XkbDescPtr xkb) const { XkbFreeKeyboard(xkb, 0, True); }
};

// The group index a key uses when the keyboard is in `group`, by the key's rule for groups it
// does not have.
int EffectiveGroup(XkbDescPtr xkb, int keycode, int group) {
  const int groups = XkbKeyNumGroups(xkb, keycode);
  if (group < groups) return group;
  const unsigned info = XkbKeyGroupInfo(xkb, keycode);
  switch (XkbOutOfRangeGroupInfo(info)) {
    case XkbRedirectIntoRange: {
      const int target = XkbOutOfRangeGroupNumber(info);
      return target < groups ? target : 0;
    }
    case XkbClampIntoRange:
      return groups - 1;
    default:
      return group % groups;
  }
}

int LevelFor(const XkbKeyTypeRec& type, unsigned mods) {
  const unsigned relevant = mods & type.mods.mask;
  for (int i = 0; i < type.map_count; ++i) {
    const auto& entry = type.map[i];
    if (entry.active && entry.mods.mask == relevant) return entry.level;
  }
  return 0;
}

// The fewest modifiers out of `usable` that, with the locked ones, select `level`.
std::optional<unsigned> ModsFor(const XkbKeyTypeRec& type, int level, unsigned usable,
                                unsigned locked) {
  std::optional<unsigned> best;
  const auto consider = [&](unsigned mods) {
    if ((mods & ~usable) != 0 || LevelFor(type, mods | locked) != level) return;
    if (!best || std::popcount(mods) < std::popcount(*best)) best = mods;
  };
  consider(0);
  for (int i = 0; i < type.map_count; ++i) {
    if (type.map[i].active && type.map[i].level == level) consider(type.map[i].mods.mask);
  }
  return best;
}

// The character a receiver reads for a keysym, for keysyms that are text. Keypad, function and
// dead keys are left out: they may map to a character too, but are not the key for it.
char32_t CharacterOf(KeySym keysym) {
  const bool text_range = keysym < 0xfe00 || (keysym >= 0x1000000 && keysym <= 0x110ffff);
  if (!text_range) return 0;
  const char32_t c = xkb_keysym_to_utf32(static_cast<xkb_keysym_t>(keysym));
  if (c < 0x20 || (c >= 0x7f && c < 0xa0)) return 0;
  return c;
}

// A key to hold for Alt and the bit it sets: the first Alt key, else the first Meta key (some
// layouts have only that). Of several bits the key sets, the lowest of Mod1..Mod5: Shift, Lock
// and Control would make it another chord.
struct AltKey {
  unsigned bit = 0;
  Keycode keycode = 0;
};

unsigned LowestModBit(unsigned bits) {
  bits &= ~(ShiftMask | LockMask | ControlMask);
  return bits & (~bits + 1);
}

void FindModifierKeys(XkbDescPtr xkb, KeyboardLayout& layout) {
  AltKey alt, meta;
  for (int keycode = xkb->min_key_code; keycode <= xkb->max_key_code; ++keycode) {
    if (XkbKeyNumGroups(xkb, keycode) == 0 || XkbKeyGroupsWidth(xkb, keycode) == 0) continue;
    const KeySym keysym = XkbKeySymEntry(xkb, keycode, 0, 0);
    const unsigned bits = xkb->map->modmap[keycode];
    const auto code = static_cast<Keycode>(keycode);
    if ((keysym == XK_Alt_L || keysym == XK_Alt_R) && alt.bit == 0) {
      alt = {LowestModBit(bits), code};
    }
    if ((keysym == XK_Meta_L || keysym == XK_Meta_R) && meta.bit == 0) {
      meta = {LowestModBit(bits), code};
    }
    unsigned usable = 0;
    if (keysym == XK_Shift_L || keysym == XK_Shift_R) usable = bits & ShiftMask;
    if (keysym == XK_Control_L || keysym == XK_Control_R) usable = bits & ControlMask;
    // Level shift keys only choose levels; Control, Alt, Super and the locks do more.
    if (keysym == XK_ISO_Level3_Shift || keysym == XK_ISO_Level5_Shift) {
      usable = bits & ~(ShiftMask | LockMask | ControlMask);
    }
    for (unsigned bit = 1; bit <= Mod5Mask; bit <<= 1) {
      if ((usable & bit) != 0) layout.modifier_keys.try_emplace(bit, code);
    }
  }
  if (layout.modifier_keys.contains(ShiftMask)) layout.shift_mask = ShiftMask;
  if (layout.modifier_keys.contains(ControlMask)) layout.control_mask = ControlMask;
  // The Alt key wins its bit over a level shift key setting the same one: the bit is Alt's then,
  // and types no text.
  if (const AltKey& chosen = alt.bit != 0 ? alt : meta; chosen.bit != 0) {
    layout.modifier_keys.insert_or_assign(chosen.bit, chosen.keycode);
    layout.alt_mask = chosen.bit;
  }
}

}  // namespace

KeyboardLayout ReadKeyboardLayout(Display* display, int group, unsigned locked_mods) {
  std::unique_ptr<XkbDescRec, KeyboardFreer> xkb(
      XkbGetMap(display, XkbKeyTypesMask | XkbKeySymsMask | XkbModifierMapMask, XkbUseCoreKbd));
  if (!xkb || xkb->map == nullptr || xkb->map->modmap == nullptr) {
    throw Failure(error_code::kKeystrokes,
                  "Cannot type keys: the X server did not give its keyboard map.");
  }

  KeyboardLayout layout;
  FindModifierKeys(xkb.get(), layout);
  // Control and Alt reach levels on some keys (Ctrl+Alt+F1 switches the console): no text is
  // typed so.
  unsigned usable = 0;
  for (const auto& [bit, keycode] : layout.modifier_keys) usable |= bit;
  usable &= ~(layout.control_mask | layout.alt_mask);

  for (int keycode = xkb->min_key_code; keycode <= xkb->max_key_code; ++keycode) {
    const auto code = static_cast<Keycode>(keycode);
    const int groups = XkbKeyNumGroups(xkb.get(), keycode);
    std::array<Keysym, 2> first{};
    bool empty = true;
    for (int i = 0; groups > 0 && i < XkbKeyNumSyms(xkb.get(), keycode); ++i) {
      if (XkbKeySym(xkb.get(), keycode, i) != NoSymbol) empty = false;
    }
    if (groups > 0) {
      const int width = XkbKeyGroupWidth(xkb.get(), keycode, 0);
      for (int level = 0; level < 2 && level < width; ++level) {
        first[level] = static_cast<Keysym>(XkbKeySymEntry(xkb.get(), keycode, level, 0));
      }
    }
    layout.first_levels[code] = first;
    if (empty) {
      layout.empty.push_back(code);
      continue;
    }

    const int g = EffectiveGroup(xkb.get(), keycode, group);
    const XkbKeyTypeRec& type = *XkbKeyKeyType(xkb.get(), keycode, g);
    for (int level = 0; level < type.num_levels; ++level) {
      const KeySym keysym = XkbKeySymEntry(xkb.get(), keycode, level, g);
      if (keysym == NoSymbol) continue;
      const auto mods = ModsFor(type, level, usable, locked_mods);
      if (!mods) continue;
      layout.entries.push_back({{code, *mods}, static_cast<Keysym>(keysym), CharacterOf(keysym)});
    }
  }
  return layout;
}

}  // namespace plumwick::x11
