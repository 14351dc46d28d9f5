// The text box on a QLineEdit.
#include "platform/qt/qt_text_box.h"

#include <QEvent>

namespace plumwick {

QtTextBox::QtTextBox(QLineEdit& edit) : edit_(edit) {
  // Runs before the line edit's own focus-out handling, which drops the selection.
  edit_.installEventFilter(this);
}

std::string QtTextBox::Text() const {
  return edit_.text().toStdString();
}

void QtTextBox::SetText(const std::string& text) {
  kept_start_ = -1;
  edit_.setText(QString::fromStdString(text));
  edit_.setCursorPosition(0);
}

void QtTextBox::ReplaceSelection(const std::string& text) {
  const int start = kept_start_;
  kept_start_ = -1;
  if (!edit_.hasFocus() && start >= 0 && start + kept_length_ <= edit_.text().size()) {
    edit_.setSelection(start, kept_length_);
  }
  // QLineEdit::insert replaces the selection and leaves the caret after the inserted text.
  edit_.insert(QString::fromStdString(text));
}

bool QtTextBox::eventFilter(QObject* watched, QEvent* event) {
  if (watched != &edit_) return false;
  if (event->type() == QEvent::FocusOut) {
    kept_start_ = edit_.hasSelectedText() ? edit_.selectionStart() : -1;
    kept_length_ = edit_.selectionLength();
  } else if (event->type() == QEvent::FocusIn) {
    kept_start_ = -1;  // the box's own selection counts again
  }
  return false;
}

}  // namespace plumwick
