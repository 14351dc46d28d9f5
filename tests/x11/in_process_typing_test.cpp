// Keys typed into a Qt window of the typing process itself arrive exactly, although that window
// handles them (and reads the keymap) only after Type has returned: the case of the built-in
// sandbox client, whose windows share the program's event loop.
#include <gtest/gtest.h>

#include "platform/failure.h"
#include "tests/e2e/harness/keymap.h"
#include "tests/x11/in_process_receiver.h"
#include "tests/x11/test_desktop.h"
#include "tests/x11/typing_cases.h"

namespace plumwick::x11_test {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

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
