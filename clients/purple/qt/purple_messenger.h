// The Messenger interface over Pidgin's D-Bus interface. Everything is asked of Pidgin when it
// is needed, by the service's name, so a Pidgin that exits and starts again is found again. Where
// Pidgin only opens a window, the client readies it for the keys the program types next; where
// Pidgin offers no window (the display name), the client shows its own dialog.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "clients/purple/purple_bus.h"
#include "clients/purple/purple_desktop.h"
#include "clients/purple/qt/added_buddy_notice.h"
#include "clients/qt/options_dialog.h"
#include "messenger/messenger.h"

namespace plumwick::purple {

class PurpleMessenger final : public messenger::Messenger {
 public:
  // Connects to the session bus and requires Pidgin on it: Failure(kNoClient) otherwise. The
  // desktop parts must outlive this object. A QApplication must exist.
  explicit PurpleMessenger(const PurpleDesktop& desktop);
  ~PurpleMessenger() override;

  void Signout() override;
  std::unique_ptr<messenger::Contact> GetContact(const std::string& signin_name,
                                                 const std::string& service_id) override;
  // Opens this client's own options dialog.
  void OptionsPages(std::int32_t window, std::int32_t page) override;
  // Opens Pidgin's add-buddy dialog, ready for the Enter that adds the contact.
  void AddContact(std::int32_t window, const std::string& address) override;
  // Opens Pidgin's conversation window and presents it until it has the focus.
  std::unique_ptr<messenger::ConversationWindow> InstantMessage(
      const std::string& contact) override;
  std::unique_ptr<messenger::ContactCollection> MyContacts() override;
  void MyStatus(std::int32_t status) override;
  // Pidgin's protocol id of the account actions go through, e.g. "prpl-jabber".
  std::string MyServiceId() override;
  // A window of Pidgin's process (the one owning the service name now), or one of this client's
  // own dialogs and notices. Narrower while a job is under way: only the notice while the one
  // after an added contact is up, and only the conversation (or the add dialog) the last request
  // opened and saw take the focus, so that keys meant for it never land in Pidgin's buddy list.
  // While another window has the focus instead, that one is asked back now and then.
  bool OwnsWindow(const DesktopWindow& window) override;

  // This client's own windows, for tests.
  clients::OptionsDialog& options_dialog() { return *options_; }
  AddedBuddyNotice& added_notice() { return *added_; }

 private:
  void PresentUntilFocused(Handle conversation);
  // A new request: the windows of an earlier one are no longer where keys go.
  void StartRequest();
  // Asks for the window keys are meant for to be in front again, at most every so often.
  void BringBackKeysWindow();

  PurpleBus bus_;
  PurpleDesktop desktop_;
  std::unique_ptr<clients::OptionsDialog> options_;
  std::unique_ptr<AddedBuddyNotice> added_;
  // The Pidgin window the last request opened and saw take the focus; 0 when there is none.
  std::uint64_t keys_for_ = 0;
  // The conversation shown in that window, which Pidgin presents again; 0 for a dialog.
  Handle keys_for_conversation_ = 0;
  Clock::TimePoint last_bring_back_{};
};

// Creates PurpleMessenger objects on the desktop parts, which must outlive them.
messenger::MessengerFactory PurpleMessengerFactory(const PurpleDesktop& desktop);

}  // namespace plumwick::purple
