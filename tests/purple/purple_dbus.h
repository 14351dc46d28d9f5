// Pidgin's D-Bus interface as the tests call it, through dbus-send: to prepare and check what the
// program does (is the account signed on, which conversations are open, the account's alias),
// never to do the program's work for it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/e2e/harness/child_process.h"

namespace plumwick::e2e {

class PurpleDbus {
 public:
  // `env` carries the session bus's address.
  explicit PurpleDbus(Environment env) : env_(std::move(env)) {}

  // Arguments in dbus-send's notation: "int32:5", "string:text". A D-Bus error throws
  // std::runtime_error with its message.
  std::int32_t Int(const std::string& method, const std::vector<std::string>& args = {}) const;
  std::string String(const std::string& method, const std::vector<std::string>& args = {}) const;
  std::vector<std::int32_t> Ints(const std::string& method,
                                 const std::vector<std::string>& args = {}) const;
  void Call(const std::string& method, const std::vector<std::string>& args = {}) const;

  // Whether Pidgin owns its name on the bus.
  bool Running() const;
  // The first enabled account that is signed on; 0 when none is.
  std::int32_t SignedOnAccount() const;
  // The names of the open IM conversations.
  std::vector<std::string> ImConversations() const;
  // Sets the status through a transient saved status of the primitive, as Pidgin's own status
  // box does.
  void SetStatus(std::int32_t primitive) const;

 private:
  std::vector<std::string> Reply(const std::string& method,
                                 const std::vector<std::string>& args) const;

  Environment env_;
};

// One of Pidgin's boolean preferences set for a while, whichever way the test ends: as it was again
// once the object goes.
class PidginPref {
 public:
  PidginPref(PurpleDbus dbus, std::string name, bool value);
  ~PidginPref();
  PidginPref(const PidginPref&) = delete;
  PidginPref& operator=(const PidginPref&) = delete;

 private:
  PurpleDbus dbus_;
  std::string name_;
  std::int32_t was_;
};

std::string IntArg(std::int32_t value);
std::string StringArg(const std::string& value);

}  // namespace plumwick::e2e
