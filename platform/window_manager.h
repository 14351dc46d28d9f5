// Other programs' top-level windows as the window manager shows them: which windows a process
// shows, and asking for one of them to be activated the way a taskbar does. A window a program
// opens without a click of the user's in it (a client's dialog, opened on request) is not given
// the focus by a window manager that prevents focus stealing.
#pragma once

#include <cstdint>
#include <vector>

namespace plumwick {

class WindowManager {
 public:
  virtual ~WindowManager() = default;
  // The managed top-level windows whose owner says it is process `pid`, oldest first.
  virtual std::vector<std::uint64_t> WindowsOf(std::int64_t pid) = 0;
  // Whether the window manager has finished taking on a new window: it shows the window, or keeps
  // it minimized. It lists the window before that, and may undo an activation asked for in
  // between when it is done.
  virtual bool TakenOn(std::uint64_t window) = 0;
  // Asks for the window to be raised and focused. The window manager decides; watch the focus to
  // know.
  virtual void Activate(std::uint64_t window) = 0;
  // Whether the keyboard's input focus is in the window now: on it, on a window inside it (a
  // toolkit's own focus window), or on the manager's frame around it. The window manager names
  // the active window only after the focus has moved, and the X server sends keys to the input
  // focus at once: while the two disagree, keys would not go where the name says.
  virtual bool HasInputFocus(std::uint64_t window) = 0;
  // Whether process `pid` has windows on this display, shown or not. A program of a Wayland
  // session that runs as a Wayland program has none: no key typed here can reach it.
  virtual bool OnDisplay(std::int64_t pid) = 0;
};

}  // namespace plumwick
