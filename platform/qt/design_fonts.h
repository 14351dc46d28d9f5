// The design's fonts on Qt. The design names fonts this desktop does not have; each maps to an
// installed font of about the same look and metrics.
#pragma once

#include <QFont>
#include <QStringList>

#include "platform/control_design.h"

namespace plumwick {

// The installed families that stand in for a design family, best first; empty for a family the
// design does not use.
QStringList DesignFontSubstitutes(const QString& family);

// Registers the stand-ins with Qt's font matching. Safe to call more than once.
void MapDesignFonts();

// The font as a pixel size, so text keeps its place in the pixel layout on any screen.
QFont ToQFont(const FontDesign& font);

}  // namespace plumwick
