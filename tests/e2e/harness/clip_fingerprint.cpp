// Which sound clip a recording holds.
#include "tests/e2e/harness/clip_fingerprint.h"

#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <numbers>
#include <sstream>
#include <stdexcept>

namespace plumwick::e2e {

namespace {

// The clips' notes (C5 E5 G5 C6 E6 B6) and the octave above each, in hertz.
constexpr double kNotes[] = {523.25,  659.25,  783.99,  1046.50, 1318.51,
                             1975.53, 1567.98, 2093.00, 2637.02, 3951.07};

std::uint32_t Le(const std::string& bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) {
    value = (value << 8) | static_cast<unsigned char>(bytes.at(at + static_cast<std::size_t>(i)));
  }
  return value;
}

// The energy of the sound at one frequency (Goertzel's algorithm).
double EnergyAt(const Sound& sound, double frequency) {
  const double coefficient = 2 * std::cos(2 * std::numbers::pi * frequency / sound.rate);
  double previous = 0;
  double before = 0;
  for (const double sample : sound.samples) {
    const double current = sample + coefficient * previous - before;
    before = previous;
    previous = current;
  }
  return previous * previous + before * before - coefficient * previous * before;
}

}  // namespace

Sound ReadWave(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0) {
    throw std::runtime_error(file.string() + " is not a RIFF WAVE file");
  }
  int channels = 0;
  int bits = 0;
  Sound sound;
  for (std::size_t at = 12; at + 8 <= bytes.size();) {
    const std::string tag = bytes.substr(at, 4);
    const std::size_t size = Le(bytes, at + 4, 4);
    const std::size_t body = at + 8;
    if (tag == "fmt ") {
      channels = static_cast<int>(Le(bytes, body + 2, 2));
      sound.rate = static_cast<int>(Le(bytes, body + 4, 4));
      bits = static_cast<int>(Le(bytes, body + 14, 2));
    } else if (tag == "data" && channels > 0 && (bits == 8 || bits == 16)) {
      const std::size_t frame = static_cast<std::size_t>(channels * bits / 8);
      for (std::size_t f = body; f + frame <= body + size && f + frame <= bytes.size();
           f += frame) {
        sound.samples.push_back(bits == 8 ? (static_cast<double>(Le(bytes, f, 1)) - 128) / 128
                                          : static_cast<std::int16_t>(Le(bytes, f, 2)) / 32768.0);
      }
      return sound;
    }
    at = body + size + (size % 2);
  }
  throw std::runtime_error(file.string() + " has no PCM data of 8 or 16 bits");
}

Sound FromRecording(const Recording& recording) {
  Sound sound{.samples = {}, .rate = Recording::kSampleRate};
  sound.samples.reserve(recording.samples.size());
  for (const std::int16_t sample : recording.samples) sound.samples.push_back(sample / 32768.0);
  return sound;
}

std::vector<double> Fingerprint(const Sound& sound) {
  std::vector<double> spread;
  double length = 0;
  for (const double note : kNotes) {
    spread.push_back(std::sqrt(EnergyAt(sound, note)));
    length += spread.back() * spread.back();
  }
  length = std::sqrt(length);
  if (length > 0) {
    for (double& value : spread) value /= length;
  }
  return spread;
}

double Likeness(const std::vector<double>& a, const std::vector<double>& b) {
  double sum = 0;
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) sum += a[i] * b[i];
  return sum;
}

std::string ClipMatch::Describe() const {
  std::ostringstream text;
  text << "most like " << best << " (";
  for (const auto& [name, value] : likeness) text << name << " " << value << "; ";
  text << ")";
  return text.str();
}

ClipMatch MatchClip(const Recording& recording, const std::map<std::string, Sound>& clips) {
  const std::vector<double> heard = Fingerprint(FromRecording(recording));
  ClipMatch match;
  double best = -1;
  for (const auto& [name, clip] : clips) {
    const double likeness = Likeness(heard, Fingerprint(clip));
    match.likeness[name] = likeness;
    if (likeness > best) {
      best = likeness;
      match.best = name;
    }
  }
  return match;
}

}  // namespace plumwick::e2e
