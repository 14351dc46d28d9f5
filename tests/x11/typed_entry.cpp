// What a test receiver window reports for each Enter.
#include "tests/x11/typed_entry.h"

namespace plumwick::x11_test {

std::optional<TypedEntry> ParseTypedEntry(const std::string& line) {
  const auto a = line.find('\x1f');
  if (a == std::string::npos) return std::nullopt;
  const auto b = line.find('\x1f', a + 1);
  if (b == std::string::npos || line.find('\x1f', b + 1) != std::string::npos) return std::nullopt;
  return TypedEntry{line.substr(0, a), line.substr(a + 1, b - a - 1), line.substr(b + 1)};
}

}  // namespace plumwick::x11_test
