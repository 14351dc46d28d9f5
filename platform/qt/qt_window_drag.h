// Moves a top-level widget with the pointer. With the left button the window manager runs the move
// (QWindow::startSystemMove). Window managers end a system move only on a left-button release, and
// without a window manager there is none, so other buttons and that case are moved here by hand,
// following the pointer until the held buttons are released.
#pragma once

#include <QObject>
#include <QPoint>
#include <QWidget>

#include "platform/window_drag.h"

namespace plumwick {

class QtWindowDrag final : public QObject, public WindowDrag {
  Q_OBJECT
 public:
  explicit QtWindowDrag(QWidget& window) : window_(window) {}
  void StartMove() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Stop();

  QWidget& window_;
  bool moving_ = false;
  QPoint offset_;  // from the window's top-left to the pointer
};

}  // namespace plumwick
