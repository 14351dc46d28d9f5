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
      << press.count << (press.control ? ", control" : "") << (press.shift ? ", shift" : "")
      << (press.alt ? ", alt" : "");
  if (press.letter != 0) *os << ", letter " << static_cast<unsigned>(press.letter);
  *os << "}";
}

namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;
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
      {{KeyPress{NamedKey::kPageDown, 2, true}}, "{CTRL+PGDN 2}"},
      {{KeyPress{NamedKey::kHome, 1, true, true}}, "{CTRL+SHIFT+HOME}"},
      {AltPress(U'r'), "{ALT+R}"},
      {{KeyPress{
           .key = NamedKey::kEnter, .count = 2, .control = true, .letter = U'e', .alt = true}},
       "{CTRL+ALT+E 2}"},
  };
  for (const auto& [tokens, keys] : cases) {
    EXPECT_EQ(FormatKeyNotation(tokens), keys);
  }
  // No text a user types presses Control: what a log shows of such a press does not read back.
  EXPECT_THROW(ParseKeyNotation(FormatKeyNotation({KeyPress{NamedKey::kPageDown, 1, true}})),
               Failure);
  EXPECT_THROW(ParseKeyNotation(FormatKeyNotation(AltPress(U'r'))), Failure);
}

TEST(KeyNotationTest, KeysSplitAnywhereKeepWhatEachPressHolds) {
  // How the typing resumes after a stop: a press with Alt of a letter's key stays that press.
  const KeyPress alt_r = std::get<KeyPress>(AltPress(U'r').front());
  KeyPress two = alt_r, one = alt_r;
  two.count = 2;
  const Tokens keys = {U"ab",
                       KeyPress{.key = NamedKey::kEnter, .count = 3, .letter = U'r', .alt = true}};
  EXPECT_EQ(KeyCount(keys), 5u);
  EXPECT_EQ(KeysBefore(keys, 3), (Tokens{U"ab", one}));
  EXPECT_EQ(KeysAfter(keys, 3), (Tokens{two}));
  EXPECT_EQ(KeysAfter(keys, 1), (Tokens{U"b", keys[1]}));
}

TEST(KeyNotationTest, MalformedTokensAreRejectedWithTheirPosition) {
  struct Rejected {
    std::string keys;
    int position;  // code points from 0
    std::string names;
  };
  const std::vector<Rejected> cases = {
      {"{", 0, "this { is never closed ({): write a literal { as {{}"},
      {"{}", 0, "{} names no key: write a literal { as {{}"},
      {"{ENTER", 0, "never closed ({ENTER)"},
      {"{ENTER 0}", 0, R"(the count "0" in {ENTER 0} is not a whole number from 1 to 999)"},
      {"{ENTER x}", 0, R"(the count "x")"},
      {"{ENTER 1000}", 0, R"(the count "1000")"},
      {"{ENTER 07}", 0, R"(the count "07")"},
      {"{ENTER -1}", 0, R"(the count "-1")"},
      {"{ENTER +1}", 0, R"(the count "+1")"},
      {"{ENTER }", 0, R"(the count "")"},
      {"{ENTER  3}", 0, R"(the count " 3")"},
      {"{ENTER 3 }", 0, R"(the count "3 ")"},
      {"{ENTER\t3}", 0, "{ENTER\t3} is not a key name"},
      {"{ ENTER}", 0, "{ ENTER} is not a key name"},
      {"{FOO}", 0, "{FOO} is not a key name (see the README for the names)"},
      {"{F0}", 0, "{F0} is not a key name"},
      {"{F17}", 0, "{F17} is not a key name"},
      {"{F01}", 0, "{F01} is not a key name"},
      {"{ÉNTER}", 0, "{ÉNTER} is not a key name"},
      {"{{ENTER}", 0, "{{ENTER} is not a key name"},
      {"{ENTER{}}", 0, "{ENTER{} is not a key name"},
      {"}", 0, "this } closes no {: write a literal } as {}}"},
      {"ab}", 2, "this } closes no {"},
      {"é}", 1, "this } closes no {"},
      {"日本語{BAD}", 3, "{BAD} is not a key name"},
      {"{{}}", 3, "this } closes no {"},
      {"{}}}", 3, "this } closes no {"},
      {"abc{FOO}def", 3, "{FOO} is not a key name"},
      {"hello{ENTER}{BAD}", 12, "{BAD} is not a key name"},
      {"ok {ENTER 2} then {", 18, "this { is never closed"},
  };
  for (const auto& [keys, position, names] : cases) {
    SCOPED_TRACE(keys);
    const Failure failure = RejectionOf(keys);
    EXPECT_EQ(failure.code(), error_code::kKeyNotation);
    EXPECT_THAT(
        failure.description(),
        StartsWith("at the " + Ordinal(static_cast<std::size_t>(position) + 1) + " character, "));
    EXPECT_THAT(failure.description(), HasSubstr(names));
  }
}

TEST(KeyNotationTest, PositionsAreNamedAsAPersonCountsThem) {
  EXPECT_EQ(RejectionOf("abc{FOO}def").description(),
            "at the 4th character, {FOO} is not a key name (see the README for the names)");
  const std::vector<std::pair<std::size_t, std::string>> ordinals = {
      {1, "1st"},     {2, "2nd"},     {3, "3rd"},     {4, "4th"},      {11, "11th"},
      {12, "12th"},   {13, "13th"},   {21, "21st"},   {22, "22nd"},    {23, "23rd"},
      {101, "101st"}, {111, "111th"}, {112, "112th"}, {1002, "1002nd"}};
  for (const auto& [n, text] : ordinals) EXPECT_EQ(Ordinal(n), text);
}

TEST(KeyNotationTest, InvalidUtf8IsRejectedWithItsPosition) {
  struct Rejected {
    std::string keys;
    int position;  // code points from 0
    std::string bytes;
  };
  const std::vector<Rejected> cases = {
      {"\xC3", 0, "C3"},                       // truncated at the end
      {"a\xC3(", 1, "C3"},                     // continuation missing
      {"\x80", 0, "80"},                       // stray continuation byte
      {"é\x80", 1, "80"},                      // a position counts characters, not bytes
      {"\xC0\xAF", 0, "C0 AF"},                // overlong "/"
      {"\xC1\xBB", 0, "C1 BB"},                // overlong "{"
      {"\xE0\x80\xAF", 0, "E0 80 AF"},         // overlong "/"
      {"\xED\xA0\x80", 0, "ED A0 80"},         // surrogate
      {"\xF4\x90\x80\x80", 0, "F4 90 80 80"},  // past U+10FFFF
      {"\xFF", 0, "FF"},                       // never a lead byte
      {"€\xE2\x82", 1, "E2 82"},               // truncated after a 3-byte character
      {"{ENTER}\xF0\x9F\x98", 7, "F0 9F 98"},  // after a valid token
  };
  for (const auto& [keys, position, bytes] : cases) {
    SCOPED_TRACE(bytes);
    const Failure failure = RejectionOf(keys);
    EXPECT_EQ(failure.code(), error_code::kKeyNotation);
    EXPECT_EQ(failure.description(), "at the " + Ordinal(static_cast<std::size_t>(position) + 1) +
                                         " character, the text is not valid UTF-8 (bytes " + bytes +
                                         ")");
  }
}

TEST(KeyNotationTest, ErrorQuotesOnlyTheStartOfALongToken) {
  const std::string description = RejectionOf("{" + std::string(5000, 'a')).description();
  EXPECT_LT(description.size(), 200u);
  EXPECT_THAT(description, HasSubstr("...)"));
}

}  // namespace
}  // namespace plumwick
