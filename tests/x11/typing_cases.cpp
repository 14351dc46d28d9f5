// Key notation strings and what a receiver window must report for each.
#include "tests/x11/typing_cases.h"

namespace plumwick::x11_test {
namespace {

TypedEntry First(std::string text) {
  return {"first", std::move(text), ""};
}

}  // namespace

const std::vector<TypingCase>& TypingCases() {
  // The Latin-1 letters of each case fill most of the free key positions of a stock layout (38),
  // so going through the table rebinds positions used by earlier rows.
  static const std::vector<TypingCase> cases = {
      {"PrintableAscii",
       " !\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`"
       "abcdefghijklmnopqrstuvwxyz{{}|{}}~{ENTER}",
       {First(" !\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`"
              "abcdefghijklmnopqrstuvwxyz{|}~")}},
      {"NotationSymbolsAsText",
       "100% sure :-) a+b ^2 ~x (y){ENTER}",
       {First("100% sure :-) a+b ^2 ~x (y)")}},
      {"MixedUnicode", "héllo Ωmega 100% :-) {{}x{}}{ENTER}", {First("héllo Ωmega 100% :-) {x}")}},
      {"Latin1Lowercase",
       "àáâãäåæçèéêëìíîïðñòóôõöøùúûüýþÿß{ENTER}",
       {First("àáâãäåæçèéêëìíîïðñòóôõöøùúûüýþÿß")}},
      {"Latin1Uppercase",
       "ÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖØÙÚÛÜÝÞ{ENTER}",
       {First("ÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖØÙÚÛÜÝÞ")}},
      {"CaseNeighbours", "ÉéÜüÀà Straße{ENTER}", {First("ÉéÜüÀà Straße")}},
      {"Greek", "Καλημέρα κόσμε, ΑΩ αω{ENTER}", {First("Καλημέρα κόσμε, ΑΩ αω")}},
      {"EuroAndCjk",
       "€ 5 — 你好，世界 日本語 한국어{ENTER}",
       {First("€ 5 — 你好，世界 日本語 한국어")}},
      {"EnterSplitsLines",
       "one{ENTER}two{ENTER 2}three{ENTER}",
       {First("one"), First("two"), First(""), First("three")}},
      {"TabMovesFocus", "left{TAB}right é{ENTER}", {{"second", "left", "right é"}}},
      {"BackspaceDeletes", "abcd{BS 2}x{BACKSPACE}y{ENTER}", {First("aby")}},
      {"EditingKeys", "bc{HOME}a{END}d{LEFT}{DEL}e{ENTER}", {First("abce")}},
      {"KeysThatTypeNothing", "a{UP}{DOWN}{PGUP}{PGDN}{ESC}b{ENTER}", {First("ab")}},
      {"FunctionKeysOffTheLayout", "x{F13}y{F16}z{ENTER}", {First("xyz")}},
      {"RepeatsAndShiftRuns", "aaa{BS}ééé HELLO WoRLD{ENTER}", {First("aaééé HELLO WoRLD")}},
      {"EmptyLine", "{ENTER}", {First("")}},
  };
  return cases;
}

std::string CaseName(const TypingCase& typing_case) {
  return typing_case.name;
}

void PrintTo(const TypingCase& typing_case, std::ostream* out) {
  *out << typing_case.keys;
}

}  // namespace plumwick::x11_test
