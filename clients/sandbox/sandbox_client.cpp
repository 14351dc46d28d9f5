// The running stand-in messaging client: its built-in account, its rules for each request and the
// effect line each change prints.
#include "clients/sandbox/sandbox_client.h"

#include <algorithm>

#include "messenger/messenger.h"
#include "platform/failure.h"

namespace plumwick::sandbox {
namespace {

namespace presence = messenger::status;
// A presence the client reports for a contact but cannot be asked to set.
constexpr std::int32_t kOutToLunch = 66;

std::string Quoted(const std::string& text) {
  return "\"" + text + "\"";
}

auto Named(const std::string& signin_name) {
  return [&signin_name](const ContactState& contact) { return contact.signin_name == signin_name; };
}

}  // namespace

std::string StatusText(std::int32_t code) {
  switch (code) {
    case presence::kOffline:
      return "Offline";
    case presence::kOnline:
      return "Online";
    case presence::kBusy:
      return "Busy";
    case presence::kAway:
      return "Away";
    case kOutToLunch:
      return "Out to lunch";
    default:
      return "Status " + std::to_string(code);
  }
}

SandboxClient::SandboxClient(std::ostream& effects)
    : effects_(effects),
      signin_name_("you@example.com"),
      display_name_("Plumwick User"),
      status_(presence::kOnline),
      contacts_{{"alice@example.com", presence::kOnline}, {"bob@example.com", presence::kOffline},
                {"carol@example.com", presence::kBusy},   {"dave@example.com", presence::kAway},
                {"erin@example.com", presence::kOffline}, {"frank@example.com", kOutToLunch},
                {"grace@example.com", presence::kOnline}} {}

void SandboxClient::AddView(SandboxView& view) {
  views_.push_back(&view);
}

void SandboxClient::RemoveView(SandboxView& view) {
  std::erase(views_, &view);
}

void SandboxClient::RequireSignedIn() const {
  if (!signed_in_) {
    throw Failure(error_code::kNotSignedIn,
                  "You are signed out of the messaging client: sign in again to use it");
  }
}

ContactState SandboxClient::FindContact(const std::string& signin_name) const {
  RequireSignedIn();
  if (signin_name.empty()) {
    throw Failure(error_code::kEmptyContact, "The contact's sign-in name is empty");
  }
  const auto found = std::ranges::find_if(contacts_, Named(signin_name));
  if (found == contacts_.end()) {
    throw Failure(error_code::kUnknownContact,
                  Quoted(signin_name) + " is not in your contact list");
  }
  return *found;
}

void SandboxClient::SetStatus(std::int32_t code) {
  RequireSignedIn();
  if (code != presence::kOnline && code != presence::kBusy && code != presence::kAway) {
    throw Failure(error_code::kBadArgument, "Status " + std::to_string(code) +
                                                " cannot be set: the client takes 2 (Online), "
                                                "10 (Busy) or 34 (Away)");
  }
  status_ = code;
  Effect("status set to " + std::to_string(code) + " (" + StatusText(code) + ")");
  Notify([code](SandboxView& view) { view.StatusChanged(code); });
}

void SandboxClient::OpenConversation(const std::string& signin_name) {
  FindContact(signin_name);
  Effect("conversation opened with " + signin_name);
  Notify([&signin_name](SandboxView& view) { view.OpenConversation(signin_name); });
}

void SandboxClient::SendMessage(const std::string& signin_name, const std::string& text) {
  FindContact(signin_name);
  if (text.empty()) {
    throw Failure(error_code::kBadArgument,
                  "An empty message to " + Quoted(signin_name) + " cannot be sent");
  }
  sent_[signin_name].push_back(text);
  Effect("message sent to " + signin_name + ": " + text);
}

const std::vector<std::string>& SandboxClient::SentTo(const std::string& signin_name) const {
  static const std::vector<std::string> none;
  const auto found = sent_.find(signin_name);
  return found == sent_.end() ? none : found->second;
}

std::string SandboxClient::EntryText(const std::string& signin_name) const {
  for (const SandboxView* view : views_) {
    if (std::string text = view->EntryText(signin_name); !text.empty()) return text;
  }
  return {};
}

void SandboxClient::AddContact(const std::string& address) {
  try {
    RequireSignedIn();
    if (address.empty()) {
      throw Failure(error_code::kEmptyContact, "The address of the contact to add is empty");
    }
    if (std::ranges::any_of(contacts_, Named(address))) {
      throw Failure(error_code::kClientError, Quoted(address) + " is already in your contact list");
    }
  } catch (const Failure& refusal) {
    // Kept for the program's job that typed the Enter: the dialog shows the reason in its
    // window, and the job must not go on as if the contact were added.
    add_outcome_ = AddOutcome{address, refusal};
    throw;
  }
  add_outcome_ = AddOutcome{address, std::nullopt};
  contacts_.push_back({address, presence::kOffline});
  Effect("contact added: " + address);
  Notify([](SandboxView& view) { view.ContactsChanged(); });
}

void SandboxClient::RemoveContact(const std::string& signin_name) {
  // A copy: the name may be one of the list's own entries, which the erase moves.
  const std::string removed = FindContact(signin_name).signin_name;
  std::erase_if(contacts_, Named(removed));
  Effect("contact removed: " + removed);
  Notify([](SandboxView& view) { view.ContactsChanged(); });
}

void SandboxClient::SetDisplayName(const std::string& display_name) {
  RequireSignedIn();
  if (display_name.empty()) {
    throw Failure(error_code::kBadArgument, "The display name cannot be empty");
  }
  display_name_ = display_name;
  Effect("display name changed to " + display_name);
  Notify([&display_name](SandboxView& view) { view.DisplayNameChanged(display_name); });
}

void SandboxClient::Signout() {
  RequireSignedIn();
  signed_in_ = false;
  Effect("signed out");
  Notify([](SandboxView& view) { view.SignedOut(); });
}

void SandboxClient::OpenAddContactDialog(const std::string& address) {
  RequireSignedIn();
  if (address.empty()) {
    throw Failure(error_code::kEmptyContact, "The address of the contact to add is empty");
  }
  add_outcome_.reset();
  if (!AnyView([&address](SandboxView& view) { return view.OpenAddContact(address); })) {
    throw Failure(error_code::kNotAvailable,
                  "The add-contact dialog (for " + Quoted(address) +
                      ") cannot be opened: the sandbox client shows no windows");
  }
  Effect("add-contact dialog opened for " + address);
}

void SandboxClient::OpenOptionsDialog() {
  RequireSignedIn();
  if (!AnyView([](SandboxView& view) { return view.OpenOptions(); })) {
    throw Failure(error_code::kNotAvailable,
                  "The options dialog cannot be opened: the sandbox client shows no windows");
  }
  Effect("options dialog opened");
}

bool SandboxClient::ShowsJobWindow(JobWindow window, const std::string& contact,
                                   std::uint64_t id) const noexcept {
  return id != 0 &&
         AnyView([&](const SandboxView& view) { return view.ShowsJobWindow(window, contact, id); });
}

bool SandboxClient::ShowsJobWindowAtAll(JobWindow window,
                                        const std::string& contact) const noexcept {
  return AnyView(
      [&](const SandboxView& view) { return view.ShowsJobWindowAtAll(window, contact); });
}

bool SandboxClient::ShowAddedNotice() {
  return AnyView([](SandboxView& view) { return view.ShowAddedNotice(); });
}

void SandboxClient::BringBack(JobWindow window, const std::string& contact) {
  Notify([&](SandboxView& view) { view.BringBack(window, contact); });
}

void SandboxClient::Effect(const std::string& line) {
  effects_ << "sandbox: " << line << std::endl;
}

template <typename Call>
void SandboxClient::Notify(Call call) {
  // A copy, so a view that detaches itself while being told does not upset the walk.
  const std::vector<SandboxView*> views = views_;
  for (SandboxView* view : views) call(*view);
}

template <typename Ask>
bool SandboxClient::AnyView(Ask ask) const {
  // Every view is asked, also after one said yes: each front end shows its own dialog.
  const std::vector<SandboxView*> views = views_;
  bool any = false;
  for (SandboxView* view : views) any = ask(*view) || any;
  return any;
}

}  // namespace plumwick::sandbox
