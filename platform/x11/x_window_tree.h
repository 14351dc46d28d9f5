// Walking the X window tree: a window's parent and children, and whether one window lies inside
// another. Window managers put frames around top-level windows and toolkits put focus windows
// inside them, so the window named by the input focus is often not the one that matters.
#pragma once

#include <X11/Xlib.h>

#include <optional>
#include <vector>

namespace plumwick::x11 {

struct WindowTree {
  Window parent = None;
  std::vector<Window> children;
};

// nullopt when the server cannot tell (the window is gone, say).
std::optional<WindowTree> QueryTree(Display* display, Window window);

// Whether `inner` is `outer` or lies inside it.
bool Within(Display* display, Window inner, Window outer);

}  // namespace plumwick::x11
