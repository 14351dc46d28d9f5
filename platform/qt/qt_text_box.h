// The text box on a QLineEdit. A QLineEdit drops its selection when another control takes the
// keyboard focus, and a click on a button takes it: the box keeps the selection it had at that
// moment, so that an insertion made by that button's handler replaces what the user selected, as
// it would if the box still had the focus.
#pragma once

#include <QLineEdit>
#include <QObject>

#include "platform/text_box.h"

namespace plumwick {

class QtTextBox final : public QObject, public TextBox {
  Q_OBJECT
 public:
  explicit QtTextBox(QLineEdit& edit);
  std::string Text() const override;
  void SetText(const std::string& text) override;
  void ReplaceSelection(const std::string& text) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLineEdit& edit_;
  // The selection when the box last lost the focus, until it has the focus again or its text is
  // replaced; a start of -1: none.
  int kept_start_ = -1;
  int kept_length_ = 0;
};

}  // namespace plumwick
