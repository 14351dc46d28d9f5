// Screenshots of the session's screen: kept as PNG files for a person to look at, and handed to
// the test as pixels for checks.
#pragma once

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <vector>

#include "tests/e2e/harness/desktop_session.h"
#include "tests/e2e/harness/geometry.h"

namespace plumwick::e2e {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, Rgb c) {
  return out << "rgb(" << int{c.r} << "," << int{c.g} << "," << int{c.b} << ")";
}

class Image {
 public:
  Image() = default;
  Image(int width, int height, std::vector<Rgb> pixels);
  // Reads a binary PPM (P6, 8 bits per channel); throws std::runtime_error on anything else.
  static Image FromPpm(const std::string& bytes);

  int Width() const { return width_; }
  int Height() const { return height_; }
  Rgb At(Point p) const;  // throws std::out_of_range outside the image
  Image Crop(const Rect& rect) const;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<Rgb> pixels_;
};

// Saves the whole screen as the PNG `png` and returns its pixels.
Image TakeScreenshot(const DesktopSession& session, const std::filesystem::path& png);
// The same of one window's client area. It works where the root window shows no picture of the
// screen, as with a Wayland compositor's XWayland.
Image TakeWindowShot(const DesktopSession& session, unsigned long window,
                     const std::filesystem::path& png);

}  // namespace plumwick::e2e
