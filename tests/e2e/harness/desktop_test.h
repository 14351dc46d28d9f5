// A GoogleTest fixture that shares one private desktop session among the tests of a suite:
// starting the desktop and PulseAudio once keeps the run short, while each test starts and stops
// its own programs. The desktop is openbox on Xvfb, or the one PLUMWICK_TEST_DESKTOP names
// (desktops.h), so that any of these tests runs on any desktop.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "tests/e2e/harness/desktop_session.h"
#include "tests/e2e/harness/desktop_user.h"

namespace plumwick::e2e {

class DesktopTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    start_error_.clear();
    try {
      session_ = std::make_unique<DesktopSession>(TestDesktopKind());
    } catch (const std::exception& error) {
      start_error_ = error.what();
    }
  }
  static void TearDownTestSuite() { session_.reset(); }

  void SetUp() override {
    // Every test of the suite fails, with the reason, rather than being skipped: a desktop that
    // cannot start is a broken test machine, not an absent feature.
    ASSERT_TRUE(session_) << "the test desktop did not start: " << start_error_;
    user_.emplace(*session_);
  }

  static DesktopSession& Session() { return *session_; }
  const DesktopUser& User() const { return *user_; }

 private:
  static inline std::unique_ptr<DesktopSession> session_;
  static inline std::string start_error_;
  std::optional<DesktopUser> user_;
};

}  // namespace plumwick::e2e
