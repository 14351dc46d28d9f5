// Text to match literally inside a regular expression (ECMAScript for output lines, POSIX
// extended for xdotool's window names): sign-in names and captions are full of dots.
#pragma once

#include <string>
#include <string_view>

namespace plumwick::e2e {

inline std::string LiteralPattern(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (std::string_view(".[]()*+?{}|^$\\").find(c) != std::string_view::npos) out += '\\';
    out += c;
  }
  return out;
}

}  // namespace plumwick::e2e
