// Walking the X window tree.
#include "platform/x11/x_window_tree.h"

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

}  // namespace plumwick::x11
