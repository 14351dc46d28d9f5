// The add-contact dialog of the sandbox client.
#include "clients/sandbox/qt/qt_add_contact_dialog.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/failure.h"

namespace plumwick::sandbox {

QtAddContactDialog::QtAddContactDialog(SandboxClient& client)
    : client_(client),
      address_(new QLineEdit),
      add_(nullptr),
      error_(new QLabel),
      confirmation_(QStringLiteral("Contact added")) {
  setWindowTitle(QStringLiteral("Add a contact"));
  address_->setObjectName(QStringLiteral("address"));
  address_->setAccessibleName(QStringLiteral("Contact address"));
  error_->setObjectName(QStringLiteral("error"));
  error_->setWordWrap(true);
  error_->hide();
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  add_ = buttons->button(QDialogButtonBox::Ok);
  add_->setText(QStringLiteral("Add"));
  add_->setDefault(true);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Address of the contact to add:")));
  layout->addWidget(address_);
  layout->addWidget(error_);
  layout->addWidget(buttons);
  setFocusProxy(address_);
  resize(320, sizeHint().height());
  connect(buttons, &QDialogButtonBox::accepted, this, &QtAddContactDialog::Confirm);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void QtAddContactDialog::Present(const std::string& address) {
  confirmation_.hide();
  confirmed_.clear();
  address_->setText(QString::fromStdString(address));
  error_->clear();
  error_->hide();
  show();
  raise();
  activateWindow();
  address_->setFocus();
}

void QtAddContactDialog::keyPressEvent(QKeyEvent* event) {
  // Enter in the address field always adds. Qt would press whichever button it counts as the
  // default, and a Cancel button that got the focus while the dialog was hidden keeps that role
  // after it is shown again (under xfwm4 with Qt's GTK look the program's Enter cancelled).
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    add_->click();
    return;
  }
  QDialog::keyPressEvent(event);
}

void QtAddContactDialog::Confirm() {
  const QString address = address_->text();
  try {
    client_.AddContact(address.toStdString());
  } catch (const Failure& failure) {
    // This dialog's own event handler: a failure must not cross Qt's event loop, so it is shown
    // here and the dialog stays open with the address to correct.
    error_->setText(QString::fromStdString(failure.description()));
    error_->show();
    address_->setFocus();
    return;
  }
  accept();
  confirmed_ = address + QStringLiteral(" was added to your contacts.");
  confirmation_.Present(confirmed_, pos());
}

bool QtAddContactDialog::ShowConfirmationAgain() {
  if (confirmed_.isEmpty()) return false;
  if (!confirmation_.isVisible()) confirmation_.Present(confirmed_);
  return true;
}

}  // namespace plumwick::sandbox
