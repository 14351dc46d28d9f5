// The yardstick of the start-up benchmark: the barest Qt 6 Widgets program that shows a frameless
// window of plumwick's size, with nothing in it.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  window.setWindowTitle(QStringLiteral("startup-bench-bare"));
  window.setFixedSize(267, 484);
  window.show();
  return QApplication::exec();
}
