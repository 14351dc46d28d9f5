// Which top-level X window has the keyboard focus, and which process shows it.
#include "platform/x11/x11_focused_window.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <system_error>
#include <vector>

#include "platform/failure.h"
#include "platform/x11/x11_display.h"
#include "platform/x11/x11_error_trap.h"
#include "platform/x11/x11_window_facts.h"

namespace plumwick {
namespace {

using x11::HasProperty;
using x11::Property32;
using x11::QueryTree;

// The name of a process of this machine, as `ps` shows it; empty when it cannot be read. The
// kernel cuts it to 15 bytes: the program file's name is taken when it starts with that.
std::string ProgramName(std::int64_t pid) {
  if (pid <= 0) return {};
  const std::string proc = "/proc/" + std::to_string(pid);
  std::string name;
  std::getline(std::ifstream(proc + "/comm"), name);
  if (name.size() == 15) {
    std::error_code error;
    const std::string file = std::filesystem::read_symlink(proc + "/exe", error).filename();
    if (!error && file.starts_with(name)) name = file;
  }
  return name;
}

// Whether the process runs this very program file: another Plumwick, whose windows (its main
// window, its message boxes) must never take this one's keys either, and whose client windows
// are never this one's client's. Such a window counts as the program's own.
bool AnotherRunOfThisProgram(std::int64_t pid) {
  if (pid <= 0 || pid == static_cast<std::int64_t>(getpid())) return false;
  std::error_code error, self_error;
  const auto file = std::filesystem::read_symlink("/proc/" + std::to_string(pid) + "/exe", error);
  const auto self = std::filesystem::read_symlink("/proc/self/exe", self_error);
  return !error && !self_error && file == self;
}

}  // namespace

struct X11FocusedWindow::Connection {
  x11::DisplayPtr display;
  Atom active_window;
  Atom wm_pid;
  Atom wm_state;

  // The window a window manager manages for `window`, the input focus or something inside it:
  // the nearest ancestor marked with WM_STATE, else the root's child around it (without a window
  // manager that is the application's own top-level window), or a marked window inside that.
  Window TopLevel(Window window) const {
    Display* d = display.get();
    const Window root = DefaultRootWindow(d);
    for (;;) {
      if (HasProperty(d, window, wm_state)) return window;
      const auto tree = QueryTree(d, window);
      if (!tree) return None;
      if (tree->parent == root || tree->parent == None) break;
      window = tree->parent;
    }
    return MarkedInside(window, 3).value_or(window);
  }

  std::optional<Window> MarkedInside(Window window, int depth) const {
    if (depth == 0) return std::nullopt;
    const auto tree = QueryTree(display.get(), window);
    if (!tree) return std::nullopt;
    for (const Window child : tree->children) {
      if (HasProperty(display.get(), child, wm_state)) return child;
    }
    for (const Window child : tree->children) {
      if (const auto found = MarkedInside(child, depth - 1)) return found;
    }
    return std::nullopt;
  }

  Window FocusedTopLevel() const {
    Display* d = display.get();
    const Window focus = x11::KeysWindow(d);
    // A window manager names the active window, where the raw input focus is often a child window
    // without properties, or the manager's own frame. It does so only once it has handled a focus
    // change, though, while the X server sends keys to the new focus at once: while the two
    // disagree, the keys' window is the one around the input focus.
    if (const auto active = Property32(d, DefaultRootWindow(d), active_window, XA_WINDOW)) {
      if (*active == None) return None;
      if (focus != None && (x11::Within(d, focus, *active) || x11::Within(d, *active, focus))) {
        return *active;
      }
    }
    return focus == None ? None : TopLevel(focus);
  }
};

X11FocusedWindow::X11FocusedWindow(std::string display, OwnWindows own)
    : display_(std::move(display)), own_(std::move(own)) {}

X11FocusedWindow::~X11FocusedWindow() = default;

DesktopWindow X11FocusedWindow::Focused() {
  if (!connection_) {
    auto display = x11::OpenDisplay(display_, error_code::kKeystrokes,
                                    "Cannot tell which window has the keyboard focus");
    Display* d = display.get();
    connection_ = std::make_unique<Connection>(
        Connection{std::move(display), XInternAtom(d, "_NET_ACTIVE_WINDOW", False),
                   XInternAtom(d, "_NET_WM_PID", False), XInternAtom(d, "WM_STATE", False)});
  }
  Display* d = connection_->display.get();
  // A window can go away between two questions about it; then the focus is moving, so ask again.
  for (int attempt = 0; attempt < 3; ++attempt) {
    x11::XErrorTrap trap(d);
    const Window window = connection_->FocusedTopLevel();
    if (window == None) {
      if (trap.Failed()) continue;
      return {};
    }
    const auto pid = Property32(d, window, connection_->wm_pid, XA_CARDINAL);
    std::string title = x11::Title(d, window);
    if (trap.Failed()) continue;
    const std::uint64_t id = static_cast<std::uint64_t>(window);
    const std::int64_t process = pid ? static_cast<std::int64_t>(*pid) : 0;
    const bool own = (own_ && own_(id)) || AnotherRunOfThisProgram(process);
    return {id, process, std::move(title), ProgramName(process), own};
  }
  return {};
}

}  // namespace plumwick
