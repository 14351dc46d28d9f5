// The XMPP vCard with a new nickname. libpurple keeps the account's vCard (as the server had it
// at sign-on) as the account's user info and sends user info back as the whole vCard, so the
// nickname is changed inside it and everything else is kept.
#pragma once

#include <QString>

namespace plumwick::purple {

// `user_info` with its NICKNAME set to `nickname`. User info that is no vCard (text the user
// typed in, or nothing) becomes a new vCard that keeps such text as its description.
QString WithNickname(const QString& user_info, const QString& nickname);

}  // namespace plumwick::purple
