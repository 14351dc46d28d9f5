// Sending a message through a Pidgin conversation.
#include "clients/purple/qt/conversation_job.h"

#include <utility>

#include "platform/failure.h"

namespace plumwick::purple {

namespace {

// libpurple's PURPLE_CONV_TYPE_IM.
constexpr std::int32_t kImConversation = 1;
// How long one Present is given to take the focus before Pidgin is asked again.
constexpr std::chrono::milliseconds kPresentWait{400};
// How often the conversation is asked back while another window has the focus.
constexpr std::chrono::milliseconds kBringBackEvery{300};
// How long after the Enter that sends a message Pidgin has to report it sent. It does so at once,
// without waiting for the server; this leaves room for a busy machine, and ends before the focus
// guard would give up waiting with a less telling error.
constexpr std::chrono::milliseconds kConfirmationWait{2500};

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

}  // namespace

ConversationJob::ConversationJob(PurpleBus& bus, const Desktop& desktop, Handle account,
                                 std::string contact)
    : bus_(bus),
      desktop_(desktop),
      conversation_(OpenConversation(bus, account, contact)),
      contact_(std::move(contact)),
      sent_(bus, account, contact_),
      bring_back_(desktop.wait, kBringBackEvery) {
  const std::int64_t pidgin = bus_.ServiceProcess();
  desktop_.wait.Retry(
      messenger::kFocusWait, kPresentWait,
      [&] { bus_.Call("PurpleConversationPresent", {Int(conversation_)}); },
      [&] {
        if (bus_.CallInt("PurpleConversationHasFocus", {Int(conversation_)}) == 0) return false;
        const DesktopWindow window = desktop_.focus.Focused();
        if (window.id == 0 || window.pid != pidgin || !desktop_.windows.HasInputFocus(window.id)) {
          return false;
        }
        window_ = window.id;
        return true;
      });
}

bool ConversationJob::IsConversation(const DesktopWindow& window) {
  return window_ != 0 ? window.id == window_ : window.pid == bus_.ServiceProcess();
}

void ConversationJob::PrepareForKeys(const DesktopWindow& focused) {
  if (typed_.TextsKnown()) {
    const std::vector<std::string>& reported = sent_.Sent();
    for (std::size_t i = 0; i < reported.size() && i < typed_.Sent().size(); ++i) {
      if (reported[i] == typed_.Sent()[i]) continue;
      throw Failure(error_code::kClientError,
                    "Pidgin sent \"" + reported[i] + "\" to \"" + contact_ +
                        "\", not the message typed, \"" + typed_.Sent()[i] +
                        "\": a key was lost on the way, or the conversation already held some "
                        "text");
    }
  }
  if (AwaitingSentReport()) {
    if (desktop_.wait.Now() - *send_typed_at_ < kConfirmationWait) return;
    throw Failure(error_code::kClientError,
                  "Pidgin did not send the message to \"" + contact_ +
                      "\": the text and the Enter typed into its conversation did not reach it "
                      "as a message. If the text is still in the conversation, press Enter there");
  }
  // Pidgin's buddy list sometimes takes the focus right after a window of Pidgin's opened.
  if (IsConversation(focused) || !bring_back_.Due()) return;
  bus_.Call("PurpleConversationPresent", {Int(conversation_)});
  // A window manager that keeps programs from stealing the focus may refuse Pidgin's own request
  // after the user's click on another window; it grants a taskbar's.
  if (window_ != 0) desktop_.windows.Activate(window_);
}

bool ConversationJob::TakesKeys(const DesktopWindow& window) {
  if (window.id == 0 || AwaitingSentReport()) return false;
  // The desktop's focus is not enough: GTK must have taken it too, or the keys reach a window
  // that does not know yet that it has the focus.
  return IsConversation(window) && desktop_.windows.HasInputFocus(window.id) &&
         bus_.CallInt("PurpleConversationHasFocus", {Int(conversation_)}) != 0;
}

void ConversationJob::KeysTyped(const DesktopWindow& window, const KeySequence& keys) {
  if (!IsConversation(window)) return;
  window_ = window.id;
  const std::size_t sent_before = typed_.Sent().size();
  typed_.Add(keys);
  if (typed_.Sent().size() > sent_before) send_typed_at_ = desktop_.wait.Now();
}

}  // namespace plumwick::purple
