// The label on a QLabel: reports a press of any mouse button over it, with any modifier.
#pragma once

#include <QLabel>
#include <QObject>

#include "platform/label.h"

namespace plumwick {

class QtLabel final : public QObject, public Label {
  Q_OBJECT
 public:
  explicit QtLabel(QLabel& label) : label_(label) { label_.installEventFilter(this); }
  void OnMouseDown(std::function<void()> handler) override { on_mouse_down_ = std::move(handler); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLabel& label_;
  std::function<void()> on_mouse_down_;
};

}  // namespace plumwick
