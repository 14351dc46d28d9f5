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

namespace {

Failure SignedOut() {
  return Failure(
      error_code::kNotSignedIn,
      "You are signed out: no account is signed on in Pidgin (pick a status to sign on)");
}

}  // namespace

Handle ActionAccount(PurpleBus& bus) {
  for (const Handle account : ActiveAccounts(bus)) {
    if (Connected(bus, account)) return account;
  }
  throw SignedOut();
}

std::vector<Handle> SignedOnAccounts(PurpleBus& bus) {
  std::vector<Handle> signed_on;
  for (const Handle account : ActiveAccounts(bus)) {
    if (Connected(bus, account)) signed_on.push_back(account);
  }
  if (signed_on.empty()) throw SignedOut();
  return signed_on;
}

Handle AccountFor(PurpleBus& bus, const std::string& name) {
  return AccountFor(bus, name, SignedOnAccounts(bus));
}

Handle AccountFor(PurpleBus& bus, const std::string& name, const std::vector<Handle>& accounts) {
  Handle having = 0;
  for (const Handle account : accounts) {
    if (bus.CallInt("PurpleFindBuddy", {Int(account), Str(QString::fromStdString(name))}) == 0) {
      continue;
    }
    if (having != 0) return accounts.front();
    having = account;
  }
  return having != 0 ? having : accounts.front();
}

std::string AccountName(PurpleBus& bus, Handle account) {
  const QString user = bus.CallString("PurpleAccountGetUsername", {Int(account)});
  return user.section(QLatin1Char('/'), 0, 0).toStdString();
}

Handle SignedOnAccountNamed(PurpleBus& bus, const std::string& account_name) {
  for (const Handle account : SignedOnAccounts(bus)) {
    if (AccountName(bus, account) == account_name) return account;
  }
  return 0;
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
