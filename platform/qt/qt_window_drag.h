// Moves a top-level widget with the pointer. With the left button the window manager runs the move
// (QWindow::startSystemMove). Window managers end a system move only on a left-button release,
// without a window manager there is none, and a Wayland compositor's move never sees input
// synthesized through XWayland, so other buttons and those cases are moved here by hand,
// following the pointer until the held buttons are released; so is a left-button move whose
// pointer has already moved on from the press (see StartMove).
#pragma once

#include <QObject>
#include <QPoint>
#include <QWidget>

#include "platform/window_drag.h"

namespace plumwick {

class QtWindowDrag final : public QObject, public WindowDrag {
  Q_OBJECT
 public:
  explicit QtWindowDrag(QWidget& window);
  ~QtWindowDrag() override;
  void StartMove() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Stop();

  QWidget& window_;
  bool moving_ = false;
  // Where the last press happened. By the time the press is handled the pointer may have gone on
  // (the desktop queues motion behind it), so the move is measured from here, not from wherever
  // the pointer is now.
  QPoint press_;
  QPoint offset_;  // from the window's top-left to the pointer
};

}  // namespace plumwick
