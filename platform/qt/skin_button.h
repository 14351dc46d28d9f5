// The window's push button, drawn from its design properties: a flat face (bcol) with a raised
// two-pixel edge and the caption (fcol) centred in the button's own font. While the pointer is
// over it or it is held down the face takes the accent colour (bcolo) and the caption fcolo; held
// down, the edge is sunken and the caption moves down and right by a pixel. Disabled, the caption
// is embossed in grey unless ngrey says to keep it; focusr draws a dotted focus rectangle; enab,
// check, value and hand set the flags and the pointer. The buttons carry no picture, so the
// picture's properties (micon, picpos, mcol, umcol) have nothing to act on. It stays a
// QPushButton, so clicks, keyboard focus and the enabled flag work as for any other button.
// Focused, it is pressed by Return and the keypad's Enter as by Space, as Linux desktops press
// their focused buttons: down while the key is held, one click as it is let go.
#pragma once

#include <QKeyEvent>
#include <QPushButton>

#include "platform/control_design.h"

namespace plumwick {

class SkinButton final : public QPushButton {
  Q_OBJECT
 public:
  SkinButton(const QString& caption, const ButtonDesign& design, QWidget* parent);

  const ButtonDesign& design() const { return design_; }
  // The face colour it shows now: the accent while the pointer is over it or it is held down.
  QColor FaceColour() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  // Hands Return or Enter on to the button as the Space key; false for any other key.
  bool PressAsSpace(QKeyEvent& event);

  ButtonDesign design_;
};

}  // namespace plumwick
