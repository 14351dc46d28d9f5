// Keys typed into a Qt window of another process arrive exactly, and strings that cannot be typed
// whole type nothing at all.
#include <gtest/gtest.h>

#include <memory>

#include "platform/failure.h"
#include "tests/x11/receiver_process.h"
#include "tests/x11/test_desktop.h"
#include "tests/x11/typing_cases.h"

namespace plumwick::x11_test {
namespace {

using std::chrono::seconds;

class OtherProcessTyping : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    receiver_ = std::make_unique<ReceiverProcess>(TestDesktop(), PLUMWICK_X11_RECEIVER,
                                                  "receiver of other-process typing");
  }
  static void TearDownTestSuite() { receiver_.reset(); }

  void SetUp() override { receiver_->Activate(); }

  // Waits for `count` entries; a missing one is reported as an empty "which".
  static std::vector<TypedEntry> Entries(std::size_t count) {
    std::vector<TypedEntry> entries;
    for (std::size_t i = 0; i < count; ++i) {
      const auto entry = receiver_->NextEntry(std::chrono::seconds(10));
      entries.push_back(entry.value_or(TypedEntry{"(nothing arrived)", "", ""}));
      if (!entry) break;
    }
    return entries;
  }

  static void ExpectTypesNothing(const std::string& keys, std::int32_t code) {
    try {
      TypeNotation(keys);
      ADD_FAILURE() << "typing was accepted: " << keys;
    } catch (const Failure& failure) {
      EXPECT_EQ(failure.code(), code) << failure.what();
    }
    // Whatever the rejected string had typed would be in front of this.
    TypeNotation("ok{ENTER}");
    EXPECT_EQ(Entries(1), OneLine("ok"));
  }

  static inline std::unique_ptr<ReceiverProcess> receiver_;
};

class OtherProcessTypingCase : public OtherProcessTyping,
                               public ::testing::WithParamInterface<TypingCase> {};

TEST_P(OtherProcessTypingCase, ArrivesExactly) {
  const TypingCase& typing_case = GetParam();
  TypeNotation(typing_case.keys);
  EXPECT_EQ(Entries(typing_case.expected.size()), typing_case.expected)
      << "typed: " << typing_case.keys << "\n"
      << receiver_->Describe();
}

INSTANTIATE_TEST_SUITE_P(Table, OtherProcessTypingCase, ::testing::ValuesIn(TypingCases()),
                         [](const auto& test) { return CaseName(test.param); });

TEST_F(OtherProcessTyping, RejectedNotationTypesNothing) {
  ExpectTypesNothing("abc{NOPE}def", error_code::kKeyNotation);
  ExpectTypesNothing("unclosed {ENTER", error_code::kKeyNotation);
}

TEST_F(OtherProcessTyping, ControlCharacterTypesNothing) {
  ExpectTypesNothing("bell\a here", error_code::kKeystrokes);
  ExpectTypesNothing("cr\r{ENTER}", error_code::kKeystrokes);
}

// Distinct CJK characters from U+4E00 on, none of them on a keyboard layout here.
std::string Ideographs(char32_t first, int count) {
  std::string text;
  for (char32_t c = first; c < first + static_cast<char32_t>(count); ++c) {
    text += static_cast<char>(0xe0 | (c >> 12));
    text += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
    text += static_cast<char>(0x80 | (c & 0x3f));
  }
  return text;
}

TEST_F(OtherProcessTyping, MoreDistinctMissingCharactersThanFreeKeysArriveExactly) {
  // 248 keycodes at most: no layout leaves room for 300 distinct characters at once. As many as
  // there are spare keys go out, the rest once the window has read those.
  const std::string text = "start " + Ideographs(0x4e00, 300) + " end";
  TypeNotation(text + "{ENTER}");
  EXPECT_EQ(Entries(1), OneLine(text));
}

TEST_F(OtherProcessTyping, FreeKeysAreReusedAcrossStrings) {
  // Far more distinct characters than free key positions, a few at a time, each string read
  // before the next is typed (the focus check between typing steps gives the receiver that time).
  for (int batch = 0; batch < 12; ++batch) {
    const std::string text = Ideographs(0x5000 + 16 * static_cast<char32_t>(batch), 16);
    TypeNotation(text + "{ENTER}");
    ASSERT_EQ(Entries(1), OneLine(text)) << "batch " << batch;
  }
}

TEST_F(OtherProcessTyping, LongMessageArrivesWhole) {
  std::string text;
  for (int i = 0; i < 40; ++i) text += "Grüße ΑΒΓ line " + std::to_string(i) + " (ok) 100% ";
  TypeNotation(text + "{ENTER}");
  EXPECT_EQ(Entries(1), OneLine(text));
}

}  // namespace
}  // namespace plumwick::x11_test
