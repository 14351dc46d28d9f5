// Pidgin for the tests: a configuration directory prepared for one XMPP account on the test's
// server (accounts.xml, prefs.xml, blist.xml), and the program started on it, on the test's
// desktop and session bus.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/harness/child_process.h"
#include "tests/purple/purple_dbus.h"

namespace plumwick::e2e {

struct PidginAccount {
  std::string jid;  // with its resource: "plum@localhost/plumwick"
  std::string password;
  std::vector<std::string> buddies;  // bare JIDs in the buddy list at start
};

// Writes the configuration into `dir`: the account signs on by itself to 127.0.0.1 without TLS,
// and nothing reaches for the network beyond it (no port mapping, no public-address lookup).
// Idle reporting and sounds are off: the tests decide the status.
void WritePidginConfig(const std::filesystem::path& dir, const PidginAccount& account);

class Pidgin {
 public:
  // `env` has the desktop and the session bus.
  Pidgin(std::filesystem::path config, Environment env);
  ~Pidgin();

  Pidgin(const Pidgin&) = delete;
  Pidgin& operator=(const Pidgin&) = delete;

  // Starts Pidgin (when it is not running) and waits until its account is signed on; throws
  // std::runtime_error when it does not get there.
  void StartSignedOn();
  // Ends Pidgin at once, as a crash would (SIGKILL), and waits until its bus name is gone.
  void Kill();
  bool Running();
  // Stops and resumes the process: a Pidgin that does not answer.
  void Freeze();
  void Thaw();
  std::string Describe();

 private:
  std::filesystem::path config_;
  Environment env_;
  PurpleDbus dbus_;
  std::unique_ptr<ChildProcess> process_;
};

}  // namespace plumwick::e2e
