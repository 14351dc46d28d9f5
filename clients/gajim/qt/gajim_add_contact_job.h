// Adding a contact through Gajim's Add Contact window, opened filled with the address. The window
// is an assistant of two pages that both carry the title "Add Contact": on the first, Return
// presses Next, which asks the server about the address (the window reads "Gathering
// information…" meanwhile); on the second, Return presses Add Contact, which asks the contact to
// share presence and closes the window. So the program's two Enters, a second apart, are exactly
// the keys it needs. Only Gajim's roster, read back through its remote object, confirms that the
// contact was added.
//
// For text that is no address Gajim opens an error window of its own instead, and for an address
// it already lists it keeps Next greyed out, so that both Enters go nowhere: both are refused
// before anything opens.
#pragma once

#include <cstdint>
#include <string>

#include <QString>

#include "clients/gajim/qt/gajim_bus.h"
#include "messenger/messenger.h"
#include "platform/desktop.h"

namespace plumwick::gajim {

// The title of Gajim's Add Contact window, on its first and its last page.
inline constexpr char kAddContactTitle[] = "Add Contact";

class GajimAddContactJob final : public messenger::TypingJob {
 public:
  // Reads the address as typed (Failure(kUnknownContact) saying why it is no address), refuses
  // one that a signed-on account already lists (Failure(kClientError)), then opens Gajim's Add
  // Contact window with it and waits until the window manager has taken it on
  // (Failure(kClientError) when it did not show within messenger::kFocusWait).
  GajimAddContactJob(GajimBus& bus, const ClientDesktop& desktop, const std::string& typed);

  // The job's steps, in order.
  enum class Step {
    kPressNext,  // the Return that asks the server about the address
    kPressAdd,   // the Return that adds the contact
    kAdded,      // Gajim's roster to show the contact
    kDone,
  };

  // Asks the window back now and then while another one has the focus.
  void PrepareForKeys(const DesktopWindow& focused) override;
  // The Add Contact window, by Gajim's process and its title, with the X server's input focus,
  // until both Returns went in.
  bool TakesKeys(const DesktopWindow& window) override;
  // Moves on by each Return that went into the window.
  void KeysTyped(const DesktopWindow& window, const KeySequence& keys) override;
  // After the second Return, waits for Gajim's roster to list the contact; throws
  // Failure(kClientError) when it does not in time.
  void AwaitConfirmation() override;
  // The contact is in the roster and the window closed: no key is left for it.
  bool Finished() const override { return step_ == Step::kDone; }

  Step step() const { return step_; }
  const QString& address() const { return address_; }

 private:
  bool Listed();

  GajimBus& bus_;
  const ClientDesktop desktop_;
  QString address_;
  std::int64_t gajim_ = 0;
  std::uint64_t window_ = 0;
  Step step_ = Step::kPressNext;
  Throttle bring_back_;
};

}  // namespace plumwick::gajim
