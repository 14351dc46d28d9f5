// The Messenger interface over the running sandbox client, and the contact, collection and
// enumerator objects it hands out; the jobs are in sandbox_jobs.h and sandbox_conversation_job.h.
// Those objects read the client live, so a call on one obtained before a sign-out fails like any
// other.
#include "clients/sandbox/sandbox_messenger.h"

#include <utility>
#include <vector>

#include "clients/sandbox/sandbox_conversation_job.h"
#include "clients/sandbox/sandbox_jobs.h"
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

  // At once, without asking.
  std::unique_ptr<messenger::TypingJob> Remove(const messenger::Contact& contact) override {
    client_->RequireSignedIn();
    client_->RemoveContact(contact.SigninName());
    return nullptr;
  }

 private:
  std::shared_ptr<SandboxClient> client_;
};

void RequireWindow(std::int32_t window) {
  if (window != 0) {
    throw Failure(error_code::kBadArgument,
                  "Window " + std::to_string(window) +
                      " is not one the client can open a dialog over: pass 0 for no parent");
  }
}

}  // namespace

SandboxMessenger::SandboxMessenger(std::shared_ptr<SandboxClient> client, EventWait& wait)
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
  return std::make_unique<SandboxConversationJob>(client_, wait_, contact);
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
