// A tiny Qt window for the keystroke tests and the benchmark, standing in for a conversation
// window of another process: two line edits. On Enter in either it prints one line to standard
// output, "<first or second>\x1f<text of first>\x1f<text of second>", and clears both. Typed text
// cannot hold \x1f, so the fields split exactly. Once shown it prints "ready <window id> <pid>".
//
//   plumwick_x11_receiver [window title]
#include <QApplication>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdio>

#include <unistd.h>

namespace {

void Report(const char* which, QLineEdit& first, QLineEdit& second) {
  const QByteArray line =
      QByteArray(which) + '\x1f' + first.text().toUtf8() + '\x1f' + second.text().toUtf8() + '\n';
  std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stdout);
  std::fflush(stdout);
  first.clear();
  second.clear();
  first.setFocus();
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle(argc > 1 ? QString::fromLocal8Bit(argv[1])
                                 : QStringLiteral("plumwick x11 receiver"));
  auto* layout = new QVBoxLayout(&window);
  auto* first = new QLineEdit;
  auto* second = new QLineEdit;
  first->setObjectName("first");
  second->setObjectName("second");
  layout->addWidget(first);
  layout->addWidget(second);
  QObject::connect(first, &QLineEdit::returnPressed, [&] { Report("first", *first, *second); });
  QObject::connect(second, &QLineEdit::returnPressed, [&] { Report("second", *first, *second); });
  window.resize(600, 120);
  window.show();
  first->setFocus();
  std::printf("ready %llu %lld\n", static_cast<unsigned long long>(window.winId()),
              static_cast<long long>(getpid()));
  std::fflush(stdout);
  return app.exec();
}
