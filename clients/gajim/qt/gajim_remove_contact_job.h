// Removing a contact through Gajim's Remove Contact window. Gajim's remote object has no call for
// it: only the account's action "<account>-remove-contact" does it, and asks first, in a window
// titled "Remove Contact" with the buttons Cancel and Remove, neither of them the default (Return
// presses nothing). The job's own step is Alt+R, Remove's underlined letter, typed only into that
// window while it has the focus; Gajim then closes the contact's chat and asks the server to take
// the contact out of the roster. Only Gajim's roster, read back through its remote object,
// confirms the removal. The program types no key of its own.
//
// The contact goes from the account its object names. Delete Contact's comes from GetContact,
// the first signed-on account that lists the address: with several accounts listing it, the
// contact goes from that one alone. Gajim opens its window for any address, listed or not, so an
// address the account does not list is refused before anything opens.
#pragma once

#include <cstdint>

#include <QString>

#include "clients/gajim/qt/gajim_bus.h"
#include "messenger/messenger.h"
#include "platform/desktop.h"
#include "platform/failure.h"

namespace plumwick::gajim {

// The title of Gajim's Remove Contact window.
inline constexpr char kRemoveContactTitle[] = "Remove Contact";

class GajimRemoveContactJob final : public messenger::TypingJob {
 public:
  // Refuses an account that is not signed on (Failure(kNotSignedIn)) and an address its roster
  // does not list (Failure(kUnknownContact)), then opens Gajim's Remove Contact window for the
  // address and waits until the window manager has taken it on (Failure(kClientError) when it did
  // not show within messenger::kFocusWait).
  GajimRemoveContactJob(GajimBus& bus, const ClientDesktop& desktop, QString account,
                        QString address);

  // The job's steps, in order.
  enum class Step {
    kPressRemove,  // Alt+R into the window
    kRemoved,      // Gajim's roster to lose the contact
    kDone,
  };

  // Alt+R until it went into the window; none after.
  KeySequence OwnKeys(bool keys_follow) override;
  // Asks the window back now and then while another one has the focus; throws
  // Failure(kClientError) once it closed before Alt+R, saying whether Gajim still lists the
  // contact.
  void PrepareForKeys(const DesktopWindow& focused) override;
  // The Remove Contact window, by Gajim's process and its title, with the X server's input focus,
  // until Alt+R went in.
  bool TakesKeys(const DesktopWindow& window) override;
  // Moves on once Alt+R went into the window.
  void KeysTyped(const DesktopWindow& window, const KeySequence& keys) override;
  // After Alt+R, waits for Gajim's roster to lose the contact; throws Failure(kClientError) when
  // it still lists it in time.
  void AwaitConfirmation() override;
  // The contact is out of the roster and the window closed: no key is left for it.
  bool Finished() const override { return step_ == Step::kDone; }

  Step step() const { return step_; }

 private:
  bool Listed();
  Failure ClosedTooEarly();

  GajimBus& bus_;
  const ClientDesktop desktop_;
  const QString account_;
  const QString address_;
  std::int64_t gajim_ = 0;
  std::uint64_t window_ = 0;
  Step step_ = Step::kPressRemove;
  Throttle bring_back_;
};

}  // namespace plumwick::gajim
