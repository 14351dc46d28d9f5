// The contact and account actions.
#include "messenger/contact_actions.h"

namespace plumwick::messenger {

namespace {

using Seconds = std::chrono::duration<double>;

}  // namespace

void SendMessage(Messenger& client, const std::string& address, const std::string& message,
                 ClientTyping& typing) {
  const KeySequence text = typing.Read(message, "the message box");
  // Held until the second Enter is typed: the window is the message's way out.
  const std::unique_ptr<TypingJob> conversation = client.InstantMessage(address);
  typing.Prepare(*conversation);
  // A client that sends the text itself still has its conversation take the focus first.
  typing.Type(*conversation, conversation->SendsText(text) ? KeySequence{} : text);
  typing.Pause(Seconds(0.1));
  typing.Type(*conversation, OnePress(NamedKey::kEnter));
  typing.Type(*conversation, OnePress(NamedKey::kEnter));
}

void AddContact(Messenger& client, const std::string& address, ClientTyping& typing) {
  const std::unique_ptr<TypingJob> dialog = client.AddContact(0, address);
  typing.Prepare(*dialog);
  typing.Type(*dialog, OnePress(NamedKey::kEnter));
  typing.Pause(Seconds(1));
  typing.Type(*dialog, OnePress(NamedKey::kEnter));
}

void ChangeNickName(Messenger& client, const std::string& nickname, ClientTyping& typing,
                    Window& main_window) {
  const KeySequence name = typing.Read(nickname, "the nickname box");
  const std::unique_ptr<TypingJob> options = client.OptionsPages(0, 0);
  typing.Pause(Seconds(0.5));
  typing.Prepare(*options);
  typing.Type(*options, name);
  typing.Pause(Seconds(0.5));
  typing.Type(*options, OnePress(NamedKey::kEnter));
  typing.Type(*options, OnePress(NamedKey::kEnter));
  main_window.ShowAndActivate();
}

void DeleteContact(Messenger& client, const std::string& address, ClientTyping& typing) {
  const std::unique_ptr<ContactCollection> contacts = client.MyContacts();
  const std::string service_id = client.MyServiceId();
  const std::unique_ptr<Contact> contact = client.GetContact(address, service_id);
  // Held until the removal is confirmed: the client's question is open meanwhile.
  const std::unique_ptr<TypingJob> removal = contacts->Remove(*contact);
  if (removal) typing.Prepare(*removal);
}

void SignOut(Messenger& client) {
  client.Signout();
}

}  // namespace plumwick::messenger
