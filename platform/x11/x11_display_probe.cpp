// Whether an X display can be reached. Xlib only: its macros clash with Qt's names, so no Qt
// header comes in here.
#include "platform/x11/x11_display_probe.h"

#include <X11/Xlib.h>

#include "platform/x11/x11_display.h"

namespace plumwick::x11 {

bool CanConnectToDisplay(const std::string& name) {
  // Not OpenDisplay: a display that cannot be reached is an answer here, not a failure.
  const DisplayPtr connection(XOpenDisplay(name.c_str()));
  return connection != nullptr;
}

}  // namespace plumwick::x11
