// Adding a contact through Pidgin's add-buddy dialog, opened filled with an address. Pidgin opens
// it without the focus when it is not the active program (the window manager prevents focus
// stealing), and inside it puts the focus in the alias field, where Enter does nothing; in the
// address field above it Enter presses Add. So the job has the window manager activate the dialog
// while keys wait for it, and types Up first (GTK moves the focus between fields with the arrow
// keys): the program's Enter then adds the contact. The dialog closes without a word; only
// Pidgin's report that the server has the contact (AddedBuddyNotice) confirms it, through a notice
// that takes the next Enter.
#pragma once

#include <cstdint>
#include <string>

#include "clients/purple/qt/added_buddy_notice.h"
#include "clients/purple/qt/purple_bus.h"
#include "messenger/messenger.h"
#include "platform/desktop.h"

namespace plumwick::purple {

class AddContactJob final : public messenger::TypingJob {
 public:
  // Opens the dialog for the address on the account and waits until the window manager has
  // taken it on; Failure(kClientError) when it did not show within messenger::kFocusWait. The
  // address is one the account's protocol takes, in the form Pidgin keeps it; `server_roster` as
  // AddedBuddyNotice takes it.
  AddContactJob(PurpleBus& bus, const ClientDesktop& desktop, Handle account, std::string address,
                bool server_roster);

  // The job's steps, in order.
  enum class Step {
    kToAddressField,  // the Up that moves the focus to the address field
    kPressAdd,        // the Enter that presses Add
    kAdded,           // the server's confirmation of the contact
    kDismissNotice,   // the Enter that dismisses the notice
  };

  // The Up, until it went in.
  KeySequence OwnKeys(bool keys_follow) override;
  // Asks for the dialog, then the notice, back while another window has the focus; shows again a
  // notice the user closed before the program's Enter reached it.
  void PrepareForKeys(const DesktopWindow& focused) override;
  // The dialog, with the X server's input focus too, for the Up and the one Enter that adds the
  // contact; after it, only the notice.
  bool TakesKeys(const DesktopWindow& window) override;
  // Moves on by the keys that went in: the Up, then the Enter that went into the dialog.
  void KeysTyped(const DesktopWindow& window, const KeySequence& keys) override;
  // After the dialog's Enter, waits for the server's confirmation; when the contact was not added
  // (the server refused it, or did not get it), throws Failure(kClientError) instead of letting
  // the job pass for done.
  void AwaitConfirmation() override;

  Step step() const { return step_; }
  AddedBuddyNotice& notice() { return notice_; }

 private:
  const ClientDesktop desktop_;
  const std::string address_;
  AddedBuddyNotice notice_;
  std::uint64_t dialog_ = 0;
  Step step_ = Step::kToAddressField;
  Throttle bring_back_;
};

}  // namespace plumwick::purple
