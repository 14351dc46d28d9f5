// The sandbox client's own window. It sits at the top-left of the screen so that it is not hidden
// under the program's window, which is centred.
#include "clients/sandbox/qt/qt_client_window.h"

#include <QFormLayout>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

namespace plumwick::sandbox {
namespace {

QString FromUtf8(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

QtClientWindow::QtClientWindow(const SandboxClient& client)
    : client_(client),
      signin_name_(new QLabel(FromUtf8(client.signin_name()))),
      display_name_(new QLabel(FromUtf8(client.display_name()))),
      status_(new QLabel),
      contacts_(new QListWidget) {
  setWindowTitle(QStringLiteral("Sandbox messaging client"));
  signin_name_->setObjectName(QStringLiteral("signinName"));
  display_name_->setObjectName(QStringLiteral("displayName"));
  status_->setObjectName(QStringLiteral("status"));
  contacts_->setObjectName(QStringLiteral("contacts"));
  contacts_->setAccessibleName(QStringLiteral("Contacts"));
  contacts_->setFocusPolicy(Qt::NoFocus);

  auto* account = new QFormLayout;
  account->addRow(QStringLiteral("Signed in as:"), signin_name_);
  account->addRow(QStringLiteral("Display name:"), display_name_);
  account->addRow(QStringLiteral("Status:"), status_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(account);
  layout->addWidget(contacts_);

  StatusChanged(client.status());
  ShowContacts();
  resize(240, 300);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().topLeft() + QPoint(8, 8));
  }
}

QStringList QtClientWindow::ContactLines() const {
  QStringList lines;
  for (int row = 0; row < contacts_->count(); ++row) lines << contacts_->item(row)->text();
  return lines;
}

void QtClientWindow::StatusChanged(std::int32_t status) {
  status_->setText(FromUtf8(sandbox::StatusText(status)));
}

void QtClientWindow::ContactsChanged() {
  ShowContacts();
}

void QtClientWindow::DisplayNameChanged(const std::string& display_name) {
  display_name_->setText(FromUtf8(display_name));
}

void QtClientWindow::SignedOut() {
  status_->setText(QStringLiteral("Signed out"));
  // Signed out, the client knows nobody's presence.
  contacts_->clear();
}

void QtClientWindow::ShowContacts() {
  contacts_->clear();
  for (const ContactState& contact : client_.contacts()) {
    contacts_->addItem(FromUtf8(contact.signin_name) + QStringLiteral("  ") +
                       FromUtf8(sandbox::StatusText(contact.status)));
  }
}

}  // namespace plumwick::sandbox
