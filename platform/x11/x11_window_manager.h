// The window manager over the EWMH properties of an X11 display: _NET_CLIENT_LIST and _NET_WM_PID
// for the windows, a _NET_ACTIVE_WINDOW message marked as coming from a pager for activation.
// Where no window manager runs (none names itself through _NET_SUPPORTING_WM_CHECK), the same is
// done as a window manager would: a process's windows are the mapped top-level windows that name
// it, and activation raises the window and gives it the input focus.
//
// No X header here: Qt code includes this one.
#pragma once

#include <memory>
#include <string>

#include "platform/window_manager.h"

namespace plumwick {

class X11WindowManager final : public WindowManager {
 public:
  // `display` names the X display; empty means $DISPLAY. The first call connects and throws
  // Failure(kWindow) when it cannot.
  explicit X11WindowManager(std::string display = {});
  ~X11WindowManager() override;

  X11WindowManager(const X11WindowManager&) = delete;
  X11WindowManager& operator=(const X11WindowManager&) = delete;

  std::vector<std::uint64_t> WindowsOf(std::int64_t pid) override;
  bool TakenOn(std::uint64_t window) override;
  void Activate(std::uint64_t window) override;
  bool HasInputFocus(std::uint64_t window) override;
  // Whether a window at the root, or in a frame there, names the process (_NET_WM_PID).
  bool OnDisplay(std::int64_t pid) override;

 private:
  struct Connection;
  Connection& Connect();
  // Whether a window manager runs: the root's _NET_SUPPORTING_WM_CHECK names a window that names
  // itself the same way, which only a running window manager keeps up.
  bool ManagerRuns();
  // The X server's time now, as the timestamp of a focus change made on the user's behalf.
  unsigned long ServerTime();

  std::string display_;
  std::unique_ptr<Connection> connection_;
};

}  // namespace plumwick
