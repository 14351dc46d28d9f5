// A sound cue on Qt Multimedia, playing one of the clips compiled in as Qt resources. The clip is
// read once; every play gets an output stream of its own, which goes away once the clip has been
// heard to its end. Without an audio output device the cues are silent, and the program says so
// in one line on standard error instead of Qt Multimedia's several warnings.
#pragma once

#include <string>

#include <QAudioFormat>
#include <QByteArray>
#include <QObject>
#include <QString>

#include "platform/sound_cue.h"

namespace plumwick {

class QtSoundCue final : public SoundCue {
 public:
  // name: the holder's name, for errors; resource: the clip, e.g. ":/cues/click.wav". Throws
  // Failure when the clip is missing or is not one this cue can play.
  QtSoundCue(std::string name, const QString& resource);
  void Play() override;

 private:
  std::string name_;
  QAudioFormat format_;
  QByteArray samples_;
  // The parent of the plays still sounding: they stop with the cue.
  QObject plays_;
};

}  // namespace plumwick
