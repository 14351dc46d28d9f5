// The user's side in Pidgin: which accounts are in use, the one actions go through, and the
// user's own status. Asked of Pidgin every time, never remembered: accounts sign on and off, and
// a restarted Pidgin hands out new handles.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "clients/purple/qt/purple_bus.h"

namespace plumwick::purple {

// The enabled accounts, in Pidgin's order.
std::vector<Handle> ActiveAccounts(PurpleBus& bus);

// The first enabled account that is signed on: with several, actions that concern no contact go
// through this one. Throws Failure(kNotSignedIn) when none is.
Handle ActionAccount(PurpleBus& bus);

// The enabled accounts that are signed on, in Pidgin's order. Throws Failure(kNotSignedIn) when
// none is.
std::vector<Handle> SignedOnAccounts(PurpleBus& bus);

// The one rule for the account a contact action goes through: the signed-on account whose buddy
// list has `name`; when none or several have it, the first signed-on account. Throws
// Failure(kNotSignedIn) when none is signed on.
Handle AccountFor(PurpleBus& bus, const std::string& name);
// The same rule among the given signed-on accounts (not empty).
Handle AccountFor(PurpleBus& bus, const std::string& name, const std::vector<Handle>& signed_on);

// How the user knows an account: its user name without the XMPP resource ("erin@localhost").
std::string AccountName(PurpleBus& bus, Handle account);
// The signed-on account known by that name; 0 when none is.
Handle SignedOnAccountNamed(PurpleBus& bus, const std::string& account_name);

// Sets every account's status to a transient saved status of the primitive, reusing the one
// Pidgin already has (a new one each time would pile them up in its status list).
void ActivateTransientStatus(PurpleBus& bus, std::int32_t primitive);

}  // namespace plumwick::purple
