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
#include "tests/e2e/harness/wait_until.h"
#include "tests/gajim/gajim_dbus.h"
#include "tests/gajim/gajim_world.h"
#include "tests/purple/private_network.h"
#include "tests/purple/xmpp_peer.h"

namespace plumwick::e2e {
namespace {

constexpr auto kTimeout = std::chrono::seconds(10);
using namespace gajim_people;

// The shared services, with Gajim started and the time it took printed.
std::unique_ptr<GajimWorld> StartedWorld(const Environment& desktop) {
  auto world = std::make_unique<GajimWorld>(desktop);
  const auto start = std::chrono::steady_clock::now();
  world->gajim->Start();
  const auto on_bus = std::chrono::steady_clock::now();
  world->gajim->StartConnected();
  const auto connected = std::chrono::steady_clock::now();
  using Seconds = std::chrono::duration<double>;
  std::cout << "Gajim owned its bus name after " << Seconds(on_bus - start).count()
            << " s, answered signed in after " << Seconds(connected - start).count() << " s\n";
  return world;
}

std::unique_ptr<GajimWorld> world;
std::string world_error;

class GajimRigTest : public DesktopTest {
 protected:
  static void SetUpTestSuite() {
    DesktopTest::SetUpTestSuite();
    world_error = PrivateNetworkProblem();
    if (!world_error.empty()) return;
    try {
      world = StartedWorld(Session().Env());
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
