// A receiver window in the test's own process, of the same shape as the receiver program: two
// line edits that record an entry on each Enter, and each key event they get. Keys typed into it
// are handled only when the test lets the event loop run, as in the program, where the keys go to
// the built-in sandbox client's windows from the thread that typed them.
#pragma once

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QWidget>
#include <chrono>
#include <cstdint>
#include <memory>
#include <ostream>
#include <vector>

#include "tests/x11/typed_entry.h"

namespace plumwick::x11_test {

// A key event as a line edit got it: the keysym and the X modifier bits it came with (for a
// release too, those while the key was down).
struct ReceivedKey {
  bool press = true;
  std::uint32_t keysym = 0;
  std::uint32_t state = 0;
  bool operator==(const ReceivedKey&) const = default;
};

void PrintTo(const ReceivedKey& key, std::ostream* out);

class InProcessReceiver {
 public:
  InProcessReceiver();
  ~InProcessReceiver();

  std::uint64_t Window() const { return static_cast<std::uint64_t>(window_.winId()); }
  // Gives it the keyboard focus through the window manager and waits until it has it.
  void Activate();
  // Lets the event loop run until `count` entries have come in or `timeout` has passed.
  std::vector<TypedEntry> Entries(std::size_t count, std::chrono::milliseconds timeout);
  // Lets the event loop run for a while and returns what came in meanwhile.
  std::vector<TypedEntry> Settle(std::chrono::milliseconds time);
  // Lets the event loop run until `count` key events have come in or `timeout` has passed, and
  // returns the key events since the last call.
  std::vector<ReceivedKey> KeyEvents(std::size_t count, std::chrono::milliseconds timeout);

 private:
  class KeyRecorder;

  void Record(const char* which);

  // Before the window: the recorder outlives the line edits it watches.
  std::vector<ReceivedKey> keys_;
  std::unique_ptr<KeyRecorder> key_recorder_;
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
