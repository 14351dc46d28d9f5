// The text box on a QLineEdit.
#pragma once

#include <QLineEdit>

#include "platform/text_box.h"

namespace plumwick {

class QtTextBox final : public TextBox {
 public:
  explicit QtTextBox(QLineEdit& edit) : edit_(edit) {}
  std::string Text() const override;
  void SetText(const std::string& text) override;
  void ReplaceSelection(const std::string& text) override;

 private:
  QLineEdit& edit_;
};

}  // namespace plumwick
