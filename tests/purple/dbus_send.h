// D-Bus calls for the tests through dbus-send, on the session bus an environment names: what the
// rigs of the real messaging clients use to prepare and check what the program does.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "tests/e2e/harness/child_process.h"

namespace plumwick::e2e {

struct DbusCall {
  std::string destination;
  std::string object;
  std::string member;  // "interface.method"
  // In dbus-send's notation: "int32:5", "string:text".
  std::vector<std::string> args = {};
  std::chrono::milliseconds timeout = std::chrono::seconds(5);
};

// The value lines of the reply ("int32 5", "string "text"", "array ["), without their
// indentation. A D-Bus error, or no reply in time, throws std::runtime_error with dbus-send's
// message.
std::vector<std::string> DbusSend(const Environment& env, const DbusCall& call);

// Whether `name` has an owner on the bus.
bool BusNameHasOwner(const Environment& env, const std::string& name);

// The strings among dbus-send's or dbus-monitor's value lines, in their order ("string "a"",
// "variant string "b""). Both print a string as it is between quotes, so one may span lines; it
// ends at the first line that ends with a quote.
std::vector<std::string> DbusStrings(const std::vector<std::string>& lines);

}  // namespace plumwick::e2e
