// Keys typed into a Qt window of the typing process itself arrive exactly, although that window
// handles them (and reads the keymap) only after Type has returned: the case of the built-in
// sandbox client, whose windows share the program's event loop.
#include <gtest/gtest.h>

#include "platform/failure.h"
#include "tests/e2e/harness/keymap.h"
#include "tests/x11/in_process_receiver.h"
#include "tests/x11/keyboard_state.h"
#include "tests/x11/test_desktop.h"
#include "tests/x11/typing_cases.h"

// Not X.h, which defines KeyPress as a macro: the key notation has a type of that name.
#include <X11/keysym.h>

namespace plumwick::x11_test {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

constexpr unsigned kMod1Mask = 1U << 3;  // X.h's Mod1Mask: Alt on every stock layout

class InProcessTyping : public InProcessReceiverTest {};

class InProcessTypingCase : public InProcessTyping,
                            public ::testing::WithParamInterface<TypingCase> {};

TEST_P(InProcessTypingCase, ArrivesExactly) {
  const TypingCase& typing_case = GetParam();
  TypeNotation(typing_case.keys);  // no event handled in between
  EXPECT_EQ(receiver_->Entries(typing_case.expected.size(), seconds(10)), typing_case.expected)
      << "typed: " << typing_case.keys;
}

INSTANTIATE_TEST_SUITE_P(Table, InProcessTypingCase, ::testing::ValuesIn(TypingCases()),
                         [](const auto& test) { return CaseName(test.param); });

TEST_F(InProcessTyping, StringsTypedBackToBackArriveInOrder) {
  // As the program sends a message: the text, then Enter, and only then back to the event loop.
  TypeNotation("Grüße, ");
  TypeNotation("Ωmega ");
  TypeNotation("und 你好 — ÆØÅ");
  TypeNotation("{ENTER}");
  TypeNotation("zweite Zeile ÿ{ENTER}");
  EXPECT_EQ(receiver_->Entries(2, seconds(10)),
            (std::vector<TypedEntry>{{"first", "Grüße, Ωmega und 你好 — ÆØÅ", ""},
                                     {"first", "zweite Zeile ÿ", ""}}));
}

TEST_F(InProcessTyping, FreeKeysAreReusedAcrossStrings) {
  // Far more distinct characters than free key positions, a few per string, with the event loop
  // running between strings as the focus check does before each typing step.
  for (int batch = 0; batch < 12; ++batch) {
    std::string text;
    for (int i = 0; i < 16; ++i) {
      const char32_t c = 0x6000 + 16 * static_cast<char32_t>(batch) + static_cast<char32_t>(i);
      text += static_cast<char>(0xe0 | (c >> 12));
      text += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
      text += static_cast<char>(0x80 | (c & 0x3f));
    }
    TypeNotation(text + "{ENTER}");
    ASSERT_EQ(receiver_->Entries(1, seconds(10)), OneLine(text)) << "batch " << batch;
  }
}

TEST_F(InProcessTyping, AKeyPressedWithControlArrivesWithControlAndOnlyIt) {
  // Backspace with Control takes back a word, without it a character; Enter after it still sends.
  TestKeys().Type({KeyText(U"one two"), KeyPress{NamedKey::kBackspace, 1, true}, KeyText(U"x"),
                   KeyPress{NamedKey::kEnter}});
  EXPECT_EQ(receiver_->Entries(1, seconds(10)), OneLine("one x"));
}

// A dialog's underlined letter, in the group of the person's layout: the letter's own key, or a
// spare key when the group has no Latin letters.
struct AltLetterCase {
  std::string name;
  std::string layouts;  // as setxkbmap -layout takes them
  int group = 0;
};

void PrintTo(const AltLetterCase& alt_case, std::ostream* out) {
  *out << alt_case.layouts << " group " << alt_case.group;
}

class AltLetterPress : public InProcessTyping, public ::testing::WithParamInterface<AltLetterCase> {
 protected:
  void TearDown() override { SetLayout(TestDesktop().Env(), "us"); }
};

TEST_P(AltLetterPress, ArrivesAsTheLetterWithAltHeldAndAltIsLetGo) {
  const std::string& display = TestDesktop().Display();
  SetLayout(TestDesktop().Env(), GetParam().layouts);
  LockGroup(display, GetParam().group);
  receiver_->Settle(milliseconds(50));
  receiver_->KeyEvents(0, milliseconds(0));
  TestKeys().Type(AltPress(U'r'));
  EXPECT_EQ(HeldModifiers(display), 0U) << "a modifier is left down";
  const std::vector<ReceivedKey> keys = receiver_->KeyEvents(4, seconds(10));
  EXPECT_EQ(keys, (std::vector<ReceivedKey>{{true, XK_Alt_L, 0},
                                            {true, XK_r, kMod1Mask},
                                            {false, XK_r, kMod1Mask},
                                            {false, XK_Alt_L, kMod1Mask}}));
  // A line edit takes the letter for text; the keys after it come without Alt.
  TypeNotation("ok{ENTER}");
  EXPECT_EQ(receiver_->Entries(1, seconds(10)), OneLine("rok"));
}

INSTANTIATE_TEST_SUITE_P(Table, AltLetterPress,
                         ::testing::Values(AltLetterCase{"LetterKeyOfTheLayout", "us", 0},
                                           AltLetterCase{"SpareKeyInACyrillicGroup", "us,ru", 1}),
                         [](const auto& test) { return test.param.name; });

TEST_F(InProcessTyping, RejectedStringTypesNothing) {
  try {
    TypeNotation("secret{ENTER}{BOGUS}");
    ADD_FAILURE() << "typing was accepted";
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.code(), error_code::kKeyNotation) << failure.what();
  }
  EXPECT_TRUE(receiver_->Settle(milliseconds(300)).empty());
  TypeNotation("ok{ENTER}");
  EXPECT_EQ(receiver_->Entries(1, seconds(10)), OneLine("ok"));
}

int EmptyKeycodes() {
  return e2e::EmptyKeycodes(TestDesktop().Display());
}

TEST_F(InProcessTyping, ReleasedKeysLeaveTheKeymapAsItWas) {
  // The keymap is the X server's: what a program leaves bound stays after it has gone.
  TestKeys().ReleaseKeys();
  const int before = EmptyKeycodes();
  TypeNotation("жé€{ENTER}");
  EXPECT_EQ(receiver_->Entries(1, seconds(10)), OneLine("жé€"));
  EXPECT_LT(EmptyKeycodes(), before);
  TestKeys().ReleaseKeys();
  EXPECT_EQ(EmptyKeycodes(), before);
  // And typing goes on, binding afresh.
  TypeNotation("ok ж{ENTER}");
  EXPECT_EQ(receiver_->Entries(1, seconds(10)), OneLine("ok ж"));
}

}  // namespace
}  // namespace plumwick::x11_test
