// What the end-to-end tests with a real Gajim share.
#include "tests/gajim/gajim_world.h"

#include <vector>

namespace plumwick::e2e {

using namespace gajim_people;

GajimWorld::GajimWorld(const Environment& desktop, GajimBackend backend) {
  bus = std::make_unique<SessionBus>(dir.MakeSubdir("bus"), desktop, BusUsers::kEveryone);
  env = bus->On(desktop);
  server = std::make_unique<XmppServer>(
      std::vector<XmppAccount>{{"plum", kUserPassword, {"alice", "dave"}},
                               {"alice", kAlicePassword, {"plum"}},
                               {"carol", "carol-secret", {}},
                               {"dave", "dave-secret", {"plum"}}},
      env);
  alice = std::make_unique<XmppPeer>(kAlice + "/peer", kAlicePassword, "", env);
  carol = std::make_unique<XmppPeer>(kCarol + "/peer", "carol-secret", "", env);
  gajim = std::make_unique<Gajim>(
      GajimAccount{
          .name = kAccount, .user = "plum", .password = kUserPassword, .resource = "gajim"},
      env, RemoteControl::kOn, backend);
}

GajimWorld::~GajimWorld() {
  // Gajim first, so that it does not reconnect to a server going away.
  gajim.reset();
  carol.reset();
  alice.reset();
  server.reset();
  bus.reset();
}

}  // namespace plumwick::e2e
