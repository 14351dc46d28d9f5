// Moves a top-level widget with the pointer.
#include "platform/qt/qt_window_drag.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QWindow>
#include <QtGlobal>

namespace plumwick {

QtWindowDrag::QtWindowDrag(QWidget& window) : window_(window) {
  QGuiApplication::instance()->installEventFilter(this);
}

QtWindowDrag::~QtWindowDrag() {
  if (moving_) window_.releaseMouse();
}

void QtWindowDrag::StartMove() {
  const Qt::MouseButtons held = QGuiApplication::mouseButtons();
  if (held == Qt::NoButton || moving_) return;
  // The window manager measures a system move from where the pointer is when the move starts. If
  // it has gone on since the press, the window would trail the pointer by that much for the whole
  // move, so then the move is made by hand from the press.
  // In a Wayland session the compositor runs a system move from its own pointer, which input
  // synthesized through XWayland (accessibility tools, XTest) never reaches; a move by hand
  // follows both that and a real mouse.
  QWindow* handle = window_.windowHandle();
  if (held == Qt::LeftButton && QCursor::pos() == press_ && handle != nullptr &&
      qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") && handle->startSystemMove()) {
    return;
  }
  moving_ = true;
  offset_ = press_ - window_.frameGeometry().topLeft();
  window_.grabMouse();
}

bool QtWindowDrag::eventFilter(QObject*, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
      // Seen here before the widget under the pointer gets it and asks for a move.
      press_ = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
      return false;
    case QEvent::MouseMove:
      if (!moving_) return false;
      window_.move(static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - offset_);
      return true;
    case QEvent::MouseButtonRelease:
      if (!moving_ || static_cast<QMouseEvent*>(event)->buttons() != Qt::NoButton) return false;
      Stop();
      return true;
    default:
      return false;
  }
}

void QtWindowDrag::Stop() {
  moving_ = false;
  window_.releaseMouse();
}

}  // namespace plumwick
