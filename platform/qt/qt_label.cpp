// The label on a QLabel.
#include "platform/qt/qt_label.h"

#include <QEvent>

namespace plumwick {

bool QtLabel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &label_ && event->type() == QEvent::MouseButtonPress && on_mouse_down_) {
    on_mouse_down_();
    return true;
  }
  return false;
}

}  // namespace plumwick
