// Writes the artwork's file formats byte by byte: the bitmap, the icon and the PNG. Nothing is
// compressed, which keeps the writers small and the files byte-for-byte predictable.
#include <algorithm>
#include <array>
#include <stdexcept>

#include "artwork.h"

namespace artwork {
namespace {

constexpr std::uint32_t kPixelsPerMetre = 3780;  // 96 dpi

void PutLe(Bytes& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void PutBe(Bytes& out, std::uint32_t value) {
  for (int i = 3; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void PutInfoHeader(Bytes& out, int width, int height, int bits, std::uint32_t image_bytes,
                   std::uint32_t pixels_per_metre) {
  PutLe(out, 40, 4);
  PutLe(out, static_cast<std::uint32_t>(width), 4);
  PutLe(out, static_cast<std::uint32_t>(height), 4);
  PutLe(out, 1, 2);  // planes
  PutLe(out, static_cast<std::uint32_t>(bits), 2);
  PutLe(out, 0, 4);  // BI_RGB
  PutLe(out, image_bytes, 4);
  PutLe(out, pixels_per_metre, 4);
  PutLe(out, pixels_per_metre, 4);
  PutLe(out, 0, 4);  // colours used: all the bit count allows
  PutLe(out, 0, 4);  // all colours important
}

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size) {
  static const auto table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  std::uint32_t c = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < size; ++i) c = table[(c ^ data[i]) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

std::uint32_t Adler32(const Bytes& data) {
  std::uint32_t a = 1, b = 0;
  for (std::uint8_t byte : data) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  return (b << 16) | a;
}

void PutChunk(Bytes& out, const char* type, const Bytes& body) {
  PutBe(out, static_cast<std::uint32_t>(body.size()));
  const std::size_t crc_from = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), body.begin(), body.end());
  PutBe(out, Crc32(out.data() + crc_from, out.size() - crc_from));
}

}  // namespace

Bytes EncodeBmp(const Image& image) {
  const int row_bytes = (image.width() * 3 + 3) / 4 * 4;
  const auto pixel_bytes = static_cast<std::uint32_t>(row_bytes * image.height());
  Bytes out;
  out.push_back('B');
  out.push_back('M');
  PutLe(out, 14 + 40 + pixel_bytes, 4);
  PutLe(out, 0, 4);  // reserved
  PutLe(out, 14 + 40, 4);
  PutInfoHeader(out, image.width(), image.height(), 24, pixel_bytes, kPixelsPerMetre);
  for (int y = image.height() - 1; y >= 0; --y) {
    for (int x = 0; x < image.width(); ++x) {
      const Rgb& p = image.at(x, y);
      out.insert(out.end(), {p.b, p.g, p.r});
    }
    out.resize(out.size() + static_cast<std::size_t>(row_bytes - image.width() * 3), 0);
  }
  return out;
}

Bytes EncodeIco(const Icon& icon) {
  const Image& image = icon.colours;
  const int w = image.width(), h = image.height();
  // Index 0 stays black for the masked pixels: where the AND mask lets the screen through, the
  // XOR colour must be black or it would tint what is behind.
  std::vector<Rgb> palette{{0, 0, 0}};
  std::vector<std::uint8_t> indices(static_cast<std::size_t>(w * h), 0);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (!icon.IsOpaque(x, y)) continue;
      const Rgb& p = image.at(x, y);
      std::size_t i = 1;
      while (i < palette.size() && !(palette[i] == p)) ++i;
      if (i == palette.size()) {
        if (palette.size() == 256) throw std::runtime_error("icon uses more than 255 colours");
        palette.push_back(p);
      }
      indices[static_cast<std::size_t>(y * w + x)] = static_cast<std::uint8_t>(i);
    }
  }
  palette.resize(256, Rgb{0, 0, 0});

  const int xor_row = (w + 3) / 4 * 4;
  const int and_row = (w + 31) / 32 * 4;
  const auto image_bytes = static_cast<std::uint32_t>((xor_row + and_row) * h);
  const std::uint32_t resource_bytes = 40 + 256 * 4 + image_bytes;

  Bytes out;
  PutLe(out, 0, 2);  // reserved
  PutLe(out, 1, 2);  // type: icon
  PutLe(out, 1, 2);  // one image
  out.push_back(static_cast<std::uint8_t>(w));
  out.push_back(static_cast<std::uint8_t>(h));
  out.push_back(0);  // colour count 0: 256 colours
  out.push_back(0);  // reserved
  PutLe(out, 1, 2);  // planes
  PutLe(out, 8, 2);  // bits per pixel
  PutLe(out, resource_bytes, 4);
  PutLe(out, 6 + 16, 4);

  // An icon's header gives twice the height: the colour rows followed by the mask rows.
  PutInfoHeader(out, w, 2 * h, 8, image_bytes, 0);
  for (const Rgb& p : palette) out.insert(out.end(), {p.b, p.g, p.r, 0});
  for (int y = h - 1; y >= 0; --y) {
    for (int x = 0; x < w; ++x) out.push_back(indices[static_cast<std::size_t>(y * w + x)]);
    out.resize(out.size() + static_cast<std::size_t>(xor_row - w), 0);
  }
  for (int y = h - 1; y >= 0; --y) {
    Bytes row(static_cast<std::size_t>(and_row), 0);
    for (int x = 0; x < w; ++x)
      if (!icon.IsOpaque(x, y)) row[static_cast<std::size_t>(x / 8)] |= 0x80 >> (x % 8);
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

Bytes EncodePng(const Icon& icon) {
  const Image& image = icon.colours;
  Bytes raw;
  for (int y = 0; y < image.height(); ++y) {
    raw.push_back(0);  // filter: none
    for (int x = 0; x < image.width(); ++x) {
      const bool opaque = icon.IsOpaque(x, y);
      const Rgb p = opaque ? image.at(x, y) : Rgb{0, 0, 0};
      raw.insert(raw.end(), {p.r, p.g, p.b, static_cast<std::uint8_t>(opaque ? 255 : 0)});
    }
  }

  // zlib stream of stored deflate blocks, each at most 65535 bytes.
  Bytes zlib{0x78, 0x01};
  for (std::size_t at = 0; at < raw.size() || at == 0; at += 65535) {
    const std::size_t size = std::min<std::size_t>(65535, raw.size() - at);
    zlib.push_back(at + size == raw.size() ? 1 : 0);  // BFINAL, BTYPE 00
    PutLe(zlib, static_cast<std::uint32_t>(size), 2);
    PutLe(zlib, static_cast<std::uint32_t>(~size & 0xFFFF), 2);
    zlib.insert(zlib.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
                raw.begin() + static_cast<std::ptrdiff_t>(at + size));
  }
  PutBe(zlib, Adler32(raw));

  Bytes header;
  PutBe(header, static_cast<std::uint32_t>(image.width()));
  PutBe(header, static_cast<std::uint32_t>(image.height()));
  header.insert(header.end(), {8, 6, 0, 0, 0});  // 8-bit RGBA, deflate, no filter, no interlace
  Bytes out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  PutChunk(out, "IHDR", header);
  PutChunk(out, "IDAT", zlib);
  PutChunk(out, "IEND", {});
  return out;
}

}  // namespace artwork
