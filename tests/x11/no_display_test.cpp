// Without an X display the keystroke synthesizer and the focused-window query can still be made,
// and fail with a clear error on first use; an empty key sequence types nothing and needs none.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "keynotation/key_notation.h"
#include "platform/failure.h"
#include "platform/x11/x11_focused_window.h"
#include "platform/x11/x11_xtest_keystrokes.h"

namespace plumwick {
namespace {

// Runs with DISPLAY unset, and puts it back afterwards.
class NoDisplay : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* display = std::getenv("DISPLAY")) saved_ = display;
    unsetenv("DISPLAY");
  }
  void TearDown() override {
    if (saved_) setenv("DISPLAY", saved_->c_str(), 1);
  }

 private:
  std::optional<std::string> saved_;
};

template <typename Call>
Failure FailureOf(Call call) {
  try {
    call();
  } catch (const Failure& failure) {
    return failure;
  }
  ADD_FAILURE() << "no failure";
  return Failure(0, "");
}

TEST_F(NoDisplay, TypingFailsClearly) {
  XTestKeystrokes keys;
  const Failure failure = FailureOf([&] { keys.Type(ParseKeyNotation("hello{ENTER}")); });
  EXPECT_EQ(failure.code(), error_code::kKeystrokes);
  EXPECT_NE(std::string(failure.what()).find("DISPLAY is not set"), std::string::npos)
      << failure.what();
}

TEST_F(NoDisplay, FocusedWindowFailsClearly) {
  X11FocusedWindow focus;
  const Failure failure = FailureOf([&] { focus.Focused(); });
  EXPECT_EQ(failure.code(), error_code::kKeystrokes);
  EXPECT_NE(std::string(failure.what()).find("DISPLAY is not set"), std::string::npos)
      << failure.what();
}

TEST_F(NoDisplay, UnreachableDisplayIsNamed) {
  // No server listens on display 987 here.
  XTestKeystrokes keys(":987");
  X11FocusedWindow focus(":987");
  for (const Failure& failure : {FailureOf([&] { keys.Type(ParseKeyNotation("a")); }),
                                 FailureOf([&] { focus.Focused(); })}) {
    EXPECT_EQ(failure.code(), error_code::kKeystrokes);
    EXPECT_NE(std::string(failure.what()).find("\":987\""), std::string::npos) << failure.what();
  }
}

TEST_F(NoDisplay, EmptySequenceNeedsNoDisplay) {
  XTestKeystrokes keys;
  EXPECT_NO_THROW(keys.Type(ParseKeyNotation("")));
}

}  // namespace
}  // namespace plumwick
