// Sending a message through a sandbox conversation.
#include "clients/sandbox/sandbox_conversation_job.h"

#include <algorithm>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "keynotation/key_notation.h"
#include "platform/failure.h"

namespace plumwick::sandbox {
namespace {

// How many characters of a text an error quotes: enough to recognise it by.
constexpr std::size_t kQuoted = 40;

bool StartsCharacter(char byte) {
  return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
}

// The text's first kQuoted characters, and "…" when it goes on.
std::string Excerpt(const std::string& utf8) {
  std::size_t end = 0;
  for (std::size_t seen = 0; end < utf8.size(); ++end) {
    if (StartsCharacter(utf8[end]) && seen++ == kQuoted) break;
  }
  return utf8.substr(0, end) + (end < utf8.size() ? "…" : "");
}

// Where two different texts part, counted in characters from 1.
std::size_t FirstDifference(const std::string& one, const std::string& other) {
  const auto parted = std::ranges::mismatch(one, other).in1;
  return static_cast<std::size_t>(
             std::count_if(one.begin(), parted, [](char byte) { return StartsCharacter(byte); })) +
         1;
}

}  // namespace

SandboxConversationJob::SandboxConversationJob(std::shared_ptr<SandboxClient> client,
                                               EventWait& wait, std::string contact)
    : client_(std::move(client)),
      wait_(wait),
      contact_(std::move(contact)),
      sent_before_(client_->SentTo(contact_).size()),
      back_(wait) {}

KeySequence SandboxConversationJob::OwnKeys(bool keys_follow) {
  if (step_ != Step::kDraftCheck) return {};
  step_ = Step::kMessage;
  // A conversation only brought forward takes no keys a draft could join.
  if (!keys_follow) return {};
  const std::string draft = client_->EntryText(contact_);
  if (draft.empty()) return {};
  throw Failure(error_code::kClientError,
                "The sandbox client's conversation with \"" + contact_ +
                    "\" holds text that was typed there and not sent (\"" + Excerpt(draft) +
                    "\"). The message was not typed, so that it does not go out joined to that "
                    "text, which is still there: send or clear it in the conversation, then send "
                    "the message again");
}

void SandboxConversationJob::PrepareForKeys(const DesktopWindow& focused) {
  back_.From(focused, *client_, JobWindow::kConversation, contact_);
}

bool SandboxConversationJob::TakesKeys(const DesktopWindow& window) {
  return client_->ShowsJobWindow(JobWindow::kConversation, contact_, window.id);
}

void SandboxConversationJob::KeysTyped(const DesktopWindow& /*window*/, const KeySequence& keys) {
  if (step_ == Step::kMessage) typed_.Add(keys);
}

void SandboxConversationJob::AwaitConfirmation() {
  const std::vector<std::string>& typed = typed_.Sent();
  if (typed.size() <= confirmed_) return;
  wait_.Until(std::chrono::duration_cast<std::chrono::milliseconds>(kSentWithin),
              [&] { return client_->SentTo(contact_).size() >= sent_before_ + typed.size(); });
  const std::span<const std::string> sent = SentSinceStart();
  for (std::size_t i = confirmed_; typed_.TextsKnown() && i < std::min(sent.size(), typed.size());
       ++i) {
    if (sent[i] == typed[i]) continue;
    throw Failure(error_code::kClientError,
                  "The sandbox client sent \"" + Excerpt(sent[i]) + "\" to \"" + contact_ +
                      "\", not the message typed, \"" + Excerpt(typed[i]) +
                      "\" (they differ from the " + Ordinal(FirstDifference(sent[i], typed[i])) +
                      " character on): a key was lost on the way, or the conversation took other "
                      "keys meanwhile");
  }
  if (sent.size() < typed.size()) {
    try {
      client_->FindContact(contact_);
    } catch (const Failure& refusal) {
      throw Failure(refusal.code(), "The message to \"" + contact_ +
                                        "\" was not sent: " + refusal.description() +
                                        ". Its text stays in the conversation");
    }
    throw Failure(error_code::kClientError,
                  "The sandbox client did not send the message to \"" + contact_ + "\" within " +
                      std::to_string(kSentWithin.count()) +
                      " seconds of the Enter that sends it, so the text and the Enter "
                      "typed into its conversation did not reach it as a message. If the text is "
                      "still in the conversation, press Enter there");
  }
  confirmed_ = typed.size();
}

bool SandboxConversationJob::Finished() const {
  return confirmed_ > 0 && confirmed_ == typed_.Sent().size() &&
         !client_->ShowsJobWindowAtAll(JobWindow::kConversation, contact_);
}

std::span<const std::string> SandboxConversationJob::SentSinceStart() const {
  const std::span<const std::string> all = client_->SentTo(contact_);
  return all.subspan(std::min(sent_before_, all.size()));
}

}  // namespace plumwick::sandbox
