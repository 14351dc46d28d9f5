// The Messenger client interface: everything the program says to the messaging client that runs
// beside it. Every operation throws plumwick::Failure (code and description) when it fails.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/focused_window.h"

namespace plumwick::messenger {

// Presence states as the client reports and takes them.
namespace status {
inline constexpr std::int32_t kOffline = 1;
inline constexpr std::int32_t kOnline = 2;
inline constexpr std::int32_t kBusy = 10;
inline constexpr std::int32_t kAway = 34;
}  // namespace status

class Contact {
 public:
  virtual ~Contact() = default;
  virtual std::int32_t Status() const = 0;
  virtual std::string SigninName() const = 0;
};

// Walks a contact collection from its first element to its last.
class ContactEnumerator {
 public:
  virtual ~ContactEnumerator() = default;
  // The next contact, or nullptr after the last one.
  virtual std::unique_ptr<Contact> Next() = 0;
};

class ContactCollection {
 public:
  virtual ~ContactCollection() = default;
  virtual std::unique_ptr<ContactEnumerator> Enumerate() = 0;
  virtual void Remove(const Contact& contact) = 0;
};

// A conversation window the client opened. The program only holds it and lets it go; letting it go
// does not close the window.
class ConversationWindow {
 public:
  virtual ~ConversationWindow() = default;
};

class Messenger {
 public:
  virtual ~Messenger() = default;

  virtual void Signout() = 0;
  virtual std::unique_ptr<Contact> GetContact(const std::string& signin_name,
                                              const std::string& service_id) = 0;
  // Opens the options dialog (window 0: no parent; page 0: general) and returns while it is open.
  virtual void OptionsPages(std::int32_t window, std::int32_t page) = 0;
  // Opens the add-contact dialog for the address and returns while it is open.
  virtual void AddContact(std::int32_t window, const std::string& address) = 0;
  // Opens a conversation window with the contact, which then takes the keyboard focus.
  virtual std::unique_ptr<ConversationWindow> InstantMessage(const std::string& contact) = 0;
  virtual std::unique_ptr<ContactCollection> MyContacts() = 0;
  virtual void MyStatus(std::int32_t status) = 0;
  virtual std::string MyServiceId() = 0;

  // Whether the window is one of the client's own (a conversation, a dialog), so that keys typed
  // into it reach the client. Answers also when signed out.
  virtual bool OwnsWindow(const DesktopWindow& window) = 0;
};

// Creates a client object connected to the running messaging client; throws when there is none.
using MessengerFactory = std::function<std::unique_ptr<Messenger>()>;

}  // namespace plumwick::messenger
