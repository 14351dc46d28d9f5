// A sound cue on QSoundEffect, playing one of the clips compiled in as Qt resources.
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
  std::string name_;
  QSoundEffect effect_;
};

}  // namespace plumwick
