// The Gajim rig proven through Gajim's remote interface alone: a real Gajim signed in to a Prosody
// server on 127.0.0.1 next to a real peer, all inside the test program's private network
// namespace. One Gajim start serves every case; each case leaves Gajim available.
#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <string>
#include <vector>

#include "tests/e2e/harness/desktop_test.h"
#include "tests/e2e/harness/wait_until.h"
#include "tests/gajim/gajim_dbus.h"
#include "tests/gajim/gajim_world.h"
#include "tests/purple/xmpp_peer.h"

namespace plumwick::e2e {
namespace {

constexpr auto kTimeout = std::chrono::seconds(10);
using namespace gajim_people;

class GajimRigTest : public DesktopTest {
 protected:
  static void SetUpTestSuite() {
    DesktopTest::SetUpTestSuite();
    StartSharedWorld(Session().Env());
  }

  static void TearDownTestSuite() {
    StopSharedWorld();
    DesktopTest::TearDownTestSuite();
  }

  void SetUp() override {
    DesktopTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(SharedWorld()) << "the test services did not start: " << SharedWorldError();
    SharedWorld()->alice->SkipReceived();
  }

  static GajimDbus Dbus() { return GajimDbus(SharedWorld()->env); }
  static XmppPeer& Alice() { return *SharedWorld()->alice; }
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
  GajimSignals signals(SharedWorld()->env);
  const std::string text = "Grüße, \"Alice\" & <b>all</b>\n  the second line";
  ASSERT_TRUE(Dbus().SendChatMessage(kAlice, text, kAccount));
  EXPECT_TRUE(Alice().WaitForMessage(kUser, text, kTimeout)) << Alice().Describe();
  EXPECT_EQ(signals.WaitFor("MessageSent", kTimeout),
            (std::vector<std::string>{kAccount, kAlice, text}))
      << signals.Describe();
}

}  // namespace
}  // namespace plumwick::e2e
