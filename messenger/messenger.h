// The Messenger client interface: everything the program says to the messaging client that runs
// beside it. Every operation throws plumwick::Failure (code and description) when it fails.
// The operation names and their call sequences (MyStatus, MyContacts, GetContact, AddContact(0,
// ..), OptionsPages(0, 0), ...) are the contract with the messaging client: they keep its own
// names.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/desktop.h"
#include "platform/focused_window.h"

namespace plumwick::messenger {

// How long a window of the client's has to take the keyboard focus before keys are typed into it.
inline constexpr std::chrono::milliseconds kFocusWait{3000};

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

  // Whether keys typed into the window now reach the client's job under way (a conversation, a
  // dialog), or the client at all when no job is under way. A question: it changes nothing.
  // Answers also when signed out.
  virtual bool OwnsWindow(const DesktopWindow& window) = 0;
  // Called before each look at the focus while keys wait for one of the client's windows, with
  // the window that has the focus now: the client may ask for the window of its job to come
  // back, and throws when the job can no longer succeed (a contact that was not added, say).
  virtual void PrepareForKeys(const DesktopWindow& focused) = 0;
  // The keys of one typing step (key notation) went into the window, which the client owned.
  virtual void KeysTyped(const DesktopWindow& window, const std::string& keys) = 0;
};

// Creates a client object connected to the running messaging client, working with the desktop's
// parts, which outlive it; throws when there is none.
using MessengerFactory = std::function<std::unique_ptr<Messenger>(const Desktop& desktop)>;

}  // namespace plumwick::messenger
