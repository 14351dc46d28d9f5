// The user's side in Gajim: the enabled accounts, which of them are signed on, and the user's own
// status on all of them. Asked of Gajim every time, never remembered.
#pragma once

#include <chrono>

#include <QString>
#include <QStringList>

#include "clients/gajim/qt/gajim_bus.h"

namespace plumwick::gajim {

// How long Gajim has to show a status asked for on every account: it sets a status a moment
// after it answers, and signing on goes through the server.
inline constexpr std::chrono::milliseconds kStatusTimeout{4000};

// The enabled accounts by Gajim's names for them, in its order. Throws Failure(kNotSignedIn)
// when there is none.
QStringList EnabledAccounts(GajimBus& bus);

// The enabled accounts that are signed on (neither offline nor still connecting), in Gajim's
// order. Throws Failure(kNotSignedIn) when none is.
QStringList SignedOnAccounts(GajimBus& bus);

// Sets the user's show on every enabled account, keeping each account's status message, and
// returns once Gajim says every account has it. Gajim takes any status it is asked for, so its
// answer is read back: Failure(kClientError) naming the account and Gajim's show when one has
// another once kStatusTimeout has passed, Failure(kNoAnswer) when one is still connecting then.
void SetShowEverywhere(GajimBus& bus, const QString& show);

// How the user knows an account: its address ("erin@localhost"); Gajim's name for it when Gajim
// tells none.
QString AccountAddress(GajimBus& bus, const QString& account);

}  // namespace plumwick::gajim
