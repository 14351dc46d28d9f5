// plumwick with a real Pidgin in everyday use, driven only by clicks and typing: addresses typed
// as users type them are added as the server keeps them, text that is no address is refused
// before Pidgin's dialog opens, an add the server never got is not reported as done, and with two
// accounts the list tells a shared contact's rows apart and the display name changes on both.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "tests/e2e/harness/wait_until.h"
#include "tests/purple/purple_fixture.h"

namespace plumwick::e2e {
namespace {

using std::chrono::milliseconds;

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

// The user's second account signed on in Pidgin for one test, and deleted from Pidgin after it.
class SecondAccount {
 public:
  explicit SecondAccount(PurpleDbus dbus) : dbus_(std::move(dbus)) {
    account_ = dbus_.Int("PurpleAccountNew",
                         {StringArg(people::kErin + "/plumwick"), StringArg("prpl-jabber")});
    dbus_.Call("PurpleAccountSetPassword", {IntArg(account_), StringArg(people::kErinPassword)});
    dbus_.Call("PurpleAccountSetString",
               {IntArg(account_), StringArg("connect_server"), StringArg("127.0.0.1")});
    dbus_.Call("PurpleAccountSetBool",
               {IntArg(account_), StringArg("auth_plain_in_clear"), IntArg(1)});
    dbus_.Call("PurpleAccountsAdd", {IntArg(account_)});
    dbus_.Call("PurpleAccountSetEnabled", {IntArg(account_), StringArg("gtk-gaim"), IntArg(1)});
  }
  ~SecondAccount() {
    try {
      dbus_.Call("PurpleAccountsDelete", {IntArg(account_)});
    } catch (const std::exception&) {
      // Pidgin gone with it: nothing is left to delete.
    }
  }
  SecondAccount(const SecondAccount&) = delete;
  SecondAccount& operator=(const SecondAccount&) = delete;

  std::int32_t Handle() const { return account_; }
  // Whether it is signed on with `contact` online in its list.
  bool Sees(const std::string& contact) const {
    if (dbus_.Int("PurpleAccountIsConnected", {IntArg(account_)}) == 0) return false;
    const std::int32_t buddy = dbus_.Int("PurpleFindBuddy", {IntArg(account_), StringArg(contact)});
    return buddy != 0 && dbus_.Int("PurpleBuddyIsOnline", {IntArg(buddy)}) != 0;
  }

 private:
  PurpleDbus dbus_;
  std::int32_t account_ = 0;
};

TEST_F(PurpleEverydayTest, AddContactAddsTheBareAddressAndRefusesWhatIsNoAddress) {
  // A resource and capitals, as an address is often copied: the server gets the bare address in
  // the case Pidgin keeps, and the program reports no failure.
  AddContact("Carol@LocalHost/phone");
  const Roster roster = RosterOnce(people::kCarol, true);
  EXPECT_EQ(roster.count(people::kCarol), 1u) << program_->Describe();
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
  EXPECT_EQ(UserRoster().size(), roster.size());
}

TEST_F(PurpleEverydayTest, AnAddressPidginKeepsToItselfIsNotReportedAsAdded) {
  // A no-break space: the address reads well, and Pidgin's dialog takes it, but Pidgin cannot
  // turn it into a server address, so it puts the buddy into its own list and never asks the
  // server. Only the server's answer counts.
  const std::string address = "dora\u00a0x@localhost";
  AddContact(address);
  ExpectErrorShown("did not ask the server to add \"" + address + "\"");
  EXPECT_EQ(BuddyInPidgin(address), 0) << "left in Pidgin's list";
  for (const auto& [jid, subscription] : UserRoster()) {
    EXPECT_EQ(jid.find("dora"), std::string::npos) << jid;
  }
}

TEST_F(PurpleEverydayTest, WithTwoAccountsEachRowOfASharedContactOpensItsOwnAccount) {
  const SecondAccount erin(Dbus());
  ASSERT_TRUE(WaitUntil([&] { return erin.Sees(people::kBob); }, kEffectTimeout, milliseconds(200)))
      << "the second account did not sign on with bob online\n"
      << ThePidginProcess().Describe();
  const std::int32_t plum = Dbus().SignedOnAccount();

  // alice, and bob once for each account: the rows must open three different conversations.
  ClickControl(place::kSelectList);
  std::vector<TextRow> rows;
  WaitUntil([&] { return (rows = ContactRows("two-accounts.png")).size() >= 3; }, kEffectTimeout,
            milliseconds(200));
  ASSERT_EQ(rows.size(), 3u) << program_->Describe();
  const int x = place::kContacts.x + place::kContacts.width / 2;
  std::set<std::pair<std::int32_t, std::string>> opened;
  for (const TextRow& row : rows) {
    const std::size_t before = opened.size();
    User().DoubleClick(window_, {x, row.Middle()});
    WaitUntil(
        [&] {
          for (const std::int32_t conversation : Dbus().Ints("PurpleGetIms")) {
            opened.insert({Dbus().Int("PurpleConversationGetAccount", {IntArg(conversation)}),
                           Dbus().String("PurpleConversationGetName", {IntArg(conversation)})});
          }
          return opened.size() > before;
        },
        kEffectTimeout, milliseconds(100));
  }
  EXPECT_EQ(opened,
            (std::set<std::pair<std::int32_t, std::string>>{
                {plum, people::kAlice}, {plum, people::kBob}, {erin.Handle(), people::kBob}}));

  // The display name changes on every signed-on account.
  const std::string name = "Plum on both";
  ASSERT_EQ(PasteIntoField(place::kText3, name), name);
  ClickControl(place::kChangeNickName);
  const auto alias = [&](std::int32_t account) {
    return Dbus().String("PurpleAccountGetAlias", {IntArg(account)});
  };
  EXPECT_TRUE(WaitUntil([&] { return alias(plum) == name && alias(erin.Handle()) == name; },
                        kEffectTimeout, milliseconds(200)))
      << alias(plum) << " / " << alias(erin.Handle()) << "\n"
      << program_->Describe();
  EXPECT_TRUE(User().WaitForNoWindow("Display name changed", kEffectTimeout));
  EXPECT_EQ(program_->ErrText().find("Error "), std::string::npos) << program_->ErrText();
}

}  // namespace
}  // namespace plumwick::e2e
