// The Gajim rig proven through Gajim's remote interface alone: a real Gajim signed in to a Prosody
// server on 127.0.0.1 next to a real peer, all inside the test program's private network
// namespace. One Gajim start serves every case; each case leaves Gajim available.
#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/harness/desktop_test.h"
#include "tests/e2e/harness/private_dir.h"
#include "tests/e2e/harness/wait_until.h"
#include "tests/gajim/gajim.h"
#include "tests/gajim/gajim_dbus.h"
#include "tests/purple/private_network.h"
#include "tests/purple/session_bus.h"
#include "tests/purple/xmpp_peer.h"
#include "tests/purple/xmpp_server.h"

namespace plumwick::e2e {
namespace {

constexpr auto kTimeout = std::chrono::seconds(10);
const std::string kAccount = "plum";
const std::string kUser = "plum@localhost";
const std::string kAlice = "alice@localhost";
const std::string kDave = "dave@localhost";  // a contact who never signs in

struct World {
  explicit World(const Environment& desktop) {
    bus = std::make_unique<SessionBus>(dir.MakeSubdir("bus"), desktop, BusUsers::kEveryone);
    env = bus->On(desktop);
    server = std::make_unique<XmppServer>(
        std::vector<XmppAccount>{{"plum", "plum-secret", {"alice", "dave"}},
                                 {"alice", "alice-secret", {"plum"}},
                                 {"dave", "dave-secret", {"plum"}}},
        env);
    alice = std::make_unique<XmppPeer>(kAlice + "/peer", "alice-secret", "", env);
    gajim = std::make_unique<Gajim>(
        GajimAccount{
            .name = kAccount, .user = "plum", .password = "plum-secret", .resource = "gajim"},
        env);
    const auto start = std::chrono::steady_clock::now();
    gajim->Start();
    const auto on_bus = std::chrono::steady_clock::now();
    gajim->StartConnected();
    const auto connected = std::chrono::steady_clock::now();
    using Seconds = std::chrono::duration<double>;
    std::cout << "Gajim owned its bus name after " << Seconds(on_bus - start).count()
              << " s, answered signed in after " << Seconds(connected - start).count() << " s\n";
  }

  ~World() {
    // Gajim first, so that it does not reconnect to a server going away.
    gajim.reset();
    alice.reset();
    server.reset();
    bus.reset();
  }

  PrivateDir dir;
  std::unique_ptr<SessionBus> bus;
  Environment env;
  std::unique_ptr<XmppServer> server;
  std::unique_ptr<XmppPeer> alice;
  std::unique_ptr<Gajim> gajim;
};

std::unique_ptr<World> world;
std::string world_error;

class GajimRigTest : public DesktopTest {
 protected:
  static void SetUpTestSuite() {
    DesktopTest::SetUpTestSuite();
    world_error = PrivateNetworkProblem();
    if (!world_error.empty()) return;
    try {
      world = std::make_unique<World>(Session().Env());
    } catch (const std::exception& error) {
      world_error = error.what();
    }
  }

  static void TearDownTestSuite() {
    world.reset();
    DesktopTest::TearDownTestSuite();
  }

  void SetUp() override {
    DesktopTest::SetUp();
    if (HasFatalFailure()) return;
    // Failed, not skipped: a machine that cannot run these is a broken test machine.
    ASSERT_TRUE(world) << "the test services did not start: " << world_error;
    world->alice->SkipReceived();
  }

  static GajimDbus Dbus() { return GajimDbus(world->env); }
  static XmppPeer& Alice() { return *world->alice; }
};

TEST_F(GajimRigTest, RemoteObjectListsTheAccount) {
  EXPECT_EQ(Dbus().Accounts(), std::vector<std::string>{kAccount});
}

TEST_F(GajimRigTest, StatusChangeReachesThePeer) {
  ASSERT_TRUE(Dbus().ChangeStatus("dnd", "", kAccount));
  EXPECT_TRUE(Alice().WaitForPresence(kUser, "available", "dnd", kTimeout)) << Alice().Describe();
  EXPECT_EQ(Dbus().Status(kAccount), "dnd");

  ASSERT_TRUE(Dbus().ChangeStatus("online", "", kAccount));
  EXPECT_TRUE(Alice().WaitForPresence(kUser, "available", "-", kTimeout)) << Alice().Describe();
  EXPECT_EQ(Dbus().Status(kAccount), "online");
}

TEST_F(GajimRigTest, ContactListShowsWhoIsSignedIn) {
  std::map<std::string, std::string> shows;
  WaitUntil(
      [&] {
        shows.clear();
        for (const GajimContact& contact : Dbus().Contacts(kAccount)) {
          shows[contact.jid] = contact.show;
        }
        return shows[kAlice] == "online";
      },
      kTimeout, std::chrono::milliseconds(200));
  EXPECT_EQ(shows, (std::map<std::string, std::string>{{kAlice, "online"}, {kDave, "offline"}}));
}

TEST_F(GajimRigTest, SentMessageReachesThePeerExactlyAndIsReported) {
  GajimSignals signals(world->env);
  const std::string text = "Grüße, \"Alice\" & <b>all</b>\n  the second line";
  ASSERT_TRUE(Dbus().SendChatMessage(kAlice, text, kAccount));
  EXPECT_TRUE(Alice().WaitForMessage(kUser, text, kTimeout)) << Alice().Describe();
  EXPECT_EQ(signals.WaitFor("MessageSent", kTimeout),
            (std::vector<std::string>{kAccount, kAlice, text}))
      << signals.Describe();
}

}  // namespace
}  // namespace plumwick::e2e
