// Confirming the messages that keys typed into a Pidgin conversation send.
#include "clients/purple/qt/sent_confirmation.h"

#include <cmath>
#include <optional>
#include <utility>

#include "clients/purple/process_activity.h"
#include "platform/failure.h"

namespace plumwick::purple {

namespace {

using Seconds = std::chrono::duration<double>;

// How often Pidgin's CPU time is read while its report is awaited, and how much of it Pidgin must
// have used meanwhile to count as at work: idle, it wakes now and then for a millisecond or two;
// handling keys, it uses what the machine gives it, a fifth of a core on a busy machine.
constexpr std::chrono::milliseconds kActivityEvery{250};
constexpr std::chrono::milliseconds kBusyCpu{50};
// However long Pidgin keeps working, the job ends: per character or key typed, fifty times what
// the longest word measured here took (a spaceless text of 3,000 letters reported 40 s after its
// Enter at a load of 1, 50 s at a load of 4).
constexpr std::chrono::milliseconds kReportPerKeyAtMost{1000};
// How long after Pidgin's report the server is given to send the message back: a server answers
// for an address it has no one for at once (Prosody here within a millisecond). A bounce from a
// remote domain's server may come later, after the job; Pidgin shows nothing of it.
constexpr std::chrono::milliseconds kRefusalWait{700};

}  // namespace

// "3 seconds", "7.5 seconds": a time waited as a person reads it.
std::string SecondsText(Clock::TimePoint::duration waited) {
  const double tenths = std::round(Seconds(waited).count() * 10);
  const std::string whole = std::to_string(static_cast<long long>(tenths) / 10);
  const long long tenth = static_cast<long long>(tenths) % 10;
  return whole + (tenth == 0 ? "" : "." + std::to_string(tenth)) + " seconds";
}

SentConfirmation::SentConfirmation(PurpleBus& bus, const ClientDesktop& desktop, Handle account,
                                   Handle conversation, const std::string& contact,
                                   ActivityOf activity)
    : desktop_(desktop),
      contact_(contact),
      pidgin_(bus.ServiceProcess()),
      activity_(std::move(activity)),
      sent_(bus, account, contact_),
      refused_(bus, conversation, contact_) {}

void SentConfirmation::Typed(const KeySequence& keys) {
  typed_.Add(keys);
  keys_unconfirmed_ += KeyCount(keys);
}

void SentConfirmation::Await() {
  if (!Pending()) return;
  const Clock::TimePoint typed_at = desktop_.wait.Now();
  const bool quit = AwaitReports();
  ThrowIfRefused();
  const std::vector<std::string>& reported = sent_.Sent();
  const std::vector<std::string>& typed = typed_.Sent();
  if (typed_.TextsKnown()) {
    for (std::size_t i = 0; i < reported.size() && i < typed.size(); ++i) {
      if (reported[i] == typed[i]) continue;
      throw Failure(error_code::kClientError,
                    "Pidgin sent \"" + reported[i] + "\" to \"" + contact_ +
                        "\", not the message typed, \"" + typed[i] +
                        "\": a key was lost on the way, or the conversation already held some "
                        "text");
    }
  }
  if (reported.size() < typed.size()) {
    if (quit) {
      throw Failure(error_code::kNoClient, "Pidgin quit before it sent the message to \"" +
                                               contact_ + "\", so the message was not sent");
    }
    throw Failure(error_code::kClientError,
                  "Pidgin did not send the message to \"" + contact_ + "\": it stopped working " +
                      SecondsText(desktop_.wait.Now() - typed_at) +
                      " after the Enter that sends it without reporting the message, so the text "
                      "and the Enter typed into its conversation did not reach it as a message. "
                      "If the text is still in the conversation, press Enter there");
  }
  desktop_.wait.Until(kRefusalWait, [&] { return refused_.Refusal().has_value(); });
  ThrowIfRefused();
  confirmed_ = typed.size();
  keys_unconfirmed_ = 0;
}

bool SentConfirmation::AwaitReports() {
  std::optional<ProcessActivity> last = activity_(pidgin_);
  if (!last) return true;
  Clock::TimePoint sampled_at = desktop_.wait.Now();
  Clock::TimePoint busy_at = sampled_at;
  bool quit = false;
  const auto at_most = kReportIdleLimit + kReportPerKeyAtMost * keys_unconfirmed_;
  desktop_.wait.Until(at_most, [&] {
    if (refused_.Refusal() || sent_.Sent().size() >= typed_.Sent().size()) return true;
    const Clock::TimePoint now = desktop_.wait.Now();
    if (now - sampled_at >= kActivityEvery) {
      const std::optional<ProcessActivity> activity = activity_(pidgin_);
      if (!activity) return quit = true;
      // A Pidgin stopped by a signal or a debugger goes on when it is let go.
      if (activity->stopped || activity->cpu - last->cpu >= kBusyCpu) busy_at = now;
      last = activity;
      sampled_at = now;
    }
    return now - busy_at >= kReportIdleLimit;
  });
  return quit;
}

void SentConfirmation::ThrowIfRefused() const {
  if (const std::optional<std::string>& refusal = refused_.Refusal()) {
    throw Failure(error_code::kClientError,
                  "The message to \"" + contact_ + "\" was not delivered: " + *refusal);
  }
}

}  // namespace plumwick::purple
