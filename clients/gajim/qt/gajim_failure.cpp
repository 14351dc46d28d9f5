// D-Bus errors as failures. The bus's own errors say whether Gajim is there at all or did not
// answer; a missing object or method of the remote object means its D-Bus interface is off.
#include "clients/gajim/qt/gajim_failure.h"

#include <chrono>

#include "clients/gajim/qt/gajim_bus.h"

namespace plumwick::gajim {

namespace {

std::string Quoted(const QDBusError& error) {
  return "(D-Bus " + error.name().toStdString() + ": " + error.message().toStdString() + ")";
}

}  // namespace

Failure GajimFailure(const QDBusError& error, const std::string& asked, GajimObject object) {
  switch (error.type()) {
    case QDBusError::ServiceUnknown:
      return Failure(error_code::kNoClient, std::string(kNoClientText) + " " + Quoted(error));
    case QDBusError::Disconnected:
      return Failure(error_code::kNoClient,
                     "The session bus is gone, so Gajim cannot be reached " + Quoted(error));
    case QDBusError::NoReply:
    case QDBusError::Timeout:
    case QDBusError::TimedOut:
      // Gajim stops at an error of its own without answering, and may show it in a window.
      return Failure(
          error_code::kNoAnswer,
          "Gajim did not answer " + asked + " within " +
              std::to_string(
                  std::chrono::duration_cast<std::chrono::seconds>(kCallTimeout).count()) +
              " s: it answers nothing when it does not know the account or the "
              "address it is asked about " +
              Quoted(error));
    case QDBusError::UnknownMethod:
    case QDBusError::UnknownInterface:
    case QDBusError::UnknownObject:
      if (object == GajimObject::kRemote) {
        return Failure(error_code::kNotAvailable,
                       std::string(kRemoteControlOffText) + " " + Quoted(error));
      }
      return Failure(error_code::kNotAvailable,
                     "Gajim does not offer " + asked + " " + Quoted(error));
    default:
      break;
  }
  if (error.name() == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner")) {
    return Failure(error_code::kNoClient, std::string(kNoClientText) + " " + Quoted(error));
  }
  return Failure(error_code::kClientError, "Gajim refused " + asked + " " + Quoted(error));
}

}  // namespace plumwick::gajim
