// How a D-Bus error from the session bus or from Pidgin becomes the program's one failure type: a
// code the user can quote, and a description that names the call and keeps the D-Bus message.
#pragma once

#include <cstdint>

#include <QDBusError>
#include <QString>

#include "platform/failure.h"

namespace plumwick::purple {

// The error libpurple answers when a handle names nothing (any more).
inline constexpr char kInvalidHandleError[] = "im.pidgin.purple.InvalidHandle";

// What the user is told when Pidgin is not on the bus at all.
inline constexpr char kNoClientText[] = "No messaging client is running: start Pidgin and sign in";

// `method` is the call that failed. A stale handle gets `invalid_handle_code`: the caller knows
// what the handle stood for (a contact that is gone, an account that went away).
Failure DBusFailure(const QDBusError& error, const QString& method,
                    std::int32_t invalid_handle_code = error_code::kClientError);

}  // namespace plumwick::purple
