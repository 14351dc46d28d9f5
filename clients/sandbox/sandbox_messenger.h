// The Messenger interface over the running sandbox client. Many Messenger objects may be connected
// to one client; a sign-out through any of them signs all of them out.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "clients/sandbox/sandbox_client.h"
#include "messenger/messenger.h"

namespace plumwick::sandbox {

class SandboxMessenger final : public messenger::Messenger {
 public:
  explicit SandboxMessenger(std::shared_ptr<SandboxClient> client);

  void Signout() override;
  std::unique_ptr<messenger::Contact> GetContact(const std::string& signin_name,
                                                 const std::string& service_id) override;
  // Both dialogs open through the client's views and stay open after the call returns.
  void OptionsPages(std::int32_t window, std::int32_t page) override;
  void AddContact(std::int32_t window, const std::string& address) override;
  std::unique_ptr<messenger::ConversationWindow> InstantMessage(
      const std::string& contact) override;
  std::unique_ptr<messenger::ContactCollection> MyContacts() override;
  void MyStatus(std::int32_t status) override;
  std::string MyServiceId() override;
  // Decided by the window id alone: the client's windows live in the program's own process, so
  // the process id cannot tell them from the program's window.
  bool OwnsWindow(const DesktopWindow& window) override;
  // The client's windows take the focus on their own and confirm nothing: no preparation, no notes.
  void PrepareForKeys(const DesktopWindow&) override {}
  void KeysTyped(const DesktopWindow&) override {}

 private:
  std::shared_ptr<SandboxClient> client_;
};

// Creates Messenger objects connected to the client.
messenger::MessengerFactory SandboxMessengerFactory(std::shared_ptr<SandboxClient> client);

}  // namespace plumwick::sandbox
