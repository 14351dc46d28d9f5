// The one failure type of the program: every platform, control and client call that fails throws
// it, carrying a 32-bit error code and the failing object's description. The window's event
// dispatcher and its start-up catch it and show it. Elsewhere it is caught only to name its source
// (which box's text) and where it must not go on: in the event handlers of the clients' own
// windows (it must not cross the event loop), by a call that takes one code as an answer (a
// contact that is gone), and on the way out.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace plumwick {

class Failure : public std::runtime_error {
 public:
  Failure(std::int32_t code, const std::string& description)
      : std::runtime_error(description), code_(code) {}

  std::int32_t code() const noexcept { return code_; }
  std::string description() const { return what(); }

 private:
  std::int32_t code_;
};

// Error codes, grouped by who reports them. Values are stable: users quote them.
namespace error_code {
// The desktop side.
inline constexpr std::int32_t kSound = 0x1001;         // a cue could not be played
inline constexpr std::int32_t kControl = 0x1002;       // a control could not be read or written
inline constexpr std::int32_t kWindow = 0x1003;        // the window could not be shown or ended
inline constexpr std::int32_t kKeystrokes = 0x1004;    // keys could not be typed
inline constexpr std::int32_t kKeyNotation = 0x1005;   // a keystroke string is not valid notation
inline constexpr std::int32_t kFocus = 0x1006;         // the focus is not on the messaging client
inline constexpr std::int32_t kClipboard = 0x1007;     // the clipboard could not be written
inline constexpr std::int32_t kLocalAddress = 0x1008;  // the local address could not be read
inline constexpr std::int32_t kLocalTime = 0x1009;     // the local time could not be read
// The messaging client.
inline constexpr std::int32_t kNoClient = 0x2001;        // no messaging client could be reached
inline constexpr std::int32_t kNotSignedIn = 0x2002;     // the user is signed out
inline constexpr std::int32_t kUnknownContact = 0x2003;  // no such contact
inline constexpr std::int32_t kEmptyContact = 0x2004;    // an empty sign-in name or address
inline constexpr std::int32_t kUnknownService = 0x2005;  // a service id the client does not serve
inline constexpr std::int32_t kNotAvailable = 0x2006;    // the client does not offer this operation
inline constexpr std::int32_t kBadArgument =
    0x2007;  // an argument out of range (status, page, window)
inline constexpr std::int32_t kClientError = 0x2008;  // the client reported an error of its own
inline constexpr std::int32_t kNoAnswer = 0x2009;     // the client did not answer in time
}  // namespace error_code

}  // namespace plumwick
