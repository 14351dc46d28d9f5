// The floor of the start-up benchmark: the bare window plus the two things any build of plumwick's
// window must do before it shows, laid out the plainest way: a line of text in each of the design's
// fonts and the start-up cue playing on the sound server. It tells how much of plumwick's cost
// over the bare window is these parts' own, and how much is plumwick's.
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QWidget>

#include "platform/pulse/pulse_clip_player.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  window.setWindowTitle(QStringLiteral("startup-bench-floor"));
  window.setFixedSize(267, 484);

  QFont title(QStringLiteral("P052"));
  title.setPixelSize(12);
  QLabel banner(QStringLiteral("PLUMWICK"), &window);
  banner.setFont(title);
  QFont small(QStringLiteral("DejaVu Sans"));
  small.setPixelSize(9);
  QLabel line(QStringLiteral("CHANGE YOUR STATUS HERE !"), &window);
  line.setFont(small);
  line.move(0, 40);

  QFile clip(QStringLiteral(":/cues/start.wav"));
  if (!clip.open(QIODevice::ReadOnly)) return 1;
  const QByteArray wave = clip.readAll();
  plumwick::PulseClipPlayer cue(
      "start",
      plumwick::ReadWave({wave.constData(), static_cast<std::size_t>(wave.size())}).value());
  cue.Play();

  window.show();
  return QApplication::exec();
}
