// Owning handles for Xlib.
#include "platform/x11/x11_display.h"

#include <cstdlib>

#include "platform/failure.h"

namespace plumwick::x11 {

DisplayPtr OpenDisplay(const std::string& name, std::int32_t code, const std::string& purpose) {
  std::string display = name;
  if (display.empty()) {
    const char* from_environment = std::getenv("DISPLAY");
    if (from_environment != nullptr) display = from_environment;
  }
  // Checked here: given no name, Xlib would try a default one and report a misleading error.
  if (display.empty()) {
    throw Failure(code, purpose + ": there is no X display (DISPLAY is not set).");
  }
  DisplayPtr connection(XOpenDisplay(display.c_str()));
  if (!connection) {
    throw Failure(code, purpose + ": cannot connect to the X display \"" + display + "\".");
  }
  return connection;
}

}  // namespace plumwick::x11
