// A receiver window in the test's own process, of the same shape as the receiver program: two
// line edits that record an entry on each Enter. Keys typed into it are handled only when the test
// lets the event loop run, as in the program, where the keys go to the built-in sandbox client's
// windows from the thread that typed them.
#pragma once

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QWidget>
#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

#include "tests/x11/typed_entry.h"

namespace plumwick::x11_test {

class InProcessReceiver {
 public:
  InProcessReceiver();

  std::uint64_t Window() const { return static_cast<std::uint64_t>(window_.winId()); }
  // Gives it the keyboard focus through the window manager and waits until it has it.
  void Activate();
  // Lets the event loop run until `count` entries have come in or `timeout` has passed.
  std::vector<TypedEntry> Entries(std::size_t count, std::chrono::milliseconds timeout);
  // Lets the event loop run for a while and returns what came in meanwhile.
  std::vector<TypedEntry> Settle(std::chrono::milliseconds time);

 private:
  void Record(const char* which);

  QWidget window_;
  QLineEdit* first_;
  QLineEdit* second_;
  std::vector<TypedEntry> entries_;
};

// The tests of a suite share one receiver, made once for the suite: each test starts with it
// active and with what came in before handled.
class InProcessReceiverTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { receiver_ = std::make_unique<InProcessReceiver>(); }
  static void TearDownTestSuite() { receiver_.reset(); }

  void SetUp() override {
    receiver_->Activate();
    receiver_->Settle(std::chrono::milliseconds(50));
  }

  static inline std::unique_ptr<InProcessReceiver> receiver_;
};

}  // namespace plumwick::x11_test
