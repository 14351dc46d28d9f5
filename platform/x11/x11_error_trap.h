// Catches the X protocol errors of one connection for the span of a scope. Xlib's default handler
// ends the process on any error, and a window can vanish between two requests about it; errors of
// other connections (the toolkit's) still go to the handler that was installed before.
#pragma once

#include <X11/Xlib.h>

#include <string>

namespace plumwick::x11 {

class XErrorTrap {
 public:
  explicit XErrorTrap(Display* display);
  ~XErrorTrap();

  XErrorTrap(const XErrorTrap&) = delete;
  XErrorTrap& operator=(const XErrorTrap&) = delete;

  // Waits for the server to answer every request sent so far, then tells whether any failed.
  bool Failed();
  // The first error caught, described for a message ("BadValue (integer parameter out of range
  // for operation) in request 100"); empty when there was none.
  const std::string& FirstError() const { return first_error_; }

 private:
  static int Handle(Display* display, XErrorEvent* event);

  Display* display_;
  int (*previous_)(Display*, XErrorEvent*);
  XErrorTrap* outer_;
  std::string first_error_;
  bool failed_ = false;
};

}  // namespace plumwick::x11
