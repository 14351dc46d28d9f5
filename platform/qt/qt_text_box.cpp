// The text box on a QLineEdit.
#include "platform/qt/qt_text_box.h"

namespace plumwick {

std::string QtTextBox::Text() const {
  return edit_.text().toStdString();
}

void QtTextBox::SetText(const std::string& text) {
  edit_.setText(QString::fromStdString(text));
  edit_.setCursorPosition(0);
}

void QtTextBox::ReplaceSelection(const std::string& text) {
  // QLineEdit::insert replaces the selection and leaves the caret after the inserted text.
  edit_.insert(QString::fromStdString(text));
}

}  // namespace plumwick
