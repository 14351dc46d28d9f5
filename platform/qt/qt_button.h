// The button on a QAbstractButton.
#pragma once

#include <QAbstractButton>

#include "platform/button.h"

namespace plumwick {

class QtButton final : public Button {
 public:
  explicit QtButton(QAbstractButton& button) : button_(button) {}
  std::string Caption() const override { return button_.text().toStdString(); }
  void SetEnabled(bool enabled) override { button_.setEnabled(enabled); }
  bool Enabled() const override { return button_.isEnabled(); }
  void OnClick(std::function<void()> handler) override;

 private:
  QAbstractButton& button_;
};

}  // namespace plumwick
