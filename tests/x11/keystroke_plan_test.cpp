// Planning key presses on a hand-made layout: which key and modifiers type each character and
// named key, which characters need a free key of their own, and what cannot be typed at all.
#include "platform/x11/x11_keystroke_plan.h"

#include <gtest/gtest.h>

#include "platform/failure.h"

namespace plumwick::x11 {
namespace {

constexpr unsigned kShift = 1;
constexpr unsigned kControl = 4;
constexpr unsigned kAlt = 8;

// A small US-like layout: a/A, e/E, r/R, 1/!, Return, Tab, BackSpace, space, x only with Shift on
// 53 but plain on 60, Ω as the legacy Greek keysym, and three empty keycodes, the last of which is
// left free for other programs.
KeyboardLayout SmallLayout() {
  KeyboardLayout layout;
  layout.entries = {
      {{10, 0}, '1', U'1'},        {{10, kShift}, '!', U'!'}, {{22, 0}, 0xff08, 0},
      {{23, 0}, kTabKeysym, 0},    {{26, 0}, 'e', U'e'},      {{26, kShift}, 'E', U'E'},
      {{27, 0}, 'r', U'r'},        {{27, kShift}, 'R', U'R'}, {{30, 0}, 0x7d9, U'Ω'},
      {{36, 0}, kReturnKeysym, 0}, {{38, 0}, 'a', U'a'},      {{38, kShift}, 'A', U'A'},
      {{53, kShift}, 'x', U'x'},   {{60, 0}, 'x', U'x'},      {{65, 0}, ' ', U' '},
  };
  layout.empty = {8, 93, 97};
  for (Keycode k : {10, 22, 23, 26, 27, 30, 36, 38, 53, 60, 65}) layout.first_levels[k] = {1, 1};
  layout.first_levels[8] = {};
  layout.first_levels[93] = {};
  layout.first_levels[97] = {};
  layout.modifier_keys = {{kShift, 50}, {kControl, 37}, {kAlt, 64}};
  layout.shift_mask = kShift;
  layout.control_mask = kControl;
  layout.alt_mask = kAlt;
  return layout;
}

// The same keyboard in a Cyrillic group, as with "us,ru" switched to the second: the key of r
// gives к/К, and no key gives a Latin letter.
KeyboardLayout CyrillicGroup() {
  KeyboardLayout layout = SmallLayout();
  for (LayoutEntry& entry : layout.entries) {
    if (entry.stroke.keycode != 27) continue;
    const bool upper = entry.stroke.mods == kShift;
    entry.keysym = upper ? 0x6eb : 0x6cb;
    entry.character = upper ? U'К' : U'к';
  }
  std::erase_if(layout.entries, [](const LayoutEntry& entry) {
    return entry.character >= U'A' && entry.character <= U'z';
  });
  return layout;
}

struct PlanCase {
  const char* name;
  std::vector<KeyToken> tokens;
  std::vector<Stroke> strokes;
  std::vector<KeycodeBinding> bindings;
  std::vector<Keycode> pressed;  // the layout's own keys among the strokes, which must be up
  KeyboardLayout layout = SmallLayout();
};

class PlanOnSmallLayout : public ::testing::TestWithParam<PlanCase> {};

TEST_P(PlanOnSmallLayout, GivesStrokesAndBindings) {
  const PlanCase& c = GetParam();
  SpareKeyPool pool;
  const KeystrokePlan plan = PlanKeystrokes(c.tokens, c.layout, pool);
  EXPECT_EQ(plan.strokes, c.strokes);
  EXPECT_EQ(plan.bindings, c.bindings);
  EXPECT_EQ(LayoutKeysPressed(c.tokens, c.layout, SpareKeyPool{}), c.pressed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlanOnSmallLayout,
    ::testing::Values(
        PlanCase{"LayoutCharacters",
                 {KeyText(U"aA e!")},
                 {{38, 0}, {38, kShift}, {65, 0}, {26, 0}, {10, kShift}},
                 {},
                 {10, 26, 38, 65}},
        PlanCase{"FewestModifiersWin", {KeyText(U"x")}, {{60, 0}}, {}, {60}},
        PlanCase{"LegacyKeysymByItsCharacter", {KeyText(U"Ω")}, {{30, 0}}, {}, {30}},
        PlanCase{"NamedKeysWithCounts",
                 {KeyPress{NamedKey::kEnter, 1}, KeyPress{NamedKey::kTab, 2},
                  KeyPress{NamedKey::kBackspace, 1}},
                 {{36, 0}, {23, 0}, {23, 0}, {22, 0}},
                 {},
                 {22, 23, 36}},
        PlanCase{"NewlineAndTabInTextAreKeys",
                 {KeyText(U"a\n\ta")},
                 {{38, 0}, {36, 0}, {23, 0}, {38, 0}},
                 {},
                 {23, 36, 38}},
        PlanCase{"MissingCharactersGetFreeKeys",
                 {KeyText(U"éaÉé")},
                 {{8, 0}, {38, 0}, {93, 0}, {8, 0}},
                 {{8, {0xe9, 0xe9}}, {93, {0xc9, 0xc9}}},
                 {38}},
        PlanCase{"ThirdMissingCharacterTakesAShiftLevel",
                 {KeyText(U"€你好")},
                 {{8, 0}, {93, 0}, {8, kShift}},
                 {{8, {0x10020ac, 0x100597d}}, {93, {0x1004f60, 0x1004f60}}},
                 {}},
        PlanCase{"MissingNamedKeyGetsAFreeKey",
                 {KeyText(U"a"), KeyPress{NamedKey::kF13, 1}},
                 {{38, 0}, {8, 0}},
                 {{8, {0xffca, 0xffca}}},
                 {38}},
        // Control and Shift only around their own presses; their keys are modifiers,
        // not checked.
        PlanCase{"ControlAndShiftHeldForThePressesWithThem",
                 {KeyPress{NamedKey::kTab, 2, true}, KeyText(U"A"), KeyPress{NamedKey::kTab},
                  KeyPress{NamedKey::kF13, 1, true}, KeyPress{NamedKey::kTab, 1, true, true}},
                 {{23, kControl},
                  {23, kControl},
                  {38, kShift},
                  {23, 0},
                  {8, kControl},
                  {23, kControl | kShift}},
                 {{8, {0xffca, 0xffca}}},
                 {23, 38}},
        // A dialog's underlined letter: the letter's own key with Alt, which its
        // text shares.
        PlanCase{"LetterKeyWithAlt",
                 {KeyText(U"r"), AltPress(U'r').front(), KeyText(U"R")},
                 {{27, 0}, {27, kAlt}, {27, kShift}},
                 {},
                 {27}},
        PlanCase{
            "LetterKeyWithControlAndAlt",
            {KeyPress{
                .key = NamedKey::kEnter, .count = 2, .control = true, .letter = U'e', .alt = true}},
            {{26, kControl | kAlt}, {26, kControl | kAlt}},
            {},
            {26}},
        // Typed in another script's group, the letter is bound to a spare key, once
        // for its press and its text.
        PlanCase{"LetterKeyTheGroupLacksGetsASpareKey",
                 {AltPress(U'r').front(), KeyText(U"кr")},
                 {{8, kAlt}, {27, 0}, {8, 0}},
                 {{8, {'r', 'r'}}},
                 {27},
                 CyrillicGroup()}),
    [](const auto& test) { return test.param.name; });

TEST(PlanKeystrokes, LaterStringsReuseFreeKeyBindings) {
  const KeyboardLayout layout = SmallLayout();
  SpareKeyPool pool;
  const auto first = PlanKeystrokes({KeyText(U"é")}, layout, pool);
  ASSERT_EQ(first.bindings.size(), 1u);
  // As the server shows it afterwards: é on keycode 8, no longer empty.
  KeyboardLayout after = layout;
  after.entries.push_back({{8, 0}, 0xe9, U'é'});
  after.entries.push_back({{8, kShift}, 0xe9, U'é'});
  after.empty = {93, 97};
  after.first_levels[8] = {0xe9, 0xe9};
  const auto second = PlanKeystrokes({KeyText(U"éé")}, after, pool);
  EXPECT_TRUE(second.bindings.empty());
  EXPECT_EQ(second.strokes, (std::vector<Stroke>{{8, 0}, {8, 0}}));
  // A spare key is the program's own: no person holds it down.
  EXPECT_TRUE(LayoutKeysPressed({KeyText(U"é")}, after, pool).empty());
}

TEST(PlanKeystrokes, LeavesTheHighestFreeKeycodeFree) {
  SpareKeyPool pool;
  PlanKeystrokes({KeyText(U"€")}, SmallLayout(), pool);
  EXPECT_TRUE(pool.Owns(8));
  EXPECT_TRUE(pool.Owns(93));
  EXPECT_FALSE(pool.Owns(97));
  EXPECT_EQ(pool.Capacity(), 4u);
}

TEST(PlanKeystrokes, OnePlanTakesAsManyKeysAsTheSpareKeysReachAndOnlyThoseThatFit) {
  // Four spare positions: "a" and "é€ΩΨ" (Ω is the layout's own), then 你 would be the fifth.
  const std::vector<KeyToken> tokens = {KeyText(U"aé€ΩΨ"), KeyPress{NamedKey::kEnter},
                                        KeyText(U"ü你好")};
  SpareKeyPool pool;
  EXPECT_EQ(PlannableKeys(tokens, SmallLayout(), pool), 7u) << "up to 你, Enter and ü included";
  EXPECT_EQ(PlannableKeys({KeyText(U"a1!")}, SmallLayout(), pool), 3u);
  KeyboardLayout full = SmallLayout();
  full.empty = {97};  // the one left to others: no spare key at all
  EXPECT_EQ(PlannableKeys(tokens, full, pool), 1u);
  // What the program refuses before a job starts on such a layout: characters it lacks, with no
  // spare key for them.
  EXPECT_EQ(SpareCapacity(SmallLayout(), pool), 4u);
  EXPECT_EQ(SpareCapacity(full, pool), 0u);
  EXPECT_EQ(MissingCharacters(tokens, SmallLayout(), pool),
            (std::vector<char32_t>{U'é', U'€', U'Ψ', U'ü', U'你', U'好'}));
  EXPECT_THROW(PlannableKeys({KeyText(U"a\a")}, SmallLayout(), pool), Failure);
  // A letter's key the group lacks needs a spare key as its character would.
  EXPECT_EQ(MissingCharacters(AltPress(U'r'), CyrillicGroup(), pool), std::vector<char32_t>{U'r'});
  EXPECT_TRUE(MissingCharacters(AltPress(U'r'), SmallLayout(), pool).empty());
  EXPECT_EQ(PlannableKeys(AltPress(U'r'), full, pool), 1u);
  full.entries = CyrillicGroup().entries;
  EXPECT_EQ(PlannableKeys(AltPress(U'r'), full, pool), 0u);
}

TEST(PlanKeystrokes, WithoutAShiftKeyOnlyPlainLevelsAreUsed) {
  KeyboardLayout layout = SmallLayout();
  layout.modifier_keys.clear();
  layout.shift_mask = 0;
  SpareKeyPool pool;
  EXPECT_THROW(PlanKeystrokes({KeyText(U"€你好")}, layout, pool), Failure);
  EXPECT_THROW(PlanKeystrokes({KeyPress{NamedKey::kHome, 1, true, true}}, layout, pool), Failure);
}

TEST(PlanKeystrokes, WithoutAControlOrAltKeyAPressWithItIsRefusedBeforeAnyBinding) {
  KeyboardLayout layout = SmallLayout();
  layout.modifier_keys.erase(kControl);
  layout.control_mask = 0;
  SpareKeyPool pool;
  EXPECT_THROW(PlanKeystrokes({KeyPress{NamedKey::kTab, 1, true}}, layout, pool), Failure);

  layout = CyrillicGroup();
  layout.modifier_keys.erase(kAlt);
  layout.alt_mask = 0;
  try {
    PlanKeystrokes({KeyText(U"é"), AltPress(U'r').front()}, layout, pool);
    ADD_FAILURE() << "planned";
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.code(), error_code::kKeystrokes);
    EXPECT_STREQ(failure.what(),
                 "The keyboard layout has no Alt key to hold for a key pressed with it. Nothing "
                 "was typed.");
  }
  EXPECT_TRUE(pool.TakeChanges().empty());
  EXPECT_TRUE(pool.Written().empty());
}

struct RejectCase {
  const char* name;
  std::vector<KeyToken> tokens;
};

class PlanRejects : public ::testing::TestWithParam<RejectCase> {};

TEST_P(PlanRejects, WholeStringAndBindsNothing) {
  SpareKeyPool pool;
  try {
    PlanKeystrokes(GetParam().tokens, SmallLayout(), pool);
    FAIL() << "planned";
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.code(), error_code::kKeystrokes);
  }
  EXPECT_TRUE(pool.TakeChanges().empty());
  EXPECT_TRUE(pool.Written().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlanRejects,
    ::testing::Values(RejectCase{"BellCharacter", {KeyText(U"é\a")}},
                      RejectCase{"CarriageReturn", {KeyText(U"é\r")}},
                      RejectCase{"Delete", {KeyText(U"é\x7f")}},
                      RejectCase{"C1Control", {KeyText(U"é\x85")}},
                      RejectCase{"MoreMissingThanFreePositions", {KeyText(U"€你好世界")}},
                      RejectCase{"LetterKeyOfNoLowercaseLetter",
                                 {KeyText(U"é"),
                                  KeyPress{.key = NamedKey::kEnter, .letter = U'R', .alt = true}}}),
    [](const auto& test) { return test.param.name; });

TEST(FirstMisbound, FindsAFreeKeyThatDoesNotGiveItsKeysym) {
  const std::vector<BoundStroke> spare = {{{8, 0}, 0xc9}, {{8, kShift}, 0x10020ac}};
  KeyboardLayout layout = SmallLayout();
  layout.entries.push_back({{8, 0}, 0xc9, U'É'});
  layout.entries.push_back({{8, kShift}, 0x10020ac, U'€'});
  EXPECT_EQ(FirstMisbound(spare, layout), nullptr);

  // The server paired É with its lower case, as it does for a letter bound alone.
  layout.entries[layout.entries.size() - 2] = {{8, 0}, 0xe9, U'é'};
  EXPECT_EQ(FirstMisbound(spare, layout), &spare[0]);

  // The second level is not reachable with the expected modifiers at all.
  layout = SmallLayout();
  layout.entries.push_back({{8, 0}, 0xc9, U'É'});
  EXPECT_EQ(FirstMisbound(spare, layout), &spare[1]);
}

}  // namespace
}  // namespace plumwick::x11
