// Sending a message through a Pidgin conversation.
#include "clients/purple/qt/conversation_job.h"

#include <cmath>
#include <utility>
#include <variant>

#include "messenger/client_typing.h"
#include "platform/failure.h"

namespace plumwick::purple {

namespace {

using Seconds = std::chrono::duration<double>;

// libpurple's PURPLE_CONV_TYPE_IM.
constexpr std::int32_t kImConversation = 1;
// How long one Present is given to take the focus before Pidgin is asked again.
constexpr std::chrono::milliseconds kPresentWait{400};
// How often the conversation is asked back while another window has the focus.
constexpr std::chrono::milliseconds kBringBackEvery{300};
// Pidgin's report of a message comes once it has handled every key typed for it. A short message
// is reported within a few tenths of a second; this leaves room for a busy machine.
constexpr std::chrono::milliseconds kReportBase{2500};
// And per character or key typed: Pidgin handled 1,000 to 3,000 typed characters at 1.7 to 2.0 ms
// each on a machine with two cores shared with builds (a message of 3,000 characters reported
// 5.1 s after the click), the same for letters outside ASCII. Five times that lets a slower
// machine pass, and Pidgin's report ends the wait as soon as it comes.
constexpr std::chrono::microseconds kReportPerKey{10000};
// How long after Pidgin's report the server is given to send the message back: a server answers
// for an address it has no one for at once (Prosody here within a millisecond). A bounce from a
// remote domain's server may come later, after the job; Pidgin shows nothing of it.
constexpr std::chrono::milliseconds kRefusalWait{700};
// How long Pidgin is given to handle the keys of a step of the draft check.
constexpr std::chrono::milliseconds kProbeWait{2000};
// How long Pidgin is given to switch tabs on a Ctrl+Page Down: it does so as it handles the key.
constexpr std::chrono::milliseconds kTabSwitchWait{1000};

// Pidgin's conversation with the contact on the account, opened or found.
Handle OpenConversation(PurpleBus& bus, Handle account, const std::string& contact) {
  const Handle conversation =
      bus.CallInt("PurpleConversationNew",
                  {Int(kImConversation), Int(account), Str(QString::fromStdString(contact))},
                  error_code::kNotSignedIn);
  if (conversation == 0) {
    throw Failure(error_code::kClientError,
                  "Pidgin did not open a conversation with \"" + contact + "\"");
  }
  return conversation;
}

bool ConversationOpen(PurpleBus& bus, Handle account, const std::string& contact) {
  return bus.CallInt("PurpleFindConversationWithAccount",
                     {Int(kImConversation), Str(QString::fromStdString(contact)), Int(account)},
                     error_code::kNotSignedIn) != 0;
}

// "3 seconds", "7.5 seconds": a time waited as a person reads it.
std::string SecondsText(Clock::TimePoint::duration waited) {
  const double tenths = std::round(Seconds(waited).count() * 10);
  const std::string whole = std::to_string(static_cast<long long>(tenths) / 10);
  const long long tenth = static_cast<long long>(tenths) % 10;
  return whole + (tenth == 0 ? "" : "." + std::to_string(tenth)) + " seconds";
}

}  // namespace

std::chrono::milliseconds ConfirmationWait(std::size_t keys) {
  return kReportBase + std::chrono::duration_cast<std::chrono::milliseconds>(kReportPerKey * keys);
}

ConversationJob::ConversationJob(PurpleBus& bus, const Desktop& desktop, Handle account,
                                 std::string contact)
    : bus_(bus),
      desktop_(desktop),
      was_open_(ConversationOpen(bus, account, contact)),
      conversation_(OpenConversation(bus, account, contact)),
      contact_(std::move(contact)),
      sent_(bus, account, contact_),
      refused_(bus, conversation_, contact_),
      draft_(bus, conversation_),
      probing_(was_open_),
      bring_back_(desktop.wait, kBringBackEvery) {
  const Clock::TimePoint start = desktop_.wait.Now();
  if (desktop_.wait.Retry(
          messenger::kFocusWait, kPresentWait,
          [&] { bus_.Call("PurpleConversationPresent", {Int(conversation_)}); },
          [&] {
            if (Focused()) return true;
            // Present raises the conversation's window but leaves another tab in front. Looked
            // at once the first present had its time: until then the focus may still be on
            // another window of Pidgin's, whose tabs are no business of this job.
            return desktop_.wait.Now() - start >= kPresentWait &&
                   BehindAnother(desktop_.focus.Focused());
          })) {
    return;
  }
  // Waited for here, once: the typing that follows would wait as long again for the same thing.
  throw Failure(error_code::kFocus, "Pidgin's conversation with \"" + contact_ +
                                        "\" did not take the keyboard focus within " +
                                        SecondsText(desktop_.wait.Now() - start) + ": " +
                                        messenger::DescribeFocus(desktop_.focus.Focused()) +
                                        ". Nothing was typed");
}

bool ConversationJob::Focused() {
  if (bus_.CallInt("PurpleConversationHasFocus", {Int(conversation_)}) == 0) return false;
  const DesktopWindow window = desktop_.focus.Focused();
  if (window.id == 0 || window.pid != bus_.ServiceProcess() ||
      !desktop_.windows.HasInputFocus(window.id)) {
    return false;
  }
  window_ = window.id;
  return true;
}

Handle ConversationJob::InFrontInstead(const DesktopWindow& window) {
  if (window.id == 0 || window.own || window.pid != bus_.ServiceProcess() ||
      !desktop_.windows.HasInputFocus(window.id) ||
      bus_.CallInt("PurpleConversationHasFocus", {Int(conversation_)}) != 0) {
    return 0;
  }
  // Pidgin says which conversation has the focus, in its window and in front there; chats are
  // tabs too.
  std::vector<QVariantList> others;
  for (const Handle other : bus_.CallIntArray("PurpleGetConversations")) {
    if (other != conversation_) others.push_back({Int(other)});
  }
  const std::vector<QVariant> focus = bus_.CallEach("PurpleConversationHasFocus", "i", others);
  for (std::size_t i = 0; i < focus.size(); ++i) {
    if (focus[i].toInt() != 0) return others[i].front().toInt();
  }
  return 0;
}

bool ConversationJob::BehindAnother(const DesktopWindow& window) {
  front_ = InFrontInstead(window);
  if (front_ == 0) return false;
  behind_ = true;
  window_ = window.id;
  tabs_window_ = window.title;
  // Each press shows the next tab, the last one's next being the first: as many presses as
  // there are conversations, and one for good measure, pass every tab of any window.
  tab_press_limit_ = bus_.CallIntArray("PurpleGetConversations").size() + 1;
  return true;
}

bool ConversationJob::IsConversation(const DesktopWindow& window) {
  return window_ != 0 ? window.id == window_ : window.pid == bus_.ServiceProcess();
}

KeySequence ConversationJob::KeysToFront() {
  if (!behind_) return {};
  const DesktopWindow focused = desktop_.focus.Focused();
  if (Focused()) {
    behind_ = false;
    return {};
  }
  if (tab_presses_ >= tab_press_limit_) {
    throw Failure(error_code::kFocus,
                  "Pidgin's conversation with \"" + contact_ +
                      "\" did not come forward: " + std::to_string(tab_presses_) +
                      " presses of Ctrl+Page Down in Pidgin's window '" + tabs_window_ +
                      "' showed its other tabs but never this conversation. Nothing more was "
                      "typed");
  }
  // The conversation in front now: its tab goes behind once Pidgin handled the key.
  if (const Handle front = InFrontInstead(focused); front != 0) front_ = front;
  return {KeyPress{.key = NamedKey::kPageDown, .count = 1, .control = true}};
}

KeySequence ConversationJob::KeysFirst() {
  if (!probing_) return {};
  KeySequence keys = draft_.Keys();
  probe_step_ = !keys.empty();
  if (probe_step_) return keys;
  probing_ = false;
  if (draft_.found()) {
    const std::string text = draft_.text() ? " (\"" + *draft_.text() + "\")" : "";
    throw Failure(error_code::kClientError,
                  "Pidgin's conversation with \"" + contact_ +
                      "\" holds text that was typed there and not sent" + text +
                      ". The message was not typed, so that it does not go out joined to that "
                      "text, which is still there: send or clear it in Pidgin, then send the "
                      "message again");
  }
  return {};
}

void ConversationJob::PrepareForKeys(const DesktopWindow& focused) {
  // Pidgin's buddy list sometimes takes the focus right after a window of Pidgin's opened.
  if (IsConversation(focused) || !bring_back_.Due()) return;
  bus_.Call("PurpleConversationPresent", {Int(conversation_)});
  // A window manager that keeps programs from stealing the focus may refuse Pidgin's own request
  // after the user's click on another window; it grants a taskbar's.
  if (window_ != 0) desktop_.windows.Activate(window_);
}

bool ConversationJob::TakesKeys(const DesktopWindow& window) {
  if (window.id == 0) return false;
  // Only Ctrl+Page Down comes now, and only into the window that holds the conversation while it
  // shows another one: there it switches tabs and types nothing.
  if (behind_) return window.id == window_ && InFrontInstead(window) != 0;
  // The desktop's focus is not enough: GTK must have taken it too, or the keys reach a window
  // that does not know yet that it has the focus.
  return IsConversation(window) && desktop_.windows.HasInputFocus(window.id) &&
         bus_.CallInt("PurpleConversationHasFocus", {Int(conversation_)}) != 0;
}

void ConversationJob::KeysTyped(const DesktopWindow& window, const KeySequence& keys) {
  if (behind_) {
    ++tab_presses_;
    window_ = window.id;
    tabs_window_ = window.title;
    // The next press only once Pidgin has handled this one: a press more would pass the tab.
    desktop_.wait.Until(kTabSwitchWait, [&] {
      return bus_.CallInt("PurpleConversationHasFocus", {Int(conversation_)}) != 0 ||
             bus_.CallInt("PurpleConversationHasFocus", {Int(front_)}) == 0;
    });
    return;
  }
  if (probe_step_) {
    probe_step_ = false;
    draft_.Typed(desktop_.wait, kProbeWait);
    return;
  }
  if (!IsConversation(window)) return;
  window_ = window.id;
  const std::size_t sent_before = typed_.Sent().size();
  typed_.Add(keys);
  keys_unconfirmed_ += KeyCount(keys);
  if (typed_.Sent().size() == sent_before) return;
  AwaitSentReports();
  AwaitRefusal();
  keys_unconfirmed_ = 0;
}

void ConversationJob::AwaitSentReports() {
  const Clock::TimePoint typed_at = desktop_.wait.Now();
  desktop_.wait.Until(ConfirmationWait(keys_unconfirmed_), [&] {
    return refused_.Refusal() || sent_.Sent().size() >= typed_.Sent().size();
  });
  ThrowIfRefused();
  const std::vector<std::string>& reported = sent_.Sent();
  if (typed_.TextsKnown()) {
    for (std::size_t i = 0; i < reported.size() && i < typed_.Sent().size(); ++i) {
      if (reported[i] == typed_.Sent()[i]) continue;
      throw Failure(error_code::kClientError,
                    "Pidgin sent \"" + reported[i] + "\" to \"" + contact_ +
                        "\", not the message typed, \"" + typed_.Sent()[i] +
                        "\": a key was lost on the way, or the conversation already held some "
                        "text");
    }
  }
  if (reported.size() < typed_.Sent().size()) {
    throw Failure(error_code::kClientError,
                  "Pidgin did not send the message to \"" + contact_ + "\" within " +
                      SecondsText(desktop_.wait.Now() - typed_at) +
                      " of the Enter that sends it: the text and the Enter typed into its "
                      "conversation did not reach it as a message. If the text is still in the "
                      "conversation, press Enter there");
  }
}

void ConversationJob::AwaitRefusal() {
  desktop_.wait.Until(kRefusalWait, [&] { return refused_.Refusal().has_value(); });
  ThrowIfRefused();
}

void ConversationJob::ThrowIfRefused() const {
  if (const std::optional<std::string>& refusal = refused_.Refusal()) {
    throw Failure(error_code::kClientError,
                  "The message to \"" + contact_ + "\" was not delivered: " + *refusal);
  }
}

}  // namespace plumwick::purple
