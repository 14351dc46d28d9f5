// Makes the window's artwork: the background bitmap (window.bmp), the window and program icon
// (plumwick.ico) and the same icon as a PNG for the desktop's icon theme (plumwick.png).
// Usage: generate_artwork OUTPUT_DIR
//
// The background is 267 x 483 and keeps to a 1-pixel black outer edge all round: column 266 and
// row 482 are that edge on the right and at the bottom, mirroring column 0 and row 0, with the
// grey frame inside it at columns 1-3 / 263-265 and rows 1-3 / 479-481. The one exception is the
// top-right corner pixel, which carries the frame's pale highlight colour as a glint.
#include <cstdio>
#include <exception>

#include "artwork.h"
#include "write_file.h"

namespace artwork {
namespace {

constexpr int kWidth = 267, kHeight = 483;
constexpr Rgb kBlack{0, 0, 0};
// The frame's three rings, outermost first: lit from the top left.
constexpr Rgb kLit[3] = {{0xE0, 0xE0, 0xE0}, {0xCC, 0xCC, 0xCC}, {0xB4, 0xB4, 0xB4}};
constexpr Rgb kShaded[3] = {{0x48, 0x48, 0x48}, {0x68, 0x68, 0x68}, {0x88, 0x88, 0x88}};
constexpr Rgb kBannerTop{0xD4, 0x22, 0x2A}, kBannerBottom{0xA8, 0x12, 0x1A};

// One ring of a raised bevel: the top and left sides lit, the bottom and right sides shaded (the
// shaded sides win the two corners where they meet the lit ones).
void BevelRing(Image& image, int left, int top, int right, int bottom, Rgb lit, Rgb shaded) {
  image.Fill(left, top, right, top, lit);
  image.Fill(left, top, left, bottom, lit);
  image.Fill(left, bottom, right, bottom, shaded);
  image.Fill(right, top, right, bottom, shaded);
}

std::uint8_t Mix(std::uint8_t a, std::uint8_t b, double t) {
  return static_cast<std::uint8_t>(a + (b - a) * t + 0.5);
}

}  // namespace

Image PaintBackground() {
  Image image(kWidth, kHeight, kBlack);
  for (int ring = 0; ring < 3; ++ring)
    BevelRing(image, 1 + ring, 1 + ring, kWidth - 2 - ring, kHeight - 2 - ring, kLit[ring],
              kShaded[ring]);

  // The banner: a gentle top-to-bottom shading of the red.
  const int banner_top = 4, banner_bottom = 38;
  for (int y = banner_top; y <= banner_bottom; ++y) {
    const double t = static_cast<double>(y - banner_top) / (banner_bottom - banner_top);
    image.Fill(4, y, kWidth - 5, y,
               {Mix(kBannerTop.r, kBannerBottom.r, t), Mix(kBannerTop.g, kBannerBottom.g, t),
                Mix(kBannerTop.b, kBannerBottom.b, t)});
  }
  DrawTitle(image, 4, banner_top, kWidth - 5, banner_bottom, "PLUMWICK");

  // The bar under the banner, a raised strip joining the side frames.
  image.Fill(4, 39, kWidth - 5, 39, kLit[1]);
  image.Fill(4, 40, kWidth - 5, 40, kLit[2]);
  image.Fill(4, 41, kWidth - 5, 41, kShaded[1]);

  image.at(kWidth - 1, 0) = kLit[0];
  return image;
}

}  // namespace artwork

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
    return 2;
  }
  const std::string dir = argv[1];
  try {
    const artwork::Icon icon = artwork::PaintIcon();
    const bool ok = plumwick::assets::WriteFile(dir + "/window.bmp",
                                                artwork::EncodeBmp(artwork::PaintBackground())) &&
                    plumwick::assets::WriteFile(dir + "/plumwick.ico", artwork::EncodeIco(icon)) &&
                    plumwick::assets::WriteFile(dir + "/plumwick.png", artwork::EncodePng(icon));
    if (!ok) std::fprintf(stderr, "%s: could not write the artwork to %s\n", argv[0], dir.c_str());
    return ok ? 0 : 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s: %s\n", argv[0], e.what());
    return 1;
  }
}
