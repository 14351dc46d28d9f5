// The design's colours on Qt: fixed ones as they are, system ones from the application's palette.
#pragma once

#include <QColor>
#include <QPalette>

#include "platform/control_design.h"

namespace plumwick {

// The palette has no role for the application workspace; it keeps its usual desktop grey.
inline constexpr QRgb kAppWorkspace = 0x808080;

// The shade of a system colour in `system`: window is Base, window text is Text, highlight text
// is HighlightedText and menu text is WindowText.
QColor ToQColor(const Colour& colour, const QPalette& system);

// Gives a control the design's background and text colours: its Base and Text roles, which is
// where line edits, lists and the edit field of a combo box take them from.
void ApplyColours(QWidget& control, const Colour& back, const Colour& fore);

}  // namespace plumwick
