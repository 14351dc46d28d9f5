// The Messenger interface over Pidgin's D-Bus interface.
#include "clients/purple/qt/purple_messenger.h"

#include "clients/purple/purple_status.h"
#include "clients/purple/qt/add_buddy_dialog.h"
#include "clients/purple/qt/dbus_failure.h"
#include "clients/purple/qt/display_name.h"
#include "clients/purple/qt/purple_accounts.h"
#include "clients/purple/qt/purple_contacts.h"
#include "platform/failure.h"

namespace plumwick::purple {

namespace {

// libpurple's PURPLE_CONV_TYPE_IM.
constexpr std::int32_t kImConversation = 1;
// How long one Present is given to take the focus before Pidgin is asked again.
constexpr std::chrono::milliseconds kPresentWait{400};
// How often the window keys are meant for is asked back while another one has the focus.
constexpr std::chrono::milliseconds kBringBackEvery{300};
// How long after the Enter that adds a contact or sends a message Pidgin has to report the new
// buddy or the message sent. It does so at once, without waiting for the server; this leaves room
// for a busy machine, and ends before the program's focus guard would give up waiting with a less
// telling error.
constexpr std::chrono::milliseconds kConfirmationWait{2500};

// The program only holds and lets go of it; the window stays Pidgin's.
class PurpleConversation final : public messenger::ConversationWindow {};

void RequireNoParent(std::int32_t window) {
  if (window != 0) {
    throw Failure(error_code::kBadArgument,
                  "Window " + std::to_string(window) +
                      " is not one Pidgin can open a dialog over: pass 0 for no parent");
  }
}

void RequireName(const std::string& name, const char* what) {
  if (name.empty())
    throw Failure(error_code::kEmptyContact, std::string("The ") + what + " is empty");
}

}  // namespace

PurpleMessenger::PurpleMessenger(const Desktop& desktop) : desktop_(desktop) {
  if (!bus_.ServiceRunning()) {
    throw Failure(error_code::kNoClient, std::string(kNoClientText) + " (nothing owns " + kService +
                                             " on the session bus)");
  }
  options_ = std::make_unique<clients::OptionsDialog>(
      [this](const std::string& name) { ApplyDisplayName(bus_, name); });
  added_ = std::make_unique<AddedBuddyNotice>(bus_, desktop_.windows);
  sent_ = std::make_unique<SentMessageWatch>(bus_);
}

PurpleMessenger::~PurpleMessenger() = default;

void PurpleMessenger::Signout() {
  ActivateTransientStatus(bus_, primitive::kOffline);
}

std::unique_ptr<messenger::Contact> PurpleMessenger::GetContact(const std::string& signin_name,
                                                                const std::string& service_id) {
  RequireName(signin_name, "contact's sign-in name");
  ActionAccount(bus_);  // signed out comes before any other answer
  bool serves = false;
  for (const Handle account : ActiveAccounts(bus_)) {
    if (bus_.CallString("PurpleAccountGetProtocolId", {Int(account)}).toStdString() != service_id) {
      continue;
    }
    serves = true;
    const Handle buddy =
        bus_.CallInt("PurpleFindBuddy", {Int(account), Str(QString::fromStdString(signin_name))});
    if (buddy != 0) return ContactOf(bus_, buddy);
  }
  if (!serves) {
    throw Failure(error_code::kUnknownService,
                  "The service \"" + service_id + "\" is not one of your accounts in Pidgin");
  }
  throw Failure(error_code::kUnknownContact, "\"" + signin_name + "\" is not in your contact list");
}

void PurpleMessenger::OptionsPages(std::int32_t window, std::int32_t page) {
  RequireNoParent(window);
  if (page != 0) {
    throw Failure(error_code::kBadArgument, "Options page " + std::to_string(page) +
                                                " does not exist: pass 0 for the general page");
  }
  StartRequest();
  options_->Present(QString::fromStdString(CurrentDisplayName(bus_)));
}

void PurpleMessenger::AddContact(std::int32_t window, const std::string& address) {
  RequireNoParent(window);
  RequireName(address, "address of the contact to add");
  const Handle account = ActionAccount(bus_);
  // Pidgin adds nobody twice and then says nothing: say it here, before any window opens.
  if (bus_.CallInt("PurpleFindBuddy", {Int(account), Str(QString::fromStdString(address))}) != 0) {
    throw Failure(error_code::kClientError, "\"" + address + "\" is already in your contact list");
  }
  StartRequest();
  added_->Expect(account, address);
  keys_for_dialog_ = OpenAddBuddyDialog(bus_, desktop_, account, address);
  adding_ = address;
}

std::unique_ptr<messenger::ConversationWindow> PurpleMessenger::InstantMessage(
    const std::string& contact) {
  RequireName(contact, "contact's sign-in name");
  StartRequest();
  // The account that has the contact in its list, or the one actions go through.
  const BuddyOnAccount found = FindBuddyOnConnectedAccount(bus_, contact);
  const Handle account = found.account != 0 ? found.account : ActionAccount(bus_);
  const Handle conversation =
      bus_.CallInt("PurpleConversationNew",
                   {Int(kImConversation), Int(account), Str(QString::fromStdString(contact))},
                   error_code::kNotSignedIn);
  if (conversation == 0) {
    throw Failure(error_code::kClientError,
                  "Pidgin did not open a conversation with \"" + contact + "\"");
  }
  sent_->Expect(account, contact);
  messaging_ = contact;
  PresentUntilFocused(conversation);
  return std::make_unique<PurpleConversation>();
}

void PurpleMessenger::StartRequest() {
  added_->Dismiss();
  keys_for_ = 0;
  keys_for_conversation_ = 0;
  keys_for_dialog_ = 0;
  enter_typed_at_.reset();
  adding_.clear();
  sent_->Forget();
  messaging_.clear();
  typed_ = TypedMessages();
  send_typed_at_.reset();
}

bool PurpleMessenger::IsKeysConversation(const DesktopWindow& window) {
  // A conversation that never took the focus while it was presented counts once it has; until
  // then no other window of Pidgin's does.
  return keys_for_ != 0 ? window.id == keys_for_ : window.pid == bus_.ServiceProcess();
}

void PurpleMessenger::FailWhenUnconfirmed(Clock::TimePoint since, const std::string& description) {
  if (desktop_.wait.Now() - since < kConfirmationWait) return;
  StartRequest();  // the job is over: the next request starts afresh
  throw Failure(error_code::kClientError, description);
}

bool PurpleMessenger::AwaitingSentReport() const {
  return keys_for_conversation_ != 0 && sent_->Sent().size() < typed_.Sent().size();
}

void PurpleMessenger::FailWhenSentDiffers() {
  if (!typed_.TextsKnown()) return;
  const std::vector<std::string>& reported = sent_->Sent();
  for (std::size_t i = 0; i < reported.size() && i < typed_.Sent().size(); ++i) {
    if (reported[i] == typed_.Sent()[i]) continue;
    const std::string description = "Pidgin sent \"" + reported[i] + "\" to \"" + messaging_ +
                                    "\", not the message typed, \"" + typed_.Sent()[i] +
                                    "\": a key was lost on the way, or the conversation already "
                                    "held some text";
    StartRequest();  // the job is over: the next request starts afresh
    throw Failure(error_code::kClientError, description);
  }
}

void PurpleMessenger::BringBackKeysWindow() {
  const Clock::TimePoint now = desktop_.wait.Now();
  if (now - last_bring_back_ < kBringBackEvery) return;
  last_bring_back_ = now;
  if (keys_for_conversation_ != 0) {
    bus_.Call("PurpleConversationPresent", {Int(keys_for_conversation_)});
    // A window manager that keeps programs from stealing the focus may refuse Pidgin's own
    // request after the user's click on another window; it grants a taskbar's.
    if (keys_for_ != 0) desktop_.windows.Activate(keys_for_);
  } else if (keys_for_dialog_ != 0) {
    desktop_.windows.Activate(keys_for_dialog_);
  }
}

void PurpleMessenger::PresentUntilFocused(Handle conversation) {
  // Under a window manager the first present does not always take the focus: ask again until
  // Pidgin says the conversation has it and the desktop agrees. If it never does, the focus
  // guard says so before any key is typed.
  const std::int64_t pidgin = bus_.ServiceProcess();
  const Clock::TimePoint deadline = desktop_.wait.Now() + messenger::kFocusWait;
  keys_for_conversation_ = conversation;
  do {
    bus_.Call("PurpleConversationPresent", {Int(conversation)});
    const bool focused = desktop_.wait.Until(kPresentWait, [&] {
      if (bus_.CallInt("PurpleConversationHasFocus", {Int(conversation)}) == 0) return false;
      const DesktopWindow window = desktop_.focus.Focused();
      if (window.id == 0 || window.pid != pidgin || !desktop_.windows.HasInputFocus(window.id)) {
        return false;
      }
      keys_for_ = window.id;
      return true;
    });
    if (focused) return;
  } while (desktop_.wait.Now() < deadline);
}

std::unique_ptr<messenger::ContactCollection> PurpleMessenger::MyContacts() {
  ActionAccount(bus_);
  return std::make_unique<PurpleContactCollection>(bus_);
}

void PurpleMessenger::MyStatus(std::int32_t status) {
  ActivateTransientStatus(bus_, PrimitiveFor(status));
}

std::string PurpleMessenger::MyServiceId() {
  return bus_.CallString("PurpleAccountGetProtocolId", {Int(ActionAccount(bus_))}).toStdString();
}

bool PurpleMessenger::OwnsWindow(const DesktopWindow& window) {
  if (window.id == 0) return false;
  // While the notice after an added contact is up, the next key is meant for it: Pidgin's
  // buddy list takes the focus once the dialog closes, and Enter there would open a conversation.
  if (added_->Showing()) return added_->Shows(window.id);
  // Added, and the user closed the notice before the Enter meant for it: it is on its way back.
  if (added_->Confirmed()) return false;
  if (options_->Shows(window.id)) return true;
  // The add-contact dialog takes the one Enter that adds the contact; keys after it are meant for
  // the notice that confirms the addition.
  if (keys_for_dialog_ != 0) {
    return !enter_typed_at_ && window.id == keys_for_dialog_ &&
           desktop_.windows.HasInputFocus(window.id);
  }
  // The desktop's focus is not enough: GTK must have taken it too, or the keys reach a window
  // that does not know yet that it has the focus.
  if (keys_for_conversation_ != 0) {
    // Keys after the Enter that sends wait for Pidgin's word that it sent the message.
    if (AwaitingSentReport()) return false;
    return IsKeysConversation(window) && desktop_.windows.HasInputFocus(window.id) &&
           bus_.CallInt("PurpleConversationHasFocus", {Int(keys_for_conversation_)}) != 0;
  }
  // Asked each time: a restarted Pidgin is another process.
  return window.pid != 0 && window.pid == bus_.ServiceProcess();
}

void PurpleMessenger::PrepareForKeys(const DesktopWindow& focused) {
  if (added_->Showing()) return;
  // The notice the user closed comes back for the Enter meant for it, which would otherwise find
  // no window of the job's and fail a job that succeeded.
  if (added_->Confirmed()) return added_->ShowAgain();
  if (options_->Shows(focused.id)) return;
  if (keys_for_dialog_ != 0) {
    if (!enter_typed_at_) {
      if (focused.id != keys_for_dialog_) BringBackKeysWindow();
      return;
    }
    // Without the notice's confirmation the contact was not added, and the job has failed however
    // the keys are typed; it is not reported as done.
    return FailWhenUnconfirmed(*enter_typed_at_,
                               "Pidgin did not add \"" + adding_ +
                                   "\" to your contacts: the Enter typed into its add-contact "
                                   "dialog did not press Add. If the dialog is still open, press "
                                   "its Add button there");
  }
  FailWhenSentDiffers();
  if (AwaitingSentReport()) {
    return FailWhenUnconfirmed(*send_typed_at_,
                               "Pidgin did not send the message to \"" + messaging_ +
                                   "\": the text and the Enter typed into its conversation did "
                                   "not reach it as a message. If the text is still in the "
                                   "conversation, press Enter there");
  }
  // Pidgin's buddy list sometimes takes the focus right after a window of Pidgin's opened.
  if (keys_for_conversation_ != 0 && !IsKeysConversation(focused)) BringBackKeysWindow();
}

void PurpleMessenger::KeysTyped(const DesktopWindow& window, const std::string& keys) {
  if (keys_for_dialog_ != 0 && window.id == keys_for_dialog_ && !enter_typed_at_) {
    enter_typed_at_ = desktop_.wait.Now();
  } else if (keys_for_conversation_ != 0 && IsKeysConversation(window)) {
    keys_for_ = window.id;
    const std::size_t sent_before = typed_.Sent().size();
    typed_.Add(keys);
    if (typed_.Sent().size() > sent_before) send_typed_at_ = desktop_.wait.Now();
  }
}

messenger::MessengerFactory PurpleMessengerFactory() {
  return [](const Desktop& desktop) -> std::unique_ptr<messenger::Messenger> {
    return std::make_unique<PurpleMessenger>(desktop);
  };
}

}  // namespace plumwick::purple
