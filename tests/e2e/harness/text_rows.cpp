// Finds the lines of text drawn in a plain-coloured area of a screenshot.
#include "tests/e2e/harness/text_rows.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace plumwick::e2e {

namespace {

Rgb MostCommonColour(const Image& area) {
  std::map<std::tuple<int, int, int>, int> counts;
  for (int y = 0; y < area.Height(); ++y) {
    for (int x = 0; x < area.Width(); ++x) {
      const Rgb c = area.At({x, y});
      ++counts[{c.r, c.g, c.b}];
    }
  }
  const auto most =
      std::max_element(counts.begin(), counts.end(),
                       [](const auto& a, const auto& b) { return a.second < b.second; });
  const auto [r, g, b] = most->first;
  return {static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(b)};
}

}  // namespace

std::vector<TextRow> FindTextRows(const Image& area) {
  std::vector<TextRow> rows;
  if (area.Width() == 0 || area.Height() == 0) return rows;
  const Rgb background = MostCommonColour(area);
  bool in_row = false;
  for (int y = 0; y < area.Height(); ++y) {
    bool ink = false;
    for (int x = 0; x < area.Width() && !ink; ++x) ink = !(area.At({x, y}) == background);
    if (ink && !in_row) rows.push_back({y, y});
    if (ink) rows.back().bottom = y;
    in_row = ink;
  }
  return rows;
}

std::vector<TextRow> ListRows(const DesktopSession& session, unsigned long window, const Rect& list,
                              const std::filesystem::path& png) {
  constexpr int kFrame = 3;
  constexpr int kScrollBar = 24;
  const Rect inside{list.x + kFrame, list.y + kFrame, list.width - kFrame - kScrollBar,
                    list.height - 2 * kFrame};
  auto rows = FindTextRows(TakeWindowShot(session, window, png).Crop(inside));
  for (TextRow& row : rows) {
    row.top += inside.y;
    row.bottom += inside.y;
  }
  return rows;
}

}  // namespace plumwick::e2e
