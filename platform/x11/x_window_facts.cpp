// Facts about X windows.
#include "platform/x11/x_window_facts.h"

#include "platform/x11/x_display.h"

namespace plumwick::x11 {

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
  Atom actual_type = None;
  int format = 0;
  unsigned long count = 0, remaining = 0;
  unsigned char* data = nullptr;
  const int status = XGetWindowProperty(display, window, property, 0, max_items, False, type,
                                        &actual_type, &format, &count, &remaining, &data);
  const XPtr<unsigned char> owner(data);
  if (status != Success || actual_type != type || format != 32 || data == nullptr) return {};
  // Xlib hands 32-bit items out as longs, whatever the size of long.
  const auto* items = reinterpret_cast<const unsigned long*>(data);
  return {items, items + count};
}

std::optional<unsigned long> Property32(Display* display, Window window, Atom property, Atom type) {
  const std::vector<unsigned long> items = Property32List(display, window, property, type, 1);
  if (items.empty()) return std::nullopt;
  return items.front();
}

bool HasProperty(Display* display, Window window, Atom property) {
  Atom actual_type = None;
  int format = 0;
  unsigned long count = 0, remaining = 0;
  unsigned char* data = nullptr;
  const int status = XGetWindowProperty(display, window, property, 0, 0, False, AnyPropertyType,
                                        &actual_type, &format, &count, &remaining, &data);
  const XPtr<unsigned char> owner(data);
  return status == Success && actual_type != None;
}

Window CurrentInputFocus(Display* display) {
  Window focus = None;
  int revert_to = 0;
  XGetInputFocus(display, &focus, &revert_to);
  return focus;
}

bool InputFocusIn(Display* display, Window window) {
  const Window focus = CurrentInputFocus(display);
  if (focus == None || focus == PointerRoot || focus == DefaultRootWindow(display)) return false;
  return Within(display, focus, window) || Within(display, window, focus);
}

}  // namespace plumwick::x11
