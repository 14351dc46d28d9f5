// Moves a top-level widget with the pointer.
#include "platform/qt/qt_window_drag.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QWindow>

namespace plumwick {

void QtWindowDrag::StartMove() {
  const Qt::MouseButtons held = QGuiApplication::mouseButtons();
  if (held == Qt::NoButton || moving_) return;
  QWindow* handle = window_.windowHandle();
  if (held == Qt::LeftButton && handle != nullptr && handle->startSystemMove()) return;
  moving_ = true;
  offset_ = QCursor::pos() - window_.frameGeometry().topLeft();
  window_.grabMouse();
  QGuiApplication::instance()->installEventFilter(this);
}

bool QtWindowDrag::eventFilter(QObject*, QEvent* event) {
  if (!moving_) return false;
  if (event->type() == QEvent::MouseMove) {
    window_.move(static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - offset_);
    return true;
  }
  if (event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->buttons() == Qt::NoButton) {
    Stop();
    return true;
  }
  return false;
}

void QtWindowDrag::Stop() {
  moving_ = false;
  window_.releaseMouse();
  QGuiApplication::instance()->removeEventFilter(this);
}

}  // namespace plumwick
