// A desktop to type on in the keystroke tests and the typing benchmark: Xvfb with openbox, or a
// Wayland compositor (mutter or KWin) whose XWayland serves the X clients. Keys go to X windows
// either way; the compositors' XWayland differs from Xvfb in what keymap changes it accepts.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/harness/child_process.h"

namespace plumwick::x11_test {

class TypingDesktop {
 public:
  virtual ~TypingDesktop() = default;

  // "xvfb", "mutter" or "kwin", as StartTypingDesktop takes it.
  virtual const std::string& Kind() const = 0;
  virtual const std::string& Display() const = 0;
  // What an X client on this desktop needs: DISPLAY, XAUTHORITY where the server wants one, HOME,
  // XDG_RUNTIME_DIR and a session bus address that leads nowhere. Never WAYLAND_DISPLAY: the
  // clients under test are X clients.
  virtual const e2e::Environment& Env() const = 0;

  std::unique_ptr<e2e::ChildProcess> Start(std::vector<std::string> argv) const;
  // Waits until the window is mapped and viewable; false at the timeout.
  bool WaitUntilViewable(std::uint64_t window, e2e::Clock::duration timeout) const;
  // Raises and focuses the window through the window manager, as a click would; `wait` waits
  // until the window manager has made it active (a window of the caller's own process cannot
  // become active while the caller waits).
  void Activate(std::uint64_t window, bool wait = true) const;
};

// Starts the desktop of that kind and waits until X clients can use it; throws
// std::runtime_error (after stopping what had started) when it does not come up.
std::unique_ptr<TypingDesktop> StartTypingDesktop(const std::string& kind);

}  // namespace plumwick::x11_test
