// Points and rectangles in screen pixels, as the harness hands them between windows, the
// pointer and screenshots.
#pragma once

#include <ostream>

namespace plumwick::e2e {

struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};

struct Rect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;

  bool operator==(const Rect&) const = default;
  Point Center() const { return {x + width / 2, y + height / 2}; }
  bool Contains(Point p) const {
    return p.x >= x && p.y >= y && p.x < x + width && p.y < y + height;
  }
};

inline std::ostream& operator<<(std::ostream& out, Point p) {
  return out << "(" << p.x << "," << p.y << ")";
}

inline std::ostream& operator<<(std::ostream& out, const Rect& r) {
  return out << r.width << "x" << r.height << "+" << r.x << "+" << r.y;
}

}  // namespace plumwick::e2e
