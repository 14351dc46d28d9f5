// The label on a QLabel.
#include "platform/qt/qt_label.h"

#include <QEvent>

namespace plumwick {

bool QtLabel::eventFilter(QObject* watched, QEvent* event) {
  // The second press of a double-click comes as its own event type; it is a press all the same.
  const bool press =
      event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
  if (watched == &label_ && press && on_mouse_down_) {
    on_mouse_down_();
    return true;
  }
  return false;
}

}  // namespace plumwick
