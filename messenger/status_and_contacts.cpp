// The status box and the contact list.
#include "messenger/status_and_contacts.h"

#include <array>
#include <memory>
#include <string>
#include <string_view>

namespace plumwick::messenger {

namespace {

struct StatusName {
  std::string_view text;
  std::int32_t code;
};

constexpr std::array<StatusName, 3> kStatusNames{{
    {"Online", status::kOnline},
    {"Busy", status::kBusy},
    {"Away", status::kAway},
}};

}  // namespace

void AppendStatusNames(ComboBox& status_box) {
  for (const StatusName& name : kStatusNames) status_box.Append(std::string(name.text));
}

void SetStatusFromPick(ComboBox& status_box, Messenger& client) {
  // The box never shows a status that was not set.
  struct UndoUnlessSet {
    ComboBox& box;
    bool set = false;
    ~UndoUnlessSet() {
      if (!set) box.UndoPick();
    }
  };
  for (const StatusName& name : kStatusNames) {
    if (status_box.Text() == name.text) {
      UndoUnlessSet undo{status_box};
      client.MyStatus(name.code);
      undo.set = true;
      return;
    }
  }
}

void SelectList(Messenger& client, ListBox& contact_list, Button& select_list, Button& clear_list) {
  const std::unique_ptr<ContactCollection> contacts = client.MyContacts();
  const std::unique_ptr<ContactEnumerator> walk = contacts->Enumerate();
  while (const std::unique_ptr<Contact> contact = walk->Next()) {
    if (contact->Status() != status::kOffline) contact_list.Append(contact->SigninName());
  }
  select_list.SetEnabled(false);
  clear_list.SetEnabled(true);
}

void ClearList(ListBox& contact_list, TextBox& pad, Button& select_list, Button& clear_list) {
  contact_list.Clear();
  pad.SetText("");
  select_list.SetEnabled(true);
  clear_list.SetEnabled(false);
}

void OpenConversation(const std::string& entry, Messenger& client, ClientTyping& typing) {
  // The conversation window object is let go once it is in front; the window itself stays open.
  const std::unique_ptr<TypingJob> conversation = client.InstantMessage(entry);
  typing.BringForward(*conversation);
}

}  // namespace plumwick::messenger
