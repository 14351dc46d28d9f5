// Facts about X windows.
#include "platform/x11/x11_window_facts.h"

#include <X11/Xutil.h>

#include "platform/x11/x11_display.h"

namespace plumwick::x11 {

namespace {

// A property's value as Xlib hands it out.
struct RawProperty {
  Atom type = None;
  int format = 0;
  unsigned long count = 0;
  XPtr<unsigned char> data;
};

// Up to `max_longs` 32-bit units of the property, of `type` (AnyPropertyType for any); nullopt
// when the window is gone or the request fails.
std::optional<RawProperty> ReadProperty(Display* display, Window window, Atom property, Atom type,
                                        long max_longs) {
  RawProperty read;
  unsigned long remaining = 0;
  unsigned char* data = nullptr;
  const int status = XGetWindowProperty(display, window, property, 0, max_longs, False, type,
                                        &read.type, &read.format, &read.count, &remaining, &data);
  read.data.reset(data);
  if (status != Success) return std::nullopt;
  return read;
}

}  // namespace

std::optional<WindowTree> QueryTree(Display* display, Window window) {
  Window root = None, parent = None;
  Window* children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(display, window, &root, &parent, &children, &count)) return std::nullopt;
  const XPtr<Window> owner(children);
  return WindowTree{parent, std::vector<Window>(children, children + count)};
}

bool Within(Display* display, Window inner, Window outer) {
  const Window root = DefaultRootWindow(display);
  for (Window window = inner; window != None && window != root;) {
    if (window == outer) return true;
    const auto tree = QueryTree(display, window);
    if (!tree) return false;
    window = tree->parent;
  }
  return false;
}

std::vector<unsigned long> Property32List(Display* display, Window window, Atom property, Atom type,
                                          long max_items) {
  const auto read = ReadProperty(display, window, property, type, max_items);
  if (!read || read->type != type || read->format != 32 || !read->data) return {};
  // Xlib hands 32-bit items out as longs, whatever the size of long.
  const auto* items = reinterpret_cast<const unsigned long*>(read->data.get());
  return {items, items + read->count};
}

std::optional<unsigned long> Property32(Display* display, Window window, Atom property, Atom type) {
  const std::vector<unsigned long> items = Property32List(display, window, property, type, 1);
  if (items.empty()) return std::nullopt;
  return items.front();
}

bool HasProperty(Display* display, Window window, Atom property) {
  const auto read = ReadProperty(display, window, property, AnyPropertyType, 0);
  return read && read->type != None;
}

std::string Title(Display* display, Window window) {
  // At most this many bytes: a title is shown in one line of an error.
  constexpr long kMaxLongs = 64;
  const Atom net_wm_name = XInternAtom(display, "_NET_WM_NAME", False);
  const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
  const auto read = ReadProperty(display, window, net_wm_name, utf8, kMaxLongs);
  if (read && read->type == utf8 && read->format == 8 && read->data && read->count > 0) {
    return {reinterpret_cast<const char*>(read->data.get()), read->count};
  }
  XTextProperty name{};
  if (!XGetWMName(display, window, &name) || name.value == nullptr) return {};
  const XPtr<unsigned char> name_owner(name.value);
  char** list = nullptr;
  int items = 0;
  if (Xutf8TextPropertyToTextList(display, &name, &list, &items) < Success || list == nullptr) {
    return {};
  }
  std::string title = items > 0 && list[0] != nullptr ? list[0] : "";
  XFreeStringList(list);
  return title;
}

Window CurrentInputFocus(Display* display) {
  Window focus = None;
  int revert_to = 0;
  XGetInputFocus(display, &focus, &revert_to);
  return focus;
}

Window KeysWindow(Display* display) {
  const Window root = DefaultRootWindow(display);
  Window focus = CurrentInputFocus(display);
  if (focus == PointerRoot) {
    // The focus follows the pointer: keys go to the window under it.
    Window root_return = None, child = None;
    int x, y, window_x, window_y;
    unsigned int mask;
    if (!XQueryPointer(display, root, &root_return, &child, &x, &y, &window_x, &window_y, &mask)) {
      return None;
    }
    focus = child;
  }
  return focus == root ? None : focus;
}

bool InputFocusIn(Display* display, Window window) {
  const Window focus = CurrentInputFocus(display);
  if (focus == None || focus == PointerRoot || focus == DefaultRootWindow(display)) return false;
  return Within(display, focus, window) || Within(display, window, focus);
}

bool PointerButtonDown(Display* display) {
  Window root = None, child = None;
  int x = 0, y = 0, window_x = 0, window_y = 0;
  unsigned int mask = 0;
  XQueryPointer(display, DefaultRootWindow(display), &root, &child, &x, &y, &window_x, &window_y,
                &mask);
  return (mask & (Button1Mask | Button2Mask | Button3Mask | Button4Mask | Button5Mask)) != 0;
}

}  // namespace plumwick::x11
