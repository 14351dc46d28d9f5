// Playing a sound clip on the desktop's sound server through libpulse, which PulseAudio and
// PipeWire (pipewire-pulse) both serve. Every play opens a stream of its own on a connection of its
// own, so a play after the sound server has restarted, however long it was away, finds the new
// server; a reused stream decays (the server grants it a smaller buffer each time it is opened
// again) and a kept connection stays dead after a restart.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace plumwick {

// Uncompressed PCM samples and their format.
struct PcmClip {
  std::uint32_t rate = 0;
  std::uint8_t channels = 0;
  std::uint8_t bits = 0;  // 8 (unsigned) or 16 (signed, little-endian)
  std::string samples;    // whole frames
};

// The clip in a RIFF WAVE file of 8-bit or 16-bit PCM; nullopt for anything else.
std::optional<PcmClip> ReadWave(std::string_view file);

class PulseClipPlayer {
 public:
  // name: the cue's holder, for errors.
  PulseClipPlayer(std::string name, PcmClip clip);

  // Starts the clip and returns once the sound server has taken the stream, at most a second
  // later; the clip plays on to its end on a thread of its own, also past this object's life.
  // Without a sound server or an output device the cue is silent: one line on standard error says
  // so, once until a cue is heard again. Throws Failure when the server refuses the clip.
  void Play();

 private:
  std::string name_;
  std::shared_ptr<const PcmClip> clip_;
};

}  // namespace plumwick
