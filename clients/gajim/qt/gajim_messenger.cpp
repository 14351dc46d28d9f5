// The Messenger interface over Gajim's remote object.
#include "clients/gajim/qt/gajim_messenger.h"

#include <algorithm>

#include "clients/gajim/gajim_shows.h"
#include "clients/gajim/process_age.h"
#include "clients/gajim/qt/gajim_accounts.h"
#include "clients/gajim/qt/gajim_add_contact_job.h"
#include "clients/gajim/qt/gajim_chat_job.h"
#include "clients/gajim/qt/gajim_contacts.h"
#include "clients/gajim/qt/gajim_profile_job.h"
#include "clients/gajim/qt/gajim_windows.h"
#include "platform/failure.h"

namespace plumwick::gajim {

namespace {

using std::chrono::milliseconds;

// Between two looks for the remote object of a Gajim that is starting.
constexpr milliseconds kStartUpPoll{250};

// Returns once Gajim's remote object answers. A Gajim that is younger than the allowance may
// still be starting: it is waited for until it is that old (the whole allowance when its age
// cannot be read). Then a missing object is a remote control turned off: its failure says how to
// turn it on.
void AwaitRemoteObject(GajimBus& bus, milliseconds allowance) {
  const std::optional<milliseconds> age = ProcessAge(bus.ServiceProcess());
  const auto deadline = std::chrono::steady_clock::now() +
                        (age ? std::max(milliseconds(0), allowance - *age) : allowance);
  for (;;) {
    try {
      bus.CallStrings("list_accounts");
      return;
    } catch (const Failure& failure) {
      if (failure.code() != error_code::kNotAvailable ||
          std::chrono::steady_clock::now() >= deadline) {
        throw;
      }
    }
    GajimBus::Pause(kStartUpPoll);
  }
}

void RequireNoParent(std::int32_t window) {
  if (window != 0) {
    throw Failure(error_code::kBadArgument,
                  "Window " + std::to_string(window) +
                      " is not one Gajim can open a dialog over: pass 0 for no parent");
  }
}

void RequireName(const std::string& name, const char* what) {
  if (name.empty())
    throw Failure(error_code::kEmptyContact, std::string("The ") + what + " is empty");
}

}  // namespace

GajimMessenger::GajimMessenger(const ClientDesktop& desktop, milliseconds start_up_allowance)
    : desktop_(desktop) {
  if (!bus_.ServiceRunning()) {
    throw Failure(error_code::kNoClient, std::string(kNoClientText) + " (nothing owns " + kService +
                                             " on the session bus)");
  }
  AwaitRemoteObject(bus_, start_up_allowance);
}

void GajimMessenger::Signout() {
  SetShowEverywhere(bus_, QString::fromLatin1(kOffline.data(), kOffline.size()));
}

std::unique_ptr<messenger::Contact> GajimMessenger::GetContact(const std::string& signin_name,
                                                               const std::string& service_id) {
  RequireName(signin_name, "contact's sign-in name");
  if (service_id != kServiceId) {
    throw Failure(error_code::kUnknownService, "The service \"" + service_id +
                                                   "\" is not one of your accounts in Gajim: "
                                                   "Gajim's accounts are all \"" +
                                                   kServiceId + "\"");
  }
  return FindContact(bus_, signin_name);
}

std::unique_ptr<messenger::TypingJob> GajimMessenger::OptionsPages(std::int32_t window,
                                                                   std::int32_t page) {
  RequireNoParent(window);
  if (page != 0) {
    throw Failure(error_code::kBadArgument, "Options page " + std::to_string(page) +
                                                " does not exist: pass 0 for the general page");
  }
  RequireKeysReachGajim(bus_, desktop_);
  return std::make_unique<GajimProfileJob>(bus_, desktop_);
}

std::unique_ptr<messenger::TypingJob> GajimMessenger::AddContact(std::int32_t window,
                                                                 const std::string& address) {
  RequireNoParent(window);
  RequireName(address, "address of the contact to add");
  RequireKeysReachGajim(bus_, desktop_);
  return std::make_unique<GajimAddContactJob>(bus_, desktop_, address);
}

std::unique_ptr<messenger::TypingJob> GajimMessenger::InstantMessage(const std::string& contact) {
  RequireName(contact, "contact's address");
  const std::unique_ptr<GajimContact> found = FindContact(bus_, contact);
  RequireKeysReachGajim(bus_, desktop_);
  return std::make_unique<GajimChatJob>(bus_, desktop_, found->account(), found->address());
}

std::unique_ptr<messenger::ContactCollection> GajimMessenger::MyContacts() {
  SignedOnAccounts(bus_);
  return std::make_unique<GajimContactCollection>(bus_, desktop_);
}

void GajimMessenger::MyStatus(std::int32_t status) {
  SetShowEverywhere(bus_, QString::fromStdString(ShowFor(status)));
}

messenger::MessengerFactory GajimMessengerFactory() {
  return [](const ClientDesktop& desktop) -> std::unique_ptr<messenger::Messenger> {
    return std::make_unique<GajimMessenger>(desktop);
  };
}

}  // namespace plumwick::gajim
