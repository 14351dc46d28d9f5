// Screenshots of the session's screen: kept as PNG files for a person to look at, and handed to
// the test as pixels for checks.
#include "tests/e2e/harness/screenshot.h"

#include <sstream>
#include <stdexcept>

#include "tests/e2e/harness/run_command.h"

namespace plumwick::e2e {

Image::Image(int width, int height, std::vector<Rgb> pixels)
    : width_(width), height_(height), pixels_(std::move(pixels)) {
  if (width < 0 || height < 0 || pixels_.size() != static_cast<std::size_t>(width) * height) {
    throw std::invalid_argument("image size does not match its pixels");
  }
}

Image Image::FromPpm(const std::string& bytes) {
  std::istringstream in(bytes);
  std::string magic;
  int width = 0, height = 0, max = 0;
  in >> magic >> width >> height >> max;
  // ImageMagick writes no comments; exactly one whitespace byte separates header and pixels.
  if (!in || magic != "P6" || max != 255 || width <= 0 || height <= 0) {
    throw std::runtime_error("not an 8-bit binary PPM image");
  }
  const auto start = static_cast<std::size_t>(in.tellg()) + 1;
  const std::size_t count = static_cast<std::size_t>(width) * height;
  if (bytes.size() < start + 3 * count) throw std::runtime_error("PPM image is cut short");
  std::vector<Rgb> pixels(count);
  for (std::size_t i = 0; i < count; ++i) {
    const char* p = bytes.data() + start + 3 * i;
    pixels[i] = {static_cast<std::uint8_t>(p[0]), static_cast<std::uint8_t>(p[1]),
                 static_cast<std::uint8_t>(p[2])};
  }
  return Image(width, height, std::move(pixels));
}

Rgb Image::At(Point p) const {
  if (p.x < 0 || p.y < 0 || p.x >= width_ || p.y >= height_) {
    std::ostringstream message;
    message << "pixel " << p << " outside a " << width_ << "x" << height_ << " image";
    throw std::out_of_range(message.str());
  }
  return pixels_[static_cast<std::size_t>(p.y) * width_ + p.x];
}

Image Image::Crop(const Rect& rect) const {
  std::vector<Rgb> pixels;
  pixels.reserve(static_cast<std::size_t>(std::max(0, rect.width)) * std::max(0, rect.height));
  for (int y = rect.y; y < rect.y + rect.height; ++y) {
    for (int x = rect.x; x < rect.x + rect.width; ++x) pixels.push_back(At({x, y}));
  }
  return Image(rect.width, rect.height, std::move(pixels));
}

namespace {

Image Grab(const DesktopSession& session, const std::string& window,
           const std::filesystem::path& png) {
  // Full paths: another "convert" may come first on PATH. -silent: no bell after the grab.
  RunChecked({"/usr/bin/import", "-silent", "-window", window, png.string()}, session.Env());
  return Image::FromPpm(
      RunChecked({"/usr/bin/convert", png.string(), "-depth", "8", "ppm:-"}, session.Env()));
}

}  // namespace

Image TakeScreenshot(const DesktopSession& session, const std::filesystem::path& png) {
  return Grab(session, "root", png);
}

Image TakeWindowShot(const DesktopSession& session, unsigned long window,
                     const std::filesystem::path& png) {
  return Grab(session, std::to_string(window), png);
}

}  // namespace plumwick::e2e
