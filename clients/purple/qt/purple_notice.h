// A short notice of this client after a change it made in Pidgin (display name changed, contact
// added): one line of text and an OK button with the keyboard focus, so the next Enter
// dismisses it.
#pragma once

#include <cstdint>

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QString>

namespace plumwick::purple {

class PurpleNotice final : public QDialog {
  Q_OBJECT
 public:
  explicit PurpleNotice(const QString& title);

  // Shows the message, brings the notice to the front and focuses its OK button.
  void Present(const QString& message);
  // Whether the notice is shown as the desktop window `id`.
  bool Shows(std::uint64_t id) const;

  QString Message() const { return message_->text(); }

 private:
  QLabel* message_;
  QPushButton* ok_;
};

}  // namespace plumwick::purple
