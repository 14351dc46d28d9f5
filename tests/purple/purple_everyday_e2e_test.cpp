// plumwick with a real Pidgin in everyday use, driven only by clicks and typing: addresses typed
// as users type them are added as the server keeps them, text that is no address is refused
// before Pidgin's dialog opens, and an add the server never got is not reported as done.
#include <gtest/gtest.h>

#include "tests/e2e/harness/wait_until.h"
#include "tests/purple/purple_fixture.h"

namespace plumwick::e2e {
namespace {

using std::chrono::milliseconds;

using Roster = std::map<std::string, std::string>;

Roster UserRoster(const Environment& env) {
  return ServerRoster(people::kUser + "/observer", people::kUserPassword, env);
}

class PurpleEverydayTest : public PurpleE2eTest {
 protected:
  // Clicks Add contact with `typed` in the address box, which must hold it first.
  void AddContact(const std::string& typed) {
    ASSERT_EQ(PasteIntoField(place::kText2, typed), typed);
    ClickControl(place::kAddContact);
  }

  // The error the program shows, once it does: its text must hold `text`. The box is dismissed.
  void ExpectErrorShown(const std::string& text) {
    EXPECT_TRUE(WaitForErrorText(text)) << program_->Describe();
    const auto box = WaitForMessageBox();
    ASSERT_TRUE(box) << "no message box\n" << program_->Describe();
    EXPECT_TRUE(DismissWithReturn(*box));
  }

  std::int32_t BuddyInPidgin(const std::string& name) const {
    return Dbus().Int("PurpleFindBuddy", {IntArg(Dbus().SignedOnAccount()), StringArg(name)});
  }
};

TEST_F(PurpleEverydayTest, AddContactAddsTheBareAddressAndRefusesWhatIsNoAddress) {
  // A resource and capitals, as an address is often copied: the server gets the bare address in
  // the case Pidgin keeps, and the program reports no failure.
  AddContact("Carol@LocalHost/phone");
  Roster roster;
  EXPECT_TRUE(WaitUntil(
      [&] {
        roster = UserRoster(Env());
        return roster.count(people::kCarol) == 1;
      },
      kEffectTimeout, milliseconds(300)))
      << program_->Describe();
  EXPECT_TRUE(User().WaitForNoWindow("Add Buddy", kEffectTimeout));
  EXPECT_TRUE(User().WaitForNoWindow("Contact added", kEffectTimeout));
  EXPECT_EQ(program_->ErrText().find("Error "), std::string::npos) << program_->ErrText();
  EXPECT_NE(BuddyInPidgin(people::kCarol), 0);

  // Words are no address: refused before any dialog opens, and nothing is added anywhere.
  const std::string words = "not an address two";
  AddContact(words);
  EXPECT_TRUE(WaitForErrorText("\"" + words + "\" is not an XMPP address: at the 4th character"))
      << program_->Describe();
  EXPECT_TRUE(User().FindWindows("Add Buddy").empty()) << "Pidgin's dialog opened";
  ExpectErrorShown("is not an XMPP address");
  EXPECT_EQ(BuddyInPidgin(words), 0);
  EXPECT_EQ(UserRoster(Env()).size(), roster.size());
}

TEST_F(PurpleEverydayTest, AnAddressPidginKeepsToItselfIsNotReportedAsAdded) {
  // A no-break space: the address reads well, and Pidgin's dialog takes it, but Pidgin cannot
  // turn it into a server address, so it puts the buddy into its own list and never asks the
  // server. Only the server's answer counts.
  const std::string address = "dora\u00a0x@localhost";
  AddContact(address);
  ExpectErrorShown("did not ask the server to add \"" + address + "\"");
  EXPECT_EQ(BuddyInPidgin(address), 0) << "left in Pidgin's list";
  for (const auto& [jid, subscription] : UserRoster(Env())) {
    EXPECT_EQ(jid.find("dora"), std::string::npos) << jid;
  }
}

}  // namespace
}  // namespace plumwick::e2e
