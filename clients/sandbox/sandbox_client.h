// The running stand-in messaging client: a signed-in account with a built-in contact list, kept in
// memory only. Every effect is printed as one line on the effects stream (flushed at once, so a
// test reading a pipe sees it) and reported to the attached views.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "clients/sandbox/sandbox_view.h"
#include "platform/failure.h"

namespace plumwick::sandbox {

inline constexpr std::string_view kServiceId = "sandbox";

struct ContactState {
  std::string signin_name;
  std::int32_t status;
};

// What confirming the add-contact dialog did: the contact added, or why not.
struct AddOutcome {
  std::string address;
  std::optional<Failure> refusal;  // nullopt: added
};

// The name a person reads for a presence state: "Online", "Offline", "Out to lunch", ...
std::string StatusText(std::int32_t status);

class SandboxClient {
 public:
  explicit SandboxClient(std::ostream& effects);
  SandboxClient(const SandboxClient&) = delete;
  SandboxClient& operator=(const SandboxClient&) = delete;

  // The view must stay alive until it is removed.
  void AddView(SandboxView& view);
  void RemoveView(SandboxView& view);

  // The state, readable also after sign-out so the windows can show it.
  bool signed_in() const { return signed_in_; }
  const std::string& signin_name() const { return signin_name_; }
  const std::string& display_name() const { return display_name_; }
  std::int32_t status() const { return status_; }
  const std::vector<ContactState>& contacts() const { return contacts_; }

  // Every operation below throws plumwick::Failure: kNotSignedIn once signed out, then the
  // code of the bad input.
  void RequireSignedIn() const;
  // kEmptyContact, kUnknownContact.
  ContactState FindContact(const std::string& signin_name) const;

  // kBadArgument for any status but Online, Busy and Away.
  void SetStatus(std::int32_t status);
  void OpenConversation(const std::string& signin_name);
  // The contact may be offline; kBadArgument for an empty text.
  void SendMessage(const std::string& signin_name, const std::string& text);
  // Every message sent to the contact since the client started, oldest first: what a job compares
  // with the messages its keys typed.
  const std::vector<std::string>& SentTo(const std::string& signin_name) const;
  // The text in the entry of the conversation with the contact that a view shows (or showed:
  // closing one keeps its text); empty when there is none.
  std::string EntryText(const std::string& signin_name) const;
  // The new contact starts offline; kClientError when the address is already in the list.
  void AddContact(const std::string& address);
  void RemoveContact(const std::string& signin_name);
  // kBadArgument for an empty name.
  void SetDisplayName(const std::string& display_name);
  void Signout();

  // The dialogs only open here; confirming one in its window then calls AddContact or
  // SetDisplayName, so an address already in the list fails only then. kNotAvailable when no
  // attached view shows dialogs: the request must not look granted when nothing opened.
  // kEmptyContact.
  void OpenAddContactDialog(const std::string& address);
  void OpenOptionsDialog();

  // Whether some view shows that window of a job as `id` (see SandboxView).
  bool ShowsJobWindow(JobWindow window, const std::string& contact,
                      std::uint64_t id) const noexcept;
  // Whether some view shows that window of a job at all.
  bool ShowsJobWindowAtAll(JobWindow window, const std::string& contact) const noexcept;
  // Asks the views to show the notice of the last contact added again; true when one shows it.
  bool ShowAddedNotice();
  // Asks the views to bring that window of a job back to the front (see SandboxView).
  void BringBack(JobWindow window, const std::string& contact);

  // What the last AddContact did since the add-contact dialog was last opened; nullopt when it
  // has not been called since.
  const std::optional<AddOutcome>& add_outcome() const { return add_outcome_; }

 private:
  void Effect(const std::string& line);
  template <typename Call>
  void Notify(Call call);
  // Asks every view; true when any of them answered true.
  template <typename Ask>
  bool AnyView(Ask ask) const;

  std::ostream& effects_;
  std::vector<SandboxView*> views_;
  bool signed_in_ = true;
  std::string signin_name_;
  std::string display_name_;
  std::int32_t status_;
  std::vector<ContactState> contacts_;
  std::optional<AddOutcome> add_outcome_;
  std::map<std::string, std::vector<std::string>> sent_;  // by contact
};

}  // namespace plumwick::sandbox
