// A D-Bus session bus of the test's own, which outlives any Pidgin started on it: a real desktop
// session's bus stays when the messaging client exits and comes back.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "tests/e2e/harness/child_process.h"

namespace plumwick::e2e {

class SessionBus {
 public:
  // Starts dbus-daemon with its socket in `dir` and waits until it takes connections; throws
  // std::runtime_error when it does not.
  SessionBus(const std::filesystem::path& dir, const Environment& env);
  ~SessionBus();

  SessionBus(const SessionBus&) = delete;
  SessionBus& operator=(const SessionBus&) = delete;

  // The value for DBUS_SESSION_BUS_ADDRESS.
  const std::string& Address() const { return address_; }
  // `env` with this bus as its session bus.
  Environment On(Environment env) const;

 private:
  std::unique_ptr<ChildProcess> daemon_;
  std::string address_;
};

}  // namespace plumwick::e2e
