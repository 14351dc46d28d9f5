// D-Bus errors as failures. The bus's own errors say whether Pidgin is there at all or did not
// answer; everything else is Pidgin's own error.
#include "clients/purple/qt/dbus_failure.h"

#include <string>

namespace plumwick::purple {

namespace {

std::string Quoted(const QDBusError& error) {
  return "(D-Bus " + error.name().toStdString() + ": " + error.message().toStdString() + ")";
}

}  // namespace

Failure DBusFailure(const QDBusError& error, const QString& method,
                    std::int32_t invalid_handle_code) {
  const std::string call = method.toStdString();
  switch (error.type()) {
    case QDBusError::ServiceUnknown:
      return Failure(error_code::kNoClient, std::string(kNoClientText) + " " + Quoted(error));
    case QDBusError::Disconnected:
      return Failure(error_code::kNoClient,
                     "The session bus is gone, so Pidgin cannot be reached " + Quoted(error));
    case QDBusError::NoReply:
    case QDBusError::Timeout:
    case QDBusError::TimedOut:
      return Failure(error_code::kNoAnswer,
                     "Pidgin did not answer " + call + " in time " + Quoted(error));
    case QDBusError::UnknownMethod:
    case QDBusError::UnknownInterface:
    case QDBusError::UnknownObject:
      return Failure(error_code::kNotAvailable,
                     "Pidgin does not offer " + call + " " + Quoted(error));
    default:
      break;
  }
  if (error.name() == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner")) {
    return Failure(error_code::kNoClient, std::string(kNoClientText) + " " + Quoted(error));
  }
  if (error.name() == QLatin1String(kInvalidHandleError)) {
    return Failure(invalid_handle_code,
                   "Pidgin no longer knows what " + call + " was asked about " + Quoted(error));
  }
  return Failure(error_code::kClientError, "Pidgin refused " + call + " " + Quoted(error));
}

}  // namespace plumwick::purple
