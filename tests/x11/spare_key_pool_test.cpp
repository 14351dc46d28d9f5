// The bookkeeping of free key positions: reuse, least-recently-used rebinding, never rebinding a
// position the same string needs, all-or-nothing assignment, and what survives a keymap change.
#include "platform/x11/x11_spare_key_pool.h"

#include <gtest/gtest.h>

#include "platform/failure.h"

namespace plumwick::x11 {
namespace {

constexpr Keysym kA = 0x10000e9, kB = 0x10003a9, kC = 0x1004e00, kD = 0x1004e01, kE = 0x1004e02;

SpareKeyPool PoolOf(std::vector<Keycode> empty, int levels = 2) {
  SpareKeyPool pool;
  pool.Refresh(empty, {}, levels);
  return pool;
}

TEST(SpareKeyPool, FillsPlainLevelsBeforeShiftLevels) {
  SpareKeyPool pool = PoolOf({8, 93});
  const auto positions = pool.Assign({kA, kB, kC});
  EXPECT_EQ(positions.at(kA), (SparePosition{8, 0}));
  EXPECT_EQ(positions.at(kB), (SparePosition{93, 0}));
  EXPECT_EQ(positions.at(kC), (SparePosition{8, 1}));
  // A keycode's free level repeats the bound one.
  EXPECT_EQ(pool.TakeChanges(), (std::vector<KeycodeBinding>{{8, {kA, kC}}, {93, {kB, kB}}}));
  EXPECT_TRUE(pool.TakeChanges().empty());
}

TEST(SpareKeyPool, ReusesABindingWithoutWritingAgain) {
  SpareKeyPool pool = PoolOf({8, 93});
  const auto first = pool.Assign({kA});
  pool.TakeChanges();
  const auto second = pool.Assign({kB, kA});
  EXPECT_EQ(second.at(kA), first.at(kA));
  EXPECT_EQ(pool.TakeChanges(), (std::vector<KeycodeBinding>{{93, {kB, kB}}}));
}

TEST(SpareKeyPool, RebindsTheLeastRecentlyUsedPosition) {
  SpareKeyPool pool = PoolOf({8}, 2);
  pool.Assign({kA});  // 8/0
  pool.Assign({kB});  // 8/1
  pool.Assign({kA});  // kA used again: kB is now the older one
  const auto positions = pool.Assign({kC});
  EXPECT_EQ(positions.at(kC), (SparePosition{8, 1}));
  EXPECT_TRUE(pool.ReboundUnread()) << "kB was typed there and never read";
  EXPECT_EQ(pool.Assign({kA}).at(kA), (SparePosition{8, 0}));
  EXPECT_FALSE(pool.ReboundUnread()) << "a reuse binds nothing anew";
  // Read up to now: both positions may take another character without waiting.
  pool.MarkRead(pool.Now());
  pool.Assign({kD});  // kC's
  EXPECT_FALSE(pool.ReboundUnread());
  pool.Assign({kB});  // kA's
  EXPECT_FALSE(pool.ReboundUnread());
  pool.Assign({kC});
  EXPECT_TRUE(pool.ReboundUnread()) << "kD, typed since the receipt, gave way";
}

TEST(SpareKeyPool, NeverRebindsAPositionTheSameStringNeeds) {
  SpareKeyPool pool = PoolOf({8}, 2);
  pool.Assign({kA, kB});
  // kA and kB are both bound and both needed: kC has nowhere to go.
  EXPECT_THROW(pool.Assign({kA, kB, kC}), Failure);
}

TEST(SpareKeyPool, FailsWholeAndChangesNothingWhenFull) {
  SpareKeyPool pool = PoolOf({8, 93}, 1);
  pool.Assign({kA});
  pool.TakeChanges();
  try {
    pool.Assign({kB, kC, kD});
    FAIL() << "three keysyms fitted into two positions";
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.code(), error_code::kKeystrokes);
    EXPECT_NE(std::string(failure.what()).find("Nothing was typed"), std::string::npos);
  }
  EXPECT_TRUE(pool.TakeChanges().empty());
  EXPECT_EQ(pool.Written(), (std::vector<KeycodeBinding>{{8, {kA, kA}}}));
  EXPECT_EQ(pool.Assign({kA}).at(kA), (SparePosition{8, 0}));
}

struct RefreshCase {
  const char* name;
  std::vector<Keycode> empty_now;
  std::map<Keycode, std::array<Keysym, 2>> current;
  bool keeps_binding;  // kA still usable at 8/0 without writing
  bool owns_8;
};

class SpareKeyPoolRefresh : public ::testing::TestWithParam<RefreshCase> {};

TEST_P(SpareKeyPoolRefresh, FollowsTheKeymap) {
  const RefreshCase& c = GetParam();
  SpareKeyPool pool = PoolOf({8, 93});
  pool.Assign({kA});
  pool.TakeChanges();
  pool.Refresh(c.empty_now, c.current, 2);
  EXPECT_EQ(pool.Owns(8), c.owns_8);
  EXPECT_TRUE(pool.Owns(93));
  pool.Assign({kA});
  const auto changes = pool.TakeChanges();
  EXPECT_EQ(changes.empty(), c.keeps_binding);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SpareKeyPoolRefresh,
    ::testing::Values(
        RefreshCase{"StillOurs", {93}, {{8, {kA, kA}}, {93, {0, 0}}}, true, true},
        RefreshCase{"LayoutReloaded", {8, 93}, {{8, {0, 0}}, {93, {0, 0}}}, false, true},
        RefreshCase{"TakenBySomeoneElse", {93}, {{8, {kE, kE}}, {93, {0, 0}}}, false, false}),
    [](const auto& test) { return test.param.name; });

TEST(SpareKeyPool, RefreshAddsNewlyFreedKeycodesAndDropsUnwrittenTakenOnes) {
  SpareKeyPool pool = PoolOf({8, 93});
  pool.Refresh({8, 97}, {{93, {kE, 0}}}, 2);
  EXPECT_TRUE(pool.Owns(8));
  EXPECT_FALSE(pool.Owns(93));
  EXPECT_TRUE(pool.Owns(97));
}

}  // namespace
}  // namespace plumwick::x11
