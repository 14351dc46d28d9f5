// The Messenger interface over Pidgin's D-Bus interface. Everything is asked of Pidgin when it
// is needed, by the service's name, so a Pidgin that exits and starts again is found again. Where
// Pidgin only opens a window, the client readies it for the keys the program types next; where
// Pidgin offers no window (the display name), the client shows its own dialog.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "clients/purple/qt/added_buddy_notice.h"
#include "clients/purple/qt/purple_bus.h"
#include "clients/purple/qt/sent_message_watch.h"
#include "clients/purple/typed_messages.h"
#include "clients/qt/options_dialog.h"
#include "messenger/messenger.h"
#include "platform/desktop.h"

namespace plumwick::purple {

class PurpleMessenger final : public messenger::Messenger {
 public:
  // Connects to the session bus and requires Pidgin on it: Failure(kNoClient) otherwise. The
  // desktop parts must outlive this object. A QApplication must exist.
  explicit PurpleMessenger(const Desktop& desktop);
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
  // opened and saw take the focus, so that keys meant for it never land in Pidgin's buddy list. A
  // conversation counts once Pidgin says it has the focus as well, and the add dialog for one
  // Enter only.
  bool OwnsWindow(const DesktopWindow& window) override;
  // While another window has the focus, asks the one keys are meant for back now and then; shows
  // again a notice the user closed before the program's Enter reached it; and when no notice
  // came after the add dialog's Enter because the contact was not added, throws
  // Failure(kClientError) instead of letting the job pass for done. Likewise, once a conversation
  // has had its text and the Enter that sends it, the next keys wait until Pidgin reports the
  // message sent to that contact, and without the report the job fails.
  void PrepareForKeys(const DesktopWindow& focused) override;
  // Notes the add dialog's Enter, and the window a conversation took the keys in and the messages
  // they sent there.
  void KeysTyped(const DesktopWindow& window, const std::string& keys) override;

  // This client's own windows, for tests.
  clients::OptionsDialog& options_dialog() { return *options_; }
  AddedBuddyNotice& added_notice() { return *added_; }
  // What Pidgin reported sent in the conversation the last request opened, as plain text.
  const std::vector<std::string>& sent_messages() const { return sent_->Sent(); }

 private:
  void PresentUntilFocused(Handle conversation);
  // A new request: the windows of an earlier one are no longer where keys go.
  void StartRequest();
  // Asks for the window keys are meant for to be in front again, at most every so often.
  void BringBackKeysWindow();
  // Whether the window is the conversation the last request opened.
  bool IsKeysConversation(const DesktopWindow& window);
  // Whether keys typed into the conversation sent messages that Pidgin has not reported sent to
  // the contact yet.
  bool AwaitingSentReport() const;
  // Ends the job with Failure(kClientError) when Pidgin reported sending another text than the
  // keys typed.
  void FailWhenSentDiffers();
  // Once Pidgin has had its time to confirm the Enter typed at `since`, ends the job with
  // Failure(kClientError).
  void FailWhenUnconfirmed(Clock::TimePoint since, const std::string& description);

  PurpleBus bus_;
  Desktop desktop_;
  std::unique_ptr<clients::OptionsDialog> options_;
  std::unique_ptr<AddedBuddyNotice> added_;
  std::unique_ptr<SentMessageWatch> sent_;
  // The conversation the last request opened, which Pidgin presents again, and the window it
  // was seen to take the focus in; 0 when there is none (yet).
  Handle keys_for_conversation_ = 0;
  std::uint64_t keys_for_ = 0;
  // The add-contact dialog the last request opened and readied; 0 when there is none.
  std::uint64_t keys_for_dialog_ = 0;
  // When keys (the Enter that adds) were let into that dialog, and the address it adds.
  std::optional<Clock::TimePoint> enter_typed_at_;
  std::string adding_;
  // The contact of the conversation the last request opened, the messages the keys typed there
  // sent, and when the last Enter that sent one went in.
  std::string messaging_;
  TypedMessages typed_;
  std::optional<Clock::TimePoint> send_typed_at_;
  Clock::TimePoint last_bring_back_{};
};

// Creates PurpleMessenger objects on the desktop parts the window hands it.
messenger::MessengerFactory PurpleMessengerFactory();

}  // namespace plumwick::purple
