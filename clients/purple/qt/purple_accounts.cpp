// The user's accounts and status in Pidgin.
#include "clients/purple/qt/purple_accounts.h"

namespace plumwick::purple {

namespace {

bool Connected(PurpleBus& bus, Handle account) {
  // An account can go away between the listing and this call: then it is not connected.
  try {
    return bus.CallInt("PurpleAccountIsConnected", {Int(account)}, error_code::kNotSignedIn) != 0;
  } catch (const Failure& failure) {
    if (failure.code() == error_code::kNotSignedIn) return false;
    throw;
  }
}

}  // namespace

std::vector<Handle> ActiveAccounts(PurpleBus& bus) {
  return bus.CallIntArray("PurpleAccountsGetAllActive");
}

Handle ActionAccount(PurpleBus& bus) {
  for (const Handle account : ActiveAccounts(bus)) {
    if (Connected(bus, account)) return account;
  }
  throw Failure(error_code::kNotSignedIn,
                "You are signed out: no account is signed on in Pidgin (pick a status to sign on)");
}

BuddyOnAccount FindBuddyOnConnectedAccount(PurpleBus& bus, const std::string& name) {
  for (const Handle account : ActiveAccounts(bus)) {
    if (!Connected(bus, account)) continue;
    const Handle buddy =
        bus.CallInt("PurpleFindBuddy", {Int(account), Str(QString::fromStdString(name))});
    if (buddy != 0) return {account, buddy};
  }
  return {};
}

void ActivateTransientStatus(PurpleBus& bus, std::int32_t primitive) {
  // libpurple's D-Bus binding passes an empty string on as no string: no message, no title.
  Handle saved =
      bus.CallInt("PurpleSavedstatusFindTransientByTypeAndMessage", {Int(primitive), Str("")});
  if (saved == 0) saved = bus.CallInt("PurpleSavedstatusNew", {Str(""), Int(primitive)});
  if (saved == 0) {
    throw Failure(error_code::kClientError,
                  "Pidgin did not create a status of type " + std::to_string(primitive));
  }
  bus.Call("PurpleSavedstatusActivate", {Int(saved)});
}

}  // namespace plumwick::purple
