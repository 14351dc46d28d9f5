// Pidgin's add-buddy dialog, opened filled with an address. Pidgin opens it without the focus when
// it is not the active program (the window manager prevents focus stealing), and inside it puts
// the focus in the alias field, where Enter does nothing; in the address field above it Enter
// presses Add. So the client has the window manager activate the new dialog and then moves the
// focus up one field (GTK moves it between fields with the arrow keys): the next Enter adds the
// contact, and that Enter stays the user's (or the program's) to type.
#pragma once

#include <cstdint>
#include <string>

#include "clients/purple/qt/purple_bus.h"
#include "messenger/messenger.h"
#include "platform/desktop.h"

namespace plumwick::purple {

// Opens the dialog for the address on the account, readies it and returns its desktop window. The
// key goes only to the new window of Pidgin's process once it has the focus: Failure(kFocus),
// with nothing typed, when it did not get it within messenger::kFocusWait.
std::uint64_t OpenAddBuddyDialog(PurpleBus& bus, const Desktop& desktop, Handle account,
                                 const std::string& address);

}  // namespace plumwick::purple
