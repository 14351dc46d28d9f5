// A sound cue on QSoundEffect, playing one of the clips compiled in as Qt resources. Without an
// audio output device the cues are silent, and the program says so once on standard error, in one
// line, instead of Qt Multimedia's several warnings.
#pragma once

#include <string>

#include <QSoundEffect>

#include "platform/sound_cue.h"

namespace plumwick {

class QtSoundCue final : public SoundCue {
 public:
  // name: the holder's name, for errors; resource: the clip, e.g. ":/cues/click.wav".
  QtSoundCue(std::string name, const QString& resource);
  void Play() override;

 private:
  // Whether there was no audio output device when the first cue was made. The first call holds
  // back Qt Multimedia's own no-device warnings and, without a device, says that cues are silent.
  static bool SilentAtStart();

  std::string name_;
  bool silent_at_start_;  // made before the effect: the warnings are held back before it speaks
  QSoundEffect effect_;
};

}  // namespace plumwick
