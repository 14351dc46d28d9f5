// The artwork as generated: the background bitmap's format and layout, the icon file's format and
// mask, and the PNG copy of the icon matching it pixel for pixel. Read as bytes, without Qt.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ReadFile(const std::string& name) {
  std::ifstream in(std::string(PLUMWICK_ART_DIR) + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t Le(const Bytes& bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i)
    value = (value << 8) | bytes.at(at + static_cast<std::size_t>(i));
  return value;
}

std::uint32_t Be(const Bytes& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) value = (value << 8) | bytes.at(at + i);
  return value;
}

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb&) const = default;
  bool IsBlack() const { return r == 0 && g == 0 && b == 0; }
  bool IsWhite() const { return r == 255 && g == 255 && b == 255; }
  bool IsGrey() const { return r == g && g == b; }
  bool IsRed() const { return r >= 80 && 2 * g <= r && 2 * b <= r; }
  int Brightness() const { return r + g + b; }
};

// --- The background bitmap -------------------------------------------------------------------

constexpr int kWidth = 267, kHeight = 483, kRowBytes = 804;

const Bytes& Bmp() {
  static const Bytes bytes = ReadFile("window.bmp");
  return bytes;
}

Rgb At(int x, int y) {
  // Rows are stored bottom-up, each pixel as blue, green, red.
  const std::size_t at = 54 + static_cast<std::size_t>((kHeight - 1 - y) * kRowBytes + 3 * x);
  return {Bmp().at(at + 2), Bmp().at(at + 1), Bmp().at(at)};
}

TEST(Background, IsAn24BitUncompressedBottomUpBitmapAt96Dpi) {
  const Bytes& bmp = Bmp();
  ASSERT_EQ(bmp.size(), 388386u);
  EXPECT_EQ(bmp[0], 'B');
  EXPECT_EQ(bmp[1], 'M');
  EXPECT_EQ(Le(bmp, 2, 4), 388386u);
  EXPECT_EQ(Le(bmp, 6, 4), 0u);
  EXPECT_EQ(Le(bmp, 10, 4), 54u) << "pixels right after the two headers";
  EXPECT_EQ(Le(bmp, 14, 4), 40u);
  EXPECT_EQ(Le(bmp, 18, 4), 267u);
  EXPECT_EQ(Le(bmp, 22, 4), 483u) << "positive height: bottom-up";
  EXPECT_EQ(Le(bmp, 26, 2), 1u);
  EXPECT_EQ(Le(bmp, 28, 2), 24u);
  EXPECT_EQ(Le(bmp, 30, 4), 0u) << "BI_RGB";
  EXPECT_EQ(Le(bmp, 34, 4), 804u * 483u);
  EXPECT_EQ(Le(bmp, 38, 4), 3780u);
  EXPECT_EQ(Le(bmp, 42, 4), 3780u);
  EXPECT_EQ(Le(bmp, 46, 4), 0u);
  for (int row = 0; row < kHeight; ++row)
    for (int pad = 801; pad < kRowBytes; ++pad)
      ASSERT_EQ(bmp[54 + static_cast<std::size_t>(row * kRowBytes + pad)], 0) << "row " << row;
}

TEST(Background, HasABlackOuterEdgeWithAPaleTopRightCorner) {
  ASSERT_EQ(Bmp().size(), 388386u);
  EXPECT_TRUE(At(0, 0).IsBlack());
  EXPECT_TRUE(At(0, 482).IsBlack());
  EXPECT_TRUE(At(266, 482).IsBlack());
  EXPECT_EQ(At(266, 0), (Rgb{0xE0, 0xE0, 0xE0}));
  for (int x = 0; x < kWidth - 1; ++x) EXPECT_TRUE(At(x, 0).IsBlack()) << "top, x " << x;
  for (int x = 0; x < kWidth; ++x) EXPECT_TRUE(At(x, 482).IsBlack()) << "bottom, x " << x;
  for (int y = 1; y < kHeight; ++y) {
    EXPECT_TRUE(At(0, y).IsBlack()) << "left, y " << y;
    EXPECT_TRUE(At(266, y).IsBlack()) << "right, y " << y;
  }
}

TEST(Background, HasAGreyFrameBevelledFromTheTopLeftAndABarUnderTheBanner) {
  ASSERT_EQ(Bmp().size(), 388386u);
  auto is_frame = [](Rgb p) { return p.IsGrey() && !p.IsBlack() && !p.IsWhite(); };
  for (int ring = 0; ring < 3; ++ring) {
    SCOPED_TRACE(ring);
    for (int y = 1 + ring; y <= 481 - ring; ++y) {
      ASSERT_TRUE(is_frame(At(1 + ring, y))) << "left, y " << y;
      ASSERT_TRUE(is_frame(At(265 - ring, y))) << "right, y " << y;
    }
    for (int x = 1 + ring; x <= 265 - ring; ++x) {
      ASSERT_TRUE(is_frame(At(x, 1 + ring))) << "top, x " << x;
      ASSERT_TRUE(is_frame(At(x, 481 - ring))) << "bottom, x " << x;
    }
    EXPECT_GT(At(1 + ring, 240).Brightness(), At(265 - ring, 240).Brightness());
    EXPECT_GT(At(133, 1 + ring).Brightness(), At(133, 481 - ring).Brightness());
  }
  for (int x = 4; x <= 262; ++x)
    for (int y = 39; y <= 41; ++y) ASSERT_TRUE(is_frame(At(x, y))) << x << "," << y;
  EXPECT_GT(At(133, 39).Brightness(), At(133, 41).Brightness());
}

TEST(Background, HasARedBannerWithTheEightLettersOfTheTitleCentredInWhite) {
  ASSERT_EQ(Bmp().size(), 388386u);
  int left = kWidth, right = -1, top = kHeight, bottom = -1;
  std::vector<bool> column_lettered(kWidth, false);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const Rgb p = At(x, y);
      const bool in_banner = x >= 4 && x <= 262 && y >= 4 && y <= 38;
      ASSERT_TRUE(!in_banner || p.IsWhite() || p.IsRed()) << x << "," << y;
      if (!p.IsWhite()) continue;
      ASSERT_TRUE(in_banner) << "white outside the banner at " << x << "," << y;
      left = std::min(left, x), right = std::max(right, x);
      top = std::min(top, y), bottom = std::max(bottom, y);
      column_lettered[static_cast<std::size_t>(x)] = true;
    }
  }
  ASSERT_GE(right, left) << "no lettering";
  EXPECT_LE(std::abs((left - 4) - (262 - right)), 1) << left << ".." << right;
  EXPECT_LE(std::abs((top - 4) - (38 - bottom)), 1) << top << ".." << bottom;
  EXPECT_GE(bottom - top + 1, 14) << "tall enough to read";
  EXPECT_GE(right - left + 1, 100);

  int letters = 0;
  for (int x = left; x <= right; ++x)
    if (column_lettered[static_cast<std::size_t>(x)] &&
        !column_lettered[static_cast<std::size_t>(x - 1)])
      ++letters;
  EXPECT_EQ(letters, 8) << "P L U M W I C K, each standing apart";
  EXPECT_TRUE(At(4, 4).IsRed());
  EXPECT_TRUE(At(262, 38).IsRed());
}

TEST(Background, HasABlackBodyAndIsMostlyBlack) {
  ASSERT_EQ(Bmp().size(), 388386u);
  for (int y = 42; y <= 478; ++y)
    for (int x = 4; x <= 262; ++x) ASSERT_TRUE(At(x, y).IsBlack()) << x << "," << y;
  int black = 0;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) black += At(x, y).IsBlack();
  const double share = static_cast<double>(black) / (kWidth * kHeight);
  EXPECT_GE(share, 0.87);
  EXPECT_LE(share, 0.91);
}

// --- The icon --------------------------------------------------------------------------------

constexpr std::size_t kPalette = 22 + 40, kIndices = kPalette + 1024, kMask = kIndices + 1024;

const Bytes& Ico() {
  static const Bytes bytes = ReadFile("plumwick.ico");
  return bytes;
}

bool Transparent(int x, int y) {
  const std::size_t at = kMask + static_cast<std::size_t>((31 - y) * 4 + x / 8);
  return (Ico().at(at) & (0x80 >> (x % 8))) != 0;
}

Rgb IconColour(int x, int y) {
  const std::size_t index = Ico().at(kIndices + static_cast<std::size_t>((31 - y) * 32 + x));
  const std::size_t at = kPalette + 4 * index;
  return {Ico().at(at + 2), Ico().at(at + 1), Ico().at(at)};
}

TEST(Icon, HoldsOne32x32ImageAt8BitsWithAPaletteAndAMask) {
  const Bytes& ico = Ico();
  ASSERT_EQ(ico.size(), 2238u);
  EXPECT_EQ(Le(ico, 0, 2), 0u);
  EXPECT_EQ(Le(ico, 2, 2), 1u) << "an icon, not a cursor";
  EXPECT_EQ(Le(ico, 4, 2), 1u);
  EXPECT_EQ(ico[6], 32);
  EXPECT_EQ(ico[7], 32);
  EXPECT_EQ(ico[8], 0) << "0 stands for 256 colours";
  EXPECT_EQ(ico[9], 0);
  EXPECT_EQ(Le(ico, 10, 2), 1u);
  EXPECT_EQ(Le(ico, 12, 2), 8u);
  EXPECT_EQ(Le(ico, 14, 4), 2238u - 22u);
  EXPECT_EQ(Le(ico, 18, 4), 22u);
  EXPECT_EQ(Le(ico, 22, 4), 40u);
  EXPECT_EQ(Le(ico, 26, 4), 32u);
  EXPECT_EQ(Le(ico, 30, 4), 64u) << "colour rows and mask rows";
  EXPECT_EQ(Le(ico, 34, 2), 1u);
  EXPECT_EQ(Le(ico, 36, 2), 8u);
  EXPECT_EQ(Le(ico, 38, 4), 0u);
  EXPECT_EQ(Le(ico, 54, 4), 0u) << "colours used 0: the full 256-entry palette follows";
}

TEST(Icon, IsAPlumShapeWithClearCornersAndAnOpaqueCentre) {
  ASSERT_EQ(Ico().size(), 2238u);
  for (auto [x, y] : {std::pair{0, 0}, {31, 0}, {0, 31}, {31, 31}})
    EXPECT_TRUE(Transparent(x, y)) << x << "," << y;
  for (auto [x, y] : {std::pair{16, 16}, {15, 15}, {12, 20}, {20, 12}})
    EXPECT_FALSE(Transparent(x, y)) << x << "," << y;

  int opaque = 0;
  long r = 0, g = 0, b = 0;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const Rgb p = IconColour(x, y);
      if (Transparent(x, y)) {
        // Screen AND mask, then XOR colour: anything but black would tint the desktop.
        EXPECT_TRUE(p.IsBlack()) << x << "," << y;
        continue;
      }
      ++opaque, r += p.r, g += p.g, b += p.b;
    }
  }
  EXPECT_GT(opaque, 32 * 32 / 2);
  EXPECT_GT(r, b) << "plum: red over blue over green";
  EXPECT_GT(b, g);
}

// --- The icon's PNG ----------------------------------------------------------------------------

std::uint32_t Crc(const Bytes& bytes, std::size_t from, std::size_t size) {
  std::uint32_t c = 0xFFFFFFFFu;
  for (std::size_t i = from; i < from + size; ++i) {
    c ^= bytes.at(i);
    for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
  }
  return ~c;
}

TEST(IconPng, IsAValidRgbaPngWithTheIconsPixelsAndMask) {
  const Bytes png = ReadFile("plumwick.png");
  ASSERT_GE(png.size(), 8u);
  ASSERT_EQ(Bytes(png.begin(), png.begin() + 8),
            (Bytes{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}));

  Bytes header, zlib;
  std::vector<std::string> types;
  for (std::size_t at = 8; at < png.size();) {
    const std::uint32_t size = Be(png, at);
    ASSERT_LE(at + 12 + size, png.size());
    const std::string type(png.begin() + static_cast<std::ptrdiff_t>(at + 4),
                           png.begin() + static_cast<std::ptrdiff_t>(at + 8));
    EXPECT_EQ(Be(png, at + 8 + size), Crc(png, at + 4, 4 + size)) << type;
    const auto body = png.begin() + static_cast<std::ptrdiff_t>(at + 8);
    if (type == "IHDR") header.assign(body, body + size);
    if (type == "IDAT") zlib.insert(zlib.end(), body, body + size);
    types.push_back(type);
    at += 12 + size;
  }
  ASSERT_FALSE(types.empty());
  EXPECT_EQ(types.front(), "IHDR");
  EXPECT_EQ(types.back(), "IEND");
  EXPECT_EQ(header, (Bytes{0, 0, 0, 32, 0, 0, 0, 32, 8, 6, 0, 0, 0})) << "32 x 32, 8-bit RGBA";

  // A zlib stream of stored blocks only.
  ASSERT_GE(zlib.size(), 6u);
  EXPECT_EQ(zlib[0] & 0x0F, 8) << "deflate";
  EXPECT_EQ((zlib[0] * 256 + zlib[1]) % 31, 0);
  Bytes raw;
  std::size_t at = 2;
  for (bool last = false; !last;) {
    ASSERT_LE(at + 5, zlib.size());
    last = zlib[at] & 1;
    ASSERT_EQ(zlib[at] & 0x06, 0) << "stored block";
    const std::uint32_t len = Le(zlib, at + 1, 2);
    ASSERT_EQ(len ^ Le(zlib, at + 3, 2), 0xFFFFu);
    ASSERT_LE(at + 5 + len, zlib.size());
    raw.insert(raw.end(), zlib.begin() + static_cast<std::ptrdiff_t>(at + 5),
               zlib.begin() + static_cast<std::ptrdiff_t>(at + 5 + len));
    at += 5 + len;
  }
  ASSERT_EQ(zlib.size(), at + 4);
  std::uint32_t a = 1, b = 0;
  for (std::uint8_t byte : raw) a = (a + byte) % 65521, b = (b + a) % 65521;
  EXPECT_EQ(Be(zlib, at), (b << 16) | a) << "Adler-32";

  ASSERT_EQ(raw.size(), 32u * (1 + 32 * 4));
  ASSERT_EQ(Ico().size(), 2238u);
  for (int y = 0; y < 32; ++y) {
    const std::size_t row = static_cast<std::size_t>(y) * (1 + 32 * 4);
    ASSERT_EQ(raw[row], 0) << "filter type, row " << y;
    for (int x = 0; x < 32; ++x) {
      const std::size_t p = row + 1 + static_cast<std::size_t>(x) * 4;
      if (Transparent(x, y)) {
        EXPECT_EQ(raw[p + 3], 0) << x << "," << y;
      } else {
        EXPECT_EQ(raw[p + 3], 255) << x << "," << y;
        EXPECT_EQ((Rgb{raw[p], raw[p + 1], raw[p + 2]}), IconColour(x, y)) << x << "," << y;
      }
    }
  }
}

}  // namespace
