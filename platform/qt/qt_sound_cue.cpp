// A sound cue on QSoundEffect.
#include "platform/qt/qt_sound_cue.h"

#include <cstdio>

#include <QAudioDevice>
#include <QFile>
#include <QMediaDevices>
#include <QUrl>
#include <QtGlobal>

#include "platform/failure.h"

namespace plumwick {
namespace {

QtMessageHandler qt_handler = nullptr;

// Qt Multimedia's own warnings on a machine without sound: the sound server cannot be reached,
// and each clip finds no device. They all say the one thing the program says itself, once.
bool IsNoDeviceWarning(const QString& message) {
  return message.startsWith(QLatin1String("PulseAudioService: ")) ||
         message == QLatin1String("No audio device detected");
}

void HoldBackNoDeviceWarnings(QtMsgType type, const QMessageLogContext& context,
                              const QString& message) {
  if (type == QtWarningMsg && IsNoDeviceWarning(message)) return;
  if (qt_handler != nullptr) return qt_handler(type, context, message);
  std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

}  // namespace

bool QtSoundCue::SilentAtStart() {
  static const bool silent = [] {
    // Before Qt Multimedia's first word: asking for the devices connects to the sound server.
    qt_handler = qInstallMessageHandler(HoldBackNoDeviceWarnings);
    const bool none = QMediaDevices::audioOutputs().isEmpty();
    if (none) {
      std::fprintf(stderr, "Sound cues are silent: no audio output device is available.\n");
    }
    return none;
  }();
  return silent;
}

QtSoundCue::QtSoundCue(std::string name, const QString& resource)
    : name_(std::move(name)), silent_at_start_(SilentAtStart()) {
  if (!QFile::exists(resource)) {
    throw Failure(error_code::kSound, "The sound clip of " + name_ + " is missing");
  }
  effect_.setSource(QUrl(QStringLiteral("qrc") + resource));
}

void QtSoundCue::Play() {
  // No output device: the cue is silent and the action goes on.
  if (QMediaDevices::audioOutputs().isEmpty()) return;
  if (effect_.status() == QSoundEffect::Error) {
    throw Failure(error_code::kSound, "The sound clip of " + name_ + " could not be played");
  }
  // Starts the clip (or starts it again) and returns at once; a clip still loading plays once it
  // has loaded.
  effect_.play();
}

}  // namespace plumwick
