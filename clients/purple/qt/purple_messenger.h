// The Messenger interface over Pidgin's D-Bus interface. Everything is asked of Pidgin when it
// is needed, by the service's name, so a Pidgin that exits and starts again is found again. Where
// Pidgin only opens a window, the job the client returns readies it for the keys the program
// types next; where Pidgin offers no window (the display name), the client shows its own dialog.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "clients/purple/qt/purple_bus.h"
#include "clients/purple/qt/purple_contacts.h"
#include "clients/qt/options_dialog.h"
#include "messenger/messenger.h"
#include "platform/desktop.h"

namespace plumwick::purple {

class PurpleMessenger final : public messenger::Messenger {
 public:
  // Connects to the session bus and requires Pidgin on it: Failure(kNoClient) otherwise. The
  // desktop parts must outlive this object. A QApplication must exist.
  explicit PurpleMessenger(const ClientDesktop& desktop);
  ~PurpleMessenger() override;

  void Signout() override;
  std::unique_ptr<messenger::Contact> GetContact(const std::string& signin_name,
                                                 const std::string& service_id) override;
  // Opens this client's own options dialog.
  std::unique_ptr<messenger::TypingJob> OptionsPages(std::int32_t window,
                                                     std::int32_t page) override;
  // Opens Pidgin's add-buddy dialog (AddContactJob).
  std::unique_ptr<messenger::TypingJob> AddContact(std::int32_t window,
                                                   const std::string& address) override;
  // Opens Pidgin's conversation window and presents it until it has the focus (ConversationJob).
  std::unique_ptr<messenger::TypingJob> InstantMessage(const std::string& contact) override;
  std::unique_ptr<messenger::ContactCollection> MyContacts() override;
  void MyStatus(std::int32_t status) override;
  // Pidgin's protocol id of the account actions go through, e.g. "prpl-jabber".
  std::string MyServiceId() override;

  // This client's own options dialog, for tests.
  clients::OptionsDialog& options_dialog() { return *options_; }

 private:
  PurpleBus bus_;
  ListMemory list_memory_{bus_};
  ClientDesktop desktop_;
  std::unique_ptr<clients::OptionsDialog> options_;
};

// Creates PurpleMessenger objects on the desktop parts the window hands it.
messenger::MessengerFactory PurpleMessengerFactory();

}  // namespace plumwick::purple
