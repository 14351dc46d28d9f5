// XMPP addresses as users type them.
#include "clients/purple/xmpp_address.h"

#include <cstddef>
#include <string>

#include "keynotation/key_notation.h"

namespace plumwick::purple {

namespace {

// The longest name or server part a server takes, in bytes.
constexpr std::size_t kMaxPart = 1023;

// Characters no name part may hold (the server's rules for the part before the @).
constexpr std::string_view kNotInName = "\"&'/:<>@";

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// The position of byte `at` counted in characters, for the message.
std::size_t CharacterAt(std::string_view text, std::size_t at) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < at; ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0U) != 0x80U) ++count;
  }
  return count;
}

std::string At(std::string_view text, std::size_t at) {
  return "at the " + Ordinal(CharacterAt(text, at) + 1) + " character, ";
}

bool IsControl(char c) {
  return static_cast<unsigned char>(c) < 0x20U || c == 0x7F;
}

std::string Named(char c) {
  if (c == ' ') return "a space";
  if (IsControl(c)) return "a control character";
  return std::string("\"") + c + "\"";
}

// The first character of `part` (which starts at `offset` of `text`) that the part may not hold.
std::string Forbidden(std::string_view text, std::size_t offset, std::string_view part,
                      std::string_view not_allowed, const char* where) {
  for (std::size_t i = 0; i < part.size(); ++i) {
    const char c = part[i];
    if (c == ' ' || IsControl(c) || not_allowed.find(c) != std::string_view::npos) {
      return At(text, offset + i) + Named(c) + " cannot be part of " + where;
    }
  }
  return "";
}

std::string ServerProblem(std::string_view text, std::size_t offset, std::string_view server) {
  if (server.empty()) return "an address needs a server after the @ (name@server)";
  if (server.size() > kMaxPart) return "the server's name is longer than a server takes";
  // An IPv6 address in brackets is a server too.
  if (server.front() == '[' && server.back() == ']') return "";
  std::string problem = Forbidden(text, offset, server, "\"&'/:<>@[]", "a server's name");
  if (!problem.empty()) return problem;
  for (std::size_t i = 0; i < server.size(); ++i) {
    const bool label_starts = i == 0 || server[i - 1] == '.';
    if (server[i] == '.' && label_starts) {
      return At(text, offset + i) + "the server's name has an empty part between dots";
    }
  }
  if (server.back() == '.') return "the server's name ends with a dot";
  return "";
}

}  // namespace

XmppAddress ReadXmppAddress(std::string_view typed) {
  std::size_t first = 0;
  std::size_t end = typed.size();
  while (first < end && IsSpace(typed[first])) ++first;
  while (end > first && IsSpace(typed[end - 1])) --end;
  const std::string_view text = typed.substr(first, end - first);
  if (text.empty()) return {"", "the address is empty"};

  // The resource comes after the first slash and may hold anything; the rest is name@server.
  const std::size_t slash = text.find('/');
  const std::string_view bare = text.substr(0, slash);
  if (slash != std::string_view::npos && slash + 1 == text.size()) {
    return {"", "nothing follows the / at the end"};
  }
  const std::size_t at = bare.find('@');
  if (at == std::string_view::npos) {
    std::string problem = Forbidden(text, 0, bare, "", "an address");
    if (problem.empty()) problem = "an address has the form name@server, and this has no @";
    return {"", problem};
  }
  const std::string_view name = bare.substr(0, at);
  if (name.empty()) return {"", "an address needs a name before the @ (name@server)"};
  if (name.size() > kMaxPart) return {"", "the name before the @ is longer than a server takes"};
  std::string problem = Forbidden(text, 0, name, kNotInName, "the name before the @");
  if (problem.empty()) problem = ServerProblem(text, at + 1, bare.substr(at + 1));
  if (!problem.empty()) return {"", problem};
  return {std::string(bare), ""};
}

}  // namespace plumwick::purple
