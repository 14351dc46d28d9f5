// Which top-level X window has the keyboard focus, and which process shows it: the window the
// window manager calls active while the X input focus is in or around it; otherwise (no window
// manager that says so, or one that has not caught up with a focus change) the top-level window
// around the input focus, where keys go. The process comes from the window's _NET_WM_PID (0 when
// the window does not tell), its name from /proc, and the title from _NET_WM_NAME or WM_NAME.
// A window of another process running this same program file (a second Plumwick) counts as one
// of the program's own: keys for the messaging client never go there.
//
// No X header here: Qt code includes this one.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/focused_window.h"

namespace plumwick {

class X11FocusedWindow final : public FocusedWindow {
 public:
  // Whether a window is one of the program's own (DesktopWindow::own), by its id.
  using OwnWindows = std::function<bool(std::uint64_t id)>;

  // `display` names the X display; empty means $DISPLAY. The first Focused connects.
  explicit X11FocusedWindow(std::string display = {}, OwnWindows own = {});
  ~X11FocusedWindow() override;

  X11FocusedWindow(const X11FocusedWindow&) = delete;
  X11FocusedWindow& operator=(const X11FocusedWindow&) = delete;

  // {0, 0} when no window has the focus. Throws Failure (kKeystrokes: keys cannot be typed
  // safely without knowing where they go) when there is no display to ask.
  DesktopWindow Focused() override;

 private:
  struct Connection;

  std::string display_;
  OwnWindows own_;
  std::unique_ptr<Connection> connection_;
};

}  // namespace plumwick
