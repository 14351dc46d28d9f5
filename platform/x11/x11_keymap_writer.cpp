// Writes the bindings of free keys to the X server's keymap in one request.
#include "platform/x11/x11_keymap_writer.h"

#include "platform/failure.h"

#include <X11/XKBlib.h>

#include <algorithm>
#include <memory>

namespace plumwick::x11 {
namespace {

struct KeyboardFreer {
  void operator()(XkbDescPtr xkb) const { XkbFreeKeyboard(xkb, 0, True); }
};

}  // namespace

void WriteKeycodeBindings(Display* display, const std::vector<KeycodeBinding>& bindings) {
  if (bindings.empty()) return;
  // XKB sets key symbols by contiguous range only, so the keys in between go along unchanged:
  // read them fresh, right before writing.
  std::unique_ptr<XkbDescRec, KeyboardFreer> xkb(
      XkbGetMap(display, XkbKeyTypesMask | XkbKeySymsMask, XkbUseCoreKbd));
  if (!xkb || xkb->map == nullptr) {
    throw Failure(error_code::kKeystrokes,
                  "Cannot type keys: the X server did not give its keyboard map. Nothing was "
                  "typed.");
  }
  Keycode first = 255, last = 0;
  for (const auto& binding : bindings) {
    const int keycode = binding.keycode;
    XkbSymMapRec& map = xkb->map->key_sym_map[keycode];
    if (binding.keysyms == std::array<Keysym, 2>{}) {
      XkbResizeKeySyms(xkb.get(), keycode, 0);
      map.group_info = XkbSetNumGroups(map.group_info, 0);
      map.width = 0;
    } else {
      KeySym* keysyms = XkbResizeKeySyms(xkb.get(), keycode, 2);
      if (keysyms == nullptr) {
        throw Failure(error_code::kKeystrokes,
                      "Cannot type keys: out of memory. Nothing was typed.");
      }
      keysyms[0] = binding.keysyms[0];
      keysyms[1] = binding.keysyms[1];
      // One group of two levels, the second reached with Shift: the same for every keysym, so
      // the plain level never turns into its case partner.
      map.kt_index[0] = XkbTwoLevelIndex;
      map.group_info = XkbSetNumGroups(map.group_info, 1);
      map.width = 2;
    }
    first = std::min(first, binding.keycode);
    last = std::max(last, binding.keycode);
  }
  XkbMapChangesRec changes{};
  changes.changed = XkbKeySymsMask | XkbKeyTypesMask;
  changes.first_key_sym = first;
  changes.num_key_syms = static_cast<unsigned char>(last - first + 1);
  // The two-level type goes along unchanged. Some X servers (XWayland 22) check the width of
  // every key in the range against the widths of the key types in the request only, taking 0 for
  // each type the request leaves out, and refuse a request with key symbols alone (BadValue).
  changes.first_type = XkbTwoLevelIndex;
  changes.num_types = 1;
  XkbChangeMap(display, xkb.get(), &changes);
}

}  // namespace plumwick::x11
