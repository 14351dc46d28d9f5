// A D-Bus session bus of the test's own.
#include "tests/purple/session_bus.h"

#include <stdexcept>

namespace plumwick::e2e {

SessionBus::SessionBus(const std::filesystem::path& dir, const Environment& env) {
  daemon_ = std::make_unique<ChildProcess>(
      ProcessOptions{.argv = {"dbus-daemon", "--session", "--nofork", "--nopidfile",
                              "--print-address=1", "--address=unix:path=" + (dir / "bus").string()},
                     .env = env});
  // The address is printed once the bus listens.
  const auto address = daemon_->WaitForLine("^unix:", std::chrono::seconds(10));
  if (!address) throw std::runtime_error("dbus-daemon did not start\n" + daemon_->Describe());
  address_ = *address;
}

SessionBus::~SessionBus() {
  daemon_->Stop();
}

Environment SessionBus::On(Environment env) const {
  env["DBUS_SESSION_BUS_ADDRESS"] = address_;
  return env;
}

}  // namespace plumwick::e2e
