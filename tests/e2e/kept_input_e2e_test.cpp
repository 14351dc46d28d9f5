// What the user made is neither lost nor shown wrongly, on the real window with real input: Time
// and Date replace the words the user selected in the pad, by Shift+arrows or by a double-click,
// although the click on the button takes the keyboard focus from the pad; the mouse wheel and the
// arrow keys over the closed status box leave it showing what it showed and set no status; and
// the text copied to the clipboard can still be pasted by another program after EXIT PROGRAM!,
// handed to the desktop's clipboard manager.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <regex>
#include <string>

#include "tests/e2e/harness/clipboard.h"
#include "tests/e2e/harness/clipboard_manager.h"
#include "tests/e2e/harness/wait_until.h"
#include "tests/e2e/sandbox_fixture.h"

namespace plumwick::e2e {
namespace {

constexpr auto kExitTimeout = std::chrono::seconds(10);
// The time as plumwick-sandbox writes it with LANG=C: hh:mm:ss.
const std::regex kTime("[0-9]{2}:[0-9]{2}:[0-9]{2}");
// The date with LANG=C: mm/dd/yy.
const std::regex kDate("[0-9]{2}/[0-9]{2}/[0-9]{2}");

class KeptInputE2eTest : public SandboxFixture {
 protected:
  void SetUp() override {
    SandboxFixture::SetUp();
    ASSERT_NO_FATAL_FAILURE(
        StartProgram({{"LANG", "C.UTF-8"}, {"LC_ALL", std::nullopt}, {"LC_TIME", std::nullopt}}));
  }

  // Copies the text of the control at `where` as a person would: click into it, select all, copy.
  // The clipboard first holds a mark, so an old copy is never taken for the control's text.
  std::optional<std::string> CopyFrom(const Rect& where) const {
    const ClipboardOwner mark(Session(), "(no copy yet)");
    ClickControl(where);
    User().Key("ctrl+a ctrl+c");
    std::optional<std::string> copied;
    WaitUntil(
        [&] {
          copied = ReadClipboard(Session());
          return copied && *copied != "(no copy yet)";
        },
        kEffectTimeout, std::chrono::milliseconds(50));
    if (copied == "(no copy yet)") return std::nullopt;
    return copied;
  }

  // The pad's text, copied by the program's own Clipboard button, once the clipboard holds a text
  // that `is_copy` takes for it.
  std::string PadThroughClipboardButton(
      const std::function<bool(const std::string&)>& is_copy) const {
    const ClipboardOwner mark(Session(), "(no copy yet)");
    ClickControl(place::kClipboard);
    std::optional<std::string> copied;
    WaitUntil(
        [&] {
          copied = ReadClipboard(Session());
          return copied && is_copy(*copied);
        },
        kEffectTimeout, std::chrono::milliseconds(50));
    return copied.value_or("(the clipboard is empty)");
  }
  std::string PadThroughClipboardButton(const std::regex& shape) const {
    return PadThroughClipboardButton(
        [&](const std::string& copied) { return std::regex_match(copied, shape); });
  }
};

TEST_F(KeptInputE2eTest, TimeReplacesTheWordsSelectedWithShiftAndArrowKeys) {
  ASSERT_EQ(TypeIntoField(place::kText1, "meet at NOON today"), "meet at NOON today");
  // The caret is at the end: six to the left, then four selected with Shift, leaving " today".
  User().Key("End Left Left Left Left Left Left shift+Left shift+Left shift+Left shift+Left");
  ClickControl(place::kTime);
  const std::string pad = PadThroughClipboardButton(std::regex("meet at [0-9:]{8} today|.*NOON.*"));
  EXPECT_TRUE(std::regex_match(pad, std::regex("meet at [0-9]{2}:[0-9]{2}:[0-9]{2} today")))
      << "the pad reads \"" << pad << "\": the time must replace the selected \"NOON\"\n"
      << program_->Describe();
}

TEST_F(KeptInputE2eTest, DateReplacesTheWordSelectedByADoubleClick) {
  ASSERT_EQ(TypeIntoField(place::kText1, "WHEN is fine"), "WHEN is fine");
  // A double-click on the first word selects it.
  User().DoubleClick(window_, {place::kText1.x + 8, place::kText1.Center().y});
  ClickControl(place::kDate);
  const std::string pad = PadThroughClipboardButton(std::regex(".* is fine"));
  EXPECT_TRUE(std::regex_match(pad, std::regex("[0-9]{2}/[0-9]{2}/[0-9]{2} is fine")))
      << "the pad reads \"" << pad << "\": the date must replace the selected \"WHEN\"\n"
      << program_->Describe();
}

TEST_F(KeptInputE2eTest, WheelAndArrowKeysOverTheClosedStatusBoxChangeNothing) {
  const Point status = place::kStatus.Center();
  for (const int wheel : {5, 5, 4, 5}) User().Click(window_, status, wheel);
  ClickControl(place::kStatus);
  User().Key("Down Down Up Next Prior Down");
  EXPECT_EQ(CopyFrom(place::kStatus), "CHANGE YOUR STATUS HERE !") << program_->Describe();
  EXPECT_FALSE(program_->HasLine("status set")) << program_->Describe();
}

TEST_F(KeptInputE2eTest, CopiedTextCanBePastedAfterExitProgram) {
  std::optional<ClipboardManager> manager;
  ASSERT_NO_THROW(manager.emplace(Session()));
  ClickControl(place::kGetIP);
  const std::string copied = PadThroughClipboardButton(std::regex("[0-9.]+"));
  ASSERT_TRUE(std::regex_match(copied, std::regex("[0-9.]+"))) << copied;

  ClickControl(place::kExit);
  const auto ended = program_->WaitForExit(kExitTimeout);
  ASSERT_TRUE(ended && ended->ExitedWith(0)) << program_->Describe();
  // Another program pastes it: the program that copied it is gone.
  EXPECT_EQ(ReadClipboard(Session()), copied) << manager->Describe();
}

// Beyond what one plain X request carries (256 KB), as a long text pasted into the pad is.
TEST_F(KeptInputE2eTest, ALargeCopiedTextCanBePastedAfterExitProgram) {
  std::optional<ClipboardManager> manager;
  ASSERT_NO_THROW(manager.emplace(Session()));
  std::string text;
  for (int line = 0; text.size() < std::size_t{600} * 1024; ++line) {
    text += "line " + std::to_string(line) + " Grüße Ωmega ЖЖ; ";
  }
  ClickControl(place::kTime);  // Clipboard works once the pad has had something put in
  ASSERT_EQ(PasteIntoField(place::kText1, text), text);
  const std::string copied = PadThroughClipboardButton(
      [](const std::string& copy) { return copy.starts_with("line 0 "); });
  ASSERT_TRUE(copied == text) << copied.size() << " bytes copied of " << text.size();

  ClickControl(place::kExit);
  const auto ended = program_->WaitForExit(kExitTimeout);
  ASSERT_TRUE(ended && ended->ExitedWith(0)) << program_->Describe();
  const std::optional<std::string> pasted = ReadClipboard(Session());
  EXPECT_EQ(pasted.value_or("").size(), text.size()) << manager->Describe();
  EXPECT_TRUE(pasted == text);
}

}  // namespace
}  // namespace plumwick::e2e
