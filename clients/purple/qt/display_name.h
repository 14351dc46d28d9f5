// The user's display name in Pidgin: the account's alias, which Pidgin shows, and for XMPP also
// the nickname in the vCard on the server, which the user's contacts see.
#pragma once

#include <string>

#include "clients/purple/qt/purple_bus.h"

namespace plumwick::purple {

inline constexpr char kXmppProtocol[] = "prpl-jabber";

// The display name of the first signed-on account: its alias, or its user name when it has none.
// Failure(kNotSignedIn) when signed out.
std::string CurrentDisplayName(PurpleBus& bus);

// Sets the display name of every signed-on account. Failure(kBadArgument) for an empty name,
// Failure(kNotSignedIn) when signed out.
void ApplyDisplayName(PurpleBus& bus, const std::string& name);

}  // namespace plumwick::purple
