// The contact and account actions.
#include "messenger/contact_actions.h"

namespace plumwick::messenger {

namespace {

using Seconds = std::chrono::duration<double>;

}  // namespace

void SendMessage(Messenger& msn, const TextBox& Text2, const TextBox& Text4, Typist& typist) {
  // Held until the second Enter is typed: the window is the message's way out.
  const std::unique_ptr<ConversationWindow> conversation = msn.InstantMessage(Text2.Text());
  typist.Type(Text4.Text());
  typist.Pause(Seconds(0.1));
  typist.Type("{ENTER}");
  typist.Type("{ENTER}");
}

void AddContact(Messenger& msn, const TextBox& Text2, Typist& typist) {
  msn.AddContact(0, Text2.Text());
  typist.Type("{ENTER}");
  typist.Pause(Seconds(1));
  typist.Type("{ENTER}");
}

void ChangeNickName(Messenger& msn, const TextBox& Text3, Typist& typist, Window& frmMsn) {
  msn.OptionsPages(0, 0);
  typist.Pause(Seconds(0.5));
  typist.Type(Text3.Text());
  typist.Pause(Seconds(0.5));
  typist.Type("{ENTER}");
  typist.Type("{ENTER}");
  frmMsn.ShowAndActivate();
}

void DeleteContact(Messenger& msn, const TextBox& Text2) {
  const std::unique_ptr<ContactCollection> contacts = msn.MyContacts();
  const std::string service_id = msn.MyServiceId();
  const std::unique_ptr<Contact> contact = msn.GetContact(Text2.Text(), service_id);
  contacts->Remove(*contact);
}

void SignOut(Messenger& msn) {
  msn.Signout();
}

}  // namespace plumwick::messenger
