// The status box and the contact list.
#include "messenger/status_and_contacts.h"

#include <array>
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

void SetStatusFromPick(ComboBox& cboStatus, Messenger& msn) {
  for (const StatusName& name : kStatusNames) {
    if (cboStatus.Text() == name.text) {
      msn.MyStatus(name.code);
      return;
    }
  }
}

void SelectList(Messenger& msn, ListBox& lbContacts, Button& cmdload, Button& KewlButtons1) {
  const std::unique_ptr<ContactCollection> contacts = msn.MyContacts();
  const std::unique_ptr<ContactEnumerator> walk = contacts->Enumerate();
  while (const std::unique_ptr<Contact> contact = walk->Next()) {
    if (contact->Status() != status::kOffline) lbContacts.Append(contact->SigninName());
  }
  cmdload.SetEnabled(false);
  KewlButtons1.SetEnabled(true);
}

void ClearList(ListBox& lbContacts, TextBox& Text1, Button& cmdload, Button& KewlButtons1) {
  lbContacts.Clear();
  Text1.SetText("");
  cmdload.SetEnabled(true);
  KewlButtons1.SetEnabled(false);
}

void OpenConversation(const ListBox& lbContacts, Messenger& msn) {
  // The conversation window object is let go at once; the window itself stays open.
  msn.InstantMessage(lbContacts.CurrentText());
}

}  // namespace plumwick::messenger
