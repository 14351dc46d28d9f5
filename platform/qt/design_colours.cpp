// The design's colours on Qt.
#include "platform/qt/design_colours.h"

#include <QApplication>
#include <QWidget>

namespace plumwick {

namespace {

QColor SystemShade(SystemColour colour, const QPalette& system) {
  switch (colour) {
    case SystemColour::kWindow:
      return system.color(QPalette::Base);
    case SystemColour::kWindowText:
      return system.color(QPalette::Text);
    case SystemColour::kHighlightText:
      return system.color(QPalette::HighlightedText);
    case SystemColour::kMenuText:
      return system.color(QPalette::WindowText);
    case SystemColour::kAppWorkspace:
      break;
  }
  return QColor(kAppWorkspace);
}

}  // namespace

QColor ToQColor(const Colour& colour, const QPalette& system) {
  if (const auto* rgb = std::get_if<Rgb>(&colour)) return QColor(QRgb{rgb->value});
  return SystemShade(std::get<SystemColour>(colour), system);
}

void ApplyColours(QWidget& control, const Colour& back, const Colour& fore) {
  const QPalette system = QApplication::palette();
  QPalette palette = control.palette();
  palette.setColor(QPalette::Base, ToQColor(back, system));
  palette.setColor(QPalette::Text, ToQColor(fore, system));
  control.setPalette(palette);
}

}  // namespace plumwick
