// The scratch pad tools against doubles: the buttons' flag table, the clipboard, and failures that
// leave the flags as they were. Where each text lands in the pad is the real text box's doing:
// tests/ui/window_ui_test.cpp.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <optional>

#include "tests/unit/doubles.h"

namespace plumwick::testing {
namespace {

// Clear, Time, Date, Get IP !, Clipboard.
constexpr std::size_t kPadButtons = 5;
using Flags = std::array<bool, kPadButtons>;
using Effect = std::array<std::optional<bool>, kPadButtons>;  // nullopt: left as it was

FakeButton& PadButton(Rig& rig, std::size_t i) {
  FakeButton* buttons[] = {&rig.clear_pad, &rig.insert_time, &rig.insert_date, &rig.get_ip,
                           &rig.copy_pad};
  return *buttons[i];
}

Flags FlagsOf(Rig& rig) {
  Flags flags{};
  for (std::size_t i = 0; i < kPadButtons; ++i) flags[i] = PadButton(rig, i).enabled;
  return flags;
}

TEST(ScratchPad, EachButtonSetsTheFlagsOfItsRowFromStartUpAndAfterEveryOtherButton) {
  constexpr auto on = true, off = false;
  constexpr auto same = std::nullopt;
  const std::array<Effect, kPadButtons> table = {{
      {off, on, on, on, same},        // Clear
      {on, off, same, same, on},      // Time
      {on, same, off, same, on},      // Date
      {on, same, same, off, on},      // Get IP !
      {same, same, same, same, off},  // Clipboard
  }};
  const auto apply = [&](Flags flags, std::size_t button) {
    if (!flags[button]) return flags;  // a disabled button raises no click
    for (std::size_t i = 0; i < kPadButtons; ++i) flags[i] = table[button][i].value_or(flags[i]);
    return flags;
  };

  for (std::size_t first = 0; first <= kPadButtons; ++first) {  // kPadButtons: none first
    for (std::size_t second = 0; second < kPadButtons; ++second) {
      SCOPED_TRACE("first " + std::to_string(first) + ", then " + std::to_string(second));
      Rig rig;
      ASSERT_TRUE(rig.form.Start());
      Flags expected = FlagsOf(rig);
      ASSERT_EQ(expected, (Flags{off, on, on, on, off})) << "the state after start-up";
      if (first < kPadButtons) {
        PadButton(rig, first).Click();
        expected = apply(expected, first);
      }
      PadButton(rig, second).Click();
      expected = apply(expected, second);
      EXPECT_EQ(FlagsOf(rig), expected);
      EXPECT_THAT(rig.errors.shown, ::testing::IsEmpty());
    }
  }
}

struct PadRig : Rig {
  PadRig() {
    EXPECT_TRUE(form.Start());
    for (FakeButton* button : {&clear_pad, &get_ip, &copy_pad}) button->enabled = true;
  }
};

TEST(ScratchPad, ClipboardTakesThePadsWholeTextAlsoWhenEmpty) {
  for (const std::string text : {"", "12:00:00 192.0.2.7"}) {
    PadRig rig;
    rig.pad.text = text;
    rig.copy_pad.Click();
    EXPECT_EQ(rig.clipboard.text, text);
    EXPECT_FALSE(rig.copy_pad.enabled);
  }
}

TEST(ScratchPad, AFailingAddressQueryOrClipboardLeavesPadAndFlagsAsTheyWere) {
  struct Case {
    const char* call;
    FakeButton Rig::*button;
  };
  for (const Case& c :
       {Case{"Winsock1.LocalIP", &Rig::get_ip}, Case{"clipboard.SetText", &Rig::copy_pad},
        Case{"texts.TimeText", &Rig::insert_time}, Case{"texts.DateText", &Rig::insert_date}}) {
    SCOPED_TRACE(c.call);
    PadRig rig;
    rig.pad.text = "keep me";
    const Flags before = FlagsOf(rig);
    rig.log.FailAt(c.call);
    (rig.*c.button).Click();
    ASSERT_EQ(rig.errors.shown.size(), 1u);
    EXPECT_EQ(rig.errors.shown[0].code(), kInjectedCode);
    EXPECT_EQ(FlagsOf(rig), before);
    EXPECT_EQ(rig.pad.text, "keep me");
  }
}

}  // namespace
}  // namespace plumwick::testing
