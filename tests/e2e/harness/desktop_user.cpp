// What a person does at the session's desktop, done with xdotool and xwininfo.
#include "tests/e2e/harness/desktop_user.h"

#include <cstdlib>
#include <sstream>
#include <stdexcept>

#include "tests/e2e/harness/literal_pattern.h"
#include "tests/e2e/harness/run_command.h"
#include "tests/e2e/harness/wait_until.h"

namespace plumwick::e2e {

namespace {

// Qt's default double-click interval is 400 ms; 100 ms between the clicks is well inside it and
// still two distinct clicks.
constexpr const char* kDoubleClickDelayMs = "100";
constexpr const char* kKeyDelayMs = "40";
constexpr int kDragSteps = 10;

int FieldAfter(const std::string& text, const std::string& label) {
  const auto at = text.find(label);
  if (at == std::string::npos) throw std::runtime_error("no \"" + label + "\" in:\n" + text);
  return std::stoi(text.substr(at + label.size()));
}

std::string Str(int value) {
  return std::to_string(value);
}

std::string Describe(const Rect& rect) {
  std::ostringstream text;
  text << rect;
  return text.str();
}

}  // namespace

std::string DesktopUser::Xdotool(std::vector<std::string> args) const {
  args.insert(args.begin(), "xdotool");
  return RunChecked(args, env_);
}

std::vector<WindowId> DesktopUser::FindWindows(const std::string& name) const {
  const auto found = RunCommand(
      {"xdotool", "search", "--onlyvisible", "--name", "^" + LiteralPattern(name) + "$"}, env_);
  std::vector<WindowId> windows;
  std::istringstream ids(found.out);  // nothing found is exit code 1 with no output
  for (WindowId id; ids >> id;) {
    // The regex ignores case; the name must match exactly. A window that vanished meanwhile has
    // no name any more and is dropped too.
    const auto named = RunCommand({"xdotool", "getwindowname", std::to_string(id)}, env_);
    if (named.Ok() && named.out == name + "\n") windows.push_back(id);
  }
  return windows;
}

std::optional<WindowId> DesktopUser::WaitForOtherWindow(const std::string& name, WindowId except,
                                                        Clock::duration timeout) const {
  std::optional<WindowId> found;
  WaitUntil(
      [&] {
        for (const WindowId window : FindWindows(name)) {
          if (window != except) found = window;
        }
        return found.has_value();
      },
      timeout);
  return found;
}

std::optional<WindowId> DesktopUser::WaitForWindow(const std::string& name,
                                                   Clock::duration timeout) const {
  std::vector<WindowId> windows;
  if (!WaitUntil([&] { return (windows = FindWindows(name)).size() == 1; }, timeout)) {
    return std::nullopt;
  }
  return windows.front();
}

bool DesktopUser::WaitForNoWindow(const std::string& name, Clock::duration timeout) const {
  return WaitUntil([&] { return FindWindows(name).empty(); }, timeout);
}

std::string DesktopUser::WindowName(WindowId window) const {
  std::string name = Xdotool({"getwindowname", std::to_string(window)});
  if (!name.empty() && name.back() == '\n') name.pop_back();
  return name;
}

Rect DesktopUser::ClientArea(WindowId window) const {
  // xwininfo's "Absolute upper-left" is the client window's own origin on the screen, past the
  // window manager's frame.
  const std::string info = RunChecked({"xwininfo", "-id", std::to_string(window)}, env_);
  return {FieldAfter(info, "Absolute upper-left X:"), FieldAfter(info, "Absolute upper-left Y:"),
          FieldAfter(info, "Width:"), FieldAfter(info, "Height:")};
}

void DesktopUser::Activate(WindowId window) const {
  if (!managed_) {
    Xdotool({"windowraise", std::to_string(window)});
    Xdotool({"windowfocus", "--sync", std::to_string(window)});
    return;
  }
  // A window manager may let a request go by while it is still taking on the window or handling
  // another one (openbox now and then does): ask again, as a person clicks again.
  constexpr int kRequests = 5;
  constexpr auto kEachWait = std::chrono::seconds(2);
  for (int request = 0; request < kRequests; ++request) {
    Xdotool({"windowactivate", std::to_string(window)});
    if (WaitUntil([&] { return ActiveWindow() == window; }, kEachWait)) return;
  }
  throw std::runtime_error("window " + std::to_string(window) + " did not become active");
}

std::optional<WindowId> DesktopUser::ActiveWindow() const {
  // Without a window manager nobody names an active window: the one with the input focus is.
  const auto active = RunCommand(managed_ ? std::vector<std::string>{"xdotool", "getactivewindow"}
                                          : std::vector<std::string>{"xdotool", "getwindowfocus"},
                                 env_);
  if (!active.Ok()) return std::nullopt;
  return std::stoul(active.out);
}

Point DesktopUser::ToScreen(WindowId window, Point at, bool must_be_inside) const {
  const Rect area = ClientArea(window);
  if (must_be_inside && !Rect{0, 0, area.width, area.height}.Contains(at)) {
    std::ostringstream message;
    message << "position " << at << " lies outside the client area " << area << " of window "
            << window;
    throw std::invalid_argument(message.str());
  }
  return {area.x + at.x, area.y + at.y};
}

void DesktopUser::Click(WindowId window, Point at, int button) const {
  Activate(window);
  MoveMouse(ToScreen(window, at, true));
  Xdotool({"click", Str(button)});
}

void DesktopUser::ClickHere(int button) const {
  Xdotool({"click", Str(button)});
}

void DesktopUser::DoubleClick(WindowId window, Point at) const {
  Activate(window);
  MoveMouse(ToScreen(window, at, true));
  Xdotool({"click", "--repeat", "2", "--delay", kDoubleClickDelayMs, "1"});
}

void DesktopUser::Drag(WindowId window, Point from, Point to, int button) const {
  Activate(window);
  const Point start = ToScreen(window, from, true);
  const Point end = {start.x + to.x - from.x, start.y + to.y - from.y};
  MoveMouse(start);
  // One xdotool run, so nothing else can happen between press and release.
  std::vector<std::string> args = {"mousedown", Str(button)};
  for (int step = 1; step <= kDragSteps; ++step) {
    const int x = start.x + (end.x - start.x) * step / kDragSteps;
    const int y = start.y + (end.y - start.y) * step / kDragSteps;
    args.insert(args.end(), {"mousemove", "--sync", Str(x), Str(y), "sleep", "0.02"});
  }
  args.insert(args.end(), {"mouseup", Str(button)});
  Xdotool(args);
}

void DesktopUser::PickFromDropDown(WindowId window, int owner, const Rect& box, int entry,
                                   int entries) const {
  constexpr int kArrowWidth = 16;
  Click(window, Rect{box.x + box.width - kArrowWidth, box.y, kArrowWidth, box.height}.Center());
  // xdotool's search by name does not find the list: it is found as the owner's window right
  // below the box, give or take the frames' overlap.
  const Rect area = ClientArea(window);
  const auto list_window = [&]() -> std::optional<Rect> {
    const auto found =
        RunCommand({"xdotool", "search", "--onlyvisible", "--pid", std::to_string(owner)}, env_);
    std::istringstream ids(found.out);
    for (WindowId id; ids >> id;) {
      if (id == window) continue;
      Rect list;
      try {
        list = ClientArea(id);
      } catch (const std::runtime_error&) {
        continue;  // gone meanwhile
      }
      if (std::abs(list.y - (area.y + box.y + box.height)) <= 3 &&
          std::abs(list.x - (area.x + box.x)) <= 3) {
        return list;
      }
    }
    return std::nullopt;
  };
  constexpr auto kListTimeout = std::chrono::seconds(5);
  std::optional<Rect> list;
  if (!WaitUntil([&] { return (list = list_window()).has_value(); }, kListTimeout,
                 std::chrono::milliseconds(50))) {
    throw std::runtime_error("the drop-down list of the box at " + Describe(box) + " did not open");
  }
  MoveMouse({list->x + list->width / 2, list->y + list->height * (2 * entry + 1) / (2 * entries)});
  Xdotool({"click", "1"});
  if (!WaitUntil([&] { return !list_window(); }, kListTimeout)) {
    throw std::runtime_error("the drop-down list stayed open after a click on entry " +
                             std::to_string(entry));
  }
}

void DesktopUser::MoveMouse(Point screen) const {
  // "mousemove --sync" waits for the pointer to move, and never returns when it already is there.
  if (MouseLocation() == screen) {
    Xdotool({"mousemove", "--sync", Str(screen.x + (screen.x > 0 ? -1 : 1)), Str(screen.y)});
  }
  Xdotool({"mousemove", "--sync", Str(screen.x), Str(screen.y)});
}

Point DesktopUser::MouseLocation() const {
  const std::string shell = Xdotool({"getmouselocation", "--shell"});
  return {FieldAfter(shell, "X="), FieldAfter(shell, "Y=")};
}

void DesktopUser::Type(const std::string& text) const {
  Xdotool({"type", "--delay", kKeyDelayMs, "--", text});
}

void DesktopUser::Key(const std::string& keys) const {
  std::vector<std::string> args = {"key", "--delay", kKeyDelayMs, "--"};
  std::istringstream names(keys);
  for (std::string name; names >> name;) args.push_back(name);
  Xdotool(args);
}

}  // namespace plumwick::e2e
