// A short notice of a client after a change it made (a contact added): one line of text and an OK
// button with the keyboard focus, so the next Enter dismisses it. Dismissing it only hides it.
#pragma once

#include <cstdint>
#include <optional>

#include <QDialog>
#include <QLabel>
#include <QPoint>
#include <QPushButton>
#include <QString>

namespace plumwick::clients {

class Notice final : public QDialog {
  Q_OBJECT
 public:
  explicit Notice(const QString& title);

  // Shows the message (at `at` when given), brings the notice to the front and focuses its OK
  // button.
  void Present(const QString& message, std::optional<QPoint> at = std::nullopt);
  // Whether the notice is shown as the desktop window `id`.
  bool Shows(std::uint64_t id) const;

  QString Message() const { return message_->text(); }
  QPushButton& ok() { return *ok_; }

 private:
  QLabel* message_;
  QPushButton* ok_;
};

}  // namespace plumwick::clients
