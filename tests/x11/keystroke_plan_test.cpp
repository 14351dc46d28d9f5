// Planning key presses on a hand-made layout: which key and modifiers type each character and
// named key, which characters need a free key of their own, and what cannot be typed at all.
#include "platform/x11/x11_keystroke_plan.h"

#include <gtest/gtest.h>

#include "platform/failure.h"

namespace plumwick::x11 {
namespace {

constexpr unsigned kShift = 1;
constexpr unsigned kControl = 4;

// A small US-like layout: a/A, e/E, 1/!, Return, Tab, BackSpace, space, x only with Shift on 53
// but plain on 60, Ω as the legacy Greek keysym, and three empty keycodes, the last of which is
// left free for other programs.
KeyboardLayout SmallLayout() {
  KeyboardLayout layout;
  layout.entries = {
      {{10, 0}, '1', U'1'},      {{10, kShift}, '!', U'!'},   {{22, 0}, 0xff08, 0},
      {{23, 0}, kTabKeysym, 0},  {{26, 0}, 'e', U'e'},        {{26, kShift}, 'E', U'E'},
      {{30, 0}, 0x7d9, U'Ω'},    {{36, 0}, kReturnKeysym, 0}, {{38, 0}, 'a', U'a'},
      {{38, kShift}, 'A', U'A'}, {{53, kShift}, 'x', U'x'},   {{60, 0}, 'x', U'x'},
      {{65, 0}, ' ', U' '},
  };
  layout.empty = {8, 93, 97};
  for (Keycode k : {10, 22, 23, 26, 30, 36, 38, 53, 60, 65}) layout.first_levels[k] = {1, 1};
  layout.first_levels[8] = {};
  layout.first_levels[93] = {};
  layout.first_levels[97] = {};
  layout.modifier_keys = {{kShift, 50}, {kControl, 37}};
  layout.shift_mask = kShift;
  layout.control_mask = kControl;
  return layout;
}

struct PlanCase {
  const char* name;
  std::vector<KeyToken> tokens;
  std::vector<Stroke> strokes;
  std::vector<KeycodeBinding> bindings;
  std::vector<Keycode> pressed;  // the layout's own keys among the strokes, which must be up
};

class PlanOnSmallLayout : public ::testing::TestWithParam<PlanCase> {};

TEST_P(PlanOnSmallLayout, GivesStrokesAndBindings) {
  const PlanCase& c = GetParam();
  SpareKeyPool pool;
  const KeystrokePlan plan = PlanKeystrokes(c.tokens, SmallLayout(), pool);
  EXPECT_EQ(plan.strokes, c.strokes);
  EXPECT_EQ(plan.bindings, c.bindings);
  EXPECT_EQ(LayoutKeysPressed(c.tokens, SmallLayout(), SpareKeyPool{}), c.pressed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlanOnSmallLayout,
    ::testing::Values(PlanCase{"LayoutCharacters",
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
                               {KeyPress{NamedKey::kTab, 2, true}, KeyText(U"A"),
                                KeyPress{NamedKey::kTab}, KeyPress{NamedKey::kF13, 1, true},
                                KeyPress{NamedKey::kTab, 1, true, true}},
                               {{23, kControl},
                                {23, kControl},
                                {38, kShift},
                                {23, 0},
                                {8, kControl},
                                {23, kControl | kShift}},
                               {{8, {0xffca, 0xffca}}},
                               {23, 38}}),
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
}

TEST(PlanKeystrokes, WithoutAShiftKeyOnlyPlainLevelsAreUsed) {
  KeyboardLayout layout = SmallLayout();
  layout.modifier_keys.clear();
  layout.shift_mask = 0;
  SpareKeyPool pool;
  EXPECT_THROW(PlanKeystrokes({KeyText(U"€你好")}, layout, pool), Failure);
  EXPECT_THROW(PlanKeystrokes({KeyPress{NamedKey::kHome, 1, true, true}}, layout, pool), Failure);
}

TEST(PlanKeystrokes, WithoutAControlKeyAPressWithControlIsRefused) {
  KeyboardLayout layout = SmallLayout();
  layout.modifier_keys.erase(kControl);
  layout.control_mask = 0;
  SpareKeyPool pool;
  EXPECT_THROW(PlanKeystrokes({KeyPress{NamedKey::kTab, 1, true}}, layout, pool), Failure);
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

INSTANTIATE_TEST_SUITE_P(Cases, PlanRejects,
                         ::testing::Values(RejectCase{"BellCharacter", {KeyText(U"é\a")}},
                                           RejectCase{"CarriageReturn", {KeyText(U"é\r")}},
                                           RejectCase{"Delete", {KeyText(U"é\x7f")}},
                                           RejectCase{"C1Control", {KeyText(U"é\x85")}},
                                           RejectCase{"MoreMissingThanFreePositions",
                                                      {KeyText(U"€你好世界")}}),
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
