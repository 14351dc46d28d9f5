// The Messenger interface over the running sandbox client, and the contact, collection, enumerator
// and conversation objects it hands out. Those objects read the client live, so a call on one
// obtained before a sign-out fails like any other.
#include "clients/sandbox/sandbox_messenger.h"

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

// The program only holds and lets go of it; the window itself belongs to the client's views.
class SandboxConversation final : public messenger::ConversationWindow {};

// How often the job's window is asked back while the program's window keeps the focus: the window
// manager needs a moment to act on each request.
constexpr std::chrono::milliseconds kBringBackEvery{300};
// How long the add-contact dialog may take to handle the Enter typed into it, its own process's
// event loop running all along.
constexpr std::chrono::seconds kEnterHandledWithin{2};

void RequireWindow(std::int32_t window) {
  if (window != 0) {
    throw Failure(error_code::kBadArgument,
                  "Window " + std::to_string(window) +
                      " is not one the client can open a dialog over: pass 0 for no parent");
  }
}

}  // namespace

SandboxMessenger::SandboxMessenger(std::shared_ptr<SandboxClient> client)
    : client_(std::move(client)) {}

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

void SandboxMessenger::OptionsPages(std::int32_t window, std::int32_t page) {
  client_->RequireSignedIn();
  RequireWindow(window);
  if (page != 0) {
    throw Failure(error_code::kBadArgument, "Options page " + std::to_string(page) +
                                                " does not exist: pass 0 for the general page");
  }
  client_->OpenOptionsDialog();
  job_ = Job::kOptions;
}

void SandboxMessenger::AddContact(std::int32_t window, const std::string& address) {
  client_->RequireSignedIn();
  RequireWindow(window);
  client_->OpenAddContactDialog(address);
  job_ = Job::kAddContact;
  dialog_enter_typed_ = false;
}

std::unique_ptr<messenger::ConversationWindow> SandboxMessenger::InstantMessage(
    const std::string& contact) {
  client_->OpenConversation(contact);
  job_ = Job::kConversation;
  contact_ = contact;
  return std::make_unique<SandboxConversation>();
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

JobWindow SandboxMessenger::KeysWindow() const {
  switch (job_) {
    case Job::kConversation:
      return JobWindow::kConversation;
    case Job::kOptions:
      return JobWindow::kOptionsDialog;
    case Job::kAddContact:
    case Job::kNone:
      break;
  }
  return dialog_enter_typed_ ? JobWindow::kAddedNotice : JobWindow::kAddContactDialog;
}

bool SandboxMessenger::OwnsWindow(const DesktopWindow& window) {
  if (window.own) return false;
  if (job_ == Job::kNone) return client_->OwnsWindow(window.id);
  if (job_ == Job::kAddContact && dialog_enter_typed_) {
    // Until the dialog has added the contact, no window takes the job's keys.
    const auto& outcome = client_->add_outcome();
    if (!outcome || outcome->refusal) return false;
  }
  return client_->ShowsJobWindow(KeysWindow(), contact_, window.id);
}

void SandboxMessenger::PrepareForKeys(const DesktopWindow& focused) {
  if (job_ == Job::kNone) return;
  if (job_ == Job::kAddContact) {
    const auto& outcome = client_->add_outcome();
    // Without an outcome the dialog has not taken an Enter yet, or its Enter is on its way.
    if (outcome) {
      // Added or refused by an Enter of the user's, before the program's: the job goes on from
      // there.
      dialog_enter_typed_ = true;
      if (outcome->refusal) {
        const Failure refusal = *outcome->refusal;
        job_ = Job::kNone;
        throw Failure(refusal.code(), refusal.description() +
                                          " (the add-contact dialog stays open: correct the "
                                          "address there, or close it)");
      }
      client_->ShowAddedNotice();
    } else if (dialog_enter_typed_) {
      if (std::chrono::steady_clock::now() - enter_typed_at_ < kEnterHandledWithin) return;
      job_ = Job::kNone;
      throw Failure(error_code::kClientError,
                    "The contact was not added: the Enter typed into the add-contact dialog did "
                    "not reach its Add button. If the dialog is still open, press Add there");
    }
  }
  if (!focused.own) return;
  const auto now = std::chrono::steady_clock::now();
  if (now - last_bring_back_ < kBringBackEvery) return;
  last_bring_back_ = now;
  client_->BringBack(KeysWindow(), contact_);
}

void SandboxMessenger::KeysTyped(const DesktopWindow& window, const std::string& /*keys*/) {
  if (job_ == Job::kAddContact && !dialog_enter_typed_ &&
      client_->ShowsJobWindow(JobWindow::kAddContactDialog, {}, window.id)) {
    dialog_enter_typed_ = true;
    enter_typed_at_ = std::chrono::steady_clock::now();
  }
}

messenger::MessengerFactory SandboxMessengerFactory(std::shared_ptr<SandboxClient> client) {
  return [client = std::move(client)](const Desktop&) -> std::unique_ptr<messenger::Messenger> {
    return std::make_unique<SandboxMessenger>(client);
  };
}

}  // namespace plumwick::sandbox
