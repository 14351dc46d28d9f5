// A D-Bus session bus of the test's own, which outlives any messaging client started on it: a real
// desktop session's bus stays when the messaging client exits and comes back.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "tests/e2e/harness/child_process.h"

namespace plumwick::e2e {

// Who may connect: the user who starts the bus, as on a desktop, or every user, for a messaging
// client that runs as another user than the tests (Gajim refuses to run as root).
enum class BusUsers { kOwner, kEveryone };

class SessionBus {
 public:
  // Starts dbus-daemon and waits until it takes connections; throws std::runtime_error when it
  // does not. Its socket, or for kEveryone its configuration, is kept in `dir`. For kEveryone the
  // socket is an abstract one: no file permissions keep other users out, and only processes in the
  // test's private network namespace can reach it.
  SessionBus(const std::filesystem::path& dir, const Environment& env,
             BusUsers users = BusUsers::kOwner);
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
