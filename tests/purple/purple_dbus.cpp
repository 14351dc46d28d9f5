// Pidgin's D-Bus interface through dbus-send, for the tests.
#include "tests/purple/purple_dbus.h"

#include <sstream>
#include <stdexcept>
#include <utility>

#include "tests/e2e/harness/run_command.h"

namespace plumwick::e2e {

namespace {

constexpr const char* kService = "im.pidgin.purple.PurpleService";
constexpr const char* kObject = "/im/pidgin/purple/PurpleObject";
constexpr const char* kInterface = "im.pidgin.purple.PurpleInterface";

// The value lines of dbus-send's --print-reply output: "int32 5", "string "text"", "array [".
std::vector<std::string> ValueLines(const std::string& out) {
  std::vector<std::string> lines;
  std::istringstream in(out);
  std::string line;
  std::getline(in, line);  // "method return time=..."
  while (std::getline(in, line)) {
    const auto start = line.find_first_not_of(' ');
    if (start != std::string::npos) lines.push_back(line.substr(start));
  }
  return lines;
}

std::int32_t ParseInt(const std::string& line) {
  if (line.rfind("int32 ", 0) != 0) throw std::runtime_error("not an int32: " + line);
  return std::stoi(line.substr(6));
}

}  // namespace

std::string IntArg(std::int32_t value) {
  return "int32:" + std::to_string(value);
}

std::string StringArg(const std::string& value) {
  return "string:" + value;
}

std::vector<std::string> PurpleDbus::Reply(const std::string& method,
                                           const std::vector<std::string>& args,
                                           const std::string& destination,
                                           const std::string& object,
                                           const std::string& interface) const {
  std::vector<std::string> argv{"dbus-send",
                                "--session",
                                "--print-reply",
                                "--reply-timeout=5000",
                                "--dest=" + destination,
                                object,
                                interface + "." + method};
  argv.insert(argv.end(), args.begin(), args.end());
  const CommandResult result = RunCommand(argv, env_, std::chrono::seconds(10));
  if (!result.Ok()) {
    throw std::runtime_error("D-Bus call " + method + " failed (" + result.Describe() +
                             "): " + result.err);
  }
  return ValueLines(result.out);
}

std::int32_t PurpleDbus::Int(const std::string& method,
                             const std::vector<std::string>& args) const {
  const auto lines = Reply(method, args, kService, kObject, kInterface);
  if (lines.size() != 1) throw std::runtime_error(method + " did not answer one int32");
  return ParseInt(lines[0]);
}

std::string PurpleDbus::String(const std::string& method,
                               const std::vector<std::string>& args) const {
  const auto lines = Reply(method, args, kService, kObject, kInterface);
  if (lines.empty() || lines[0].rfind("string \"", 0) != 0) {
    throw std::runtime_error(method + " did not answer a string");
  }
  // dbus-send prints the string as it is between quotes; it may span lines.
  std::string text = lines[0].substr(8);
  for (std::size_t i = 1; i < lines.size(); ++i) text += "\n" + lines[i];
  if (text.empty() || text.back() != '"')
    throw std::runtime_error(method + ": unterminated string");
  text.pop_back();
  return text;
}

std::vector<std::int32_t> PurpleDbus::Ints(const std::string& method,
                                           const std::vector<std::string>& args) const {
  const auto lines = Reply(method, args, kService, kObject, kInterface);
  std::vector<std::int32_t> values;
  for (const std::string& line : lines) {
    if (line.rfind("int32 ", 0) == 0) values.push_back(ParseInt(line));
  }
  return values;
}

void PurpleDbus::Call(const std::string& method, const std::vector<std::string>& args) const {
  Reply(method, args, kService, kObject, kInterface);
}

bool PurpleDbus::Running() const {
  const auto lines = Reply("NameHasOwner", {StringArg(kService)}, "org.freedesktop.DBus",
                           "/org/freedesktop/DBus", "org.freedesktop.DBus");
  return !lines.empty() && lines[0] == "boolean true";
}

std::int32_t PurpleDbus::SignedOnAccount() const {
  for (const std::int32_t account : Ints("PurpleAccountsGetAllActive")) {
    if (Int("PurpleAccountIsConnected", {IntArg(account)}) != 0) return account;
  }
  return 0;
}

std::vector<std::string> PurpleDbus::ImConversations() const {
  std::vector<std::string> names;
  for (const std::int32_t conversation : Ints("PurpleGetIms")) {
    names.push_back(String("PurpleConversationGetName", {IntArg(conversation)}));
  }
  return names;
}

void PurpleDbus::SetStatus(std::int32_t primitive) const {
  std::int32_t saved =
      Int("PurpleSavedstatusFindTransientByTypeAndMessage", {IntArg(primitive), StringArg("")});
  if (saved == 0) saved = Int("PurpleSavedstatusNew", {StringArg(""), IntArg(primitive)});
  Call("PurpleSavedstatusActivate", {IntArg(saved)});
}

PidginPref::PidginPref(PurpleDbus dbus, std::string name, bool value)
    : dbus_(std::move(dbus)),
      name_(std::move(name)),
      was_(dbus_.Int("PurplePrefsGetBool", {StringArg(name_)})) {
  dbus_.Call("PurplePrefsSetBool", {StringArg(name_), IntArg(value ? 1 : 0)});
}

PidginPref::~PidginPref() {
  try {
    dbus_.Call("PurplePrefsSetBool", {StringArg(name_), IntArg(was_)});
  } catch (const std::exception&) {
    // Pidgin gone: nothing is left to set back.
  }
}

}  // namespace plumwick::e2e
