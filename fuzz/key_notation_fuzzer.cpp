// libFuzzer target for the key notation. Beyond "does not crash" it checks what the synthesizer
// relies on: accepted strings give well-formed tokens that survive a write and re-read unchanged,
// and rejected strings fail only with the notation's own error, naming a position inside the input.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "keynotation/key_notation.h"
#include "platform/failure.h"

namespace {

using plumwick::KeyPress;
using plumwick::KeyText;
using plumwick::KeyToken;

void Check(bool holds, const char* property, std::string_view input) {
  if (holds) return;
  std::fprintf(stderr, "property broken: %s\ninput (%zu bytes): %.*s\n", property, input.size(),
               static_cast<int>(input.size()), input.data());
  std::abort();
}

bool WellFormed(const std::vector<KeyToken>& tokens) {
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    if (const auto* run = std::get_if<KeyText>(&tokens[i])) {
      if (run->empty()) return false;
      if (i > 0 && std::holds_alternative<KeyText>(tokens[i - 1])) return false;
      for (const char32_t c : *run) {
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
      }
    } else {
      const auto& press = std::get<KeyPress>(tokens[i]);
      if (press.count < 1 || press.count > plumwick::kMaxKeyRepeat) return false;
      if (plumwick::KeyName(press.key).empty()) return false;
    }
  }
  return true;
}

void CheckRejection(const plumwick::Failure& failure, std::string_view input) {
  Check(failure.code() == plumwick::error_code::kKeyNotation, "rejection has the notation's code",
        input);
  const std::string prefix = "at the ";
  const std::string description = failure.description();
  Check(description.compare(0, prefix.size(), prefix) == 0, "rejection names a position", input);
  // Characters are counted from 1, and there are never more of them than bytes.
  const unsigned long position = std::strtoul(description.c_str() + prefix.size(), nullptr, 10);
  Check(position >= 1 && position <= input.size(), "rejection position lies inside the input",
        input);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::vector<KeyToken> tokens;
  try {
    tokens = plumwick::ParseKeyNotation(input);
  } catch (const plumwick::Failure& failure) {
    CheckRejection(failure, input);
    return 0;
  } catch (...) {
    Check(false, "only plumwick::Failure is thrown", input);
  }

  Check(WellFormed(tokens), "tokens are well formed", input);
  const std::string written = plumwick::FormatKeyNotation(tokens);
  try {
    Check(plumwick::ParseKeyNotation(written) == tokens, "written tokens read back unchanged",
          input);
  } catch (...) {
    Check(false, "written tokens are accepted", input);
  }
  // Without braces nothing is special: the text comes back byte for byte.
  if (input.find_first_of("{}") == std::string_view::npos) {
    Check(written == input, "brace-free text passes through unchanged", input);
  }
  return 0;
}
