// The button on a QAbstractButton.
#pragma once

#include <QAbstractButton>

#include "platform/button.h"

namespace plumwick {

class QtButton final : public Button {
 public:
  explicit QtButton(QAbstractButton& button) : button_(button) {}
  void SetEnabled(bool enabled) override { button_.setEnabled(enabled); }
  void OnClick(std::function<void()> handler) override;

 private:
  QAbstractButton& button_;
};

}  // namespace plumwick
