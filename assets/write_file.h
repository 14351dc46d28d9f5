// Writes a generated asset's bytes to a file: the one output step the asset generators share.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace plumwick::assets {

// False when the file could not be written whole.
inline bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace plumwick::assets
