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

#include "keynotation/key_notation.h"
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

class TypingJob;

class ContactCollection {
 public:
  virtual ~ContactCollection() = default;
  virtual std::unique_ptr<ContactEnumerator> Enumerate() = 0;
  // Removes the contact from the user's contacts: nullptr once the client has removed it, or,
  // from a client that asks first, the job whose own steps (OwnKeys) answer its question and whose
  // confirmation waits until the contact is gone. The window is open while the job is held.
  virtual std::unique_ptr<TypingJob> Remove(const Contact& contact) = 0;
};

// A job the client started that the program finishes by typing keys: into the conversation it
// opened, into a dialog and the notice after it. The job is a list of steps, and knows which one
// it is in: the steps it types itself before the program's keys (bringing a tab to the front,
// checking for a draft, moving to the field where Enter acts), the program's keys, the steps it
// types itself after them (saving a window the keys filled in, and closing it), and after each
// step the client's confirmation of what the keys did. The focus guard (ClientTyping) types every
// key of it; the job ends when the program lets it go, which closes no window.
class TypingJob {
 public:
  virtual ~TypingJob() = default;
  // The keys of the job's next step of its own, to type before the program's keys; none once the
  // job is ready for them. The guard asks until it first answers none, typing each step and
  // running its confirmation. `keys_follow` says whether the program will type keys after them:
  // not for a conversation only brought in front, which needs no check for text the user left in
  // it.
  virtual KeySequence OwnKeys(bool /*keys_follow*/) { return {}; }
  // Called before each look at the focus while keys wait for the job's window, with the window
  // that has the focus now: the job may ask for its window to come back, and throws when it can
  // no longer succeed (a contact that was not added, say).
  virtual void PrepareForKeys(const DesktopWindow& focused) = 0;
  // Whether keys typed into the window now reach the job. A question: it changes nothing.
  virtual bool TakesKeys(const DesktopWindow& window) = 0;
  // The keys of one step went into the window, which read them: the job moves on to its next
  // step. A notification: it waits for nothing.
  virtual void KeysTyped(const DesktopWindow& window, const KeySequence& keys) = 0;
  // Waits (handling events) for the client's confirmation of what the step typed last did, where
  // the client gives one (a message sent, a tab in front, the draft check's answer); throws when
  // it says otherwise or nothing in time. Run by the guard after every step.
  virtual void AwaitConfirmation() {}
  // The keys of the job's next step of its own after the program's keys of a step: for a window
  // that the program's Enter would not save, the job saves it, then closes it. None when it has
  // none (the default) or no more. The guard asks after each step of the program's keys until it
  // first answers none, typing each step and running its confirmation as for OwnKeys; once the
  // job closed its window so, it is Finished.
  virtual KeySequence ClosingKeys() { return {}; }
  // Whether the job has nothing left for keys to do although the program has keys left for it:
  // its window closed once everything the keys were for was confirmed. Those keys are not typed.
  virtual bool Finished() const { return false; }
  // Whether the job sends a message's text by the client's own means instead of taking it as
  // typed keys (a client that would read a typed text as its commands, say): it keeps the text,
  // and the program types none of it. Its step then goes out empty, still waited for until the
  // window takes keys, and the job confirms the message as it would typed keys; once it did, the
  // job is Finished. False, taking nothing, for a job that takes only keys.
  virtual bool SendsText(const KeySequence& /*text*/) { return false; }
};

class Messenger {
 public:
  virtual ~Messenger() = default;

  virtual void Signout() = 0;
  virtual std::unique_ptr<Contact> GetContact(const std::string& signin_name,
                                              const std::string& service_id) = 0;
  // Opens the options dialog (window 0: no parent; page 0: general) and returns while it is open,
  // with the job of typing into it.
  virtual std::unique_ptr<TypingJob> OptionsPages(std::int32_t window, std::int32_t page) = 0;
  // Opens the add-contact dialog for the address and returns while it is open, with the job of
  // confirming it.
  virtual std::unique_ptr<TypingJob> AddContact(std::int32_t window,
                                                const std::string& address) = 0;
  // Opens a conversation window with the contact, which then takes the keyboard focus, with the
  // job of typing into it.
  virtual std::unique_ptr<TypingJob> InstantMessage(const std::string& contact) = 0;
  virtual std::unique_ptr<ContactCollection> MyContacts() = 0;
  virtual void MyStatus(std::int32_t status) = 0;
  virtual std::string MyServiceId() = 0;
};

// Creates a client object connected to the running messaging client, working with the desktop's
// parts, which outlive it; throws when there is none.
using MessengerFactory = std::function<std::unique_ptr<Messenger>(const ClientDesktop& desktop)>;

}  // namespace plumwick::messenger
