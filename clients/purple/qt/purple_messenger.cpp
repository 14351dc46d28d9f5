// The Messenger interface over Pidgin's D-Bus interface.
#include "clients/purple/qt/purple_messenger.h"

#include <optional>
#include <vector>

#include "clients/purple/purple_status.h"
#include "clients/purple/qt/add_contact_job.h"
#include "clients/purple/qt/conversation_job.h"
#include "clients/purple/qt/dbus_failure.h"
#include "clients/purple/qt/display_name.h"
#include "clients/purple/qt/purple_accounts.h"
#include "clients/purple/qt/purple_contacts.h"
#include "clients/purple/xmpp_address.h"
#include "messenger/contact_rows.h"
#include "platform/failure.h"

namespace plumwick::purple {

namespace {

// Typing into this client's own options dialog, which needs no readying.
class OptionsJob final : public messenger::TypingJob {
 public:
  explicit OptionsJob(const clients::OptionsDialog& dialog) : dialog_(dialog) {}
  void PrepareForKeys(const DesktopWindow& /*focused*/) override {}
  bool TakesKeys(const DesktopWindow& window) override { return dialog_.Shows(window.id); }
  void KeysTyped(const DesktopWindow& /*window*/, const KeySequence& /*keys*/) override {}

 private:
  const clients::OptionsDialog& dialog_;
};

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

// The address to add as the account's protocol keeps it: for XMPP without the resource, and with
// case folded as Pidgin folds it. Text that is no address of the protocol is refused here, before
// any dialog opens: Pidgin would put it into its own list, and the server would never have it.
std::string AddressToAdd(PurpleBus& bus, Handle account, const std::string& protocol,
                         const std::string& typed) {
  std::string address = typed;
  if (protocol == kXmppProtocol) {
    XmppAddress read = ReadXmppAddress(typed);
    if (!read.problem.empty()) {
      throw Failure(error_code::kBadArgument,
                    "\"" + typed + "\" is not an XMPP address: " + read.problem);
    }
    address = std::move(read.bare);
  }
  // Pidgin hands back what it cannot read unchanged, and an empty text for nothing.
  const std::string normalised =
      bus.CallString("PurpleNormalize", {Int(account), Str(QString::fromStdString(address))})
          .toStdString();
  return normalised.empty() ? address : normalised;
}

}  // namespace

PurpleMessenger::PurpleMessenger(const ClientDesktop& desktop) : desktop_(desktop) {
  if (!bus_.ServiceRunning()) {
    throw Failure(error_code::kNoClient, std::string(kNoClientText) + " (nothing owns " + kService +
                                             " on the session bus)");
  }
  options_ = std::make_unique<clients::OptionsDialog>(
      [this](const std::string& name) { ApplyDisplayName(bus_, name); });
}

PurpleMessenger::~PurpleMessenger() = default;

void PurpleMessenger::Signout() {
  ActivateTransientStatus(bus_, primitive::kOffline);
}

std::unique_ptr<messenger::Contact> PurpleMessenger::GetContact(const std::string& signin_name,
                                                                const std::string& service_id) {
  RequireName(signin_name, "contact's sign-in name");
  // Signed out comes before any other answer; then the one rule among the accounts of the service.
  std::vector<Handle> serving;
  for (const Handle account : SignedOnAccounts(bus_)) {
    if (bus_.CallString("PurpleAccountGetProtocolId", {Int(account)}).toStdString() == service_id) {
      serving.push_back(account);
    }
  }
  if (serving.empty()) {
    throw Failure(error_code::kUnknownService,
                  "The service \"" + service_id + "\" is not one of your accounts in Pidgin");
  }
  const Handle account = AccountFor(bus_, signin_name, serving);
  const Handle buddy =
      bus_.CallInt("PurpleFindBuddy", {Int(account), Str(QString::fromStdString(signin_name))});
  if (buddy != 0) return ContactOf(bus_, buddy);
  throw Failure(error_code::kUnknownContact, "\"" + signin_name + "\" is not in your contact list");
}

std::unique_ptr<messenger::TypingJob> PurpleMessenger::OptionsPages(std::int32_t window,
                                                                    std::int32_t page) {
  RequireNoParent(window);
  if (page != 0) {
    throw Failure(error_code::kBadArgument, "Options page " + std::to_string(page) +
                                                " does not exist: pass 0 for the general page");
  }
  options_->Present(QString::fromStdString(CurrentDisplayName(bus_)));
  return std::make_unique<OptionsJob>(*options_);
}

std::unique_ptr<messenger::TypingJob> PurpleMessenger::AddContact(std::int32_t window,
                                                                  const std::string& address) {
  RequireNoParent(window);
  RequireName(address, "address of the contact to add");
  // The address is read as the first signed-on account's protocol reads it; the account it is
  // added to follows the one rule, which finds an account that has it already.
  const Handle first = ActionAccount(bus_);
  const std::string protocol =
      bus_.CallString("PurpleAccountGetProtocolId", {Int(first)}).toStdString();
  const std::string contact = AddressToAdd(bus_, first, protocol, address);
  const Handle account = AccountFor(bus_, contact);
  // Pidgin adds nobody twice and then says nothing: say it here, before any window opens.
  if (bus_.CallInt("PurpleFindBuddy", {Int(account), Str(QString::fromStdString(contact))}) != 0) {
    throw Failure(error_code::kClientError, "\"" + contact + "\" is already in your contact list");
  }
  return std::make_unique<AddContactJob>(bus_, desktop_, account, contact,
                                         protocol == kXmppProtocol);
}

std::unique_ptr<messenger::TypingJob> PurpleMessenger::InstantMessage(const std::string& contact) {
  RequireName(contact, "contact's sign-in name");
  // A row of the list that names its account opens the conversation on that account.
  if (const std::optional<messenger::ContactOnAccount> row = messenger::ReadRowOnAccount(contact)) {
    if (const Handle account = SignedOnAccountNamed(bus_, row->account_name)) {
      return std::make_unique<ConversationJob>(bus_, desktop_, account, row->contact);
    }
  }
  return std::make_unique<ConversationJob>(bus_, desktop_, AccountFor(bus_, contact), contact);
}

std::unique_ptr<messenger::ContactCollection> PurpleMessenger::MyContacts() {
  ActionAccount(bus_);
  return std::make_unique<PurpleContactCollection>(bus_, list_memory_);
}

void PurpleMessenger::MyStatus(std::int32_t status) {
  ActivateTransientStatus(bus_, PrimitiveFor(status));
}

std::string PurpleMessenger::MyServiceId() {
  return bus_.CallString("PurpleAccountGetProtocolId", {Int(ActionAccount(bus_))}).toStdString();
}

messenger::MessengerFactory PurpleMessengerFactory() {
  return [](const ClientDesktop& desktop) -> std::unique_ptr<messenger::Messenger> {
    return std::make_unique<PurpleMessenger>(desktop);
  };
}

}  // namespace plumwick::purple
