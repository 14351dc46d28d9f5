// The Messenger interface over the running sandbox client, and the contact, collection, enumerator
// and conversation objects it hands out. Those objects read the client live, so a call on one
// obtained before a sign-out fails like any other.
#include "clients/sandbox/sandbox_messenger.h"

#include <optional>
#include <utility>
#include <vector>

#include "platform/failure.h"

namespace plumwick::sandbox {
namespace {

class SandboxContact final : public messenger::Contact {
 public:
  SandboxContact(std::shared_ptr<SandboxClient> client, std::string signin_name)
      : client_(std::move(client)), signin_name_(std::move(signin_name)) {}

  // The state now; a contact removed since it was obtained is an unknown contact.
  std::int32_t Status() const override { return client_->FindContact(signin_name_).status; }

  std::string SigninName() const override {
    client_->RequireSignedIn();
    return signin_name_;
  }

 private:
  std::shared_ptr<SandboxClient> client_;
  std::string signin_name_;
};

class SandboxContactEnumerator final : public messenger::ContactEnumerator {
 public:
  SandboxContactEnumerator(std::shared_ptr<SandboxClient> client, std::vector<std::string> names)
      : client_(std::move(client)), names_(std::move(names)) {}

  std::unique_ptr<messenger::Contact> Next() override {
    client_->RequireSignedIn();
    if (next_ == names_.size()) return nullptr;
    return std::make_unique<SandboxContact>(client_, names_[next_++]);
  }

 private:
  std::shared_ptr<SandboxClient> client_;
  std::vector<std::string> names_;
  std::size_t next_ = 0;
};

class SandboxContactCollection final : public messenger::ContactCollection {
 public:
  explicit SandboxContactCollection(std::shared_ptr<SandboxClient> client)
      : client_(std::move(client)) {}

  // Walks the list as it is now: adding or removing contacts during the walk does not change it.
  std::unique_ptr<messenger::ContactEnumerator> Enumerate() override {
    client_->RequireSignedIn();
    std::vector<std::string> names;
    for (const ContactState& contact : client_->contacts()) names.push_back(contact.signin_name);
    return std::make_unique<SandboxContactEnumerator>(client_, std::move(names));
  }

  void Remove(const messenger::Contact& contact) override {
    client_->RequireSignedIn();
    client_->RemoveContact(contact.SigninName());
  }

 private:
  std::shared_ptr<SandboxClient> client_;
};

// How often the job's window is asked back while the program's window keeps the focus: the window
// manager needs a moment to act on each request.
constexpr std::chrono::milliseconds kBringBackEvery{300};
// How long the add-contact dialog may take to handle the Enter typed into it, its own process's
// event loop running all along.
constexpr std::chrono::seconds kEnterHandledWithin{2};

// Asks for the job's window back after a click on the program's window during the job (a quick
// second click on its button, say) took the focus from it. From another program's window it is
// not: the user went there.
class BringBack {
 public:
  explicit BringBack(const EventWait& wait) : throttle_(wait, kBringBackEvery) {}
  void From(const DesktopWindow& focused, SandboxClient& client, JobWindow window,
            const std::string& contact) {
    if (focused.own && throttle_.Due()) client.BringBack(window, contact);
  }

 private:
  Throttle throttle_;
};

// Typing into one of the client's windows, a conversation or the options dialog: only that window
// takes the keys. The client's windows live in the program's own process, so the window id alone
// tells them from the program's window.
class WindowJob final : public messenger::TypingJob {
 public:
  WindowJob(std::shared_ptr<SandboxClient> client, const EventWait& wait, JobWindow window,
            std::string contact = {})
      : client_(std::move(client)), window_(window), contact_(std::move(contact)), back_(wait) {}

  void PrepareForKeys(const DesktopWindow& focused) override {
    back_.From(focused, *client_, window_, contact_);
  }
  bool TakesKeys(const DesktopWindow& window) override {
    return client_->ShowsJobWindow(window_, contact_, window.id);
  }
  void KeysTyped(const DesktopWindow& /*window*/, const KeySequence& /*keys*/) override {}

 private:
  std::shared_ptr<SandboxClient> client_;
  const JobWindow window_;
  const std::string contact_;
  BringBack back_;
};

// Confirms like a real client: after the dialog's Enter, the next keys wait until the dialog has
// added the contact, and fail with the client's reason when it refused; then they go to the
// notice that confirms it. A notice the user closed before the Enter meant for it comes back for
// that Enter, so a contact that was added is never reported as a failure.
class SandboxAddContactJob final : public messenger::TypingJob {
 public:
  SandboxAddContactJob(std::shared_ptr<SandboxClient> client, const EventWait& wait)
      : client_(std::move(client)), wait_(wait), back_(wait) {}

  void PrepareForKeys(const DesktopWindow& focused) override {
    // Without an outcome the dialog has not taken an Enter yet, or its Enter is on its way.
    if (const auto& outcome = client_->add_outcome()) {
      // Added or refused by an Enter of the user's, before the program's: the job goes on from
      // there.
      step_ = Step::kDismissNotice;
      if (outcome->refusal) {
        throw Failure(outcome->refusal->code(),
                      outcome->refusal->description() +
                          " (the add-contact dialog stays open: correct the address there, or "
                          "close it)");
      }
      client_->ShowAddedNotice();
    } else if (step_ == Step::kDismissNotice) {
      if (wait_.Now() - enter_typed_at_ < kEnterHandledWithin) return;
      throw Failure(error_code::kClientError,
                    "The contact was not added: the Enter typed into the add-contact dialog did "
                    "not reach its Add button. If the dialog is still open, press Add there");
    }
    back_.From(focused, *client_, Window(), {});
  }

  // Until the dialog has added the contact, no window takes the keys after its Enter.
  bool TakesKeys(const DesktopWindow& window) override {
    const auto& outcome = client_->add_outcome();
    if (step_ == Step::kDismissNotice && (!outcome || outcome->refusal)) return false;
    return client_->ShowsJobWindow(Window(), {}, window.id);
  }

  void KeysTyped(const DesktopWindow& window, const KeySequence& keys) override {
    if (step_ != Step::kPressAdd || keys != OnePress(NamedKey::kEnter) ||
        !client_->ShowsJobWindow(JobWindow::kAddContactDialog, {}, window.id)) {
      return;
    }
    step_ = Step::kDismissNotice;
    enter_typed_at_ = wait_.Now();
  }

 private:
  enum class Step { kPressAdd, kDismissNotice };
  JobWindow Window() const {
    return step_ == Step::kPressAdd ? JobWindow::kAddContactDialog : JobWindow::kAddedNotice;
  }

  std::shared_ptr<SandboxClient> client_;
  const EventWait& wait_;
  Step step_ = Step::kPressAdd;
  Clock::TimePoint enter_typed_at_{};
  BringBack back_;
};

void RequireWindow(std::int32_t window) {
  if (window != 0) {
    throw Failure(error_code::kBadArgument,
                  "Window " + std::to_string(window) +
                      " is not one the client can open a dialog over: pass 0 for no parent");
  }
}

}  // namespace

SandboxMessenger::SandboxMessenger(std::shared_ptr<SandboxClient> client, const EventWait& wait)
    : client_(std::move(client)), wait_(wait) {}

void SandboxMessenger::Signout() {
  client_->Signout();
}

std::unique_ptr<messenger::Contact> SandboxMessenger::GetContact(const std::string& signin_name,
                                                                 const std::string& service_id) {
  client_->RequireSignedIn();
  if (signin_name.empty()) {
    throw Failure(error_code::kEmptyContact, "The contact's sign-in name is empty");
  }
  if (service_id != kServiceId) {
    throw Failure(error_code::kUnknownService,
                  "The service \"" + service_id + "\" is not one this client serves (it serves \"" +
                      std::string(kServiceId) + "\")");
  }
  return std::make_unique<SandboxContact>(client_, client_->FindContact(signin_name).signin_name);
}

std::unique_ptr<messenger::TypingJob> SandboxMessenger::OptionsPages(std::int32_t window,
                                                                     std::int32_t page) {
  client_->RequireSignedIn();
  RequireWindow(window);
  if (page != 0) {
    throw Failure(error_code::kBadArgument, "Options page " + std::to_string(page) +
                                                " does not exist: pass 0 for the general page");
  }
  client_->OpenOptionsDialog();
  return std::make_unique<WindowJob>(client_, wait_, JobWindow::kOptionsDialog);
}

std::unique_ptr<messenger::TypingJob> SandboxMessenger::AddContact(std::int32_t window,
                                                                   const std::string& address) {
  client_->RequireSignedIn();
  RequireWindow(window);
  client_->OpenAddContactDialog(address);
  return std::make_unique<SandboxAddContactJob>(client_, wait_);
}

std::unique_ptr<messenger::TypingJob> SandboxMessenger::InstantMessage(const std::string& contact) {
  client_->OpenConversation(contact);
  return std::make_unique<WindowJob>(client_, wait_, JobWindow::kConversation, contact);
}

std::unique_ptr<messenger::ContactCollection> SandboxMessenger::MyContacts() {
  client_->RequireSignedIn();
  return std::make_unique<SandboxContactCollection>(client_);
}

void SandboxMessenger::MyStatus(std::int32_t status) {
  client_->SetStatus(status);
}

std::string SandboxMessenger::MyServiceId() {
  client_->RequireSignedIn();
  return std::string(kServiceId);
}

messenger::MessengerFactory SandboxMessengerFactory(std::shared_ptr<SandboxClient> client) {
  return [client = std::move(client)](
             const ClientDesktop& desktop) -> std::unique_ptr<messenger::Messenger> {
    return std::make_unique<SandboxMessenger>(client, desktop.wait);
  };
}

}  // namespace plumwick::sandbox
