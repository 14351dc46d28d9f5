// Makes the three sound cues as PCM RIFF WAVE files with a "fact" chunk, in the exact formats the
// window's sound holders carry: start-up (start_cue), sign-out and exit (sign_out_cue) and click
// (click_cue). Usage: generate_clips OUTPUT_DIR
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <string>
#include <vector>

#include "write_file.h"

namespace {

struct Note {
  double start, length, frequency;  // seconds, seconds, hertz
};

struct ClipFormat {
  std::uint16_t channels;
  std::uint32_t sample_rate;
  std::uint16_t bits;
  std::uint32_t data_bytes;
};

// A soft bell-like tone: a sine with one overtone, quick attack and exponential decay.
double Voice(const std::vector<Note>& notes, double t) {
  double sum = 0;
  for (const Note& note : notes) {
    const double u = t - note.start;
    if (u < 0 || u >= note.length) continue;
    const double attack = std::min(1.0, u / 0.01);
    const double release = std::min(1.0, (note.length - u) / 0.03);
    const double decay = std::exp(-3.0 * u / note.length);
    const double phase = 2 * std::numbers::pi * note.frequency * u;
    sum += attack * release * decay * (0.8 * std::sin(phase) + 0.2 * std::sin(2 * phase));
  }
  return sum;
}

void PutLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void PutTag(std::vector<std::uint8_t>& out, const char* tag) {
  out.insert(out.end(), tag, tag + 4);
}

std::vector<std::uint8_t> MakeClip(const ClipFormat& format, const std::vector<Note>& notes,
                                   double volume, double stereo_spread) {
  const std::uint16_t block_align = format.channels * format.bits / 8;
  const std::uint32_t frames = format.data_bytes / block_align;

  std::vector<std::uint8_t> data;
  data.reserve(format.data_bytes);
  for (std::uint32_t frame = 0; frame < frames; ++frame) {
    const double t = static_cast<double>(frame) / format.sample_rate;
    const double value = volume * Voice(notes, t);
    for (std::uint16_t channel = 0; channel < format.channels; ++channel) {
      // The second channel runs a little behind the first, which widens the click.
      const double v = channel == 0 ? value : volume * Voice(notes, t - stereo_spread);
      const double clipped = std::max(-1.0, std::min(1.0, v));
      if (format.bits == 8) {
        data.push_back(static_cast<std::uint8_t>(std::lround(128 + 127 * clipped)));
      } else {
        PutLe(data,
              static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(32767 * clipped))),
              2);
      }
    }
  }

  std::vector<std::uint8_t> fmt;
  PutLe(fmt, 1, 2);  // PCM
  PutLe(fmt, format.channels, 2);
  PutLe(fmt, format.sample_rate, 4);
  PutLe(fmt, format.sample_rate * block_align, 4);
  PutLe(fmt, block_align, 2);
  PutLe(fmt, format.bits, 2);

  const bool pad = data.size() % 2 == 1;  // RIFF chunks start on even offsets
  std::vector<std::uint8_t> file;
  PutTag(file, "RIFF");
  PutLe(file, static_cast<std::uint32_t>(4 + (8 + fmt.size()) + (8 + 4) + (8 + data.size() + pad)),
        4);
  PutTag(file, "WAVE");
  PutTag(file, "fmt ");
  PutLe(file, static_cast<std::uint32_t>(fmt.size()), 4);
  file.insert(file.end(), fmt.begin(), fmt.end());
  PutTag(file, "fact");
  PutLe(file, 4, 4);
  PutLe(file, frames, 4);
  PutTag(file, "data");
  PutLe(file, static_cast<std::uint32_t>(data.size()), 4);
  file.insert(file.end(), data.begin(), data.end());
  if (pad) file.push_back(0);
  return file;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
    return 2;
  }
  const std::string dir = argv[1];
  // Start-up: a rising major arpeggio that rings out.
  const auto startup = MakeClip(
      {1, 11025, 8, 23388},
      {{0.00, 0.60, 523.25}, {0.18, 0.60, 659.25}, {0.36, 0.70, 783.99}, {0.54, 1.55, 1046.50}},
      0.45, 0);
  // Sign-out and exit: two falling notes.
  const auto signout =
      MakeClip({1, 11025, 8, 10533}, {{0.00, 0.45, 783.99}, {0.30, 0.65, 523.25}}, 0.5, 0);
  // Click: a short bright blip with a soft tail.
  const auto click =
      MakeClip({2, 48000, 16, 171084}, {{0.00, 0.25, 1318.51}, {0.06, 0.83, 1975.53}}, 0.35, 0.004);
  const bool ok = plumwick::assets::WriteFile(dir + "/start.wav", startup) &&
                  plumwick::assets::WriteFile(dir + "/sign_out.wav", signout) &&
                  plumwick::assets::WriteFile(dir + "/click.wav", click);
  if (!ok) std::fprintf(stderr, "%s: could not write the clips to %s\n", argv[0], dir.c_str());
  return ok ? 0 : 1;
}
