// The status box and the contact list: the box's names, the presence set from a pick, the contacts
// who are not offline, clearing the list, and opening a conversation by double-click.
#pragma once

#include <string>

#include "messenger/client_typing.h"
#include "messenger/messenger.h"
#include "platform/button.h"
#include "platform/combo_box.h"
#include "platform/list_box.h"
#include "platform/text_box.h"

namespace plumwick::messenger {

// Fills the status box with the names a pick can set, in the box's order.
void AppendStatusNames(ComboBox& status_box);

// Writes the status code of the picked name ("Online", "Busy", "Away"); any other text writes
// nothing. The box's text is read once per name tried. When the client fails to set the status,
// the box shows again what it showed before the pick.
void SetStatusFromPick(ComboBox& status_box, Messenger& client);

// Appends the sign-in name of every contact who is not offline, in collection order, then swaps
// the button pair to "loaded".
void SelectList(Messenger& client, ListBox& contact_list, Button& select_list, Button& clear_list);

// Empties the list and the scratch pad, then swaps the button pair to "empty".
void ClearList(ListBox& contact_list, TextBox& pad, Button& select_list, Button& clear_list);

// Opens a conversation with the list's entry that was current at the double-click (the empty text
// when none was selected) and types the keys that bring it in front, a tab behind another say, as
// a keyboard job does.
void OpenConversation(const std::string& entry, Messenger& client, ClientTyping& typing);

}  // namespace plumwick::messenger
