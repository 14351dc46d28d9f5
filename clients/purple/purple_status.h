// Presence in libpurple's terms (status primitives) and in the program's (status codes).
#pragma once

#include <cstdint>

namespace plumwick::purple {

// libpurple's PurpleStatusPrimitive values, as Pidgin's D-Bus interface hands them out.
namespace primitive {
inline constexpr std::int32_t kOffline = 1;
inline constexpr std::int32_t kAvailable = 2;
inline constexpr std::int32_t kUnavailable = 3;
inline constexpr std::int32_t kInvisible = 4;
inline constexpr std::int32_t kAway = 5;
inline constexpr std::int32_t kExtendedAway = 6;
}  // namespace primitive

// A contact's presence as a status code: offline, online, busy (unavailable) or away (away and
// extended away alike). Every other primitive (invisible, mobile, ...) is online of some kind.
std::int32_t StatusCodeOf(std::int32_t primitive);

// The primitive the user's own status is set to for a status code: online, busy or away. Throws
// Failure(kBadArgument) for any other code.
std::int32_t PrimitiveFor(std::int32_t status_code);

}  // namespace plumwick::purple
