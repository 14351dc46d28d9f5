// A long message typed into a sandbox conversation: the time its entry takes for 10,000 and for
// 100,000 characters, each key a key event as the keyboard sends it, in pieces of 32 characters
// with the window's events (its repaints among them) handled after each piece, as the program's
// typing leaves them; then the Enter that sends the message. Next to it, for 5,000 and 10,000
// characters, the line edit the entry replaces, which lays its whole text out on every key: its
// time per character doubles with the message (20,000 characters took 27 s here). The entry's time
// per character stays the same as the message grows ten times: it grows linearly.
//
// Run: build/default/bench/sandbox_entry_bench   (offscreen: it needs no desktop)
#include <chrono>
#include <cstdio>
#include <functional>
#include <sstream>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include "clients/sandbox/qt/qt_sandbox_client.h"

namespace {

using Seconds = std::chrono::duration<double>;
using Stopwatch = std::chrono::steady_clock;

// Words of a message: letters and spaces, as a person writes.
constexpr char kText[] = "the quick brown fox jumps over the lazy dog ";
constexpr int kPiece = 32;

void Press(QWidget& widget, Qt::Key key, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(&widget, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QApplication::sendEvent(&widget, &release);
}

// Types `count` characters into the widget; seconds taken.
double TypeInto(QWidget& widget, int count) {
  const Stopwatch::time_point start = Stopwatch::now();
  for (int i = 0; i < count; ++i) {
    const char c = kText[i % (sizeof kText - 1)];
    Press(widget, c == ' ' ? Qt::Key_Space : Qt::Key_A, QString(QLatin1Char(c)));
    if ((i + 1) % kPiece == 0) QApplication::processEvents();
  }
  QApplication::processEvents();
  return Seconds(Stopwatch::now() - start).count();
}

void Report(const char* what, int count, double seconds) {
  std::printf("%-26s %7d characters in %7.3f s  (%6.2f µs a character)\n", what, count, seconds,
              seconds / count * 1e6);
}

void Entry(int count) {
  std::ostringstream effects;
  plumwick::sandbox::QtSandboxClient sandbox(effects);
  sandbox.client().OpenConversation("alice@example.com");
  plumwick::sandbox::QtConversationWindow& window =
      *sandbox.conversation_window("alice@example.com");
  Report("sandbox conversation entry", count, TypeInto(window.entry(), count));
  const Stopwatch::time_point start = Stopwatch::now();
  Press(window.entry(), Qt::Key_Return, QStringLiteral("\r"));
  QApplication::processEvents();
  std::printf("%-26s the Enter that sends it: %.3f s\n", "",
              Seconds(Stopwatch::now() - start).count());
}

void LineEdit(int count) {
  QLineEdit line;
  line.resize(280, line.sizeHint().height());
  line.show();
  Report("line edit (replaced)", count, TypeInto(line, count));
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  for (const int count : {10'000, 100'000}) Entry(count);
  for (const int count : {5'000, 10'000}) LineEdit(count);
  return 0;
}
