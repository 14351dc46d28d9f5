// What the running sandbox client tells the windows that show it, and what it asks them. Toolkit-
// free, so the client and its tests build without a desktop; the Qt windows implement it.
#pragma once

#include <cstdint>
#include <string>

namespace plumwick::sandbox {

// The windows the program's jobs type into.
enum class JobWindow {
  kConversation,      // a contact's conversation
  kAddContactDialog,  // the add-contact dialog, before its Enter
  kAddedNotice,       // the notice that a contact was added, after it
  kOptionsDialog,     // the options dialog, and the notice it turns into
};

// The change calls come after each change, once the change is made and its effect line printed. A
// view only reads the client there; it never calls back into an operation that changes it. The
// dialogs a view opens change the client later, from their own event handlers.
class SandboxView {
 public:
  virtual ~SandboxView() = default;
  virtual void StatusChanged(std::int32_t status) = 0;
  // A contact was added or removed.
  virtual void ContactsChanged() = 0;
  virtual void DisplayNameChanged(const std::string& display_name) = 0;
  virtual void SignedOut() = 0;
  // A conversation with the contact was asked for: show it and give it the keyboard focus.
  virtual void OpenConversation(const std::string& signin_name) = 0;

  // The add-contact dialog was asked for: show it filled with the address, in front and with the
  // keyboard focus, and return at once. False when this view shows no dialogs.
  virtual bool OpenAddContact(const std::string& address) = 0;
  // As OpenAddContact, for the options dialog on its general page, the display name selected.
  virtual bool OpenOptions() = 0;

  // Whether `id` is this view's window of that kind, shown and taking keys: the window a job of
  // the program's types into. `contact` says which conversation.
  virtual bool ShowsJobWindow(JobWindow /*window*/, const std::string& /*contact*/,
                              std::uint64_t /*id*/) const noexcept {
    return false;
  }
  // Whether this view shows its window of that kind, whatever its id.
  virtual bool ShowsJobWindowAtAll(JobWindow /*window*/, const std::string& /*contact*/) const noexcept {
    return false;
  }
  // Shows the notice that the last contact was added again, when it was closed before the Enter
  // of the program's meant for it, and brings it to the front; true when it shows. A view without
  // one answers false.
  virtual bool ShowAddedNotice() { return false; }
  // Brings this view's window of that kind back to the front with the keyboard focus, as it is
  // (nothing in it changes); nothing when it has none shown.
  virtual void BringBack(JobWindow /*window*/, const std::string& /*contact*/) {}
  // The text in the entry of this view's conversation with the contact, shown or closed since:
  // what the user typed there and did not send. Empty when the view has no such conversation.
  virtual std::string EntryText(const std::string& /*contact*/) const { return {}; }
};

}  // namespace plumwick::sandbox
