// What a person does at the session's desktop, done with xdotool and xwininfo: find windows by
// their exact name, read where they are, click, double-click, drag, type and press keys. Real X
// input events (XTest), so programs cannot tell them from a person's.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/harness/child_process.h"
#include "tests/e2e/harness/desktop_session.h"
#include "tests/e2e/harness/geometry.h"

namespace plumwick::e2e {

using WindowId = unsigned long;

class DesktopUser {
 public:
  explicit DesktopUser(const DesktopSession& session)
      : env_(session.Env()), managed_(session.Kind() != DesktopKind::kNoWindowManager) {}

  // Mapped windows whose name is exactly `name` (case and all).
  std::vector<WindowId> FindWindows(const std::string& name) const;
  // The first such window once there is exactly one; nullopt at the timeout.
  std::optional<WindowId> WaitForWindow(const std::string& name, Clock::duration timeout) const;
  bool WaitForNoWindow(const std::string& name, Clock::duration timeout) const;
  // A window named `name` other than `except` (a message box sharing the main window's caption,
  // say); nullopt at the timeout.
  std::optional<WindowId> WaitForOtherWindow(const std::string& name, WindowId except,
                                             Clock::duration timeout) const;
  std::string WindowName(WindowId window) const;
  // The window's client area (inside any frame the window manager adds), in screen pixels.
  Rect ClientArea(WindowId window) const;

  // Raises and focuses the window through the window manager and waits until it is active. With
  // no window manager it raises the window and gives it the input focus itself.
  void Activate(WindowId window) const;
  std::optional<WindowId> ActiveWindow() const;

  // Positions are relative to the window's client area. The window is activated first, so that
  // another window on top (a new conversation, say) cannot take the click. A position outside
  // the client area throws: it would hit some other window.
  void Click(WindowId window, Point at, int button = 1) const;
  void DoubleClick(WindowId window, Point at) const;
  // Presses at `from`, moves in small steps to `to` and releases there. Both are relative to the
  // client area as it was before the drag; `to` may lie outside it.
  void Drag(WindowId window, Point from, Point to, int button = 1) const;

  // Opens the drop-down list of the combo box at `box` (in the window's client area) by a click on
  // its arrow, and clicks entry `entry` of its `entries` rows of equal height. The list is a window
  // of process `owner` right below the box. Throws std::runtime_error when the list does not open,
  // or does not close after the click.
  void PickFromDropDown(WindowId window, int owner, const Rect& box, int entry, int entries) const;

  void MoveMouse(Point screen) const;
  // Clicks wherever the pointer is, on whatever window is there, activating nothing first: a
  // click timed to an effect of the program's.
  void ClickHere(int button = 1) const;
  // The screen position of a point of the window's client area.
  Point OnScreen(WindowId window, Point at) const { return ToScreen(window, at, true); }
  Point MouseLocation() const;

  // Typed into whatever window has the keyboard focus. xdotool drops the case of uppercase
  // letters outside ASCII (É arrives as é): keep such text to Key() with keysym names.
  void Type(const std::string& text) const;
  // xdotool key names separated by spaces, e.g. "ctrl+v Return".
  void Key(const std::string& keys) const;

 private:
  std::string Xdotool(std::vector<std::string> args) const;
  Point ToScreen(WindowId window, Point at, bool must_be_inside) const;

  Environment env_;
  bool managed_;
};

}  // namespace plumwick::e2e
