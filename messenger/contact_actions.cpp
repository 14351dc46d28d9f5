// The contact and account actions.
#include "messenger/contact_actions.h"

namespace plumwick::messenger {

namespace {

using Seconds = std::chrono::duration<double>;

}  // namespace

void SendMessage(Messenger& client, const TextBox& address, const TextBox& message,
                 ClientTyping& typing) {
  const std::string contact = address.Text();
  const std::string text = message.Text();
  CheckKeys(text, "the message box");
  // Held until the second Enter is typed: the window is the message's way out.
  const std::unique_ptr<ConversationWindow> conversation = client.InstantMessage(contact);
  typing.Type(text);
  typing.Pause(Seconds(0.1));
  typing.Type("{ENTER}");
  typing.Type("{ENTER}");
}

void AddContact(Messenger& client, const TextBox& address, ClientTyping& typing) {
  client.AddContact(0, address.Text());
  typing.Type("{ENTER}");
  typing.Pause(Seconds(1));
  typing.Type("{ENTER}");
}

void ChangeNickName(Messenger& client, const TextBox& nickname, ClientTyping& typing,
                    Window& main_window) {
  const std::string name = nickname.Text();
  CheckKeys(name, "the nickname box");
  client.OptionsPages(0, 0);
  typing.Pause(Seconds(0.5));
  typing.Type(name);
  typing.Pause(Seconds(0.5));
  typing.Type("{ENTER}");
  typing.Type("{ENTER}");
  main_window.ShowAndActivate();
}

void DeleteContact(Messenger& client, const TextBox& address) {
  const std::unique_ptr<ContactCollection> contacts = client.MyContacts();
  const std::string service_id = client.MyServiceId();
  const std::unique_ptr<Contact> contact = client.GetContact(address.Text(), service_id);
  contacts->Remove(*contact);
}

void SignOut(Messenger& client) {
  client.Signout();
}

}  // namespace plumwick::messenger
