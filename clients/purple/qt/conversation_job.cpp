// Sending a message through a Pidgin conversation.
#include "clients/purple/qt/conversation_job.h"

#include <utility>

#include "messenger/client_typing.h"
#include "platform/failure.h"

namespace plumwick::purple {

namespace {

// libpurple's PURPLE_CONV_TYPE_IM.
constexpr std::int32_t kImConversation = 1;
// How long one Present is given to take the focus before Pidgin is asked again.
constexpr std::chrono::milliseconds kPresentWait{400};
// How often the conversation is asked back while another window has the focus.
constexpr std::chrono::milliseconds kBringBackEvery{300};
// How long Pidgin is given to handle the keys of a step of the draft check.
constexpr std::chrono::milliseconds kProbeWait{2000};

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

}  // namespace

ConversationJob::ConversationJob(PurpleBus& bus, const ClientDesktop& desktop, Handle account,
                                 std::string contact)
    : bus_(bus),
      desktop_(desktop),
      was_open_(ConversationOpen(bus, account, contact)),
      conversation_(OpenConversation(bus, account, contact)),
      contact_(std::move(contact)),
      step_(was_open_ ? Step::kDraftCheck : Step::kMessage),
      tab_(bus, desktop, conversation_, contact_),
      draft_(bus, conversation_),
      sent_(bus, desktop, account, conversation_, contact_),
      bring_back_(desktop.wait, kBringBackEvery) {
  const Clock::TimePoint start = desktop_.wait.Now();
  if (desktop_.wait.Retry(
          messenger::kFocusWait, kPresentWait,
          [&] { bus_.Call("PurpleConversationPresent", {Int(conversation_)}); },
          [&] {
            window_ = FocusedWindow();
            if (window_ != 0) return true;
            // Present raises the conversation's window but leaves another tab in front. Looked
            // at once the first present had its time: until then the focus may still be on
            // another window of Pidgin's, whose tabs are no business of this job.
            if (desktop_.wait.Now() - start < kPresentWait ||
                !tab_.Behind(desktop_.focus.Focused())) {
              return false;
            }
            step_ = Step::kTabToFront;
            window_ = tab_.window();
            return true;
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

template <typename Part>
auto ConversationJob::Told(Part part) {
  try {
    return part();
  } catch (const Failure& failure) {
    throw InUserWords(failure);
  }
}

KeySequence ConversationJob::OwnKeys(bool keys_follow) {
  return Told([&]() -> KeySequence {
    if (step_ == Step::kTabToFront) {
      const std::uint64_t focused = FocusedWindow();
      if (KeySequence keys = tab_.Keys(focused != 0); !keys.empty()) return keys;
      window_ = focused;
      step_ = was_open_ ? Step::kDraftCheck : Step::kMessage;
    }
    if (step_ != Step::kDraftCheck) return {};
    // A conversation only brought forward takes no keys a draft could join.
    if (!keys_follow) {
      step_ = Step::kMessage;
      return {};
    }
    if (KeySequence keys = draft_.Keys(); !keys.empty()) return keys;
    step_ = Step::kMessage;
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
  });
}

void ConversationJob::PrepareForKeys(const DesktopWindow& focused) {
  // Pidgin's buddy list sometimes takes the focus right after a window of Pidgin's opened.
  if (IsConversation(focused) || !bring_back_.Due()) return;
  Told([&] { bus_.Call("PurpleConversationPresent", {Int(conversation_)}); });
  // A window manager that keeps programs from stealing the focus may refuse Pidgin's own request
  // after the user's click on another window; it grants a taskbar's.
  if (window_ != 0) desktop_.windows.Activate(window_);
}

bool ConversationJob::TakesKeys(const DesktopWindow& window) {
  if (window.id == 0) return false;
  return Told([&] {
    if (step_ == Step::kTabToFront) return tab_.TakesKeys(window);
    // The desktop's focus is not enough: GTK must have taken it too, or the keys reach a window
    // that does not know yet that it has the focus.
    return IsConversation(window) && desktop_.windows.HasInputFocus(window.id) &&
           bus_.CallInt("PurpleConversationHasFocus", {Int(conversation_)}) != 0;
  });
}

void ConversationJob::KeysTyped(const DesktopWindow& window, const KeySequence& keys) {
  switch (step_) {
    case Step::kTabToFront:
      return tab_.Typed(window);
    case Step::kDraftCheck:
      return;  // the check knows its own steps
    case Step::kMessage:
      if (!IsConversation(window)) return;
      window_ = window.id;
      return sent_.Typed(keys);
  }
}

void ConversationJob::AwaitConfirmation() {
  Told([&] {
    switch (step_) {
      case Step::kTabToFront:
        return tab_.AwaitSwitch();
      case Step::kDraftCheck:
        return draft_.Typed(desktop_.wait, kProbeWait);
      case Step::kMessage:
        return sent_.Await();
    }
  });
}

bool ConversationJob::Finished() const {
  if (!sent_.AllConfirmed() || sent_.keys_unconfirmed() > 0) return false;
  try {
    return !Open();
  } catch (const Failure&) {
    return true;  // Pidgin quit, closing the conversation
  }
}

std::uint64_t ConversationJob::FocusedWindow() {
  if (bus_.CallInt("PurpleConversationHasFocus", {Int(conversation_)}) == 0) return 0;
  const DesktopWindow window = desktop_.focus.Focused();
  if (window.id == 0 || window.pid != bus_.ServiceProcess() ||
      !desktop_.windows.HasInputFocus(window.id)) {
    return 0;
  }
  return window.id;
}

bool ConversationJob::IsConversation(const DesktopWindow& window) const {
  return window_ != 0 ? window.id == window_ : window.pid == bus_.ServiceProcess();
}

bool ConversationJob::Open() const {
  for (const Handle open : bus_.CallIntArray("PurpleGetConversations")) {
    if (open == conversation_) return true;
  }
  return false;
}

Failure ConversationJob::InUserWords(const Failure& failure) const {
  const std::string typed =
      sent_.keys_unconfirmed() > 0 ? " (the text typed into its conversation went with it)" : "";
  bool open = false;
  try {
    open = bus_.ServiceRunning() && Open();
    if (open) return failure;
  } catch (const Failure&) {
  }
  if (!bus_.ServiceRunning()) {
    return Failure(error_code::kNoClient, "Pidgin quit before the message to \"" + contact_ +
                                              "\" was sent, so it was not sent" + typed);
  }
  if (sent_.AllConfirmed() && sent_.keys_unconfirmed() == 0) {
    return Failure(error_code::kClientError,
                   "The message to \"" + contact_ +
                       "\" was sent; then its conversation was closed in Pidgin, so the job's "
                       "last Enter was not typed");
  }
  return Failure(error_code::kClientError,
                 "The conversation with \"" + contact_ +
                     "\" was closed in Pidgin before the message was sent, so it was not sent" +
                     typed);
}

}  // namespace plumwick::purple
