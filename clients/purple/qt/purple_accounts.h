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

// The first enabled account that is signed on: with several, actions go through this one. Throws
// Failure(kNotSignedIn) when none is.
Handle ActionAccount(PurpleBus& bus);

// The first signed-on account that has `name` in its buddy list, and the buddy there; {0, 0}
// when none has.
struct BuddyOnAccount {
  Handle account = 0;
  Handle buddy = 0;
};
BuddyOnAccount FindBuddyOnConnectedAccount(PurpleBus& bus, const std::string& name);

// Sets every account's status to a transient saved status of the primitive, reusing the one
// Pidgin already has (a new one each time would pile them up in its status list).
void ActivateTransientStatus(PurpleBus& bus, std::int32_t primitive);

}  // namespace plumwick::purple
