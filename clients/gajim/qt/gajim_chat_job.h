// A chat in Gajim's main window, for a message and for a contact's double-click: the chat opened
// (or found) and selected in the main window, which then has to take the keyboard focus. Gajim
// sends a message's text itself, as it is: typed keys would run a text that starts with "/word"
// as a command of Gajim's and turn ":smile" into an emoji, and would join any draft left in the
// chat's entry. So the job takes the message's text from the program, sends it once the chat has
// the focus, and has it confirmed by Gajim's report of exactly that text sent to the contact; then
// it is finished and no key of the program's goes into the chat. The entry is not touched: a
// draft there stays, unsent.
#pragma once

#include <chrono>
#include <optional>
#include <string>

#include <QString>

#include "clients/gajim/qt/gajim_bus.h"
#include "clients/gajim/qt/message_sent_watch.h"
#include "messenger/messenger.h"
#include "platform/desktop.h"

namespace plumwick::gajim {

// The title of Gajim's main window, where every chat is.
inline constexpr char kMainWindowTitle[] = "Gajim";
// How long Gajim has to report a message sent once it answered the call to send it: it reports
// it before it answers.
inline constexpr std::chrono::milliseconds kSentWait{3000};

class GajimChatJob final : public messenger::TypingJob {
 public:
  // Opens the chat with `address` on `account` in Gajim's main window and asks Gajim to show
  // that window. Throws Failure from the bus.
  GajimChatJob(GajimBus& bus, const ClientDesktop& desktop, QString account, QString address);

  // While another window has the focus, asks Gajim's main window back now and then.
  void PrepareForKeys(const DesktopWindow& focused) override;
  // Gajim's main window, while the desktop and the X server both say it has the focus.
  bool TakesKeys(const DesktopWindow& window) override;
  // Keys are typed into the chat only for a message's text the job does not send itself.
  void KeysTyped(const DesktopWindow& window, const KeySequence& keys) override;
  // Sends the message taken by SendsText once its (empty) step found the chat with the focus,
  // and waits for Gajim's report of it; throws with Gajim's answer when it did not send it.
  void AwaitConfirmation() override;
  // The text's keys: plain text only, Failure(kKeyNotation) for a named key in it, which Gajim's
  // chat could only take as a key press.
  bool SendsText(const KeySequence& text) override;
  // The message was sent and confirmed.
  bool Finished() const override { return sent_; }

 private:
  // Asks Gajim to show its main window, and the window manager to activate it.
  void BringForward();
  Failure Quoted(std::int32_t code, const std::string& what) const;

  GajimBus& bus_;
  const ClientDesktop desktop_;
  const QString account_;
  const QString address_;
  const std::int64_t gajim_;     // Gajim's process
  std::optional<QString> text_;  // the message to send, once the program gave it
  bool ready_ = false;           // the chat had the focus when the message's step went out
  bool sent_ = false;
  Throttle bring_back_;
};

}  // namespace plumwick::gajim
