// Paints the window's own surface: the background colour, the picture unscaled at the top-left
// corner and the decoration over it, in the design's order. The controls are child widgets and
// paint themselves above all of this.
#pragma once

#include <variant>
#include <vector>

#include <QColor>
#include <QLineF>
#include <QPainter>
#include <QPalette>
#include <QPen>
#include <QPixmap>
#include <QRect>

#include "platform/control_design.h"

namespace plumwick {

class FormPainter {
 public:
  // Loads the picture and resolves the decoration's colours against `system` once, so painting
  // does no lookups. Throws Failure when the picture cannot be loaded.
  FormPainter(const WindowDesign& design, const QPalette& system);

  QColor Background() const { return back_; }
  void Paint(QPainter& painter) const;

 private:
  struct Stroke {
    QLineF line;
    QPen pen;
  };
  struct Outline {
    QRect outer, inner;
    QColor colour;
  };

  QColor back_;
  QPixmap picture_;
  std::vector<std::variant<Stroke, Outline>> shapes_;
};

}  // namespace plumwick
