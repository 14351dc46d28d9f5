// The record, kept on the display, of the keys this program has borrowed.
#include "platform/x11/x11_borrowed_keys.h"

#include <algorithm>

#include "platform/failure.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>

#include "platform/x11/x11_error_trap.h"
#include "platform/x11/x11_keymap_writer.h"
#include "platform/x11/x11_layout_reader.h"
#include "platform/x11/x11_window_facts.h"

namespace plumwick::x11 {
namespace {

// Per keycode: the keycode, the keysym of level 1 and that of level 2; a keycode is listed twice
// while it is being bound anew, with what it holds and what it is about to hold.
constexpr std::size_t kItemsPerKey = 3;
constexpr long kMaxItems = 2L * 256L * static_cast<long>(kItemsPerKey);

// The record's bindings; empty when it is missing or malformed.
std::vector<KeycodeBinding> Parse(Display* display, const std::vector<unsigned long>& items) {
  int min_keycode = 0, max_keycode = 0;
  XDisplayKeycodes(display, &min_keycode, &max_keycode);
  if (items.size() % kItemsPerKey != 0) return {};
  std::vector<KeycodeBinding> bindings;
  for (std::size_t i = 0; i < items.size(); i += kItemsPerKey) {
    const unsigned long keycode = items[i];
    if (keycode < static_cast<unsigned long>(min_keycode) ||
        keycode > static_cast<unsigned long>(max_keycode)) {
      return {};
    }
    bindings.push_back({static_cast<Keycode>(keycode),
                        {static_cast<Keysym>(items[i + 1]), static_cast<Keysym>(items[i + 2])}});
  }
  return bindings;
}

}  // namespace

BorrowedKeysRecord::BorrowedKeysRecord(Display* display)
    : display_(display), property_(XInternAtom(display, "_PLUMWICK_BORROWED_KEYS", False)) {}

void BorrowedKeysRecord::Record(const std::vector<KeycodeBinding>& written) {
  if (written.empty()) {
    Clear();
    return;
  }
  // Xlib takes 32-bit items as longs, whatever the size of long.
  std::vector<unsigned long> items;
  items.reserve(written.size() * kItemsPerKey);
  for (const auto& binding : written) {
    items.insert(items.end(), {binding.keycode, binding.keysyms[0], binding.keysyms[1]});
  }
  XErrorTrap trap(display_);
  XChangeProperty(display_, DefaultRootWindow(display_), property_, XA_CARDINAL, 32,
                  PropModeReplace, reinterpret_cast<const unsigned char*>(items.data()),
                  static_cast<int>(items.size()));
  if (trap.Failed()) {
    throw Failure(
        error_code::kKeystrokes,
        "Cannot type keys: the X server refused to note the free keys about to be bound (" +
            trap.FirstError() + "). Nothing was typed.");
  }
}

void BorrowedKeysRecord::Clear() {
  XErrorTrap trap(display_);
  XDeleteProperty(display_, DefaultRootWindow(display_), property_);
  // Should the server refuse, the keys are given back already: a later GiveBackLeftovers finds
  // them empty and leaves them so.
  trap.Failed();
}

std::size_t BorrowedKeysRecord::GiveBackLeftovers() {
  XErrorTrap trap(display_);
  // One item more than a whole record holds: a longer property is no record of this program's.
  const std::vector<unsigned long> items =
      Property32List(display_, DefaultRootWindow(display_), property_, XA_CARDINAL, kMaxItems + 1);
  std::vector<KeycodeBinding> empty;
  if (!items.empty() && static_cast<long>(items.size()) <= kMaxItems) {
    // Only group 1's first two levels count, whatever group is in use.
    const auto now = ReadKeyboardLayout(display_, 0, 0).first_levels;
    for (const auto& binding : Parse(display_, items)) {
      const auto found = now.find(binding.keycode);
      if (binding.keysyms == std::array<Keysym, 2>{} || found == now.end() ||
          found->second != binding.keysyms ||
          std::ranges::find(empty, binding.keycode, &KeycodeBinding::keycode) != empty.end()) {
        continue;
      }
      empty.push_back({binding.keycode, {}});
    }
  }
  WriteKeycodeBindings(display_, empty);
  // A refused write leaves the keys and the record for the next turn to try again.
  if (trap.Failed()) return 0;
  Clear();
  return empty.size();
}

}  // namespace plumwick::x11
