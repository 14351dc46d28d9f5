// A short notice from the sandbox client (a contact was added, the display name changed): one line
// of text and an OK button that has the keyboard focus, so the next Enter dismisses it.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QString>

namespace plumwick::sandbox {

class QtNotice final : public QDialog {
  Q_OBJECT
 public:
  explicit QtNotice(const QString& title);

  // Shows the message at `position`, brings the notice to the front and focuses its OK button.
  void Present(const QString& message, const QPoint& position);

  QString Message() const { return message_->text(); }
  QPushButton& ok() { return *ok_; }

 private:
  QLabel* message_;
  QPushButton* ok_;
};

}  // namespace plumwick::sandbox
