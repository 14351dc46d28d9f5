// What a test receiver window reports for each Enter: which of its two line edits had the focus,
// and the text of both. Shared by the receiver in another process and the one in the test's own.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace plumwick::x11_test {

struct TypedEntry {
  std::string which;  // "first" or "second"
  std::string first;
  std::string second;
  bool operator==(const TypedEntry&) const = default;
};

// What one Enter in the first line edit reports.
inline std::vector<TypedEntry> OneLine(std::string text) {
  return {TypedEntry{"first", std::move(text), ""}};
}

// The receiver program's output line: which, first and second separated by \x1f.
std::optional<TypedEntry> ParseTypedEntry(const std::string& line);

inline std::ostream& operator<<(std::ostream& out, const TypedEntry& entry) {
  return out << "{" << entry.which << ": \"" << entry.first << "\" | \"" << entry.second << "\"}";
}

}  // namespace plumwick::x11_test
