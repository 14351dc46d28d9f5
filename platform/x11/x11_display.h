// Owning handles for Xlib: the display connection and memory Xlib hands out for XFree.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <memory>
#include <string>

namespace plumwick::x11 {

struct DisplayCloser {
  void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

struct XFreeDeleter {
  void operator()(void* data) const {
    if (data != nullptr) XFree(data);
  }
};
template <typename T>
using XPtr = std::unique_ptr<T, XFreeDeleter>;

// Connects to `name`, or to $DISPLAY when `name` is empty. Throws Failure with `code` and a
// description that starts with `purpose` ("Cannot type keys") when there is no display to
// connect to or the connection is refused.
DisplayPtr OpenDisplay(const std::string& name, std::int32_t code, const std::string& purpose);

}  // namespace plumwick::x11
