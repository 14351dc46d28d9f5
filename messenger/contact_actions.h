// The contact and account actions: "Send Msg.", "Add contact", "Change NickName", "Delete Contact"
// and "Sign Out". Where the client only opens a window or a dialog, the action finishes the job by
// typing into it, spaced by fixed waits.
#pragma once

#include <chrono>
#include <string>

#include "messenger/messenger.h"
#include "platform/text_box.h"
#include "platform/window.h"

namespace plumwick::messenger {

// What the actions need of the window: typing into the client's focused window, and waiting while
// the window keeps handling events.
class Typist {
 public:
  virtual ~Typist() = default;
  virtual void Type(const std::string& keys) = 0;
  virtual void Pause(std::chrono::duration<double> interval) = 0;
};

// Opens a conversation with Text2's contact and types Text4's message and two Enters into it.
void SendMessage(Messenger& msn, const TextBox& Text2, const TextBox& Text4, Typist& typist);

// Opens the add-contact dialog for Text2's address and confirms it and its notice with Enter.
void AddContact(Messenger& msn, const TextBox& Text2, Typist& typist);

// Opens the options dialog, types Text3's name into it, confirms with two Enters, and brings the
// program's window back to the front.
void ChangeNickName(Messenger& msn, const TextBox& Text3, Typist& typist, Window& frmMsn);

// Removes Text2's contact from the user's contacts, without asking.
void DeleteContact(Messenger& msn, const TextBox& Text2);

void SignOut(Messenger& msn);

}  // namespace plumwick::messenger
