// The Messenger interface over the running sandbox client. Many Messenger objects may be connected
// to one client; a sign-out through any of them signs all of them out.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "clients/sandbox/sandbox_client.h"
#include "messenger/messenger.h"
#include "platform/event_pump.h"

namespace plumwick::sandbox {

class SandboxMessenger final : public messenger::Messenger {
 public:
  // The jobs wait on `wait`, which handles the client's events meanwhile.
  SandboxMessenger(std::shared_ptr<SandboxClient> client, EventWait& wait);

  void Signout() override;
  std::unique_ptr<messenger::Contact> GetContact(const std::string& signin_name,
                                                 const std::string& service_id) override;
  // Both dialogs open through the client's views and stay open after the call returns.
  std::unique_ptr<messenger::TypingJob> OptionsPages(std::int32_t window,
                                                     std::int32_t page) override;
  std::unique_ptr<messenger::TypingJob> AddContact(std::int32_t window,
                                                   const std::string& address) override;
  std::unique_ptr<messenger::TypingJob> InstantMessage(const std::string& contact) override;
  std::unique_ptr<messenger::ContactCollection> MyContacts() override;
  void MyStatus(std::int32_t status) override;
  std::string MyServiceId() override;

 private:
  std::shared_ptr<SandboxClient> client_;
  EventWait& wait_;
};

// Creates Messenger objects connected to the client.
messenger::MessengerFactory SandboxMessengerFactory(std::shared_ptr<SandboxClient> client);

}  // namespace plumwick::sandbox
