// D-Bus calls for the tests through dbus-send.
#include "tests/purple/dbus_send.h"

#include <sstream>
#include <stdexcept>

#include "tests/e2e/harness/run_command.h"

namespace plumwick::e2e {

namespace {

std::string TrimStart(const std::string& line) {
  const auto start = line.find_first_not_of(' ');
  return start == std::string::npos ? "" : line.substr(start);
}

}  // namespace

std::vector<std::string> DbusSend(const Environment& env, const DbusCall& call) {
  std::vector<std::string> argv{"dbus-send",
                                "--session",
                                "--print-reply",
                                "--reply-timeout=" + std::to_string(call.timeout.count()),
                                "--dest=" + call.destination,
                                call.object,
                                call.member};
  argv.insert(argv.end(), call.args.begin(), call.args.end());
  const CommandResult result = RunCommand(argv, env, call.timeout + std::chrono::seconds(5));
  if (!result.Ok()) {
    throw std::runtime_error("D-Bus call " + call.member + " failed (" + result.Describe() +
                             "): " + result.err);
  }
  std::vector<std::string> lines;
  std::istringstream in(result.out);
  std::string line;
  std::getline(in, line);  // "method return time=..."
  while (std::getline(in, line)) {
    if (line = TrimStart(line); !line.empty()) lines.push_back(line);
  }
  return lines;
}

bool BusNameHasOwner(const Environment& env, const std::string& name) {
  const auto lines = DbusSend(env, {.destination = "org.freedesktop.DBus",
                                    .object = "/org/freedesktop/DBus",
                                    .member = "org.freedesktop.DBus.NameHasOwner",
                                    .args = {"string:" + name}});
  return !lines.empty() && lines[0] == "boolean true";
}

std::vector<std::string> DbusStrings(const std::vector<std::string>& lines) {
  std::vector<std::string> strings;
  std::string text;
  bool open = false;
  for (const std::string& line : lines) {
    if (open) {
      text += "\n" + line;
    } else {
      std::string value = TrimStart(line);
      if (value.rfind("variant ", 0) == 0) value = TrimStart(value.substr(8));
      if (value.rfind("string \"", 0) != 0) continue;
      text = value.substr(8);
      open = true;
    }
    if (!text.empty() && text.back() == '"') {
      text.pop_back();
      strings.push_back(text);
      open = false;
    }
  }
  if (open) throw std::runtime_error("an unterminated string in D-Bus output: " + text);
  return strings;
}

}  // namespace plumwick::e2e
