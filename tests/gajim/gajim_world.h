// What the end-to-end tests with a real Gajim share: a session bus every user may join (Gajim runs
// as an unprivileged user, the program and the test as root), the test's XMPP server on 127.0.0.1
// with the user's and the peers' accounts, alice signed in as a peer, carol signed in but not yet
// the user's contact, dave a contact who never signs in, and Gajim with the user's account, not yet
// started. Everything runs inside the network namespace the test program was started in.
#pragma once

#include <memory>
#include <string>

#include "tests/e2e/harness/child_process.h"
#include "tests/e2e/harness/private_dir.h"
#include "tests/gajim/gajim.h"
#include "tests/purple/session_bus.h"
#include "tests/purple/xmpp_peer.h"
#include "tests/purple/xmpp_server.h"

namespace plumwick::e2e {

namespace gajim_people {
inline const std::string kAccount = "plum";  // Gajim's name for the user's account
inline const std::string kUser = "plum@localhost";
inline const std::string kUserPassword = "plum-secret";
inline const std::string kAlice = "alice@localhost";
inline const std::string kAlicePassword = "alice-secret";
inline const std::string kCarol = "carol@localhost";
inline const std::string kDave = "dave@localhost";
}  // namespace gajim_people

struct GajimWorld {
  // `desktop`: the test desktop's environment. Throws when a service does not start.
  explicit GajimWorld(const Environment& desktop, GajimBackend backend = GajimBackend::kX11);
  ~GajimWorld();
  GajimWorld(const GajimWorld&) = delete;
  GajimWorld& operator=(const GajimWorld&) = delete;

  PrivateDir dir;
  std::unique_ptr<SessionBus> bus;
  Environment env;  // the desktop's, with the bus
  std::unique_ptr<XmppServer> server;
  std::unique_ptr<XmppPeer> alice;
  std::unique_ptr<XmppPeer> carol;
  std::unique_ptr<Gajim> gajim;
};

// The world a test program's suite shares, started once in its SetUpTestSuite with Gajim signed
// in, printing how long Gajim took. A machine that cannot run it (no private network, a service
// that does not start) leaves none, and the reason: each test asserts there is one, failed rather
// than skipped, since a machine that cannot run these is a broken test machine.
void StartSharedWorld(const Environment& desktop, GajimBackend backend = GajimBackend::kX11);
void StopSharedWorld();
GajimWorld* SharedWorld();
const std::string& SharedWorldError();

}  // namespace plumwick::e2e
