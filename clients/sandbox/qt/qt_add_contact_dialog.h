// The sandbox client's add-contact dialog: the address in an editable field, an Add and a Cancel
// button. Enter adds the contact, closes the dialog and shows a confirmation; when the client
// refuses (already in the list, empty), the dialog shows why and stays open, so Enter retries and
// Escape cancels. Nothing is added without Enter.
#pragma once

#include <string>

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "clients/qt/notice.h"
#include "clients/sandbox/sandbox_client.h"

namespace plumwick::sandbox {

class QtAddContactDialog final : public QDialog {
  Q_OBJECT
 public:
  explicit QtAddContactDialog(SandboxClient& client);

  // Shows the dialog filled with the address (also when it is already open), brings it to the
  // front and focuses the address field. A confirmation still up from an earlier add goes away.
  void Present(const std::string& address);

  QLineEdit& address() { return *address_; }
  // Why the last Enter added nothing; empty after a fresh Present.
  QString ErrorText() const { return error_->text(); }
  clients::Notice& confirmation() { return confirmation_; }
  // Shows the confirmation of the last contact added again when it was closed, in front; true when
  // it shows (false when no contact was added since the dialog was last presented).
  bool ShowConfirmationAgain();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Confirm();

  SandboxClient& client_;
  QLineEdit* address_;
  QPushButton* add_;
  QLabel* error_;
  // A window of its own, not a child: it stays up after the dialog has closed.
  clients::Notice confirmation_;
  QString confirmed_;  // the confirmation's text since the last add; empty before
};

}  // namespace plumwick::sandbox
