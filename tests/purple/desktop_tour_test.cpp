// One tour of plumwick with Pidgin, a local XMPP server and a peer, clicked and typed as a person
// does, on the desktop PLUMWICK_TEST_DESKTOP names (ctest runs it once on each: openbox, xfwm4,
// marco, metacity, mutter and KWin on X11, mutter and KWin as Wayland sessions, and a bare X
// server without any, where the program itself gives Pidgin's add-contact dialog the focus).
// Every action's effect is seen where it lands: by the peer or in the server's records.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "tests/e2e/harness/wait_until.h"
#include "tests/purple/purple_fixture.h"

namespace plumwick::e2e {
namespace {

class PurpleDesktopTourTest : public PurpleE2eTest {
 protected:
  void SetUp() override {
    PurpleE2eTest::SetUp();
    RecordProperty("desktop", DesktopName(Session().Kind()));
  }

  // A failure says on which desktop, and what the program and the peer said.
  std::string Where() const {
    return "on " + DesktopName(Session().Kind()) + "\n" + program_->Describe() + Alice().Describe();
  }

  static bool InUserRoster(const std::string& jid, bool wanted) {
    return (RosterOnce(jid, wanted).count(jid) == 1) == wanted;
  }
};

TEST_F(PurpleDesktopTourTest, EveryActionReachesThePeerOrTheServer) {
  // The status box: each pick is seen by the peer.
  PickStatus(StatusEntry::kAway);
  EXPECT_TRUE(Alice().WaitForPresence(people::kUser, "available", "away", kEffectTimeout))
      << Where();
  PickStatus(StatusEntry::kBusy);
  EXPECT_TRUE(Alice().WaitForPresence(people::kUser, "available", "dnd", kEffectTimeout))
      << Where();
  PickStatus(StatusEntry::kOnline);
  EXPECT_TRUE(Alice().WaitForPresence(people::kUser, "available", "-", kEffectTimeout)) << Where();

  // Send Msg.: the message arrives exactly, braces written in the key notation's own spelling.
  ASSERT_EQ(TypeIntoField(place::kText2, people::kAlice), people::kAlice) << Where();
  const std::string message = "héllo Ωmega 👍🏽 ЖЖ 100% :-) {{}x{}}";
  ASSERT_EQ(PasteIntoField(place::kText4, message), message) << Where();
  EXPECT_TRUE(ClickSendMessageAndWaitForItsEnd()) << Where();
  EXPECT_TRUE(Alice().WaitForMessage(people::kUser, "héllo Ωmega 👍🏽 ЖЖ 100% :-) {x}",
                                     kEffectTimeout))
      << Where();

  // Add contact puts carol into the server's roster, and Delete Contact takes her out again.
  ASSERT_EQ(TypeIntoField(place::kText2, people::kCarol), people::kCarol) << Where();
  ClickControl(place::kAddContact);
  EXPECT_TRUE(InUserRoster(people::kCarol, true)) << "carol was not added " << Where();
  EXPECT_TRUE(User().WaitForNoWindow("Add Buddy", kEffectTimeout)) << Where();
  EXPECT_TRUE(User().WaitForNoWindow("Contact added", kEffectTimeout)) << Where();
  ClickControl(place::kDeleteContact);
  EXPECT_TRUE(InUserRoster(people::kCarol, false)) << "carol was not removed " << Where();

  // Change NickName: the account's alias, and the nickname the peer reads in the vCard.
  const std::string name = "Nick é";
  ASSERT_EQ(PasteIntoField(place::kText3, name), name) << Where();
  ClickControl(place::kChangeNickName);
  EXPECT_EQ(VcardOnceNicknameIs(name)["NICKNAME"], JsonString(name)) << Where();
  EXPECT_EQ(Dbus().String("PurpleAccountGetAlias", {IntArg(Dbus().SignedOnAccount())}), name)
      << Where();
  EXPECT_TRUE(User().WaitForNoWindow("Display name changed", kEffectTimeout)) << Where();

  // Sign Out: the peer sees the user go.
  ClickControl(place::kSignOut);
  EXPECT_TRUE(Alice().WaitForPresence(people::kUser, "unavailable", "-", kEffectTimeout))
      << Where();
  EXPECT_EQ(program_->ErrText().find("Error "), std::string::npos) << Where();
}

}  // namespace
}  // namespace plumwick::e2e
