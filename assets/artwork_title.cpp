// The banner's lettering: a small 5 x 7 bitmap font for the letters of the title, enlarged three
// times pixel for pixel: square pixels stay crisp and even on the flat banner.
#include <map>
#include <stdexcept>

#include "artwork.h"

namespace artwork {
namespace {

constexpr int kGlyphRows = 7;
constexpr int kScale = 3;  // 21 pixels tall in the 35-pixel banner
constexpr Rgb kLettering{0xFF, 0xFF, 0xFF};
constexpr Rgb kShadow{0x5C, 0x08, 0x0C};

using Glyph = std::vector<std::string>;

const std::map<char, Glyph>& Font() {
  static const std::map<char, Glyph> font{
      {'P', {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."}},
      {'L', {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}},
      {'U', {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
      {'M', {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"}},
      {'W', {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "##.##", "#...#"}},
      {'I', {"###", ".#.", ".#.", ".#.", ".#.", ".#.", "###"}},
      {'C', {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."}},
      {'K', {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"}},
  };
  return font;
}

// The text as one bitmap, glyphs one blank column apart.
std::vector<std::string> Compose(const std::string& text) {
  std::vector<std::string> rows(kGlyphRows);
  for (char c : text) {
    const auto glyph = Font().find(c);
    if (glyph == Font().end()) throw std::invalid_argument(std::string("no glyph for ") + c);
    for (std::size_t r = 0; r < rows.size(); ++r)
      rows[r] += (rows[r].empty() ? "" : ".") + glyph->second[r];
  }
  return rows;
}

}  // namespace

void DrawTitle(Image& image, int left, int top, int right, int bottom, const std::string& text) {
  const auto rows = Compose(text);
  const int text_w = static_cast<int>(rows[0].size()) * kScale;
  const int text_h = kGlyphRows * kScale;
  const int x0 = left + (right - left + 1 - text_w) / 2;
  const int y0 = top + (bottom - top + 1 - text_h) / 2;
  for (int pass = 0; pass < 2; ++pass) {
    const int shift = pass == 0 ? 1 : 0;  // shadow first, down and to the right
    const Rgb colour = pass == 0 ? kShadow : kLettering;
    for (int r = 0; r < text_h; ++r)
      for (int s = 0; s < text_w; ++s)
        if (rows[static_cast<std::size_t>(r / kScale)][static_cast<std::size_t>(s / kScale)] == '#')
          image.at(x0 + s + shift, y0 + r + shift) = colour;
  }
}

}  // namespace artwork
