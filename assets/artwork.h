// The pictures the artwork generator paints and the file formats it writes them in. Plain
// standard-library types so the generator builds before (and without) anything else.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace artwork {

struct Rgb {
  std::uint8_t r, g, b;
  bool operator==(const Rgb&) const = default;
};

// A top-down RGB picture; (0, 0) is the top-left pixel.
class Image {
 public:
  Image(int width, int height, Rgb fill)
      : width_(width), height_(height), pixels_(static_cast<std::size_t>(width * height), fill) {}
  int width() const { return width_; }
  int height() const { return height_; }
  Rgb& at(int x, int y) { return pixels_[Index(x, y)]; }
  const Rgb& at(int x, int y) const { return pixels_[Index(x, y)]; }
  // Bounds are inclusive, as the layout is written in pixel columns and rows.
  void Fill(int left, int top, int right, int bottom, Rgb colour) {
    for (int y = top; y <= bottom; ++y)
      for (int x = left; x <= right; ++x) at(x, y) = colour;
  }

 private:
  std::size_t Index(int x, int y) const { return static_cast<std::size_t>(y * width_ + x); }
  int width_, height_;
  std::vector<Rgb> pixels_;
};

// An icon: colours plus a 1-bit mask, which is all an icon file can say about transparency.
struct Icon {
  Image colours;
  std::vector<bool> opaque;  // row-major, top-down, like the colours
  bool IsOpaque(int x, int y) const {
    return opaque[static_cast<std::size_t>(y * colours.width() + x)];
  }
};

using Bytes = std::vector<std::uint8_t>;

// 24-bit uncompressed bottom-up device-independent bitmap file.
Bytes EncodeBmp(const Image& image);
// Icon file with the one image at 8 bits per pixel: palette, colour indices and AND mask.
// Throws std::runtime_error if the icon uses more colours than the palette holds.
Bytes EncodeIco(const Icon& icon);
// RGBA PNG with stored (uncompressed) deflate blocks; masked pixels are fully transparent.
Bytes EncodePng(const Icon& icon);

// Letters the program's title in white, with a dark shadow, centred in the given box.
void DrawTitle(Image& image, int left, int top, int right, int bottom, const std::string& text);

Image PaintBackground();
Icon PaintIcon();

}  // namespace artwork
