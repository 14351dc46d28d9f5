// Sending a message through a sandbox conversation, in named steps, as a real client's job does:
// a conversation whose entry holds text the user typed there and did not send is refused before
// any key, since the message would go out joined to that text (DraftCheck, read straight from the
// client's window, in this process); then the program's keys, each message they send compared
// with what the client sent. Keys go in only while the conversation's window shows.
#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <span>
#include <string>

#include "clients/sandbox/sandbox_client.h"
#include "clients/sandbox/sandbox_jobs.h"
#include "messenger/messenger.h"
#include "messenger/typed_messages.h"
#include "platform/event_pump.h"

namespace plumwick::sandbox {

// How long the client is given to send a message after the keys of its Enter were read: it handles
// them in this process's event loop, which the wait runs.
inline constexpr std::chrono::seconds kSentWithin{2};

class SandboxConversationJob final : public messenger::TypingJob {
 public:
  // The job's steps, in order.
  enum class Step {
    kDraftCheck,  // before any key: the conversation's entry read for text left there
    kMessage,     // the program's keys, each message they send confirmed
  };

  // For the conversation with the contact, opened already.
  SandboxConversationJob(std::shared_ptr<SandboxClient> client, EventWait& wait,
                         std::string contact);

  // No keys of its own: with keys to follow, Failure(kClientError) when the entry holds text.
  KeySequence OwnKeys(bool keys_follow) override;
  void PrepareForKeys(const DesktopWindow& focused) override;
  bool TakesKeys(const DesktopWindow& window) override;
  void KeysTyped(const DesktopWindow& window, const KeySequence& keys) override;
  // Waits for the client to send each message the keys sent, and compares the texts: throws
  // Failure(kClientError) when it sent another text or none within kSentWithin, and the client's
  // own reason when it can no longer send to the contact.
  void AwaitConfirmation() override;
  // Once every message typed was confirmed and the user closed the conversation: the keys left
  // (the second Enter) have nowhere to go and are not needed.
  bool Finished() const override;

  Step step() const { return step_; }

 private:
  // The messages sent to the contact since the job started.
  std::span<const std::string> SentSinceStart() const;

  std::shared_ptr<SandboxClient> client_;
  EventWait& wait_;
  const std::string contact_;
  const std::size_t sent_before_;  // messages sent to the contact before the job
  Step step_ = Step::kDraftCheck;
  messenger::TypedMessages typed_;
  std::size_t confirmed_ = 0;  // messages of the keys compared with the client's
  BringBack back_;
};

}  // namespace plumwick::sandbox
