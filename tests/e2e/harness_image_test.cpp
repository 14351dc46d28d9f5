// Reading screenshots: the PPM decoding, cropping and the text-row finder that tells where a
// list's rows are drawn.
#include <gtest/gtest.h>

#include "tests/e2e/harness/screenshot.h"
#include "tests/e2e/harness/text_rows.h"

namespace plumwick::e2e {
namespace {

constexpr Rgb kPaper{255, 255, 255};
constexpr Rgb kInk{0, 0, 0};

// A paper-coloured image with ink on the given pixel rows (in one column, as a thin glyph).
Image PaperWithInk(int width, int height, const std::vector<int>& ink_rows, int ink_column) {
  std::vector<Rgb> pixels(static_cast<std::size_t>(width) * height, kPaper);
  for (int y : ink_rows) pixels[static_cast<std::size_t>(y) * width + ink_column] = kInk;
  return Image(width, height, std::move(pixels));
}

TEST(ImageTest, ReadsBinaryPpmRowByRow) {
  // 2x2: red, green / blue, white; the pixel bytes include a newline (10) and a space (32).
  const std::string ppm = std::string("P6\n2 2\n255\n") + std::string("\xff\x00\x00", 3) +
                          std::string("\x00\x0a\x00", 3) + std::string("\x00\x00\x20", 3) +
                          std::string("\xff\xff\xff", 3);
  const Image image = Image::FromPpm(ppm);
  ASSERT_EQ(image.Width(), 2);
  ASSERT_EQ(image.Height(), 2);
  EXPECT_EQ(image.At({0, 0}), (Rgb{255, 0, 0}));
  EXPECT_EQ(image.At({1, 0}), (Rgb{0, 10, 0}));
  EXPECT_EQ(image.At({0, 1}), (Rgb{0, 0, 32}));
  EXPECT_EQ(image.At({1, 1}), kPaper);
  EXPECT_THROW(image.At({2, 0}), std::out_of_range);
  EXPECT_THROW(Image::FromPpm("P6\n2 2\n255\n\xff"), std::runtime_error);
  EXPECT_THROW(Image::FromPpm("P3\n1 1\n255\n0 0 0\n"), std::runtime_error);
}

TEST(ImageTest, CropKeepsPixelsAtTheirPlaces) {
  const Image image = PaperWithInk(10, 8, {5}, 7);
  const Image crop = image.Crop({6, 4, 3, 2});
  ASSERT_EQ(crop.Width(), 3);
  ASSERT_EQ(crop.Height(), 2);
  EXPECT_EQ(crop.At({1, 1}), kInk);
  EXPECT_EQ(crop.At({0, 1}), kPaper);
  EXPECT_EQ(crop.At({1, 0}), kPaper);
  EXPECT_THROW(image.Crop({8, 0, 3, 1}), std::out_of_range);
}

TEST(TextRowsTest, FindsEachLineOfInkAndItsExtent) {
  const Image list = PaperWithInk(30, 40, {3, 4, 5, 6, 15, 16, 17, 18, 19, 30}, 12);
  const auto rows = FindTextRows(list);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].top, 3);
  EXPECT_EQ(rows[0].bottom, 6);
  EXPECT_EQ(rows[1].top, 15);
  EXPECT_EQ(rows[1].bottom, 19);
  EXPECT_EQ(rows[1].Middle(), 17);
  EXPECT_EQ(rows[2].top, 30);
  EXPECT_EQ(rows[2].bottom, 30);
}

TEST(TextRowsTest, BackgroundIsTheMostCommonColourWhateverItIs) {
  // Dark background, light text: the same rows must be found.
  std::vector<Rgb> pixels(20 * 10, kInk);
  pixels[2 * 20 + 5] = kPaper;
  pixels[7 * 20 + 9] = Rgb{200, 10, 10};
  const auto rows = FindTextRows(Image(20, 10, std::move(pixels)));
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].top, 2);
  EXPECT_EQ(rows[1].top, 7);
}

TEST(TextRowsTest, AnEmptyAreaHasNoRows) {
  EXPECT_TRUE(FindTextRows(PaperWithInk(30, 40, {}, 0)).empty());
  EXPECT_TRUE(FindTextRows(Image()).empty());
}

}  // namespace
}  // namespace plumwick::e2e
