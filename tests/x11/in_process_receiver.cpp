// A receiver window in the test's own process.
#include "tests/x11/in_process_receiver.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QVBoxLayout>
#include <QWindow>
#include <stdexcept>
#include <string>

#include "tests/x11/test_desktop.h"

namespace plumwick::x11_test {

void PrintTo(const ReceivedKey& key, std::ostream* out) {
  *out << (key.press ? "press " : "release ") << std::hex << "keysym 0x" << key.keysym
       << " state 0x" << key.state << std::dec;
}

// Watches a line edit's key events before it handles them.
class InProcessReceiver::KeyRecorder : public QObject {
 public:
  explicit KeyRecorder(std::vector<ReceivedKey>& keys) : keys_(keys) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
      const auto* key = static_cast<const QKeyEvent*>(event);
      // The eight modifier bits; the keyboard group is above them.
      keys_.push_back({event->type() == QEvent::KeyPress, key->nativeVirtualKey(),
                       key->nativeModifiers() & 0xffU});
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  std::vector<ReceivedKey>& keys_;
};

InProcessReceiver::InProcessReceiver() : key_recorder_(std::make_unique<KeyRecorder>(keys_)) {
  window_.setWindowTitle(QStringLiteral("in-process receiver"));
  auto* layout = new QVBoxLayout(&window_);
  first_ = new QLineEdit;
  second_ = new QLineEdit;
  layout->addWidget(first_);
  layout->addWidget(second_);
  QObject::connect(first_, &QLineEdit::returnPressed, [this] { Record("first"); });
  QObject::connect(second_, &QLineEdit::returnPressed, [this] { Record("second"); });
  first_->installEventFilter(key_recorder_.get());
  second_->installEventFilter(key_recorder_.get());
  window_.resize(600, 120);
  window_.show();
  first_->setFocus();
}

InProcessReceiver::~InProcessReceiver() = default;

void InProcessReceiver::Record(const char* which) {
  entries_.push_back({which, first_->text().toStdString(), second_->text().toStdString()});
  first_->clear();
  second_->clear();
  first_->setFocus();
}

void InProcessReceiver::Activate() {
  QElapsedTimer timer;
  timer.start();
  while (!window_.isVisible() || !window_.windowHandle()->isExposed()) {
    if (timer.elapsed() > 15000) throw std::runtime_error("the in-process window was not shown");
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  // Not --sync: xdotool would wait for the window to become active, which needs this very
  // event loop to run.
  TestDesktop().Activate(Window(), false);
  while (QApplication::activeWindow() != &window_ || !first_->hasFocus()) {
    if (timer.elapsed() > 15000) {
      throw std::runtime_error("the in-process window did not take the keyboard focus");
    }
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  }
}

std::vector<TypedEntry> InProcessReceiver::Entries(std::size_t count,
                                                   std::chrono::milliseconds timeout) {
  QElapsedTimer timer;
  timer.start();
  while (entries_.size() < count && timer.elapsed() < timeout.count()) {
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return std::exchange(entries_, {});
}

std::vector<TypedEntry> InProcessReceiver::Settle(std::chrono::milliseconds time) {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < time.count()) QApplication::processEvents(QEventLoop::AllEvents, 20);
  return std::exchange(entries_, {});
}

std::vector<ReceivedKey> InProcessReceiver::KeyEvents(std::size_t count,
                                                      std::chrono::milliseconds timeout) {
  QElapsedTimer timer;
  timer.start();
  while (keys_.size() < count && timer.elapsed() < timeout.count()) {
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return std::exchange(keys_, {});
}

}  // namespace plumwick::x11_test
