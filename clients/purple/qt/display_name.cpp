// The user's display name in Pidgin and, for XMPP, on the server.
#include "clients/purple/qt/display_name.h"

#include "clients/purple/qt/purple_accounts.h"
#include "clients/purple/qt/vcard_nickname.h"
#include "platform/failure.h"

namespace plumwick::purple {

std::string CurrentDisplayName(PurpleBus& bus) {
  const Handle account = ActionAccount(bus);
  const QString alias = bus.CallString("PurpleAccountGetAlias", {Int(account)});
  if (!alias.isEmpty()) return alias.toStdString();
  // An XMPP user name carries the resource after a slash; the person's name is what is before.
  const QString user = bus.CallString("PurpleAccountGetUsername", {Int(account)});
  return user.section(QLatin1Char('/'), 0, 0).toStdString();
}

namespace {

void ApplyToAccount(PurpleBus& bus, Handle account, const QString& text) {
  bus.Call("PurpleAccountSetAlias", {Int(account), Str(text)}, error_code::kNotSignedIn);
  if (bus.CallString("PurpleAccountGetProtocolId", {Int(account)}) !=
      QLatin1String(kXmppProtocol)) {
    return;
  }
  const QString vcard =
      WithNickname(bus.CallString("PurpleAccountGetUserInfo", {Int(account)}), text);
  bus.Call("PurpleAccountSetUserInfo", {Int(account), Str(vcard)});
  const Handle connection = bus.CallInt("PurpleAccountGetConnection", {Int(account)});
  if (connection == 0) {
    throw Failure(error_code::kNotSignedIn,
                  "You were signed out before the nickname could be sent to the server");
  }
  // Sends the whole vCard to the server, which keeps it as the user's profile.
  bus.Call("ServSetInfo", {Int(connection), Str(vcard)}, error_code::kNotSignedIn);
}

}  // namespace

void ApplyDisplayName(PurpleBus& bus, const std::string& name) {
  if (name.empty()) throw Failure(error_code::kBadArgument, "The display name is empty");
  const QString text = QString::fromStdString(name);
  for (const Handle account : SignedOnAccounts(bus)) ApplyToAccount(bus, account, text);
}

}  // namespace plumwick::purple
