// The button on a QAbstractButton. Disabled while it has the keyboard focus (its own click's
// handler disables it, say), it hands the focus back to the control the user worked in.
#pragma once

#include <QAbstractButton>

#include "platform/button.h"
#include "platform/qt/working_control.h"

namespace plumwick {

class QtButton final : public Button {
 public:
  explicit QtButton(QAbstractButton& button) : button_(button), working_(*button.window()) {}
  void SetEnabled(bool enabled) override;
  void OnClick(std::function<void()> handler) override;

 private:
  QAbstractButton& button_;
  WorkingControl working_;
};

}  // namespace plumwick
