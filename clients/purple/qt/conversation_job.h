// Sending a message through a Pidgin conversation: the conversation presented until it has the
// keyboard focus, its tab brought in front by Ctrl+Page Down where Pidgin's window shows another
// conversation's tab (Pidgin switches tabs on its own only for the user's own click or key), the
// keys let in only while it has the focus, an open conversation first checked for
// text the user typed there and did not send (the message would go out joined to it), and each
// message the keys send confirmed by Pidgin's report before the next keys go in. Typed keys say
// nothing of what became of them: a key lost on the way or a conversation that did not take the
// text would pass for a sent message.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "clients/purple/qt/draft_probe.h"
#include "clients/purple/qt/purple_bus.h"
#include "clients/purple/qt/refused_message_watch.h"
#include "clients/purple/qt/sent_message_watch.h"
#include "clients/purple/typed_messages.h"
#include "messenger/messenger.h"
#include "platform/desktop.h"

namespace plumwick::purple {

// How long Pidgin may take to report a message sent once its Enter was typed: it handles the
// typed keys one by one after they were sent, and reports the message at once, without waiting
// for the server. `keys` is how many characters and keys were typed for the message.
std::chrono::milliseconds ConfirmationWait(std::size_t keys);

class ConversationJob final : public messenger::TypingJob {
 public:
  // Opens Pidgin's conversation with the contact on the account (or finds the one open), and
  // presents it until Pidgin says it has the focus and the desktop agrees, or until Pidgin's
  // window that has the focus shows another conversation in front of it, for at most
  // messenger::kFocusWait: under a window manager the first present does not always take it.
  // Throws Failure(kFocus) when it gets to neither, saying what is in front instead.
  ConversationJob(PurpleBus& bus, const Desktop& desktop, Handle account, std::string contact);

  // While another conversation is in front, Ctrl+Page Down: Pidgin's next tab. Throws
  // Failure(kFocus) once as many presses as Pidgin has conversations, and one more, did not
  // bring the conversation in front.
  KeySequence KeysToFront() override;
  // A conversation that was open already is first checked for a draft (DraftProbe), step by
  // step; Failure(kClientError) once the check found one.
  KeySequence KeysFirst() override;
  // While another window has the focus, asks the conversation back now and then.
  void PrepareForKeys(const DesktopWindow& focused) override;
  // The conversation, while the desktop, the X server and Pidgin all say it has the focus; while
  // its tab is brought forward, Pidgin's window with another conversation in front.
  bool TakesKeys(const DesktopWindow& window) override;
  // After keys that send a message, waits for Pidgin's report of it (ConfirmationWait) and a
  // moment more for the server to send it back. Throws Failure(kClientError) when Pidgin reports
  // another text sent, none in time, or the message refused; and when Pidgin showed no sign of
  // the draft check's keys.
  void KeysTyped(const DesktopWindow& window, const KeySequence& keys) override;

  // What Pidgin reported sent in the conversation, as plain text.
  const std::vector<std::string>& sent_messages() const { return sent_.Sent(); }

 private:
  // Whether the window is the conversation: the one it was seen to take the focus in, or, until
  // it was, any of Pidgin's.
  bool IsConversation(const DesktopWindow& window);
  // Whether the conversation has the focus by Pidgin's word and the desktop's, remembering its
  // window when it has.
  bool Focused();
  // Another conversation that Pidgin shows in front in the window, when the window is Pidgin's
  // and has the focus; 0 when there is none.
  Handle InFrontInstead(const DesktopWindow& window);
  // Starts bringing the conversation's tab forward when another conversation is in front in the
  // window; whether it did.
  bool BehindAnother(const DesktopWindow& window);
  // Wait for Pidgin's report of the messages typed, and for the server to send one back.
  void AwaitSentReports();
  void AwaitRefusal();
  // Throws Failure(kClientError) once a message was refused.
  void ThrowIfRefused() const;

  PurpleBus& bus_;
  const Desktop desktop_;
  const bool was_open_;
  const Handle conversation_;
  const std::string contact_;
  std::uint64_t window_ = 0;
  // Whether another conversation's tab is in front of the conversation's; then that conversation
  // as last seen, how many Ctrl+Page Down went in and how many may, and the window's title.
  bool behind_ = false;
  Handle front_ = 0;
  std::size_t tab_presses_ = 0;
  std::size_t tab_press_limit_ = 0;
  std::string tabs_window_;
  SentMessageWatch sent_;
  RefusedMessageWatch refused_;
  TypedMessages typed_;
  DraftProbe draft_;
  bool probing_;             // until the draft check is done, for a conversation open already
  bool probe_step_ = false;  // whether the keys typed last were the check's
  std::size_t keys_unconfirmed_ = 0;  // characters and keys typed since the last report
  Throttle bring_back_;
};

}  // namespace plumwick::purple
