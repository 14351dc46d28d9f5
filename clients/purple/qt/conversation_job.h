// Sending a message through a Pidgin conversation, in named steps: the conversation presented
// until it has the keyboard focus; its tab brought in front where Pidgin's window shows another
// conversation's (ConversationTab); a conversation that was open already checked for text the user
// typed there and did not send, which the message would go out joined to (DraftProbe); then the
// program's keys, each message they send confirmed by Pidgin's report (SentConfirmation). Keys go
// in only while the conversation has the focus. A conversation closed or a Pidgin that quit
// during the job is told as such, with what became of the message.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "clients/purple/qt/conversation_tab.h"
#include "clients/purple/qt/draft_probe.h"
#include "clients/purple/qt/purple_bus.h"
#include "clients/purple/qt/sent_confirmation.h"
#include "messenger/messenger.h"
#include "platform/desktop.h"

namespace plumwick::purple {

class ConversationJob final : public messenger::TypingJob {
 public:
  // The job's steps, in order.
  enum class Step {
    kTabToFront,  // Ctrl+Page Down until the conversation's tab is in front
    kDraftCheck,  // a conversation open already: the draft check's keys
    kMessage,     // the program's keys, each message they send confirmed
  };

  // Opens Pidgin's conversation with the contact on the account (or finds the one open), and
  // presents it until Pidgin says it has the focus and the desktop agrees, or until Pidgin's
  // window that has the focus shows another conversation in front of it, for at most
  // messenger::kFocusWait: under a window manager the first present does not always take it.
  // Throws Failure(kFocus) when it gets to neither, saying what is in front instead.
  ConversationJob(PurpleBus& bus, const ClientDesktop& desktop, Handle account,
                  std::string contact);

  // The tab's presses, then, for a conversation open already and keys to follow, the draft
  // check's steps; Failure(kClientError) once the check found a draft.
  KeySequence OwnKeys(bool keys_follow) override;
  // While another window has the focus, asks the conversation back now and then.
  void PrepareForKeys(const DesktopWindow& focused) override;
  // The conversation, while the desktop, the X server and Pidgin all say it has the focus; while
  // its tab comes forward, Pidgin's window with another conversation in front.
  bool TakesKeys(const DesktopWindow& window) override;
  void KeysTyped(const DesktopWindow& window, const KeySequence& keys) override;
  // The tab switched, the draft check's answer, Pidgin's report of each message sent.
  void AwaitConfirmation() override;
  // Every message the keys sent was confirmed, and then the conversation was closed.
  bool Finished() const override;

  Step step() const { return step_; }
  // What Pidgin reported sent in the conversation, as plain text.
  const std::vector<std::string>& sent_messages() const { return sent_.sent(); }

 private:
  // The conversation's window when it has the focus by Pidgin's word and the desktop's; 0 when
  // it has not.
  std::uint64_t FocusedWindow();
  // Whether the window is the conversation: the one it was seen to take the focus in, or, until
  // it was, any of Pidgin's.
  bool IsConversation(const DesktopWindow& window) const;
  bool Open() const;
  // Runs a part of the job; a failure that comes of the conversation closed or Pidgin quitting
  // is told as such.
  template <typename Part>
  auto Told(Part part);
  Failure InUserWords(const Failure& failure) const;

  PurpleBus& bus_;
  const ClientDesktop desktop_;
  const bool was_open_;
  const Handle conversation_;
  const std::string contact_;
  Step step_ = Step::kMessage;
  std::uint64_t window_ = 0;  // the conversation's window once seen with the focus
  ConversationTab tab_;
  DraftProbe draft_;
  SentConfirmation sent_;
  Throttle bring_back_;
};

}  // namespace plumwick::purple
