// plumwick with a real Pidgin, a real XMPP server and real people at the other end, driven only by
// clicks and typing: what the user picks, lists, sends, adds, removes and renames arrives where
// it should (in the server's roster, at a peer), and a Pidgin that goes away or hangs is reported
// without ending the program, which then works again once Pidgin is back.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "tests/e2e/focus_thief.h"
#include "tests/e2e/harness/clipboard.h"
#include "tests/e2e/harness/desktop_test.h"
#include "tests/e2e/harness/key_event_watch.h"
#include "tests/e2e/harness/typed_keys.h"
#include "tests/e2e/harness/wait_until.h"
#include "tests/purple/purple_fixture.h"
#include "tests/purple/session_bus.h"

namespace plumwick::e2e {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

// The codes the program shows failures with.
constexpr const char* kNoClientError = "Error 8193 (0x00002001): ";
constexpr const char* kNoAnswerError = "Error 8201 (0x00002009): ";
constexpr const char* kNoClientText = "No messaging client is running: start Pidgin and sign in";
// A Pidgin that is gone answers at once; one that hangs is given up after the client's call
// timeout (four seconds). Both must be reported within five seconds of the click: this bound
// only keeps a hang from passing, it measures nothing finer.
constexpr auto kFailureReported = seconds(6);

// An address the server has no one for.
const std::string kNobody = "nobody@localhost";
// Pidgin handles a long message's keys for seconds after they were typed.
constexpr auto kLongMessageTimeout = seconds(40);

// Opens Pidgin's conversation with the contact as the user would have it: in front, with the
// keyboard focus.
std::int32_t OpenConversationInFront(const PurpleDbus& dbus, const std::string& contact) {
  constexpr std::int32_t kIm = 1;
  const std::int32_t conversation = dbus.Int(
      "PurpleConversationNew", {IntArg(kIm), IntArg(dbus.SignedOnAccount()), StringArg(contact)});
  const bool in_front = WaitUntil(
      [&] {
        dbus.Call("PurpleConversationPresent", {IntArg(conversation)});
        return dbus.Int("PurpleConversationHasFocus", {IntArg(conversation)}) != 0;
      },
      kEffectTimeout, milliseconds(300));
  EXPECT_TRUE(in_front) << "Pidgin's conversation with " << contact << " did not come forward";
  return conversation;
}

TEST_F(PurpleE2eTest, StatusPicksAreSeenByThePeer) {
  PickStatus(StatusEntry::kAway);
  EXPECT_TRUE(Alice().WaitForPresence(people::kUser, "available", "away", kEffectTimeout))
      << Alice().Describe() << program_->Describe();
  PickStatus(StatusEntry::kBusy);
  EXPECT_TRUE(Alice().WaitForPresence(people::kUser, "available", "dnd", kEffectTimeout))
      << Alice().Describe() << program_->Describe();
  PickStatus(StatusEntry::kOnline);
  EXPECT_TRUE(Alice().WaitForPresence(people::kUser, "available", "-", kEffectTimeout))
      << Alice().Describe() << program_->Describe();
  EXPECT_EQ(program_->ErrText().find("Error "), std::string::npos) << program_->ErrText();
}

TEST_F(PurpleE2eTest, SelectListListsTheContactsNotOfflineAndADoubleClickOpensAConversation) {
  ASSERT_TRUE(ContactRows("before-select-list.png").empty()) << "the list is filled at start";
  ClickControl(place::kSelectList);
  // alice (available) and bob (busy); dave is offline and left out.
  std::vector<TextRow> rows;
  WaitUntil([&] { return (rows = ContactRows("after-select-list.png")).size() >= 2; },
            kEffectTimeout, milliseconds(200));
  ASSERT_EQ(rows.size(), 2u) << "rows of text in the list\n" << program_->Describe();

  // Which row is whom is Pidgin's order: each double-click opens a conversation, and together
  // they are alice's and bob's.
  const int x = place::kContacts.x + place::kContacts.width / 2;
  std::set<std::string> opened;
  for (const TextRow& row : rows) {
    const std::size_t before = opened.size();
    User().DoubleClick(window_, {x, row.Middle()});
    WaitUntil(
        [&] {
          for (const std::string& name : Dbus().ImConversations()) opened.insert(name);
          return opened.size() > before;
        },
        kEffectTimeout, milliseconds(100));
  }
  EXPECT_EQ(opened, (std::set<std::string>{people::kAlice, people::kBob}));
  // The conversation window is Pidgin's, and it is in front.
  const auto active = User().ActiveWindow();
  ASSERT_TRUE(active);
  EXPECT_NE(*active, window_);

  // Each later list is the list of its click: dave signs on and off between them.
  const auto dave_online = [&](bool online) {
    return WaitUntil(
        [&] {
          const std::int32_t buddy = Dbus().Int(
              "PurpleFindBuddy", {IntArg(Dbus().SignedOnAccount()), StringArg(people::kDave)});
          return (Dbus().Int("PurpleBuddyIsOnline", {IntArg(buddy)}) != 0) == online;
        },
        kEffectTimeout, milliseconds(200));
  };
  const auto rows_after_reload = [&](const char* shot) {
    ClickControl(place::kClearList);
    ClickControl(place::kSelectList);
    WaitUntil([&] { return !ContactRows(shot).empty(); }, kEffectTimeout, milliseconds(200));
    return ContactRows(shot).size();
  };
  auto dave = std::make_unique<XmppPeer>(people::kDave + "/peer", "dave-secret", "away", Env());
  ASSERT_TRUE(dave_online(true));
  EXPECT_EQ(rows_after_reload("dave-online.png"), 3u) << program_->Describe();
  dave.reset();
  ASSERT_TRUE(dave_online(false));
  EXPECT_EQ(rows_after_reload("dave-offline.png"), 2u) << program_->Describe();
  EXPECT_EQ(program_->ErrText().find("Error "), std::string::npos) << program_->ErrText();
}

TEST_F(PurpleE2eTest, SendMessageDeliversTheExactText) {
  ASSERT_EQ(TypeIntoField(place::kText2, people::kAlice), people::kAlice);
  // Pasted, so that it reaches the box exactly; the program then types it into Pidgin. Spaces at
  // the ends and doubled, markup, and a message of spaces only must arrive as they were typed.
  for (const std::string& text :
       {std::string(" Grüße aus Zoë's Café – ÀÉÜ ß,  100% :-) ~+^(x) <b>&amp; "),
        std::string("   ")}) {
    SCOPED_TRACE("\"" + text + "\"");
    ASSERT_EQ(PasteIntoField(place::kText4, text), text);
    EXPECT_TRUE(ClickSendMessageAndWaitForItsEnd()) << program_->Describe();
    EXPECT_TRUE(Alice().WaitForMessage(people::kUser, text, kEffectTimeout))
        << Alice().Describe() << program_->Describe();
    EXPECT_EQ(program_->ErrText().find("Error "), std::string::npos) << program_->ErrText();
  }
}

// A long message takes Pidgin seconds to handle after its keys were typed: the job waits for its
// report as long as the keys can take, and the message arrives once, with no error.
TEST_F(PurpleE2eTest, ALongMessageArrivesWholeAndIsNotReportedFailed) {
  std::string text;
  for (int line = 1; text.size() < 3000; ++line) text += "line " + std::to_string(line) + ", ";
  text.resize(3000);
  ASSERT_EQ(TypeIntoField(place::kText2, people::kAlice), people::kAlice);
  ASSERT_EQ(PasteIntoField(place::kText4, text), text);
  const TypedKeys keys(Session().Display());
  ClickControl(place::kSendMessage);
  EXPECT_TRUE(Alice().WaitForMessage(people::kUser, text, kLongMessageTimeout))
      << Alice().Describe() << program_->Describe();
  EXPECT_TRUE(WaitUntil([&] { return keys.Releases("Return") >= 2; }, kLongMessageTimeout))
      << "the job did not reach its second Enter\n"
      << program_->Describe();
  EXPECT_EQ(program_->ErrText().find("Error "), std::string::npos) << program_->ErrText();
}

// Prosody answers a message to an address it has no one for with an error; Pidgin shows nothing.
TEST_F(PurpleE2eTest, AMessageTheServerSendsBackIsReported) {
  ASSERT_EQ(TypeIntoField(place::kText2, kNobody), kNobody);
  ASSERT_EQ(TypeIntoField(place::kText4, "anyone there?"), "anyone there?");
  ClickControl(place::kSendMessage);
  EXPECT_TRUE(WaitForErrorText("Error 8200 (0x00002008): The message to \"" + kNobody +
                                   "\" was not delivered: the server of \"" + kNobody +
                                   "\" sent the message back",
                               kFailureReported))
      << program_->ErrText();
  const auto box = WaitForMessageBox();
  ASSERT_TRUE(box) << "no message box\n" << program_->Describe();
  EXPECT_TRUE(DismissWithReturn(*box));
}

// Text the user typed into the conversation and did not send stays there, and the message is not
// typed after it: it would go out as one message with it. Without a draft the message goes into
// the open conversation. Both whether Pidgin sends typing notifications or not.
TEST_F(PurpleE2eTest, ADraftInTheConversationIsNeitherSentWithTheMessageNorLost) {
  ASSERT_EQ(TypeIntoField(place::kText2, people::kAlice), people::kAlice);
  ASSERT_EQ(TypeIntoField(place::kText4, "Hello Alice"), "Hello Alice");
  for (const bool notifications : {true, false}) {
    SCOPED_TRACE(notifications ? "typing notifications" : "no typing notifications");
    const PidginPref send_typing(Dbus(), "/purple/conversations/im/send_typing", notifications);
    const std::int32_t conversation = OpenConversationInFront(Dbus(), people::kAlice);
    User().Type("see you at ");
    // The caret back at the start, and the history above the entry clicked last (a link in it,
    // say): a key with Control held stays there.
    User().Key("Home");
    const auto pidgin = User().ActiveWindow();
    ASSERT_TRUE(pidgin);
    const Rect area = User().ClientArea(*pidgin);
    User().Click(*pidgin, {area.width / 2, area.height * 2 / 5});
    ClickControl(place::kSendMessage);
    EXPECT_TRUE(WaitForErrorText(std::string("Pidgin's conversation with \"alice@localhost\" holds "
                                             "text that was typed there and not sent") +
                                 (notifications ? "" : " (\"see you at \")")))
        << program_->ErrText();
    const auto box = WaitForMessageBox();
    ASSERT_TRUE(box) << "no message box\n" << program_->Describe();
    EXPECT_TRUE(DismissWithReturn(*box));
    // The draft alone is still in the entry: sent by hand, it arrives as it was typed.
    ASSERT_EQ(OpenConversationInFront(Dbus(), people::kAlice), conversation);
    User().Key("Return");
    EXPECT_TRUE(Alice().WaitForMessage(people::kUser, "see you at ", kEffectTimeout))
        << Alice().Describe();

    // The entry is empty now: the message goes, and the text the user had selected elsewhere is
    // still there to paste.
    const ClipboardOwner selected(Session(), "selected elsewhere", "primary");
    EXPECT_TRUE(ClickSendMessageAndWaitForItsEnd()) << program_->Describe();
    EXPECT_TRUE(Alice().WaitForMessage(people::kUser, "Hello Alice", kEffectTimeout))
        << Alice().Describe() << program_->Describe();
    EXPECT_EQ(ReadClipboard(Session(), "primary"), "selected elsewhere");
    if (notifications) continue;
    // The check takes the selection for a moment: an image selected elsewhere comes back too.
    const std::string image = "\x89PNG\r\n\x1a\n not really an image";
    const ClipboardOwner picture(Session(), image, "primary", "image/png");
    EXPECT_TRUE(ClickSendMessageAndWaitForItsEnd()) << program_->Describe();
    EXPECT_EQ(ReadClipboard(Session(), "primary", "image/png"), image);
  }
}

// Pidgin's default layout puts a conversation opened later in a tab behind the first, and nothing
// Pidgin offers other programs brings a tab forward: the job switches tabs in Pidgin's window
// itself. The message goes to the conversation behind alone, and a double-click on a contact whose
// tab is behind brings that tab forward too.
TEST_F(PurpleE2eTest, AConversationInATabBehindAnotherIsBroughtForwardAndGetsTheMessage) {
  const PidginPref tabbed(Dbus(), "/pidgin/conversations/tabs", true);
  // bob's alone in one window, so that alice's opens as a tab behind it.
  for (const std::int32_t open : Dbus().Ints("PurpleGetIms")) {
    Dbus().Call("PurpleConversationDestroy", {IntArg(open)});
  }
  OpenConversationInFront(Dbus(), people::kBob);
  ASSERT_EQ(TypeIntoField(place::kText2, people::kAlice), people::kAlice);
  ASSERT_EQ(TypeIntoField(place::kText4, "to the tab behind"), "to the tab behind");
  ASSERT_TRUE(ClickSendMessageAndWaitForItsEnd()) << program_->Describe();
  EXPECT_TRUE(Alice().WaitForMessage(people::kUser, "to the tab behind", kEffectTimeout))
      << Alice().Describe();

  // The list's rows in Pidgin's order of the contacts; each double-click brings its tab forward.
  const std::int32_t account = Dbus().SignedOnAccount();
  std::vector<std::string> online;
  for (const std::int32_t buddy :
       Dbus().Ints("PurpleFindBuddies", {IntArg(account), StringArg("")})) {
    const std::string name = Dbus().String("PurpleBuddyGetName", {IntArg(buddy)});
    if (name == people::kAlice || name == people::kBob) online.push_back(name);
  }
  ClickControl(place::kSelectList);
  std::vector<TextRow> rows;
  WaitUntil([&] { return (rows = ContactRows("tabs-list.png")).size() >= 2; }, kEffectTimeout,
            milliseconds(200));
  std::vector<std::string> in_front;
  for (std::size_t i = 0; i < rows.size() && i < online.size(); ++i) {
    User().DoubleClick(window_,
                       {place::kContacts.x + place::kContacts.width / 2, rows[i].Middle()});
    const std::int32_t conversation = Dbus().Int(
        "PurpleFindConversationWithAccount", {IntArg(1), StringArg(online[i]), IntArg(account)});
    if (WaitUntil(
            [&] { return Dbus().Int("PurpleConversationHasFocus", {IntArg(conversation)}) != 0; },
            kEffectTimeout, milliseconds(200))) {
      in_front.push_back(online[i]);
    }
  }
  // Pidgin keeps what each conversation showed: the message in alice's, nothing in bob's.
  const auto shown = [&](const std::string& contact) {
    return Dbus().Ints("PurpleConversationGetMessageHistory",
                       {IntArg(Dbus().Int("PurpleFindConversationWithAccount",
                                          {IntArg(1), StringArg(contact), IntArg(account)}))});
  };
  EXPECT_EQ(shown(people::kAlice).size(), 1u);
  EXPECT_TRUE(shown(people::kBob).empty()) << "something went into bob's conversation";
  EXPECT_EQ(in_front, online) << program_->Describe();
  EXPECT_EQ(program_->ErrText().find("Error "), std::string::npos) << program_->ErrText();
}

TEST_F(PurpleE2eTest, AddContactPutsTheContactInTheServerRoster) {
  ASSERT_EQ(UserRoster().count(people::kCarol), 0u);
  ASSERT_EQ(TypeIntoField(place::kText2, people::kCarol), people::kCarol);
  ClickControl(place::kAddContact);
  const Roster roster = RosterOnce(people::kCarol, true);
  EXPECT_EQ(roster.count(people::kCarol), 1u) << program_->Describe();
  // The dialog and the notice after it are gone: the program's second Enter dismissed the
  // notice, and nothing is left for the user to close.
  EXPECT_TRUE(User().WaitForNoWindow("Add Buddy", kEffectTimeout));
  EXPECT_TRUE(User().WaitForNoWindow("Contact added", kEffectTimeout));
  EXPECT_EQ(program_->ErrText().find("Error "), std::string::npos) << program_->ErrText();
  // The other contacts are untouched.
  EXPECT_EQ(roster.count(people::kAlice), 1u);
  EXPECT_EQ(roster.count(people::kBob), 1u);
}

TEST_F(PurpleE2eTest, DeleteContactRemovesTheContactFromTheServerRoster) {
  ASSERT_EQ(UserRoster().count(people::kDave), 1u);
  ASSERT_EQ(TypeIntoField(place::kText2, people::kDave), people::kDave);
  ClickControl(place::kDeleteContact);
  const Roster roster = RosterOnce(people::kDave, false);
  EXPECT_EQ(roster.count(people::kDave), 0u) << program_->Describe();
  EXPECT_EQ(roster.count(people::kAlice), 1u);
  EXPECT_EQ(
      Dbus().Int("PurpleFindBuddy", {IntArg(Dbus().SignedOnAccount()), StringArg(people::kDave)}),
      0)
      << "still in Pidgin's list";

  // Gone: a second removal fails in a message box, and the program goes on.
  ClickControl(place::kDeleteContact);
  EXPECT_TRUE(
      WaitForErrorText("Error 8195 (0x00002003): \"dave@localhost\" is not in your "
                       "contact list"))
      << program_->ErrText();
  const auto box = WaitForMessageBox();
  ASSERT_TRUE(box) << "no message box\n" << program_->Describe();
  EXPECT_TRUE(DismissWithReturn(*box));
}

TEST_F(PurpleE2eTest, ChangeNickNameChangesTheAliasAndTheNicknameOnTheServer) {
  const std::string name = "Zoë Ångström Ω";
  ASSERT_EQ(PasteIntoField(place::kText3, name), name);
  ClickControl(place::kChangeNickName);
  std::map<std::string, std::string> vcard = VcardOnceNicknameIs(name);
  EXPECT_EQ(vcard["NICKNAME"], JsonString(name)) << program_->Describe();
  // The rest of the profile is kept.
  EXPECT_EQ(vcard["FN"], JsonString(people::kUserFullName));
  EXPECT_EQ(vcard["DESC"], JsonString(people::kUserDescription));
  EXPECT_EQ(Dbus().String("PurpleAccountGetAlias", {IntArg(Dbus().SignedOnAccount())}), name);
  // The notice was dismissed by the program's second Enter, and the program is in front again.
  EXPECT_TRUE(User().WaitForNoWindow("Display name changed", kEffectTimeout));
  EXPECT_TRUE(User().WaitForNoWindow("Options", kEffectTimeout));
  std::optional<WindowId> active;
  EXPECT_TRUE(
      WaitUntil([&] { return (active = User().ActiveWindow()) == window_; }, kEffectTimeout))
      << "active window " << active.value_or(0) << ", the program's is " << window_;
  EXPECT_EQ(program_->ErrText().find("Error "), std::string::npos) << program_->ErrText();
}

TEST_F(PurpleE2eTest, SignOutMakesThePeerSeeTheUserUnavailable) {
  ClickControl(place::kSignOut);
  EXPECT_TRUE(Alice().WaitForPresence(people::kUser, "unavailable", "-", kEffectTimeout))
      << Alice().Describe() << program_->Describe();
  EXPECT_EQ(Dbus().SignedOnAccount(), 0);
  // Signed out, the list cannot be had: said so, and the program goes on.
  ClickControl(place::kSelectList);
  EXPECT_TRUE(WaitForErrorText("Error 8194 (0x00002002): ")) << program_->ErrText();
  const auto box = WaitForMessageBox();
  ASSERT_TRUE(box) << "no message box\n" << program_->Describe();
  EXPECT_TRUE(DismissWithReturn(*box));
  // Picking a status signs on again.
  PickStatus(StatusEntry::kOnline);
  EXPECT_TRUE(Alice().WaitForPresence(people::kUser, "available", "-", kEffectTimeout))
      << Alice().Describe() << program_->Describe();
}

// Another program's window takes the focus at delays spread over a message's keys: it gets none
// of them, and the message reaches the peer whole or the job stops before its Enter, naming the
// window. A stopped job's part stays in the conversation, which is closed for the next run.
TEST_F(PurpleE2eTest, AnotherWindowTakingTheFocusUnderTheKeysGetsNoneAndNoPartIsSent) {
  ASSERT_EQ(TypeIntoField(place::kText2, people::kAlice), people::kAlice);
  std::string text;
  while (text.size() < 600) text += "Grüße und Ωmega, a message under way ";
  ASSERT_EQ(PasteIntoField(place::kText4, text), text);
  int stopped = 0;
  for (int run = 0; run < 20; ++run) {
    const int delay = 1 + run * 15;
    SCOPED_TRACE("the focus taken after " + std::to_string(delay) + " ms");
    const auto thief =
        Session().Start({PLUMWICK_FOCUS_THIEF, people::kAlice, std::to_string(delay)});
    ASSERT_TRUE(thief->WaitForLine("^ready [0-9]+$", kWindowTimeout)) << thief->Describe();
    Alice().SkipReceived();
    const std::size_t errors = program_->ErrText().size();
    ClickControl(place::kSendMessage);
    bool arrived = false;
    ASSERT_TRUE(WaitUntil(
        [&] {
          arrived = arrived || Alice().WaitForMessage(people::kUser, text, seconds(0));
          return arrived || program_->ErrText().size() > errors;
        },
        kLongMessageTimeout))
        << program_->Describe();
    EXPECT_EQ(KeysLogged(*thief), std::vector<std::string>{}) << thief->Describe();
    thief->Stop();
    if (arrived) continue;
    ++stopped;
    EXPECT_NE(program_->ErrText().find("'Foreign window' (plumwick_e2e_focus_thief)", errors),
              std::string::npos)
        << program_->ErrText();
    const auto box = WaitForMessageBox();
    ASSERT_TRUE(box) << program_->Describe();
    ASSERT_TRUE(DismissWithReturn(*box));
    for (const std::int32_t conversation : Dbus().Ints("PurpleGetIms")) {
      Dbus().Call("PurpleConversationDestroy", {IntArg(conversation)});
    }
  }
  // Nothing but whole messages reached the peer: a part would show as a message of its own.
  EXPECT_FALSE(Alice().WaitForMessage(people::kUser, text.substr(0, 20), seconds(1)));
  EXPECT_GE(stopped, 5) << "the test must catch jobs under way";
}

// Pidgin quits while a long message is typed into it: the rest of the keys go nowhere, the
// program's own window least of all, and the job says what happened.
TEST_F(PurpleE2eTest, APidginThatQuitsUnderTheKeysGetsTheRestTypedNowhere) {
  std::string text;
  for (int line = 1; text.size() < 3000; ++line) text += "line " + std::to_string(line) + ", ";
  ASSERT_EQ(TypeIntoField(place::kText2, people::kAlice), people::kAlice);
  ASSERT_EQ(PasteIntoField(place::kText4, text), text);
  const KeyEventWatch program_keys(Session().Display(), window_);
  const TypedKeys keys(Session().Display());
  ClickControl(place::kSendMessage);
  ASSERT_TRUE(WaitUntil([&] { return keys.Releases("l") >= 20; }, kEffectTimeout))
      << program_->Describe();
  ThePidginProcess().Kill();
  EXPECT_TRUE(WaitForErrorText(
      "Pidgin quit before the message to \"alice@localhost\" was sent, so it was not sent",
      kFailureReported))
      << program_->ErrText();
  const auto box = WaitForMessageBox();
  ASSERT_TRUE(box) << "no message box\n" << program_->Describe();
  EXPECT_TRUE(DismissWithReturn(*box));
  for (const std::string& event : program_keys.Events()) {
    EXPECT_FALSE(event.starts_with("press ")) << "a key pressed in the program's window";
  }
  ASSERT_TRUE(program_->Running()) << program_->Describe();
  ThePidginProcess().StartSignedOn();
}

TEST_F(PurpleE2eTest, APidginThatIsGoneIsReportedAndFoundAgainWhenItIsBack) {
  ThePidginProcess().Kill();
  ClickControl(place::kSelectList);
  EXPECT_TRUE(WaitForErrorText(std::string(kNoClientError) + kNoClientText, kFailureReported))
      << program_->ErrText();
  const auto box = WaitForMessageBox();
  ASSERT_TRUE(box) << "no message box\n" << program_->Describe();
  EXPECT_TRUE(DismissWithReturn(*box));
  ASSERT_TRUE(program_->Running()) << program_->Describe();

  // The same program, with a new Pidgin process on the bus.
  ThePidginProcess().StartSignedOn();
  ClickControl(place::kSelectList);
  std::vector<TextRow> rows;
  WaitUntil([&] { return (rows = ContactRows("after-restart.png")).size() >= 2; }, kEffectTimeout,
            milliseconds(200));
  EXPECT_EQ(rows.size(), 2u) << program_->Describe();
  EXPECT_EQ(program_->ErrText().find(kNoAnswerError), std::string::npos) << program_->ErrText();
}

TEST_F(PurpleE2eTest, APidginThatDoesNotAnswerIsReportedInsteadOfFreezingTheWindow) {
  ThePidginProcess().Freeze();
  ClickControl(place::kSelectList);
  const bool reported = WaitForErrorText(kNoAnswerError, kFailureReported);
  ThePidginProcess().Thaw();
  EXPECT_TRUE(reported) << program_->ErrText();
  const auto box = WaitForMessageBox();
  ASSERT_TRUE(box) << "no message box\n" << program_->Describe();
  EXPECT_TRUE(DismissWithReturn(*box));
  // Pidgin answers again: so does the program.
  ClickControl(place::kSelectList);
  std::vector<TextRow> rows;
  WaitUntil([&] { return (rows = ContactRows("after-thaw.png")).size() >= 2; }, kEffectTimeout,
            milliseconds(200));
  EXPECT_EQ(rows.size(), 2u) << program_->Describe();
}

// Without a client on the session bus the program says so before its window shows, and ends with
// a failure once the message is dismissed; it never falls back to a stand-in client.
class PurpleWithoutClientTest : public DesktopTest {};

TEST_F(PurpleWithoutClientTest, SaysNoClientIsRunningAndEndsBeforeItsWindowShows) {
  PrivateDir dir;
  const SessionBus empty_bus(dir.Path(), Session().Env());
  ChildProcess program({.argv = {PLUMWICK_PROGRAM}, .env = empty_bus.On(Session().Env())});
  EXPECT_TRUE(WaitUntil(
      [&] {
        return program.ErrText().find(std::string(kNoClientError) +
                                      "No messaging client is running: start Pidgin or Gajim "
                                      "and sign in") != std::string::npos;
      },
      kEffectTimeout))
      << program.Describe();
  // The message box is the only window: the program's own never showed.
  const auto box = User().WaitForWindow(kCaption, kEffectTimeout);
  ASSERT_TRUE(box) << "no message box\n" << program.Describe();
  const Rect area = User().ClientArea(*box);
  EXPECT_FALSE(area.width == 267 && area.height == 484) << "the program's window showed";
  User().Activate(*box);
  User().Key("Return");
  const auto status = program.WaitForExit(kEffectTimeout);
  ASSERT_TRUE(status) << "still running after the message\n" << program.Describe();
  EXPECT_TRUE(status->exited && status->code != 0) << program.Describe();
  EXPECT_EQ(program.OutText().find("sandbox"), std::string::npos) << program.OutText();
}

}  // namespace
}  // namespace plumwick::e2e
