// The Messenger interface over the running sandbox client. Many Messenger objects may be connected
// to one client; a sign-out through any of them signs all of them out.
#pragma once

#include <chrono>
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
  // the process id cannot tell them from the program's window. While a job is under way (the last
  // conversation or dialog asked for), only its window counts; after the add-contact dialog's
  // Enter, only the notice that confirms the contact was added.
  bool OwnsWindow(const DesktopWindow& window) override;
  // Confirms like a real client: after the add-contact dialog's Enter, the next keys wait until
  // the dialog has added the contact, and fail with the client's reason when it refused. A notice
  // the user closed before the Enter meant for it comes back for that Enter, so a contact that was
  // added is never reported as a failure. A click on the program's window during the job (a quick
  // second click on its button, say) took the focus from the job's window: that window is brought
  // back. From another program's window it is not: the user went there.
  void PrepareForKeys(const DesktopWindow& focused) override;
  void KeysTyped(const DesktopWindow& window, const std::string& keys) override;

 private:
  enum class Job { kNone, kConversation, kAddContact, kOptions };
  // The window the keys of the job under way go to now.
  JobWindow KeysWindow() const;

  std::shared_ptr<SandboxClient> client_;
  Job job_ = Job::kNone;
  std::string contact_;  // the conversation's contact
  bool dialog_enter_typed_ = false;
  std::chrono::steady_clock::time_point enter_typed_at_{};
  std::chrono::steady_clock::time_point last_bring_back_{};
};

// Creates Messenger objects connected to the client.
messenger::MessengerFactory SandboxMessengerFactory(std::shared_ptr<SandboxClient> client);

}  // namespace plumwick::sandbox
