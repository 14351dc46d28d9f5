// Presence between libpurple's primitives and the program's status codes.
#include "clients/purple/purple_status.h"

#include <string>

#include "messenger/messenger.h"
#include "platform/failure.h"

namespace plumwick::purple {

std::int32_t StatusCodeOf(std::int32_t primitive) {
  switch (primitive) {
    case primitive::kOffline:
      return messenger::status::kOffline;
    case primitive::kUnavailable:
      return messenger::status::kBusy;
    case primitive::kAway:
    case primitive::kExtendedAway:
      return messenger::status::kAway;
    default:
      return messenger::status::kOnline;
  }
}

std::int32_t PrimitiveFor(std::int32_t status_code) {
  switch (status_code) {
    case messenger::status::kOnline:
      return primitive::kAvailable;
    case messenger::status::kBusy:
      return primitive::kUnavailable;
    case messenger::status::kAway:
      return primitive::kAway;
    default:
      throw Failure(error_code::kBadArgument,
                    "Status " + std::to_string(status_code) +
                        " cannot be set in Pidgin: pass 2 (online), 10 (busy) or 34 (away)");
  }
}

}  // namespace plumwick::purple
