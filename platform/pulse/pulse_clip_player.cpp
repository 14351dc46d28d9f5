// Playing a sound clip through libpulse's simple API, one stream and connection per play.
#include "platform/pulse/pulse_clip_player.h"

#include <pulse/error.h>
#include <pulse/simple.h>

#include <chrono>
#include <cstdio>
#include <future>
#include <thread>
#include <utility>

#include "platform/failure.h"

namespace plumwick {
namespace {

std::uint32_t LittleEndian(std::string_view bytes, std::size_t at, std::size_t size) {
  std::uint32_t value = 0;
  for (std::size_t i = size; i-- > 0;)
    value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

// How long a click waits for the server to take a stream: it answers within milliseconds, and one
// that hangs must not hold up the click's action.
constexpr auto kOpenLimit = std::chrono::seconds(1);

// Whether the line that cues are silent has been said since a cue was last heard: one line for
// each time the sound goes away, not one for every click. Only the window's thread plays cues.
bool said_silent = false;

void SaySilent() {
  if (std::exchange(said_silent, true)) return;
  std::fprintf(stderr, "Sound cues are silent: no audio output device is available.\n");
}

// The errors that mean there is nothing to play on: no server (none runs, it has gone or it is
// restarting) or no output device on it.
bool NoOutput(int error) {
  switch (error) {
    case PA_ERR_CONNECTIONREFUSED:
    case PA_ERR_CONNECTIONTERMINATED:
    case PA_ERR_INVALIDSERVER:
    case PA_ERR_NOENTITY:
    case PA_ERR_TIMEOUT:
    case PA_ERR_KILLED:
      return true;
    default:
      return false;
  }
}

}  // namespace

std::optional<PcmClip> ReadWave(std::string_view file) {
  if (file.size() < 12 || file.substr(0, 4) != "RIFF" || file.substr(8, 4) != "WAVE") {
    return std::nullopt;
  }
  PcmClip clip;
  for (std::size_t at = 12; at + 8 <= file.size();) {
    const std::string_view id = file.substr(at, 4);
    const std::size_t size = LittleEndian(file, at + 4, 4);
    const std::size_t body = at + 8;
    if (size > file.size() - body) return std::nullopt;
    if (id == "fmt " && size >= 16) {
      constexpr std::uint32_t kPcm = 1;
      const std::uint32_t channels = LittleEndian(file, body + 2, 2);
      const std::uint32_t rate = LittleEndian(file, body + 4, 4);
      const std::uint32_t bits = LittleEndian(file, body + 14, 2);
      if (LittleEndian(file, body, 2) != kPcm || channels == 0 || channels > 8 || rate == 0 ||
          rate > 384000 || (bits != 8 && bits != 16)) {
        return std::nullopt;
      }
      clip.rate = rate;
      clip.channels = static_cast<std::uint8_t>(channels);
      clip.bits = static_cast<std::uint8_t>(bits);
    } else if (id == "data") {
      if (clip.rate == 0) return std::nullopt;
      const std::size_t frame = clip.channels * clip.bits / 8U;
      const std::size_t length = size - size % frame;
      if (length == 0) return std::nullopt;
      clip.samples = std::string(file.substr(body, length));
      return clip;
    }
    at = body + size + size % 2;  // chunks are padded to an even length
  }
  return std::nullopt;
}

PulseClipPlayer::PulseClipPlayer(std::string name, PcmClip clip)
    : name_(std::move(name)), clip_(std::make_shared<const PcmClip>(std::move(clip))) {}

void PulseClipPlayer::Play() {
  // Opening the stream takes a few round trips to the server, and writing and draining it lasts as
  // long as the clip: all of it on a thread of the play's own, which the window's thread waits for
  // only until the server has answered the opening.
  auto opened = std::make_shared<std::promise<int>>();
  std::future<int> answer = opened->get_future();
  std::thread([clip = clip_, name = name_, opened] {
    const pa_sample_spec sample_format{clip->bits == 8 ? PA_SAMPLE_U8 : PA_SAMPLE_S16LE, clip->rate,
                                       clip->channels};
    int error = 0;
    pa_simple* stream = pa_simple_new(nullptr, "Plumwick", PA_STREAM_PLAYBACK, nullptr,
                                      name.c_str(), &sample_format, nullptr, nullptr, &error);
    opened->set_value(stream == nullptr ? error : PA_OK);
    if (stream == nullptr) return;
    // Drained before it is freed: freeing at once would cut off what the server still holds.
    if (pa_simple_write(stream, clip->samples.data(), clip->samples.size(), &error) == 0) {
      pa_simple_drain(stream, &error);
    }
    pa_simple_free(stream);
  }).detach();

  if (answer.wait_for(kOpenLimit) != std::future_status::ready) return SaySilent();
  const int error = answer.get();
  if (error == PA_OK) {
    said_silent = false;
    return;
  }
  if (NoOutput(error)) return SaySilent();
  throw Failure(error_code::kSound,
                "The sound clip of " + name_ + " could not be played: " + pa_strerror(error));
}

}  // namespace plumwick
