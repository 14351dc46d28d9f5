// Tests of the key notation: the tokens accepted strings give, every key name and alias, and the
// rejections, which must name the position of the fault so the user can find it in the text box.
#include "keynotation/key_notation.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "platform/failure.h"

namespace plumwick {

// The enumerator's number as well as its name: a wrong name table must not hide behind itself.
void PrintTo(const KeyPress& press, std::ostream* os) {
  *os << "KeyPress{" << static_cast<int>(press.key) << " " << KeyName(press.key) << ", "
      << press.count << "}";
}

namespace {

using ::testing::HasSubstr;
using Tokens = std::vector<KeyToken>;

KeyPress Press(NamedKey key, int count = 1) {
  return KeyPress{key, count};
}

NamedKey FunctionKey(int n) {
  return static_cast<NamedKey>(static_cast<int>(NamedKey::kF1) + n - 1);
}

// The failure a string is rejected with; a test failure if it is accepted.
Failure RejectionOf(const std::string& keys) {
  try {
    ParseKeyNotation(keys);
  } catch (const Failure& failure) {
    return failure;
  }
  ADD_FAILURE() << "accepted: " << keys;
  return Failure(0, "");
}

struct Accepted {
  std::string keys;
  Tokens tokens;
};

const std::vector<Accepted>& AcceptedCases() {
  static const std::vector<Accepted> cases = {
      {"", {}},
      {"hello", {U"hello"}},
      {"héllo Ωmega 100% :-) {{}x{}}", {U"héllo Ωmega 100% :-) {x}"}},
      {"+^%~()[]", {U"+^%~()[]"}},
      {"😀 two\nlines\t", {U"😀 two\nlines\t"}},
      {"{ENTER}", {Press(NamedKey::kEnter)}},
      {"a{ENTER 3}b", {U"a", Press(NamedKey::kEnter, 3), U"b"}},
      {"{ENTER}{ENTER}", {Press(NamedKey::kEnter), Press(NamedKey::kEnter)}},
      {"{ENTER 1}", {Press(NamedKey::kEnter, 1)}},
      {"{F16 999}", {Press(NamedKey::kF16, 999)}},
      {"{{}{}}", {U"{}"}},
      {"{{}ENTER{}}", {U"{ENTER}"}},
      {"x{TAB}{{}y", {U"x", Press(NamedKey::kTab), U"{y"}},
      {"Ω{DEL}", {U"Ω", Press(NamedKey::kDelete)}},
      {"{enter}{Tab 2}{pGdN}{bs}",
       {Press(NamedKey::kEnter), Press(NamedKey::kTab, 2), Press(NamedKey::kPageDown),
        Press(NamedKey::kBackspace)}},
  };
  return cases;
}

TEST(KeyNotationTest, AcceptedStringsGiveTheirTokens) {
  for (const auto& [keys, tokens] : AcceptedCases()) {
    SCOPED_TRACE(keys);
    EXPECT_EQ(ParseKeyNotation(keys), tokens);
  }
}

TEST(KeyNotationTest, FormattedTokensParseBackUnchanged) {
  for (const auto& [keys, tokens] : AcceptedCases()) {
    SCOPED_TRACE(keys);
    EXPECT_EQ(ParseKeyNotation(FormatKeyNotation(tokens)), tokens);
  }
}

TEST(KeyNotationTest, AliasesAndAnyCaseAndCountsPressTheSameKey) {
  for (const auto& [alias, name] : std::vector<std::pair<std::string, std::string>>{
           {"BS", "BACKSPACE"}, {"BKSP", "BACKSPACE"}, {"DEL", "DELETE"}}) {
    SCOPED_TRACE(alias);
    EXPECT_EQ(ParseKeyNotation("{" + alias + "}"), ParseKeyNotation("{" + name + "}"));
  }
  for (int n = 1; n <= 16; ++n) {
    EXPECT_EQ(ParseKeyNotation("{F" + std::to_string(n) + "}"), Tokens{Press(FunctionKey(n))});
  }
  for (int k = static_cast<int>(NamedKey::kEnter); k <= static_cast<int>(NamedKey::kF16); ++k) {
    const auto key = static_cast<NamedKey>(k);
    std::string lower(KeyName(key));
    SCOPED_TRACE(lower);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(ParseKeyNotation("{" + lower + " 2}"), Tokens{Press(key, 2)});
  }
}

TEST(KeyNotationTest, EveryKeyNameParsesBackToItsKey) {
  for (int k = static_cast<int>(NamedKey::kEnter); k <= static_cast<int>(NamedKey::kF16); ++k) {
    const auto key = static_cast<NamedKey>(k);
    const std::string name(KeyName(key));
    SCOPED_TRACE(name);
    ASSERT_FALSE(name.empty());
    EXPECT_EQ(ParseKeyNotation("{" + name + "}"), Tokens{Press(key)});
  }
}

TEST(KeyNotationTest, FormatEscapesBracesAndUsesCanonicalNames) {
  const std::vector<std::pair<Tokens, std::string>> cases = {
      {{}, ""},
      {{U"a{b}c"}, "a{{}b{}}c"},
      {{Press(NamedKey::kBackspace, 2), Press(NamedKey::kDelete)}, "{BACKSPACE 2}{DELETE}"},
      {{U"Ωmega", Press(NamedKey::kF12), U"100%"}, "Ωmega{F12}100%"},
      {{Press(NamedKey::kPageUp, 999)}, "{PGUP 999}"},
  };
  for (const auto& [tokens, keys] : cases) {
    EXPECT_EQ(FormatKeyNotation(tokens), keys);
  }
}

TEST(KeyNotationTest, MalformedTokensAreRejectedWithTheirPosition) {
  struct Rejected {
    std::string keys;
    int position;  // code points from 0
    std::string names;
  };
  const std::vector<Rejected> cases = {
      {"{", 0, R"("{" is never closed in "{")"},
      {"{}", 0, R"("{}" names no key)"},
      {"{ENTER", 0, R"(never closed in "{ENTER")"},
      {"{ENTER 0}", 0, R"(repeat count "0" in "{ENTER 0}")"},
      {"{ENTER x}", 0, R"(repeat count "x")"},
      {"{ENTER 1000}", 0, R"(repeat count "1000")"},
      {"{ENTER 07}", 0, R"(repeat count "07")"},
      {"{ENTER -1}", 0, R"(repeat count "-1")"},
      {"{ENTER +1}", 0, R"(repeat count "+1")"},
      {"{ENTER }", 0, R"(repeat count "")"},
      {"{ENTER  3}", 0, R"(repeat count " 3")"},
      {"{ENTER 3 }", 0, R"(repeat count "3 ")"},
      {"{ENTER\t3}", 0, "unknown key name \"ENTER\t3\""},
      {"{ ENTER}", 0, R"(unknown key name "")"},
      {"{FOO}", 0, R"(unknown key name "FOO" in "{FOO}")"},
      {"{F0}", 0, R"(unknown key name "F0")"},
      {"{F17}", 0, R"(unknown key name "F17")"},
      {"{F01}", 0, R"(unknown key name "F01")"},
      {"{ÉNTER}", 0, R"(unknown key name "ÉNTER")"},
      {"{{ENTER}", 0, R"(unknown key name "{ENTER")"},
      {"{ENTER{}}", 0, R"(unknown key name "ENTER{")"},
      {"}", 0, R"("}" closes no "{")"},
      {"ab}", 2, R"("}" closes no "{")"},
      {"é}", 1, R"("}" closes no "{")"},
      {"日本語{BAD}", 3, R"(unknown key name "BAD")"},
      {"{{}}", 3, R"("}" closes no "{")"},
      {"{}}}", 3, R"("}" closes no "{")"},
      {"hello{ENTER}{BAD}", 12, R"(unknown key name "BAD")"},
      {"ok {ENTER 2} then {", 18, R"("{" is never closed)"},
  };
  for (const auto& [keys, position, names] : cases) {
    SCOPED_TRACE(keys);
    const Failure failure = RejectionOf(keys);
    EXPECT_EQ(failure.code(), error_code::kKeyNotation);
    EXPECT_THAT(failure.description(),
                HasSubstr("character " + std::to_string(position) + " (counting from 0)"));
    EXPECT_THAT(failure.description(), HasSubstr(names));
  }
}

TEST(KeyNotationTest, InvalidUtf8IsRejectedWithItsPosition) {
  struct Rejected {
    std::string keys;
    int position;  // code points from 0
    int byte;
    std::string bytes;
  };
  const std::vector<Rejected> cases = {
      {"\xC3", 0, 0, "C3"},                       // truncated at the end
      {"a\xC3(", 1, 1, "C3"},                     // continuation missing
      {"\x80", 0, 0, "80"},                       // stray continuation byte
      {"é\x80", 1, 2, "80"},                      // a position counts characters, not bytes
      {"\xC0\xAF", 0, 0, "C0 AF"},                // overlong "/"
      {"\xC1\xBB", 0, 0, "C1 BB"},                // overlong "{"
      {"\xE0\x80\xAF", 0, 0, "E0 80 AF"},         // overlong "/"
      {"\xED\xA0\x80", 0, 0, "ED A0 80"},         // surrogate
      {"\xF4\x90\x80\x80", 0, 0, "F4 90 80 80"},  // past U+10FFFF
      {"\xFF", 0, 0, "FF"},                       // never a lead byte
      {"€\xE2\x82", 1, 3, "E2 82"},               // truncated after a 3-byte character
      {"{ENTER}\xF0\x9F\x98", 7, 7, "F0 9F 98"},  // after a valid token
  };
  for (const auto& [keys, position, byte, bytes] : cases) {
    SCOPED_TRACE(bytes);
    const Failure failure = RejectionOf(keys);
    EXPECT_EQ(failure.code(), error_code::kKeyNotation);
    EXPECT_THAT(failure.description(),
                HasSubstr("character " + std::to_string(position) + " (counting from 0), byte " +
                          std::to_string(byte) + ": invalid UTF-8 " + bytes));
  }
}

TEST(KeyNotationTest, ErrorQuotesOnlyTheStartOfALongToken) {
  const std::string description = RejectionOf("{" + std::string(5000, 'a')).description();
  EXPECT_LT(description.size(), 200u);
  EXPECT_THAT(description, HasSubstr("...\""));
}

}  // namespace
}  // namespace plumwick
