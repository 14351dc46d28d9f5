// The sandbox client's own window: the account (sign-in name, display name, status) and every
// contact with its state, redrawn on each change so a person sees every effect.
#pragma once

#include <QLabel>
#include <QListWidget>
#include <QWidget>

#include "clients/sandbox/sandbox_client.h"

namespace plumwick::sandbox {

class QtClientWindow final : public QWidget, public SandboxView {
  Q_OBJECT
 public:
  // Reads the client; the caller attaches the window to it as a view.
  explicit QtClientWindow(const SandboxClient& client);

  // The texts shown, for tests: the status reads "Online", ... or "Signed out"; each contact
  // line reads "alice@example.com  Online".
  QString SigninNameText() const { return signin_name_->text(); }
  QString DisplayNameText() const { return display_name_->text(); }
  QString StatusText() const { return status_->text(); }
  QStringList ContactLines() const;

  void StatusChanged(std::int32_t status) override;
  void ContactsChanged() override;
  void DisplayNameChanged(const std::string& display_name) override;
  void SignedOut() override;
  void OpenConversation(const std::string&) override {}
  bool OpenAddContact(const std::string&) override { return false; }
  bool OpenOptions() override { return false; }

 private:
  void ShowContacts();

  const SandboxClient& client_;
  QLabel* signin_name_;
  QLabel* display_name_;
  QLabel* status_;
  QListWidget* contacts_;
};

}  // namespace plumwick::sandbox
