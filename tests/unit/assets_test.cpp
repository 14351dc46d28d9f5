// The sound cues as generated: every byte-level fact of their RIFF WAVE format.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

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

struct Clip {
  const char* name;
  std::uint32_t channels, rate, bits, block_align, data_bytes;
  double seconds;
};

TEST(SoundCues, HaveTheExactFormatsWithAFactChunkAndAreAudible) {
  const Clip clips[] = {
      {"start", 1, 11025, 8, 1, 23388, 2.12},
      {"sign_out", 1, 11025, 8, 1, 10533, 0.96},
      {"click", 2, 48000, 16, 4, 171084, 0.89},
  };
  for (const Clip& clip : clips) {
    SCOPED_TRACE(clip.name);
    const auto wav = ReadFile(std::string(PLUMWICK_CLIPS_DIR) + "/" + clip.name + ".wav");
    ASSERT_GT(wav.size(), 44u);
    ASSERT_EQ(Tag(wav, 0), "RIFF");
    EXPECT_EQ(Le(wav, 4, 4), wav.size() - 8);
    ASSERT_EQ(Tag(wav, 8), "WAVE");

    // Walk the chunks: fmt, fact and data must all be there.
    std::uint32_t frames_in_fact = 0;
    std::size_t data_at = 0, data_size = 0;
    bool fmt_seen = false;
    for (std::size_t at = 12; at + 8 <= wav.size();) {
      const std::string tag = Tag(wav, at);
      const std::uint32_t size = Le(wav, at + 4, 4);
      if (tag == "fmt ") {
        fmt_seen = true;
        EXPECT_EQ(Le(wav, at + 8, 2), 1u) << "uncompressed PCM";
        EXPECT_EQ(Le(wav, at + 10, 2), clip.channels);
        EXPECT_EQ(Le(wav, at + 12, 4), clip.rate);
        EXPECT_EQ(Le(wav, at + 16, 4), clip.rate * clip.block_align);
        EXPECT_EQ(Le(wav, at + 20, 2), clip.block_align);
        EXPECT_EQ(Le(wav, at + 22, 2), clip.bits);
      } else if (tag == "fact") {
        EXPECT_EQ(size, 4u);
        frames_in_fact = Le(wav, at + 8, 4);
      } else if (tag == "data") {
        data_at = at + 8;
        data_size = size;
      }
      at += 8 + size + size % 2;
    }
    ASSERT_TRUE(fmt_seen);
    EXPECT_EQ(data_size, clip.data_bytes);
    EXPECT_EQ(frames_in_fact, clip.data_bytes / clip.block_align)
        << "fact repeats the sample count";
    EXPECT_NEAR(static_cast<double>(frames_in_fact) / clip.rate, clip.seconds, 0.005);

    // Not silence: the samples swing clearly around the centre.
    double sum = 0;
    const std::size_t step = clip.bits / 8;
    for (std::size_t at = data_at; at < data_at + data_size; at += step) {
      const double v = clip.bits == 8 ? (wav[at] - 128) / 128.0
                                      : static_cast<std::int16_t>(Le(wav, at, 2)) / 32768.0;
      sum += v * v;
    }
    EXPECT_GT(std::sqrt(sum / static_cast<double>(data_size / step)), 0.05);
  }
}

}  // namespace
