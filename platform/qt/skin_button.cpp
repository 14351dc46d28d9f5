// The window's push button, drawn from its design properties.
#include "platform/qt/skin_button.h"

#include <QPainter>

namespace plumwick {

namespace {

QColor ToQColor(Rgb rgb) {
  return QColor(QRgb{rgb.value});
}

// Two-pixel bevel: the outer ring in the strong shades, the inner one in the soft shades.
void DrawBevel(QPainter& painter, QRect rect, bool sunken, const QColor& face) {
  const QColor light = face.lighter(150);
  const QColor dark = face.darker(150);
  const QColor darkest = Qt::black;
  const auto ring = [&](const QRect& r, const QColor& top_left, const QColor& bottom_right) {
    painter.setPen(top_left);
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(bottom_right);
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
  };
  if (sunken) {
    ring(rect, darkest, light);
    ring(rect.adjusted(1, 1, -1, -1), dark, face);
  } else {
    ring(rect, light, darkest);
    ring(rect.adjusted(1, 1, -1, -1), face, dark);
  }
}

}  // namespace

SkinButton::SkinButton(const QString& caption, const ButtonDesign& design, QWidget* parent)
    : QPushButton(caption, parent), design_(design) {
  // Repaint on entering and leaving, whatever the style asks for.
  setAttribute(Qt::WA_Hover);
  setCheckable(design_.check);
  setChecked(design_.value);
  setEnabled(design_.enab);
  if (design_.hand) setCursor(Qt::PointingHandCursor);
}

QColor SkinButton::FaceColour() const {
  const bool lit = isEnabled() && (underMouse() || isDown() || isChecked());
  return ToQColor(lit ? design_.bcolo : design_.bcol);
}

void SkinButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QColor face = FaceColour();
  const bool sunken = isDown() || isChecked();
  painter.fillRect(rect(), face);
  DrawBevel(painter, rect(), sunken, face);

  QRect caption = rect().adjusted(2, 2, -2, -2);
  if (sunken) caption.translate(1, 1);
  painter.setFont(font());
  if (isEnabled() || design_.ngrey) {
    painter.setPen(ToQColor(underMouse() ? design_.fcolo : design_.fcol));
    painter.drawText(caption, Qt::AlignCenter, text());
  } else {
    const QColor grey = ToQColor(design_.bcol);
    painter.setPen(grey.lighter(150));
    painter.drawText(caption.translated(1, 1), Qt::AlignCenter, text());
    painter.setPen(grey.darker(160));
    painter.drawText(caption, Qt::AlignCenter, text());
  }

  if (design_.focusr && hasFocus()) {
    painter.setPen(QPen(ToQColor(design_.fcol), 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(3, 3, -4, -4));
  }
}

// QPushButton clicks on Return only as a dialog's default button, at once and again on every
// repeat of a held key; as Space, the key takes the Space key's path: down on the press, one click
// on the release.
bool SkinButton::PressAsSpace(QKeyEvent& event) {
  if (event.key() != Qt::Key_Return && event.key() != Qt::Key_Enter) return false;
  // The keypad's Enter comes with the keypad modifier, which Space never has.
  QKeyEvent space(event.type(), Qt::Key_Space, event.modifiers() & ~Qt::KeypadModifier,
                  QStringLiteral(" "), event.isAutoRepeat(), event.count());
  if (event.type() == QEvent::KeyPress) {
    QPushButton::keyPressEvent(&space);
  } else {
    QPushButton::keyReleaseEvent(&space);
  }
  event.setAccepted(space.isAccepted());
  return true;
}

void SkinButton::keyPressEvent(QKeyEvent* event) {
  if (!PressAsSpace(*event)) QPushButton::keyPressEvent(event);
}

void SkinButton::keyReleaseEvent(QKeyEvent* event) {
  if (!PressAsSpace(*event)) QPushButton::keyReleaseEvent(event);
}

}  // namespace plumwick
