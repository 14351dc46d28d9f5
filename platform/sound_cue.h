// One embedded sound clip. Playing starts it and returns at once. With no audio output device the
// cue is silent; a clip that cannot be played while a device exists is a failure.
#pragma once

namespace plumwick {

class SoundCue {
 public:
  virtual ~SoundCue() = default;
  virtual void Play() = 0;
};

}  // namespace plumwick
