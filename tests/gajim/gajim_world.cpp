// What the end-to-end tests with a real Gajim share.
#include "tests/gajim/gajim_world.h"

#include <chrono>
#include <iostream>
#include <vector>

#include "tests/purple/private_network.h"

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

namespace {

std::unique_ptr<GajimWorld> shared;
std::string shared_error;

}  // namespace

void StartSharedWorld(const Environment& desktop, GajimBackend backend) {
  shared_error = PrivateNetworkProblem();
  if (!shared_error.empty()) return;
  try {
    shared = std::make_unique<GajimWorld>(desktop, backend);
    const auto start = std::chrono::steady_clock::now();
    shared->gajim->Start();
    const auto on_bus = std::chrono::steady_clock::now();
    shared->gajim->StartConnected();
    using Seconds = std::chrono::duration<double>;
    std::cout << "Gajim owned its bus name after " << Seconds(on_bus - start).count()
              << " s, answered signed in after "
              << Seconds(std::chrono::steady_clock::now() - start).count() << " s\n";
  } catch (const std::exception& error) {
    shared.reset();
    shared_error = error.what();
  }
}

void StopSharedWorld() {
  shared.reset();
}

GajimWorld* SharedWorld() {
  return shared.get();
}

const std::string& SharedWorldError() {
  return shared_error;
}

}  // namespace plumwick::e2e
