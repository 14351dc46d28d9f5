// The Messenger interface over Gajim's remote object (its "D-Bus Interface" setting). Everything
// is asked of Gajim when it is needed, by the service's name, so a Gajim that quits and starts
// again is found again. Where its remote object only opens a window (Add Contact, Remove Contact,
// the Profile window), the job types into it.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "clients/gajim/qt/gajim_bus.h"
#include "messenger/messenger.h"
#include "platform/desktop.h"

namespace plumwick::gajim {

// How long after Gajim's start its remote object may still be missing: Gajim offers it some six
// seconds after it takes its name on the bus.
inline constexpr std::chrono::milliseconds kStartUpAllowance{10000};

// The service every account of Gajim's is on, as the window passes it back to GetContact.
inline constexpr char kServiceId[] = "xmpp";

class GajimMessenger final : public messenger::Messenger {
 public:
  // Connects to the session bus and requires Gajim on it (Failure(kNoClient) otherwise) with its
  // remote object: a Gajim that started less than `start_up_allowance` ago is waited for until
  // then; after that a missing object is Failure(kNotAvailable) saying how to turn it on. A
  // QCoreApplication must exist. The desktop's parts outlive the object.
  explicit GajimMessenger(const ClientDesktop& desktop,
                          std::chrono::milliseconds start_up_allowance = kStartUpAllowance);

  // Every enabled account offline, confirmed by Gajim.
  void Signout() override;
  // The contact in the first signed-on account's roster that lists it; `service_id` must be
  // kServiceId (Failure(kUnknownService) otherwise).
  std::unique_ptr<messenger::Contact> GetContact(const std::string& signin_name,
                                                 const std::string& service_id) override;
  // Gajim's Profile window of the first signed-on account, for the nickname (GajimProfileJob);
  // `window` and `page` must be 0.
  std::unique_ptr<messenger::TypingJob> OptionsPages(std::int32_t window,
                                                     std::int32_t page) override;
  // Gajim's Add Contact window for the address (GajimAddContactJob); `window` must be 0.
  std::unique_ptr<messenger::TypingJob> AddContact(std::int32_t window,
                                                   const std::string& address) override;
  // The chat with the contact of the first signed-on account that lists it, selected in Gajim's
  // main window, which has the focus; its job sends a message's text by Gajim's call.
  std::unique_ptr<messenger::TypingJob> InstantMessage(const std::string& contact) override;
  // The contacts of every enabled account; Failure(kNotSignedIn) when none is signed on.
  std::unique_ptr<messenger::ContactCollection> MyContacts() override;
  // Online, busy or away on every enabled account, confirmed by Gajim.
  void MyStatus(std::int32_t status) override;
  std::string MyServiceId() override { return kServiceId; }

 private:
  GajimBus bus_;
  const ClientDesktop desktop_;
};

// Creates GajimMessenger objects for the window.
messenger::MessengerFactory GajimMessengerFactory();

}  // namespace plumwick::gajim
