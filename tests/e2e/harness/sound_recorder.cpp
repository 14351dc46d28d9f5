// Records what the session's programs play, from the null sink's monitor.
#include "tests/e2e/harness/sound_recorder.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <stdexcept>

#include "tests/e2e/harness/wait_until.h"

namespace plumwick::e2e {

namespace {

double RmsOf(const std::int16_t* begin, const std::int16_t* end) {
  if (begin == end) return 0;
  double sum = 0;
  for (const std::int16_t* s = begin; s != end; ++s) sum += static_cast<double>(*s) * *s;
  return std::sqrt(sum / static_cast<double>(end - begin)) / 32768.0;
}

// Whole samples only: the recorder may be in the middle of writing one.
std::uintmax_t RecordedBytes(const std::filesystem::path& file) {
  std::error_code ignored;
  const std::uintmax_t size = std::filesystem::file_size(file, ignored);
  return size == static_cast<std::uintmax_t>(-1) ? 0 : size & ~std::uintmax_t{1};
}

}  // namespace

double Recording::Rms() const {
  return RmsOf(samples.data(), samples.data() + samples.size());
}

double Recording::LoudestRms(std::chrono::milliseconds window) const {
  const auto length = static_cast<std::size_t>(kSampleRate * window.count() / 1000);
  if (length == 0 || samples.size() <= length) return Rms();
  double loudest = 0;
  // Half-overlapping windows: a cue cannot fall between two of them.
  for (std::size_t start = 0; start + length <= samples.size(); start += length / 2) {
    loudest = std::max(loudest, RmsOf(samples.data() + start, samples.data() + start + length));
  }
  return loudest;
}

SoundRecorder::SoundRecorder(const DesktopSession& session) : file_(session.MonitorFile()) {
  // The first samples of the session can take a couple of seconds (see DesktopSession).
  if (!WaitUntil([&] { return RecordedBytes(file_) > 0; }, std::chrono::seconds(10))) {
    throw std::runtime_error("the session's sound recording delivers no samples");
  }
  begin_ = RecordedBytes(file_);
}

Recording SoundRecorder::Read(std::uintmax_t end) const {
  Recording recording;
  if (end <= begin_) return recording;
  std::ifstream in(file_, std::ios::binary);
  in.seekg(static_cast<std::streamoff>(begin_));
  std::vector<char> bytes(end - begin_);
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  recording.samples.resize(static_cast<std::size_t>(in.gcount()) / sizeof(std::int16_t));
  // s16le into int16_t as it is: the harness runs on little-endian machines only.
  std::memcpy(recording.samples.data(), bytes.data(),
              recording.samples.size() * sizeof(std::int16_t));
  return recording;
}

Recording SoundRecorder::SoFar() const {
  return Read(end_.value_or(RecordedBytes(file_)));
}

bool SoundRecorder::WaitForSound(double rms, Clock::duration timeout,
                                 std::chrono::milliseconds window) const {
  return WaitUntil([&] { return SoFar().LoudestRms(window) > rms; }, timeout,
                   std::chrono::milliseconds(50));
}

Recording SoundRecorder::Stop() {
  if (!end_) end_ = RecordedBytes(file_);
  return SoFar();
}

}  // namespace plumwick::e2e
