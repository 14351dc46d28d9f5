// Gajim for the tests: a profile for one XMPP account on the test's server, written straight into
// Gajim's settings database (so no first-start assistant opens), and the program started on it as
// an unprivileged user (Gajim refuses to run as root), on the test's desktop and session bus.
#pragma once

#include <memory>
#include <string>

#include "tests/e2e/harness/child_process.h"
#include "tests/e2e/harness/private_dir.h"
#include "tests/gajim/gajim_dbus.h"

namespace plumwick::e2e {

struct GajimAccount {
  std::string name;  // Gajim's name for the account, which its D-Bus methods take
  std::string user;  // the address's part before the @, on XmppServer::kDomain
  std::string password;
  std::string resource;
};

// Whether Gajim exports its remote object on the session bus; Gajim's own default is off.
enum class RemoteControl { kOn, kOff };

// Where Gajim shows its windows: on the X display (through XWayland in a Wayland session), or, in
// a Wayland session, as a Wayland program (GTK's own choice there), where no X key reaches it.
enum class GajimBackend { kX11, kWayland };

class Gajim {
 public:
  // Writes the profile into a fresh home that only the user Gajim runs as can enter. The account
  // signs in by itself to 127.0.0.1 without TLS and without asking; no keyring, no sounds, no
  // status changes of Gajim's own when the desktop is idle. `env` has the desktop and a session
  // bus that every user may connect to (BusUsers::kEveryone).
  Gajim(const GajimAccount& account, const Environment& env,
        RemoteControl remote = RemoteControl::kOn, GajimBackend backend = GajimBackend::kX11);
  ~Gajim();

  Gajim(const Gajim&) = delete;
  Gajim& operator=(const Gajim&) = delete;

  // Starts Gajim (when it is not running) and waits until it owns its name on the bus, which it
  // does about a second after it starts, with remote control on or off. Throws
  // std::runtime_error when it does not get there.
  void Start();
  // Start(), then waits until the remote object answers and the account is signed in. Gajim
  // signs in before it makes the object, some five seconds after it starts, and emits no
  // AccountPresence for that first sign-in.
  void StartConnected();
  // Ends Gajim at once, as a crash would (SIGKILL), and waits until its bus name is gone.
  void Kill();
  // Waits (at most 10 s) until Gajim has used next to no CPU time for half a second: a window or
  // chat it was asked to open is drawn and has its focus, so keys typed now reach it. False when
  // Gajim stayed busy.
  bool WaitUntilIdle();
  bool Running();
  std::string Describe();

 private:
  PrivateDir dir_;
  std::string account_;
  Environment env_;  // Gajim's own: its home, the desktop and the bus
  GajimDbus dbus_;
  std::unique_ptr<ChildProcess> process_;
};

}  // namespace plumwick::e2e
