// A sound cue on QSoundEffect.
#include "platform/qt/qt_sound_cue.h"

#include <QAudioDevice>
#include <QFile>
#include <QMediaDevices>
#include <QUrl>

#include "platform/failure.h"

namespace plumwick {

QtSoundCue::QtSoundCue(std::string name, const QString& resource) : name_(std::move(name)) {
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
