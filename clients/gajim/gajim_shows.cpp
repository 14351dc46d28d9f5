// Presence between Gajim's shows and the program's status codes.
#include "clients/gajim/gajim_shows.h"

#include "messenger/messenger.h"
#include "platform/failure.h"

namespace plumwick::gajim {

std::int32_t StatusCodeOfShow(std::string_view show) {
  if (show == kOffline) return messenger::status::kOffline;
  if (show == "dnd") return messenger::status::kBusy;
  if (show == "away" || show == "xa") return messenger::status::kAway;
  return messenger::status::kOnline;
}

std::string ShowFor(std::int32_t status_code) {
  switch (status_code) {
    case messenger::status::kOnline:
      return "online";
    case messenger::status::kBusy:
      return "dnd";
    case messenger::status::kAway:
      return "away";
    default:
      throw Failure(error_code::kBadArgument,
                    "Status " + std::to_string(status_code) +
                        " cannot be set in Gajim: pass 2 (online), 10 (busy) or 34 (away)");
  }
}

}  // namespace plumwick::gajim
