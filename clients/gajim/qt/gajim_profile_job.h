// Changing the user's nickname in Gajim's Profile window, the only place Gajim sets it. The window
// is an account's: the job opens the one of the first signed-on account in Gajim's order, so with
// several accounts only that one's nickname changes; the others keep theirs.
//
// The window opens read-only (its nickname entry greyed out), showing a spinner until the server
// has sent the user's profile, and focuses nothing. The job's own steps, once it has the focus and
// has had a second to read the profile: Alt+E presses Edit; three Tabs then reach the nickname
// entry past the two buttons on the picture, and End, Shift+Home and Delete empty it, so that the
// program's name replaces the nickname (an empty name publishes an empty one). GTK holds a button
// pressed for a quarter of a second before it acts, losing keys typed meanwhile, so every press of
// a button is given half a second. Enter does nothing in the entry, and the Save button is not
// pressed by it: after the program's name the job types Alt+S (Save, which publishes the nickname)
// and Escape (which closes the window) as steps of its own, and the program's Enters are not typed.
//
// Confirmed: the account is signed on right before and right after Save (Gajim keeps Save greyed
// out while it is not; the name is then left typed in the open window), and the window closed on
// the Escape. Not confirmed, as Gajim tells nothing of a nickname through its remote interface:
// that Edit and the Tabs reached the entry (on a server that takes longer than the second to send
// the profile, the spinner is still up and the keys do nothing, so the nickname stays as it was),
// nor that the server took the nickname. Gajim publishes it as escaped markup: "&", "<" and ">"
// reach contacts as "&amp;", "&lt;" and "&gt;".
//
// A Profile window open already is refused: Gajim brings it in front instead of opening another,
// in whatever state the user left it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include <QString>

#include "clients/gajim/qt/gajim_bus.h"
#include "messenger/messenger.h"
#include "platform/desktop.h"

namespace plumwick::gajim {

// The title Gajim gives its Profile window.
inline constexpr char kProfileTitle[] = "Profile";

class GajimProfileJob final : public messenger::TypingJob {
 public:
  // Opens the Profile window of the first signed-on account (Failure(kNotSignedIn) when none is,
  // before anything opens) and waits until the window manager has taken it on:
  // Failure(kClientError) when no new window showed within messenger::kFocusWait.
  GajimProfileJob(GajimBus& bus, const ClientDesktop& desktop);

  // The job's steps, in order; each is over once it was typed and confirmed.
  enum class Step {
    kEdit,        // Alt+E: the Edit button
    kToNickname,  // three Tabs into the nickname entry, and its text deleted
    kNickname,    // the program's name
    kSave,        // Alt+S: the Save button
    kClose,       // Escape: the window closes
    kClosed,
  };

  // Edit, then the Tabs to the nickname entry.
  KeySequence OwnKeys(bool keys_follow) override;
  // Asks the window back now and then while another one has the focus; throws
  // Failure(kClientError) once the window is gone.
  void PrepareForKeys(const DesktopWindow& focused) override;
  // The Profile window, by Gajim's process and its title, with the X server's input focus, until
  // it closed; for Edit, only once it has had a second to read the profile.
  bool TakesKeys(const DesktopWindow& window) override;
  void KeysTyped(const DesktopWindow& window, const KeySequence& keys) override;
  // Gives a pressed button time to act; after Save, requires the account still signed on, after
  // Escape the window gone within 3 s (Failure(kClientError) otherwise).
  void AwaitConfirmation() override;
  // Save, then Escape, once the program's name was typed; before Save, throws
  // Failure(kNotSignedIn) when the account is not signed on.
  KeySequence ClosingKeys() override;
  // The window closed after Save: the program's Enters are not typed.
  bool Finished() const override { return step_ == Step::kClosed; }

  Step step() const { return step_; }
  const QString& account() const { return account_; }

 private:
  bool WindowOpen();
  // Throws Failure(kNotSignedIn) saying `consequence` when the account is not signed on.
  void RequireSignedOn(const std::string& consequence);

  GajimBus& bus_;
  const ClientDesktop desktop_;
  QString account_;
  std::int64_t gajim_ = 0;
  std::uint64_t window_ = 0;
  Clock::TimePoint shown_at_{};
  Step step_ = Step::kEdit;
  std::optional<Step> typed_;  // the step typed last, until it is confirmed
  Throttle bring_back_;
};

}  // namespace plumwick::gajim
