// Which top-level window has the keyboard focus, and which process shows it.
#pragma once

#include <cstdint>

namespace plumwick {

struct DesktopWindow {
  std::uint64_t id = 0;  // the desktop's id of the top-level window; 0: no window has the focus
  std::int64_t pid = 0;  // the process that shows it; 0: unknown
  bool operator==(const DesktopWindow&) const = default;
};

class FocusedWindow {
 public:
  virtual ~FocusedWindow() = default;
  virtual DesktopWindow Focused() = 0;
};

}  // namespace plumwick
