// Sending a message through a Pidgin conversation: the conversation presented until it has the
// keyboard focus, the keys let in only while it has it, and each message the keys send confirmed
// by Pidgin's report before the next keys go in. Typed keys say nothing of what became of them: a
// key lost on the way or a conversation that did not take the text would pass for a sent message.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "clients/purple/qt/purple_bus.h"
#include "clients/purple/qt/sent_message_watch.h"
#include "clients/purple/typed_messages.h"
#include "messenger/messenger.h"
#include "platform/desktop.h"

namespace plumwick::purple {

class ConversationJob final : public messenger::TypingJob {
 public:
  // Opens Pidgin's conversation with the contact on the account (or finds the one open), and
  // presents it until Pidgin says it has the focus and the desktop agrees, for at most
  // messenger::kFocusWait: under a window manager the first present does not always take it. If it
  // never does, the focus guard says so before any key is typed.
  ConversationJob(PurpleBus& bus, const Desktop& desktop, Handle account, std::string contact);

  // While another window has the focus, asks the conversation back now and then. Once keys have
  // sent a message, throws Failure(kClientError) when Pidgin reports another text sent, or none
  // within its time.
  void PrepareForKeys(const DesktopWindow& focused) override;
  // The conversation, while the desktop, the X server and Pidgin all say it has the focus, and
  // not while a message the keys sent waits for Pidgin's report.
  bool TakesKeys(const DesktopWindow& window) override;
  void KeysTyped(const DesktopWindow& window, const KeySequence& keys) override;

  // What Pidgin reported sent in the conversation, as plain text.
  const std::vector<std::string>& sent_messages() const { return sent_.Sent(); }

 private:
  // Whether the window is the conversation: the one it was seen to take the focus in, or, until
  // it was, any of Pidgin's.
  bool IsConversation(const DesktopWindow& window);
  bool AwaitingSentReport() const { return sent_.Sent().size() < typed_.Sent().size(); }

  PurpleBus& bus_;
  const Desktop desktop_;
  const Handle conversation_;
  const std::string contact_;
  std::uint64_t window_ = 0;
  SentMessageWatch sent_;
  TypedMessages typed_;
  std::optional<Clock::TimePoint> send_typed_at_;
  Throttle bring_back_;
};

}  // namespace plumwick::purple
