// A sound cue playing one of the clips compiled in as Qt resources on the desktop's sound server.
// The clip is read once; every play gets a stream of its own. Without a sound server or an output
// device the cues are silent, and the program says so in one line on standard error.
#pragma once

#include <string>

#include <QString>

#include "platform/pulse/pulse_clip_player.h"
#include "platform/sound_cue.h"

namespace plumwick {

class QtSoundCue final : public SoundCue {
 public:
  // name: the holder's name, for errors; resource: the clip, e.g. ":/cues/click.wav". Throws
  // Failure when the clip is missing or is not one this cue can play.
  QtSoundCue(const std::string& name, const QString& resource);
  void Play() override { player_.Play(); }

 private:
  PulseClipPlayer player_;
};

}  // namespace plumwick
