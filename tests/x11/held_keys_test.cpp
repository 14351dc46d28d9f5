// A key the person still holds down when typing starts: the X server drops a press of a key that
// is down, so typing must not start while a key it needs is held, and says which. Modifier keys
// are let go by the typing itself, and keys the text does not need are no obstacle. The key is
// held as xdotool holds it (XTest); a real keyboard's held key is dropped and reported alike. A
// mouse button held down (a click under way, which may move the focus) holds the keys back too.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "keynotation/key_notation.h"
#include "platform/failure.h"
#include "tests/e2e/harness/run_command.h"
#include "tests/e2e/harness/window_keys.h"
#include "tests/x11/in_process_receiver.h"
#include "tests/x11/test_desktop.h"

namespace plumwick::x11_test {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

struct HeldCase {
  std::string name;
  std::string held;                 // keysym name, as xdotool keydown takes it
  std::string keys;                 // key notation typed
  std::vector<std::string> named;   // what HeldKeys names: typing refuses while they are down
  std::vector<TypedEntry> entries;  // what arrived once the key was let go and the keys typed
};

void PrintTo(const HeldCase& held_case, std::ostream* out) {
  *out << held_case.held << " held, typing " << held_case.keys;
}

class HeldKeys : public InProcessReceiverTest, public ::testing::WithParamInterface<HeldCase> {};

TEST_P(HeldKeys, TypingWaitsForTheKeysItNeedsAndNoneIsLostOrDoubled) {
  const HeldCase& held_case = GetParam();
  const KeySequence keys = ParseKeyNotation(held_case.keys);
  e2e::HeldKey key(TestDesktop().Env(), held_case.held);
  EXPECT_EQ(TestKeys().HeldKeys(keys), held_case.named);
  if (!held_case.named.empty()) {
    const TypedKeys typed = TestKeys().Type(keys);
    EXPECT_EQ(typed.keys, 0U) << "typed while a key it needs was held down";
    EXPECT_EQ(typed.stop, TypedKeys::Stop::kKeyboardBusy);
    key.Release();
    EXPECT_TRUE(TestKeys().HeldKeys(keys).empty());
    TestKeys().Type(keys);
  } else {
    TestKeys().Type(keys);
    key.Release();
  }
  EXPECT_EQ(receiver_->Entries(held_case.entries.size(), seconds(10)), held_case.entries);
  EXPECT_TRUE(receiver_->Settle(milliseconds(300)).empty()) << "more arrived";
}

TEST_F(InProcessReceiverTest, AMouseButtonHeldDownHoldsTheKeysBackUntilItIsLetGo) {
  const KeySequence keys = ParseKeyNotation("ok{ENTER}");
  e2e::RunChecked({"xdotool", "mousedown", "1"}, TestDesktop().Env());
  EXPECT_EQ(TestKeys().Blocked(), "a mouse button is held down (a click or a drag under way)");
  const TypedKeys typed = TestKeys().Type(keys);
  e2e::RunChecked({"xdotool", "mouseup", "1"}, TestDesktop().Env());
  EXPECT_EQ(typed.keys, 0U) << "typed while a mouse button was held down";
  EXPECT_EQ(typed.stop, TypedKeys::Stop::kKeyboardBusy);
  EXPECT_EQ(TestKeys().Blocked(), "");
  TestKeys().Type(keys);
  EXPECT_EQ(receiver_->Entries(1, seconds(10)), OneLine("ok"));
}

INSTANTIATE_TEST_SUITE_P(
    Table, HeldKeys,
    ::testing::Values(
        // The user's own Return makes an entry of its own, then the job's text its one.
        HeldCase{"ReturnForAnEnter",
                 "Return",
                 "ok{ENTER}",
                 {"Return"},
                 {{"first", "", ""}, {"first", "ok", ""}}},
        HeldCase{"LetterForItsCapital", "x", "Box X{ENTER}", {"X"}, OneLine("xBox X")},
        HeldCase{"ShiftLetGoByTheTyping", "Shift_L", "Ok ok{ENTER}", {}, OneLine("Ok ok")},
        HeldCase{"KeyTheTextDoesNotNeed", "z", "ok{ENTER}", {}, OneLine("zok")}),
    [](const auto& test) { return test.param.name; });

}  // namespace
}  // namespace plumwick::x11_test
