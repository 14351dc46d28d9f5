// The private desktop and the shared keystroke synthesizer of the keystroke test program.
#include "tests/x11/test_desktop.h"

#include <QApplication>
#include <QElapsedTimer>

#include <stdexcept>

#include "keynotation/key_notation.h"
#include "platform/x11/x11_focused_window.h"

namespace plumwick::x11_test {
namespace {

TypingDesktop* desktop = nullptr;
std::unique_ptr<XTestKeystrokes> keys;

}  // namespace

TypingDesktop& TestDesktop() {
  if (desktop == nullptr) throw std::logic_error("the test desktop has not been started");
  return *desktop;
}

XTestKeystrokes& TestKeys() {
  if (!keys) keys = std::make_unique<XTestKeystrokes>(TestDesktop().Display());
  return *keys;
}

void AwaitReadReceipt(std::uint64_t window) {
  TestKeys().AskReadReceipt(window);
  QElapsedTimer timer;
  timer.start();
  // A receiver in this process answers only while its events are handled.
  while (!TestKeys().ReadReceiptCame()) {
    if (timer.elapsed() > 10000) throw std::runtime_error("no read receipt within 10 s");
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  }
}

void TypeNotation(std::string_view notation) {
  // As the program types a step: into the window with the focus, a key bound anew only once the
  // window has read it under its old binding, and the step done once the window read it all.
  const std::uint64_t window = X11FocusedWindow(TestDesktop().Display()).Focused().id;
  KeySequence rest = ParseKeyNotation(notation);
  for (;;) {
    const TypedKeys typed = TestKeys().Type(rest, window);
    rest = KeysAfter(rest, typed.keys);
    if (typed.stop == TypedKeys::Stop::kFocusLeft) {
      throw std::runtime_error("the focus left the window under the keys");
    }
    if (typed.stop == TypedKeys::Stop::kDone) break;
    AwaitReadReceipt(window);
  }
  AwaitReadReceipt(window);
}

void SetTestDesktop(TypingDesktop* session) {
  desktop = session;
}

void ReleaseTestKeys() {
  keys.reset();
}

}  // namespace plumwick::x11_test
