// Paints the window's own surface.
//
// Lines are solid strokes without antialiasing, with flat ends: a wide line stops where the design
// says it does instead of reaching past its end points into its neighbours. Along its length a
// line from 16 to 248 covers the 232 pixels 16..247, exactly its length; across it is centred on
// the pixel row (or column) of its points, an even width putting its extra pixel above (or left).
// A rectangle's border lies wholly inside the rectangle, so the shape keeps its size.
#include "platform/qt/form_painter.h"

#include <string>

#include <QPainterPath>

#include "platform/failure.h"
#include "platform/qt/design_colours.h"

namespace plumwick {

FormPainter::FormPainter(const WindowDesign& design, const QPalette& system)
    : back_(ToQColor(design.back, system)) {
  const QString picture =
      QString::fromUtf8(design.picture.data(), static_cast<qsizetype>(design.picture.size()));
  if (!picture_.load(picture)) {
    throw Failure(error_code::kWindow,
                  "The window's picture " + picture.toStdString() + " could not be loaded");
  }
  for (const DecorationDesign& shape : design.decoration) {
    if (const auto* line = std::get_if<LineDesign>(&shape)) {
      QPen pen(ToQColor(line->colour, system), line->width, Qt::SolidLine, Qt::FlatCap,
               Qt::MiterJoin);
      shapes_.emplace_back(Stroke{QLineF(line->x1, line->y1, line->x2, line->y2), pen});
    } else {
      const auto& rect = std::get<RectangleDesign>(shape);
      const QRect outer(rect.left, rect.top, rect.width, rect.height);
      shapes_.emplace_back(
          Outline{outer, outer.adjusted(rect.border, rect.border, -rect.border, -rect.border),
                  ToQColor(rect.colour, system)});
    }
  }
}

void FormPainter::Paint(QPainter& painter) const {
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.drawPixmap(0, 0, picture_);
  for (const auto& shape : shapes_) {
    if (const auto* stroke = std::get_if<Stroke>(&shape)) {
      painter.setPen(stroke->pen);
      painter.drawLine(stroke->line);
    } else {
      const auto& outline = std::get<Outline>(shape);
      QPainterPath border;
      border.setFillRule(Qt::OddEvenFill);
      border.addRect(outline.outer);
      border.addRect(outline.inner);
      painter.fillPath(border, outline.colour);
    }
  }
}

}  // namespace plumwick
