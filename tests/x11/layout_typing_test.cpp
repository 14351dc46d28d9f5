// Keys typed into a Qt window of another process arrive exactly whatever the person's keyboard is
// set to: another layout (dead keys, AltGr, AZERTY, Cyrillic), the second group of a two-layout
// keyboard, Caps Lock on, or modifiers still held from a Shift-click. And the keyboard is left as
// it was found: the same layout and group, Caps Lock on again, the held keys held again. A layout
// that changes under keys the window has not read yet fails the typing: they may read as other
// characters.
#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "keynotation/key_notation.h"
#include "platform/failure.h"
#include "tests/e2e/harness/run_command.h"
#include "tests/x11/keyboard_state.h"
#include "tests/x11/receiver_process.h"
#include "tests/x11/test_desktop.h"

// After the project's headers: X.h defines KeyPress as a macro, and the key notation has a type
// of that name.
#include <X11/X.h>

namespace plumwick::x11_test {
namespace {

using std::chrono::seconds;

struct LayoutCase {
  std::string name;
  std::string layouts;  // as setxkbmap -layout takes them
  int group = 0;        // the group in use while typing
  bool caps_lock = false;
  std::vector<std::string> held;  // key names, as xdotool keydown takes them
  std::string keys;               // typed followed by {ENTER}
  std::string expected;
};

void PrintTo(const LayoutCase& layout_case, std::ostream* out) {
  *out << layout_case.layouts << " group " << layout_case.group << ": " << layout_case.keys;
}

const std::vector<LayoutCase>& LayoutCases() {
  const std::vector<std::string> shift_and_control = {"Shift_L", "Control_L"};
  static const std::vector<LayoutCase> cases = {
      // ^ ` ´ are dead keys here, { } @ € | ~ need AltGr, Y and Z trade places.
      {"German",
       "de",
       0,
       false,
       {},
       "Grüße aus Köln: ÄÖÜ ß € @ {{}x{}} ^2 `a´ ~ | yz YZ 100% :-)",
       "Grüße aus Köln: ÄÖÜ ß € @ {x} ^2 `a´ ~ | yz YZ 100% :-)"},
      // Digits need Shift, letters sit elsewhere.
      {"French",
       "fr",
       0,
       false,
       {},
       "Déjà vu : où ça ? 1234567890 œ € § µ {{}ok{}} AQWZM amqwz",
       "Déjà vu : où ça ? 1234567890 œ € § µ {ok} AQWZM amqwz"},
      // Latin letters and most ASCII punctuation are missing altogether.
      {"Russian",
       "ru",
       0,
       false,
       {},
       "Привет, мир! Ёж ёж № Hello {{}x{}} 100% 42",
       "Привет, мир! Ёж ёж № Hello {x} 100% 42"},
      {"UsRuSecondGroup",
       "us,ru",
       1,
       false,
       {},
       "Съешь же ещё these soft булок, QWERTY 42!",
       "Съешь же ещё these soft булок, QWERTY 42!"},
      {"CapsLockOn", "us", 0, true, {}, "abc XYZ éÉ ωΩ 1! {{}", "abc XYZ éÉ ωΩ 1! {"},
      {"RussianCapsLockOn", "ru", 0, true, {}, "Жук жук ABC abc Ёё", "Жук жук ABC abc Ёё"},
      {"ShiftAndControlHeld", "us", 0, false, shift_and_control, "plain text ü 1 {{}",
       "plain text ü 1 {"},
      {"GermanShiftHeld",
       "de",
       0,
       false,
       {"Shift_L"},
       "grüße {{}x{}} @ € 1 z",
       "grüße {x} @ € 1 z"},
  };
  return cases;
}

class LayoutTyping : public ::testing::TestWithParam<LayoutCase> {
 protected:
  static void SetUpTestSuite() {
    receiver_ = std::make_unique<ReceiverProcess>(TestDesktop(), PLUMWICK_X11_RECEIVER,
                                                  "receiver of typing in other layouts");
  }
  static void TearDownTestSuite() { receiver_.reset(); }

  void SetUp() override { receiver_->Activate(); }

  void TearDown() override {
    // Back to the keyboard every other test expects, however this one ended.
    for (const auto& key : GetParam().held) {
      e2e::RunCommand({"xdotool", "keyup", key}, TestDesktop().Env());
    }
    SetCapsLock(TestDesktop().Display(), false);
    SetLayout(TestDesktop().Env(), "us");
  }

  static inline std::unique_ptr<ReceiverProcess> receiver_;
};

unsigned MaskOf(const std::string& key) {
  if (key.starts_with("Shift")) return ShiftMask;
  if (key.starts_with("Control")) return ControlMask;
  ADD_FAILURE() << "no modifier mask known for " << key;
  return 0;
}

TEST_P(LayoutTyping, ArrivesExactlyAndLeavesTheKeyboardAsItWas) {
  const LayoutCase& layout_case = GetParam();
  const std::string& display = TestDesktop().Display();
  SetLayout(TestDesktop().Env(), layout_case.layouts);
  LockGroup(display, layout_case.group);
  SetCapsLock(display, layout_case.caps_lock);
  unsigned held_mask = 0;
  for (const auto& key : layout_case.held) {
    e2e::RunChecked({"xdotool", "keydown", key}, TestDesktop().Env());
    held_mask |= MaskOf(key);
  }
  ASSERT_EQ(CurrentGroup(display), layout_case.group);
  ASSERT_EQ(HeldModifiers(display) & held_mask, held_mask);

  TypeNotation(layout_case.keys + "{ENTER}");
  const unsigned held_after = HeldModifiers(display);
  const bool caps_after = CapsLockOn(display);
  const int group_after = CurrentGroup(display);

  const auto entry = receiver_->NextEntry(seconds(10));
  ASSERT_TRUE(entry) << "nothing arrived\n" << receiver_->Describe();
  EXPECT_EQ(entry->first, layout_case.expected);
  EXPECT_EQ(held_after & (ShiftMask | ControlMask), held_mask) << "held modifiers afterwards";
  EXPECT_EQ(caps_after, layout_case.caps_lock) << "Caps Lock afterwards";
  EXPECT_EQ(group_after, layout_case.group) << "group afterwards";
}

INSTANTIATE_TEST_SUITE_P(Table, LayoutTyping, ::testing::ValuesIn(LayoutCases()),
                         [](const auto& test) { return test.param.name; });

TEST(LayoutChange, UnderKeysNotYetReadFailsTheirReceiptAndOnceReadChangesNothing) {
  // German keys typed, then another layout or group chosen before the window said it read them.
  struct Case {
    const char* name;
    const char* layouts;
    void (*change)();
  };
  const Case cases[] = {
      {"another layout", "de", [] { SetLayout(TestDesktop().Env(), "us"); }},
      {"the second group", "de,ru", [] { LockGroup(TestDesktop().Display(), 1); }},
  };
  ReceiverProcess receiver(TestDesktop(), PLUMWICK_X11_RECEIVER, "receiver of a change");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetLayout(TestDesktop().Env(), c.layouts);
    receiver.Activate();
    // The first receipt takes in the change just made, with nothing typed yet.
    AwaitReadReceipt(receiver.Window());
    TestKeys().Type(ParseKeyNotation("yz"), receiver.Window());
    c.change();
    try {
      AwaitReadReceipt(receiver.Window());
      ADD_FAILURE() << "the receipt came as if nothing had changed";
    } catch (const Failure& failure) {
      EXPECT_EQ(failure.code(), error_code::kKeystrokes);
      EXPECT_NE(std::string(failure.what()).find("keyboard layout changed"), std::string::npos)
          << failure.what();
    }
    // Read now: the next keys are planned for the layout of now.
    TypeNotation("{ENTER}");
    ASSERT_TRUE(receiver.NextEntry(seconds(10)));
    TestKeys().ReleaseKeys();
  }
  SetLayout(TestDesktop().Env(), "us");
}

}  // namespace
}  // namespace plumwick::x11_test
