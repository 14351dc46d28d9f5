// A D-Bus session bus of the test's own.
#include "tests/purple/session_bus.h"

#include <fstream>
#include <stdexcept>
#include <vector>

namespace plumwick::e2e {

namespace {

// The session bus's own policy, with the connection of any user allowed on top.
std::string EveryoneConfig(const std::filesystem::path& dir) {
  return "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-BUS Bus Configuration 1.0//EN\"\n"
         " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
         "<busconfig>\n"
         "  <type>session</type>\n"
         "  <listen>unix:abstract=" +
         (dir / "bus").string() +
         "</listen>\n"
         "  <auth>EXTERNAL</auth>\n"
         "  <policy context=\"default\">\n"
         "    <allow user=\"*\"/>\n"
         "    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
         "    <allow eavesdrop=\"true\"/>\n"
         "    <allow own=\"*\"/>\n"
         "  </policy>\n"
         "</busconfig>\n";
}

}  // namespace

SessionBus::SessionBus(const std::filesystem::path& dir, const Environment& env, BusUsers users) {
  std::vector<std::string> argv{"dbus-daemon", "--nofork", "--nopidfile", "--print-address=1"};
  if (users == BusUsers::kOwner) {
    argv.insert(argv.end(), {"--session", "--address=unix:path=" + (dir / "bus").string()});
  } else {
    const auto config = dir / "bus.conf";
    std::ofstream out(config);
    out << EveryoneConfig(dir);
    if (!out) throw std::runtime_error("cannot write " + config.string());
    argv.push_back("--config-file=" + config.string());
  }
  daemon_ = std::make_unique<ChildProcess>(ProcessOptions{.argv = argv, .env = env});
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
