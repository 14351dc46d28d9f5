// Confirms the messages that keys typed into a Pidgin conversation send. Typed keys say nothing of
// what became of them: a key lost on the way or a conversation that did not take the text would
// pass for a sent message. So each message is confirmed by Pidgin's report of it (with the text
// typed) and by the server not sending it back. Pidgin reports a message once it has handled
// every key typed for it, which takes a moment for a short text and tens of seconds for a long
// word (laid out anew for each key): the wait lasts while Pidgin keeps working, and a message is
// taken as not sent only once Pidgin has stopped without reporting it.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "clients/purple/process_activity.h"
#include "clients/purple/qt/purple_bus.h"
#include "clients/purple/qt/refused_message_watch.h"
#include "clients/purple/qt/sent_message_watch.h"
#include "messenger/typed_messages.h"
#include "platform/desktop.h"

namespace plumwick::purple {

// How long Pidgin may show no sign of work before a message it has not reported counts as not
// sent: a short message is reported within a few tenths of a second.
inline constexpr std::chrono::milliseconds kReportIdleLimit{2500};

// How a process's activity is read: ReadProcessActivity, or a test's script.
using ActivityOf = std::function<std::optional<ProcessActivity>(std::int64_t pid)>;

// "3 seconds", "7.5 seconds": a time waited as a person reads it.
std::string SecondsText(Clock::TimePoint::duration waited);

class SentConfirmation {
 public:
  // Listens for Pidgin's reports about messages to the contact from now on. Throws Failure when
  // the bus refuses, and Failure(kNoClient) when Pidgin is not running.
  SentConfirmation(PurpleBus& bus, const ClientDesktop& desktop, Handle account,
                   Handle conversation, const std::string& contact,
                   ActivityOf activity = ReadProcessActivity);

  // The keys of one step went into the conversation.
  void Typed(const KeySequence& keys);
  // Whether the keys typed so far sent a message Pidgin has not confirmed yet.
  bool Pending() const { return typed_.Sent().size() > confirmed_; }
  // Whether Pidgin confirmed every message the keys sent, and they sent one.
  bool AllConfirmed() const { return confirmed_ > 0 && !Pending(); }
  // Waits (handling events) for Pidgin's report of each message typed, as long as Pidgin keeps
  // working, then a moment more for the server to send one back. Throws Failure(kClientError)
  // when Pidgin reports another text, none once it stopped working, or the message refused;
  // Failure(kNoClient) when Pidgin quit first.
  void Await();

  // Characters and keys typed since the last message was confirmed.
  std::size_t keys_unconfirmed() const { return keys_unconfirmed_; }
  // What Pidgin reported sent in the conversation, as plain text.
  const std::vector<std::string>& sent() const { return sent_.Sent(); }

 private:
  // Waits for the reports; whether Pidgin quit meanwhile.
  bool AwaitReports();
  void ThrowIfRefused() const;

  const ClientDesktop desktop_;
  const std::string contact_;
  const std::int64_t pidgin_;  // Pidgin's process
  const ActivityOf activity_;
  SentMessageWatch sent_;
  RefusedMessageWatch refused_;
  messenger::TypedMessages typed_;
  std::size_t confirmed_ = 0;
  std::size_t keys_unconfirmed_ = 0;
};

}  // namespace plumwick::purple
