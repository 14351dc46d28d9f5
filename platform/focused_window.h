// Which top-level window has the keyboard focus, which process shows it, and how a person would
// name it in an error: its title and its program's name.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace plumwick {

struct DesktopWindow {
  constexpr DesktopWindow() = default;
  constexpr DesktopWindow(std::uint64_t window, std::int64_t process, std::string window_title = {},
                          std::string process_name = {}, bool own_window = false)
      : id(window),
        pid(process),
        title(std::move(window_title)),
        program(std::move(process_name)),
        own(own_window) {}

  std::uint64_t id = 0;  // the desktop's id of the top-level window; 0: no window has the focus
  std::int64_t pid = 0;  // the process that shows it; 0: unknown
  std::string title;     // its title as the desktop shows it; empty when it has none
  std::string program;   // the name of the process that shows it; empty when unknown
  // One of this program's own windows (its main window, its message boxes). Keys typed for the
  // messaging client must never go there, whatever a client in the same process would say.
  bool own = false;

  // The same window: the id and the process say which one; the title is only its name of now.
  bool operator==(const DesktopWindow& other) const { return id == other.id && pid == other.pid; }
};

class FocusedWindow {
 public:
  virtual ~FocusedWindow() = default;
  virtual DesktopWindow Focused() = 0;
};

}  // namespace plumwick
