// Finds the lines of text drawn in a plain-coloured area of a screenshot (the rows of a list,
// say): a row is a run of pixel rows that hold anything but the background colour.
#pragma once

#include <vector>

#include "tests/e2e/harness/screenshot.h"

namespace plumwick::e2e {

struct TextRow {
  int top = 0;     // first pixel row with ink, relative to the area
  int bottom = 0;  // last pixel row with ink
  int Middle() const { return (top + bottom) / 2; }
};

// The background is the area's most common colour. An area without ink gives no rows.
std::vector<TextRow> FindTextRows(const Image& area);

// The rows of text a list box at `list` in the window's client area shows now, relative to the
// client area; the window's picture is kept as `png`. Only the list's inside counts: not its
// frame, and not the right edge where a scroll bar would go.
std::vector<TextRow> ListRows(const DesktopSession& session, unsigned long window, const Rect& list,
                              const std::filesystem::path& png);

}  // namespace plumwick::e2e
