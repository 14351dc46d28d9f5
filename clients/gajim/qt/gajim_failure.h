// How a D-Bus error from the session bus or from Gajim becomes the program's one failure type: a
// code the user can quote, and a description that names what was asked and keeps the D-Bus
// message.
#pragma once

#include <string>

#include <QDBusError>

#include "platform/failure.h"

namespace plumwick::gajim {

// What the user is told when Gajim is not on the bus at all.
inline constexpr char kNoClientText[] = "No messaging client is running: start Gajim and sign in";

// What the user is told when Gajim runs without its remote object: how to turn it on. Gajim
// reads the setting only as it starts.
inline constexpr char kRemoteControlOffText[] =
    "Gajim is running, but its D-Bus interface is off, so this program cannot reach it: in Gajim, "
    "choose Gajim > Preferences > Advanced, switch on \"D-Bus Interface\", then quit Gajim and "
    "start it again";

// Which of Gajim's objects a call went to: the remote object is there only with its D-Bus
// interface on; the application's actions are there always.
enum class GajimObject { kRemote, kActions };

// `asked` is the call as the user may read it: change_status("dnd", "", "work").
Failure GajimFailure(const QDBusError& error, const std::string& asked, GajimObject object);

}  // namespace plumwick::gajim
