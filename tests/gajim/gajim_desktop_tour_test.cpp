// One tour of plumwick with a real Gajim, a local XMPP server and a peer, clicked and typed as a
// person does, on the desktop PLUMWICK_TEST_DESKTOP names (ctest runs it once on each desktop of
// the matrix; in the Wayland sessions Gajim runs through XWayland). Every action's effect is seen
// where it lands: by the peer, in Gajim or in the server's records.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "tests/e2e/harness/wait_until.h"
#include "tests/gajim/gajim_fixture.h"

namespace plumwick::e2e {
namespace {

using namespace gajim_people;

class GajimDesktopTourTest : public GajimE2eTest {
 protected:
  void SetUp() override {
    GajimE2eTest::SetUp();
    RecordProperty("desktop", DesktopName(Session().Kind()));
  }

  // A failure says on which desktop, and what the program, the peer and Gajim said.
  std::string Where() const {
    return "on " + DesktopName(Session().Kind()) + "\n" + program_->Describe() +
           World().alice->Describe() + World().gajim->Describe();
  }
};

TEST_F(GajimDesktopTourTest, EveryActionReachesThePeerGajimOrTheServer) {
  XmppPeer& alice = *World().alice;
  // The status box: each pick is seen by the peer.
  PickStatus(StatusEntry::kAway);
  EXPECT_TRUE(alice.WaitForPresence(kUser, "available", "away", kEffectTimeout)) << Where();
  PickStatus(StatusEntry::kBusy);
  EXPECT_TRUE(alice.WaitForPresence(kUser, "available", "dnd", kEffectTimeout)) << Where();
  PickStatus(StatusEntry::kOnline);
  EXPECT_TRUE(alice.WaitForPresence(kUser, "available", "-", kEffectTimeout)) << Where();

  // Select List shows alice alone (dave is offline), and her double-click brings Gajim's chat
  // forward.
  ClickControl(place::kSelectList);
  std::vector<TextRow> rows;
  WaitUntil([&] { return !(rows = ContactRows("gajim-list.png")).empty(); }, kEffectTimeout,
            std::chrono::milliseconds(200));
  ASSERT_EQ(rows.size(), 1u) << Where();
  User().DoubleClick(window_, {place::kContacts.x + place::kContacts.width / 2, rows[0].Middle()});
  EXPECT_TRUE(WaitUntil(
      [&] {
        const auto active = User().ActiveWindow();
        return active && *active != window_ && User().WindowName(*active) == "Gajim";
      },
      kEffectTimeout))
      << Where();

  // Send Msg.: the message arrives exactly, a Gajim command word and an emoji code included.
  ASSERT_EQ(TypeIntoField(place::kText2, kAlice), kAlice) << Where();
  const std::string message = "/me héllo Ωmega 👍🏽 :smile: 100% {{}x{}}";
  ASSERT_EQ(PasteIntoField(place::kText4, message), message) << Where();
  ClickControl(place::kSendMessage);
  EXPECT_TRUE(
      alice.WaitForMessage(kUser, "/me héllo Ωmega 👍🏽 :smile: 100% {x}", kEffectTimeout))
      << Where();

  // Add contact puts carol into the server's roster, and Delete Contact takes her out again.
  ASSERT_EQ(TypeIntoField(place::kText2, kCarol), kCarol) << Where();
  ClickControl(place::kAddContact);
  EXPECT_TRUE(ServerRosterLists(kCarol, true)) << "carol was not added " << Where();
  EXPECT_TRUE(User().WaitForNoWindow("Add Contact", kEffectTimeout)) << Where();
  ClickControl(place::kDeleteContact);
  EXPECT_TRUE(ServerRosterLists(kCarol, false)) << "carol was not removed " << Where();
  EXPECT_TRUE(User().WaitForNoWindow("Remove Contact", kEffectTimeout)) << Where();

  // Change NickName: the nickname a contact reads from the server.
  const std::string name = "Nick é 名";
  ASSERT_EQ(PasteIntoField(place::kText3, name), name) << Where();
  ClickControl(place::kChangeNickName);
  std::string read;
  EXPECT_TRUE(WaitUntil(
      [&] {
        read = ReadNickname(kAlice + "/reader", kAlicePassword, kUser, World().env);
        return read == JsonString(name);
      },
      kEffectTimeout, std::chrono::milliseconds(300)))
      << read << Where();
  EXPECT_TRUE(User().WaitForNoWindow("Profile", kEffectTimeout)) << Where();

  // Sign Out: the peer sees the user go.
  ClickControl(place::kSignOut);
  EXPECT_TRUE(alice.WaitForPresence(kUser, "unavailable", "-", kEffectTimeout)) << Where();
  EXPECT_EQ(program_->ErrText().find("Error "), std::string::npos) << Where();
}

// In a Wayland session Gajim is a Wayland program unless told otherwise: no key can reach it. The
// actions that would type open nothing and say how to start Gajim; the rest works. (ctest runs
// this in the Wayland sessions only.)
class GajimNativeWaylandTest : public GajimE2eTest {
 protected:
  static void SetUpTestSuite() { StartWorld(GajimBackend::kWayland); }
};

TEST_F(GajimNativeWaylandTest, ActionsThatTypeSayHowToStartGajimAndTheRestWorks) {
  XmppPeer& alice = *World().alice;
  PickStatus(StatusEntry::kAway);
  EXPECT_TRUE(alice.WaitForPresence(kUser, "available", "away", kEffectTimeout))
      << program_->Describe();
  ClickControl(place::kSelectList);
  EXPECT_TRUE(WaitUntil([&] { return ContactRows("gajim-wayland-list.png").size() == 1; },
                        kEffectTimeout, std::chrono::milliseconds(200)))
      << program_->Describe();

  ASSERT_EQ(TypeIntoField(place::kText2, kAlice), kAlice);
  ASSERT_EQ(TypeIntoField(place::kText4, "not sent"), "not sent");
  const auto started = std::chrono::steady_clock::now();
  ClickControl(place::kSendMessage);
  EXPECT_TRUE(WaitForErrorText("start it through XWayland: GDK_BACKEND=x11 gajim"))
      << program_->Describe();
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3))
      << "not at once, but after the focus guard's wait";
  const auto box = WaitForMessageBox();
  ASSERT_TRUE(box) << program_->Describe();
  EXPECT_TRUE(DismissWithReturn(*box));
  EXPECT_FALSE(alice.WaitForMessage(kUser, "not sent", std::chrono::seconds(1)));

  ClickControl(place::kSignOut);
  EXPECT_TRUE(alice.WaitForPresence(kUser, "unavailable", "-", kEffectTimeout))
      << program_->Describe();
}

}  // namespace
}  // namespace plumwick::e2e
