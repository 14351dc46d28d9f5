// Presence in Gajim's words (its "shows": online, chat, away, xa, dnd, offline) and in the
// program's status codes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace plumwick::gajim {

// What Gajim's get_status says of an account while it signs on, and until it is available.
inline constexpr std::string_view kConnecting = "connecting";
inline constexpr std::string_view kOffline = "offline";

// A contact's show as a status code: offline, busy (dnd), away (away and xa alike), and online
// for online, chat and anything newer Gajim may report of a contact who is there.
std::int32_t StatusCodeOfShow(std::string_view show);

// The show the user's own status is set to for a status code: online, dnd or away. Throws
// Failure(kBadArgument) for any other code.
std::string ShowFor(std::int32_t status_code);

}  // namespace plumwick::gajim
