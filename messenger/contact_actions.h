// The contact and account actions: "Send Msg.", "Add contact", "Change NickName", "Delete Contact"
// and "Sign Out". Where the client only opens a window or a dialog, the action finishes the job by
// typing into it, spaced by fixed waits. A job types the texts the boxes held at its click (it may
// start later), their key notation checked before its first call to the client, so a bad text
// opens no window.
#pragma once

#include <string>

#include "messenger/client_typing.h"
#include "messenger/messenger.h"
#include "platform/window.h"

namespace plumwick::messenger {

// Opens a conversation with the address's contact and types the message and two Enters into it; a
// client that sends the message's text itself is given it instead, and neither it nor the Enters
// are typed.
void SendMessage(Messenger& client, const std::string& address, const std::string& message,
                 ClientTyping& typing);

// Opens the add-contact dialog for the address and confirms it and its notice with Enter.
void AddContact(Messenger& client, const std::string& address, ClientTyping& typing);

// Opens the options dialog, types the nickname into it, confirms with two Enters, and brings the
// program's window back to the front.
void ChangeNickName(Messenger& client, const std::string& nickname, ClientTyping& typing,
                    Window& main_window);

// Removes the address's contact from the user's contacts. A client that asks first hands back a
// job whose own steps answer it and whose confirmation waits until the contact is gone; the
// program types no keys of its own.
void DeleteContact(Messenger& client, const std::string& address, ClientTyping& typing);

void SignOut(Messenger& client);

}  // namespace plumwick::messenger
