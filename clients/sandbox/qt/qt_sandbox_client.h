// The sandbox client with its Qt windows: what plumwick-sandbox's main creates. It runs one
// in-memory client, shows the client window when asked, opens a conversation window for each
// contact the program asks for and the add-contact and options dialogs when asked, and hands out
// Messenger objects connected to that client. A QApplication must exist before it is created.
#pragma once

#include <map>
#include <memory>
#include <ostream>
#include <string>

#include "clients/qt/options_dialog.h"
#include "clients/sandbox/qt/qt_add_contact_dialog.h"
#include "clients/sandbox/qt/qt_client_window.h"
#include "clients/sandbox/qt/qt_conversation_window.h"
#include "clients/sandbox/sandbox_client.h"
#include "messenger/messenger.h"

namespace plumwick::sandbox {

class QtSandboxClient final : private SandboxView {
 public:
  // Effect lines go to `effects`, which must outlive this object and every Messenger it made.
  explicit QtSandboxClient(std::ostream& effects);
  ~QtSandboxClient() override;
  QtSandboxClient(const QtSandboxClient&) = delete;
  QtSandboxClient& operator=(const QtSandboxClient&) = delete;

  // Each call returns a new Messenger object connected to this one running client.
  messenger::MessengerFactory Factory();
  std::unique_ptr<messenger::Messenger> Connect(EventWait& wait);

  SandboxClient& client() { return *client_; }
  // The client's own window, made on first use; shown only by ShowWindow.
  QtClientWindow& client_window();
  // Shows the client window without taking the focus from the window that has it.
  void ShowWindow();
  // The conversation window opened for the contact (it may be hidden since), or nullptr.
  QtConversationWindow* conversation_window(const std::string& signin_name);
  std::size_t conversation_count() const { return conversations_.size(); }
  // The dialogs, or nullptr until first asked for; closing one only hides it.
  QtAddContactDialog* add_contact_dialog() { return add_contact_.get(); }
  clients::OptionsDialog* options_dialog() { return options_.get(); }

 private:
  void StatusChanged(std::int32_t) override {}
  void ContactsChanged() override {}
  void DisplayNameChanged(const std::string&) override {}
  void SignedOut() override;
  void OpenConversation(const std::string& signin_name) override;
  bool OpenAddContact(const std::string& address) override;
  bool OpenOptions() override;
  bool ShowsJobWindow(JobWindow window, const std::string& contact,
                      std::uint64_t id) const noexcept override;
  bool ShowsJobWindowAtAll(JobWindow window, const std::string& contact) const noexcept override;
  bool ShowAddedNotice() override;
  void BringBack(JobWindow window, const std::string& contact) override;
  std::string EntryText(const std::string& contact) const override;

  // This view's window of that kind (it may be hidden), or nullptr.
  QWidget* JobWidget(JobWindow window, const std::string& contact) const noexcept;

  std::shared_ptr<SandboxClient> client_;
  std::unique_ptr<QtClientWindow> client_window_;
  std::map<std::string, std::unique_ptr<QtConversationWindow>> conversations_;
  std::unique_ptr<QtAddContactDialog> add_contact_;
  std::unique_ptr<clients::OptionsDialog> options_;
};

}  // namespace plumwick::sandbox
