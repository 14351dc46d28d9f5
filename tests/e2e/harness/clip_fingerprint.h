// Which sound clip a recording holds. Each clip is a few bell notes; its fingerprint is how its
// energy spreads over the notes the clips are made of and their first overtones. A recording of
// the sink's monitor, resampled and quieter or louder, keeps the spread of the clip it holds, so
// the clip whose fingerprint is closest names what was played.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "tests/e2e/harness/sound_recorder.h"

namespace plumwick::e2e {

struct Sound {
  std::vector<double> samples;  // mono, full scale 1.0
  int rate = 0;                 // samples per second
};

// A PCM RIFF WAVE file (8 or 16 bits, any channel count) as its first channel; throws
// std::runtime_error when it is not one.
Sound ReadWave(const std::filesystem::path& file);
Sound FromRecording(const Recording& recording);

// The spread of the sound's energy over the notes, as a unit vector.
std::vector<double> Fingerprint(const Sound& sound);

// How alike two fingerprints are: 1 for the same spread, 0 for nothing in common.
double Likeness(const std::vector<double>& a, const std::vector<double>& b);

// The name of the clip most like the recording, and how alike each clip is, for messages.
struct ClipMatch {
  std::string best;
  std::map<std::string, double> likeness;
  std::string Describe() const;
};
ClipMatch MatchClip(const Recording& recording, const std::map<std::string, Sound>& clips);

}  // namespace plumwick::e2e
