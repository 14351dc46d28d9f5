// The icon: a plum-coloured speech bubble with a stem and a leaf, three dots of a message being
// typed inside. Shapes are sampled 4 x 4 per pixel and a pixel is opaque when most of it is
// covered, since the mask has no partial transparency to smooth the edge with.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "artwork.h"

namespace artwork {
namespace {

constexpr int kSize = 32;
constexpr Rgb kPlumLit{0xC2, 0x4E, 0xA4}, kPlumShaded{0x62, 0x16, 0x56};
constexpr Rgb kPlumOutline{0x3E, 0x0C, 0x32}, kGloss{0xE6, 0x9A, 0xD2};
constexpr Rgb kLeafLit{0x8C, 0xD6, 0x5A}, kLeafShaded{0x3A, 0x8C, 0x30};
constexpr Rgb kLeafOutline{0x1E, 0x52, 0x1C}, kStemColour{0x5A, 0x36, 0x1E};
constexpr Rgb kDotColour{0xFF, 0xFF, 0xFF}, kDotShaded{0xF2, 0xE0, 0xEE};

enum class Part { kNone, kBubble, kLeaf, kStem, kDot };

bool InEllipse(double x, double y, double cx, double cy, double rx, double ry, double degrees) {
  const double a = degrees * std::numbers::pi / 180;
  const double u = (x - cx) * std::cos(a) + (y - cy) * std::sin(a);
  const double v = -(x - cx) * std::sin(a) + (y - cy) * std::cos(a);
  return (u * u) / (rx * rx) + (v * v) / (ry * ry) <= 1;
}

// Left of the directed edge (ax, ay) -> (bx, by) in screen coordinates (y down).
double Side(double x, double y, double ax, double ay, double bx, double by) {
  return (bx - ax) * (y - ay) - (by - ay) * (x - ax);
}

bool InTail(double x, double y) {
  // Triangle from the bubble's lower left out to a point near the icon's bottom-left corner.
  const double s1 = Side(x, y, 5, 22, 13.5, 27);
  const double s2 = Side(x, y, 13.5, 27, 3, 30.8);
  const double s3 = Side(x, y, 3, 30.8, 5, 22);
  return (s1 >= 0 && s2 >= 0 && s3 >= 0) || (s1 <= 0 && s2 <= 0 && s3 <= 0);
}

// A leaf: the lens where two equal circles overlap, pointed at both ends a and b.
bool InLens(double x, double y, double ax, double ay, double bx, double by, double width) {
  const double half = std::hypot(bx - ax, by - ay) / 2;
  const double d = (half * half - width * width / 4) / width;  // circle centres off the axis
  const double r = d + width / 2;
  const double nx = -(by - ay) / (2 * half), ny = (bx - ax) / (2 * half);
  const double mx = (ax + bx) / 2, my = (ay + by) / 2;
  return std::hypot(x - mx - d * nx, y - my - d * ny) <= r &&
         std::hypot(x - mx + d * nx, y - my + d * ny) <= r;
}

bool NearSegment(double x, double y, double ax, double ay, double bx, double by, double r) {
  const double dx = bx - ax, dy = by - ay;
  const double t = std::clamp(((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
  return std::hypot(x - ax - t * dx, y - ay - t * dy) <= r;
}

constexpr double kCx = 16, kCy = 16.5, kRx = 14.2, kRy = 11.2;  // the bubble

// What is at a point, front to back.
Part PartAt(double x, double y) {
  const bool bubble = InEllipse(x, y, kCx, kCy, kRx, kRy, 0) || InTail(x, y);
  for (double dot_x : {10.0, 16.0, 22.0})
    if (bubble && std::hypot(x - dot_x, y - 17) <= 1.75) return Part::kDot;
  if (NearSegment(x, y, 16.2, 6.5, 17.6, 1.6, 0.85)) return Part::kStem;
  if (InLens(x, y, 17.8, 5.2, 29.6, 0.9, 5.4)) return Part::kLeaf;
  return bubble ? Part::kBubble : Part::kNone;
}

std::vector<Part> Sample() {
  std::vector<Part> parts(kSize * kSize, Part::kNone);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      int count[5] = {};
      for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 4; ++i)
          ++count[static_cast<int>(PartAt(x + (i + 0.5) / 4, y + (j + 0.5) / 4))];
      if (count[0] > 8) continue;
      // The part covering most of the pixel shows there.
      int best = 1;
      for (int p = 2; p < 5; ++p)
        if (count[p] > count[best]) best = p;
      parts[static_cast<std::size_t>(y * kSize + x)] = static_cast<Part>(best);
    }
  }
  return parts;
}

Rgb Mix(Rgb a, Rgb b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  auto m = [t](std::uint8_t p, std::uint8_t q) {
    return static_cast<std::uint8_t>(p + (q - p) * t + 0.5);
  };
  return {m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
}

// Light from the top left, in a few flat steps: a small palette and a crisp look at 32 pixels.
double Lighting(int x, int y, double cx, double cy, double reach) {
  const double d = ((x + 0.5 - cx) * 0.6 + (y + 0.5 - cy) * 0.8) / reach;
  return std::round((0.5 + 0.5 * d) * 6) / 6;
}

}  // namespace

Icon PaintIcon() {
  const std::vector<Part> parts = Sample();
  auto part_at = [&](int x, int y) {
    if (x < 0 || y < 0 || x >= kSize || y >= kSize) return Part::kNone;
    return parts[static_cast<std::size_t>(y * kSize + x)];
  };
  auto touches = [&](int x, int y, auto&& pred) {
    return pred(part_at(x - 1, y)) || pred(part_at(x + 1, y)) || pred(part_at(x, y - 1)) ||
           pred(part_at(x, y + 1));
  };

  Icon icon{Image(kSize, kSize, {0, 0, 0}), std::vector<bool>(kSize * kSize, false)};
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const Part part = part_at(x, y);
      if (part == Part::kNone) continue;
      icon.opaque[static_cast<std::size_t>(y * kSize + x)] = true;
      Rgb& p = icon.colours.at(x, y);
      switch (part) {
        case Part::kBubble: {
          // The outline keeps the shape readable on light and dark panels alike.
          if (touches(x, y, [](Part q) { return q == Part::kNone; })) {
            p = kPlumOutline;
          } else if (InEllipse(x + 0.5, y + 0.5, 9.5, 10, 3.4, 1.6, -30)) {
            p = kGloss;
          } else {
            p = Mix(kPlumLit, kPlumShaded, Lighting(x, y, kCx, kCy, kRx));
          }
          break;
        }
        case Part::kLeaf:
          p = touches(x, y, [](Part q) { return q != Part::kLeaf; })
                  ? kLeafOutline
                  : Mix(kLeafLit, kLeafShaded, Lighting(x, y, 23.7, 3, 5));
          break;
        case Part::kStem:
          p = kStemColour;
          break;
        case Part::kDot:
          // A touch of shade on the lower right edge rounds the dots off.
          p = touches(x, y, [](Part q) { return q == Part::kBubble; }) &&
                      part_at(x + 1, y + 1) == Part::kBubble
                  ? kDotShaded
                  : kDotColour;
          break;
        case Part::kNone:
          break;
      }
    }
  }
  return icon;
}

}  // namespace artwork
