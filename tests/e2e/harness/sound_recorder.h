// Records what the session's programs play, from the null sink's monitor, to prove that a sound
// cue really played: compare loudness, never the length of the recording.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "tests/e2e/harness/child_process.h"
#include "tests/e2e/harness/desktop_session.h"

namespace plumwick::e2e {

struct Recording {
  static constexpr int kSampleRate = DesktopSession::kMonitorRate;
  std::vector<std::int16_t> samples;  // mono

  double Seconds() const { return static_cast<double>(samples.size()) / kSampleRate; }
  // Root mean square over all samples, 1.0 being a full-scale square wave; 0 when empty.
  double Rms() const;
  // The highest RMS of any stretch of `window` length: a short cue inside a long recording still
  // shows up clearly.
  double LoudestRms(std::chrono::milliseconds window) const;
};

// The part of the session's sound from the recorder's construction on.
class SoundRecorder {
 public:
  // Returns once the session's recording runs, so nothing played afterwards can be missed.
  explicit SoundRecorder(const DesktopSession& session);

  // What has been recorded until now; recording goes on.
  Recording SoFar() const;
  // Waits until some stretch of `window` length is louder than `rms`.
  bool WaitForSound(double rms, Clock::duration timeout,
                    std::chrono::milliseconds window = std::chrono::milliseconds(50)) const;
  // The recording up to now; later calls return the same.
  Recording Stop();

 private:
  Recording Read(std::uintmax_t end) const;

  std::filesystem::path file_;
  std::uintmax_t begin_ = 0;
  std::optional<std::uintmax_t> end_;  // set by Stop()
};

}  // namespace plumwick::e2e
