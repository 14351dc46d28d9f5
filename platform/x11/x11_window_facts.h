// Facts about X windows, read the one way both the focused window and the window manager read
// them: properties, the window tree, and where the input focus is. Window managers put frames
// around top-level windows and toolkits put focus windows inside them, so the window named by the
// input focus is often not the one that matters.
#pragma once

#include <X11/Xlib.h>

#include <optional>
#include <string>
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

// The items of a 32-bit property of the given type, at most `max_items`; empty when the window
// lacks it (or is gone).
std::vector<unsigned long> Property32List(Display* display, Window window, Atom property, Atom type,
                                          long max_items);

// The first item of such a property; nullopt when the window lacks it.
std::optional<unsigned long> Property32(Display* display, Window window, Atom property, Atom type);

bool HasProperty(Display* display, Window window, Atom property);

// The window's title as a window manager shows it, in UTF-8: _NET_WM_NAME, else WM_NAME in
// whatever encoding it was set; empty when it has neither (or is gone).
std::string Title(Display* display, Window window);

// The X input focus as the server reports it: None, PointerRoot or a window.
Window CurrentInputFocus(Display* display);

// The window the X server sends keys to: the input focus, or the window under the pointer when
// the focus follows it. None when keys go nowhere.
Window KeysWindow(Display* display);

// Whether the input focus is on the window, inside it, or on a frame around it.
bool InputFocusIn(Display* display, Window window);

// Whether a pointer button is held down: a click or a drag under way.
bool PointerButtonDown(Display* display);

}  // namespace plumwick::x11
