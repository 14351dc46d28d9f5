// One tour of every control of plumwick-sandbox, clicked and typed as a person does, on the
// desktop PLUMWICK_TEST_DESKTOP names (ctest runs it once on each: openbox, xfwm4, marco,
// metacity, mutter and KWin on X11, mutter and KWin as Wayland sessions, and a bare X server
// without any): the window managers differ in how they place, focus and activate windows, and the
// keys the program types must still reach the client's windows, and only those, on each.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "tests/e2e/harness/clipboard.h"
#include "tests/e2e/harness/text_rows.h"
#include "tests/e2e/harness/wait_until.h"
#include "tests/e2e/sandbox_fixture.h"

namespace plumwick::e2e {
namespace {

using std::chrono::milliseconds;

constexpr const char* kAlice = "alice@example.com";

class DesktopTourE2eTest : public SandboxFixture {
 protected:
  void SetUp() override {
    SandboxFixture::SetUp();
    RecordProperty("desktop", DesktopName(Session().Kind()));
    // The C locale's time and date: hh:mm:ss and mm/dd/yy.
    ASSERT_NO_FATAL_FAILURE(
        StartProgram({{"LANG", "C.UTF-8"}, {"LC_ALL", std::nullopt}, {"LC_TIME", std::nullopt}}));
  }

  // A failure says on which desktop, and what the program said.
  std::string Where() const {
    return "on " + DesktopName(Session().Kind()) + "\n" + program_->Describe();
  }

  // The clipboard's text once it matches `shape`; else what it held at the timeout.
  std::string ClipboardOnceItIs(const std::regex& shape) const {
    std::optional<std::string> text;
    WaitUntil([&] { return (text = ReadClipboard(Session())) && std::regex_match(*text, shape); },
              kEffectTimeout, milliseconds(50));
    return text.value_or("(the clipboard is empty)");
  }
};

TEST_F(DesktopTourE2eTest, EveryControlDoesItsJob) {
  // The status box: a pick from its list sets the status, each entry in turn.
  PickStatus(StatusEntry::kBusy);
  EXPECT_TRUE(WaitForOutLine("sandbox: status set to 10 (Busy)")) << Where();
  PickStatus(StatusEntry::kAway);
  EXPECT_TRUE(WaitForOutLine("sandbox: status set to 34 (Away)")) << Where();
  PickStatus(StatusEntry::kOnline);
  EXPECT_TRUE(WaitForOutLine("sandbox: status set to 2 (Online)")) << Where();

  // Select List fills the list with the five contacts who are not offline; a double-click on the
  // first opens a conversation with alice.
  ClickControl(place::kSelectList);
  std::vector<TextRow> rows;
  WaitUntil([&] { return (rows = ContactRows("list.png")).size() == 5; }, kEffectTimeout,
            milliseconds(200));
  ASSERT_EQ(rows.size(), 5u) << "rows of text in the contact list " << Where();
  User().DoubleClick(window_, {place::kContacts.Center().x, rows[0].Middle()});
  EXPECT_TRUE(WaitForOutLine("sandbox: conversation opened with alice@example.com")) << Where();

  // Send Msg. types letters outside ASCII, the characters other key notations take for
  // modifiers and literal braces into alice's conversation.
  ASSERT_EQ(TypeIntoField(place::kText2, kAlice), kAlice) << Where();
  const std::string message = "héllo Ωmega 100% :-) {{}x{}}";
  ASSERT_EQ(PasteIntoField(place::kText4, message), message) << Where();
  ClickControl(place::kSendMessage);
  EXPECT_TRUE(
      WaitForOutLine("sandbox: message sent to alice@example.com: héllo Ωmega 100% :-) {x}"))
      << Where();

  // Add contact fills and confirms the client's dialog; its confirmation is dismissed.
  const std::string address = "zoe.new@example.net";
  ASSERT_EQ(TypeIntoField(place::kText2, address), address) << Where();
  ClickControl(place::kAddContact);
  EXPECT_TRUE(WaitForOutLine("sandbox: contact added: " + address)) << Where();
  EXPECT_TRUE(User().WaitForNoWindow("Contact added", kEffectTimeout)) << Where();
  // Asked again, the dialog comes back and its Enter reaches the Add button: the client refuses
  // the address it has, and the program shows why.
  ClickControl(place::kAddContact);
  const auto refusal = WaitForMessageBox();
  ASSERT_TRUE(refusal) << Where();
  EXPECT_TRUE(WaitForErrorText("is already in your contact list")) << Where();
  EXPECT_TRUE(DismissWithReturn(*refusal)) << Where();
  const std::size_t refused_at = program_->ErrText().find("Error ");
  // The dialog stays open with the reason; the user closes it.
  const std::vector<WindowId> dialogs = User().FindWindows("Add a contact");
  ASSERT_EQ(dialogs.size(), 1u) << Where();
  User().Activate(dialogs[0]);
  User().Key("Escape");
  EXPECT_TRUE(User().WaitForNoWindow("Add a contact", kEffectTimeout)) << Where();

  // Change NickName types the name into the client's options dialog.
  const std::string name = "Nick é";
  ASSERT_EQ(PasteIntoField(place::kText3, name), name) << Where();
  ClickControl(place::kChangeNickName);
  EXPECT_TRUE(WaitForOutLine("sandbox: display name changed to " + name)) << Where();
  EXPECT_TRUE(User().WaitForNoWindow("Display name changed", kEffectTimeout)) << Where();

  // Delete Contact removes the contact just added.
  ASSERT_EQ(TypeIntoField(place::kText2, address), address) << Where();
  ClickControl(place::kDeleteContact);
  EXPECT_TRUE(WaitForOutLine("sandbox: contact removed: " + address)) << Where();

  // The scratch pad: Time then Date, copied; then Get IP !, copied.
  ClickControl(place::kTime);
  ClickControl(place::kDate);
  ClickControl(place::kClipboard);
  const std::regex time_and_date("[0-9]{2}:[0-9]{2}:[0-9]{2}[0-9]{2}/[0-9]{2}/[0-9]{2}");
  const std::string copied_time = ClipboardOnceItIs(time_and_date);
  EXPECT_TRUE(std::regex_match(copied_time, time_and_date))
      << "copied \"" << copied_time << "\" " << Where();
  ClickControl(place::kGetIP);
  ClickControl(place::kClipboard);
  const std::regex address_shape("[0-9]{1,3}(\\.[0-9]{1,3}){3}");
  const std::string copied_address = ClipboardOnceItIs(address_shape);
  EXPECT_TRUE(std::regex_match(copied_address, address_shape))
      << "copied \"" << copied_address << "\" " << Where();

  // A drag by the title with the left button moves the window with the pointer: the window
  // manager's move on X11, the program's own in a Wayland session, whose compositor never sees
  // the test's pointer (XTest goes into XWayland only).
  const Rect before = User().ClientArea(window_);
  const Point by{120, 80};
  User().Drag(window_, {100, 20}, {100 + by.x, 20 + by.y}, 1);
  Rect after;
  EXPECT_TRUE(WaitUntil(
      [&] {
        after = User().ClientArea(window_);
        return after.x == before.x + by.x && after.y == before.y + by.y;
      },
      kEffectTimeout))
      << "the window went from " << before << " to " << after << " " << Where();

  // No other action failed on the way, and EXIT PROGRAM! ends the program.
  EXPECT_EQ(program_->ErrText().find("Error ", refused_at + 1), std::string::npos)
      << program_->ErrText() << Where();
  ClickControl(place::kExit);
  const auto status = program_->WaitForExit(kEffectTimeout);
  ASSERT_TRUE(status) << "still running after EXIT PROGRAM! " << Where();
  EXPECT_TRUE(status->ExitedWith(0)) << Where();
}

}  // namespace
}  // namespace plumwick::e2e
