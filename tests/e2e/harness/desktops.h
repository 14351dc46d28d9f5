// The desktops the end-to-end tests run on, as people use them: an X server with one of the
// window managers of the common desktops (openbox, Xfce's xfwm4, MATE's marco, metacity, GNOME's
// mutter, Plasma's KWin), or a Wayland session (mutter or KWin, headless) whose XWayland serves
// the X clients. Here is how each is started from Debian's packages and how to tell that it is up.
#pragma once

#include <array>
#include <filesystem>
#include <memory>
#include <string>

#include "tests/e2e/harness/child_process.h"

namespace plumwick::e2e {

enum class DesktopKind {
  kOpenbox,
  kXfwm4,
  kMarco,
  kMetacity,
  kMutterX11,
  kKwinX11,
  kMutterWayland,
  kKwinWayland,
  // Xvfb alone: no window manager, as where a person runs the programs on a bare X server. Not
  // one of the desktops people use, so not in kAllDesktops.
  kNoWindowManager,
};

inline constexpr std::array kAllDesktops = {
    DesktopKind::kOpenbox,       DesktopKind::kXfwm4,       DesktopKind::kMarco,
    DesktopKind::kMetacity,      DesktopKind::kMutterX11,   DesktopKind::kKwinX11,
    DesktopKind::kMutterWayland, DesktopKind::kKwinWayland,
};

// "openbox", "xfwm4", "marco", "metacity", "mutter-x11", "kwin-x11", "mutter-wayland",
// "kwin-wayland", "none": for test names, messages and PLUMWICK_TEST_DESKTOP.
std::string DesktopName(DesktopKind kind);
// The kind of that name; throws std::invalid_argument, listing the names, for any other.
DesktopKind DesktopNamed(const std::string& name);
bool IsWaylandSession(DesktopKind kind);

// The desktop the end-to-end tests of this process run on: the one PLUMWICK_TEST_DESKTOP names,
// openbox when it is unset.
DesktopKind TestDesktopKind();

// The session variables a desktop of that kind gives its programs: XDG_CURRENT_DESKTOP and
// XDG_SESSION_TYPE (none for a bare openbox). Toolkits pick their look and some behaviour from
// them.
Environment SessionVariables(DesktopKind kind);

// Starts the window manager of an X11 desktop on the display that `env` names, with a session bus
// of its own where it needs one, and waits until it manages windows. Throws std::runtime_error
// (after stopping it) when it does not. Null for kNoWindowManager.
std::unique_ptr<ChildProcess> StartWindowManager(DesktopKind kind, const Environment& env);

// A Wayland compositor running headless and the XWayland it started.
struct WaylandSession {
  std::unique_ptr<ChildProcess> compositor;
  // What an X client needs to reach XWayland: DISPLAY, and XAUTHORITY where the compositor wants
  // a cookie; WAYLAND_DISPLAY for the compositor itself.
  Environment client_env;
};

// Starts the compositor of a Wayland desktop with `env` (HOME, XDG_RUNTIME_DIR, PATH...) and a
// session bus of its own, and waits until its XWayland takes clients and it manages their
// windows. `scratch` is a directory of the caller's for helper files. Throws std::runtime_error
// when it does not get there.
WaylandSession StartWaylandSession(DesktopKind kind, const Environment& env,
                                   const std::filesystem::path& scratch);

// Whether a window manager manages the windows of the display that `env` names: the root's
// _NET_SUPPORTING_WM_CHECK names a window that names itself, as only a running manager keeps it
// (one that died leaves the root's property behind, naming a window that is gone).
bool WindowManagerRuns(const Environment& env);

}  // namespace plumwick::e2e
