// The sound cues as generated: RIFF WAVE files whose chunks agree with each other, which the
// program's own reader plays whole, and which are not silent.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/pulse/pulse_clip_player.h"

namespace plumwick {
namespace {

std::vector<std::uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t Le(const std::vector<std::uint8_t>& bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i)
    value = (value << 8) | bytes.at(at + static_cast<std::size_t>(i));
  return value;
}

std::string Tag(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return {bytes.begin() + static_cast<std::ptrdiff_t>(at),
          bytes.begin() + static_cast<std::ptrdiff_t>(at) + 4};
}

TEST(SoundCues, AreWholePcmClipsWithAFactChunkThatTheProgramReadsAndAreAudible) {
  for (const char* name : {"start", "sign_out", "click"}) {
    SCOPED_TRACE(name);
    const auto wav = ReadFile(std::string(PLUMWICK_CLIPS_DIR) + "/" + name + ".wav");
    ASSERT_GT(wav.size(), 44u);
    ASSERT_EQ(Tag(wav, 0), "RIFF");
    EXPECT_EQ(Le(wav, 4, 4), wav.size() - 8);
    ASSERT_EQ(Tag(wav, 8), "WAVE");

    // Walk the chunks: fmt, fact and data must all be there and agree with each other.
    std::uint32_t channels = 0, rate = 0, bits = 0, block_align = 0, frames_in_fact = 0;
    std::size_t data_at = 0, data_size = 0, end = 12;
    for (std::size_t at = 12; at + 8 <= wav.size();) {
      const std::string tag = Tag(wav, at);
      const std::uint32_t size = Le(wav, at + 4, 4);
      if (tag == "fmt ") {
        EXPECT_EQ(Le(wav, at + 8, 2), 1u) << "uncompressed PCM";
        channels = Le(wav, at + 10, 2);
        rate = Le(wav, at + 12, 4);
        block_align = Le(wav, at + 20, 2);
        bits = Le(wav, at + 22, 2);
        EXPECT_EQ(block_align, channels * bits / 8);
        EXPECT_EQ(Le(wav, at + 16, 4), rate * block_align) << "bytes a second";
      } else if (tag == "fact") {
        EXPECT_EQ(size, 4u);
        frames_in_fact = Le(wav, at + 8, 4);
      } else if (tag == "data") {
        data_at = at + 8;
        data_size = size;
      }
      at += 8 + size + size % 2;
      end = at;
    }
    EXPECT_EQ(end, wav.size()) << "the chunks fill the file";
    ASSERT_GT(block_align, 0u) << "no fmt chunk";
    ASSERT_GT(data_size, 0u) << "no data chunk";
    EXPECT_EQ(data_size % block_align, 0u) << "whole frames";
    EXPECT_EQ(frames_in_fact, data_size / block_align) << "fact repeats the sample count";

    // The program's own reader takes all of it, in that format: the cue plays whole.
    const auto clip = ReadWave(std::string(wav.begin(), wav.end()));
    ASSERT_TRUE(clip) << "the program cannot play it";
    EXPECT_EQ(clip->rate, rate);
    EXPECT_EQ(clip->channels, channels);
    EXPECT_EQ(clip->bits, bits);
    EXPECT_EQ(clip->samples.size(), data_size);

    // Not silence: the samples swing clearly around the centre.
    double sum = 0;
    const std::size_t step = bits / 8, samples = data_size / step;
    for (std::size_t at = data_at; at < data_at + data_size; at += step) {
      const double v =
          bits == 8 ? (wav[at] - 128) / 128.0 : static_cast<std::int16_t>(Le(wav, at, 2)) / 32768.0;
      sum += v * v;
    }
    EXPECT_GT(std::sqrt(sum / static_cast<double>(samples)), 0.05);
  }
}

}  // namespace
}  // namespace plumwick
