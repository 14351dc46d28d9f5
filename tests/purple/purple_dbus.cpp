// Pidgin's D-Bus interface through dbus-send, for the tests.
#include "tests/purple/purple_dbus.h"

#include <stdexcept>
#include <utility>

#include "tests/purple/dbus_send.h"

namespace plumwick::e2e {

namespace {

constexpr const char* kService = "im.pidgin.purple.PurpleService";
constexpr const char* kObject = "/im/pidgin/purple/PurpleObject";
constexpr const char* kInterface = "im.pidgin.purple.PurpleInterface";

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
                                           const std::vector<std::string>& args) const {
  return DbusSend(env_, {.destination = kService,
                         .object = kObject,
                         .member = std::string(kInterface) + "." + method,
                         .args = args});
}

std::int32_t PurpleDbus::Int(const std::string& method,
                             const std::vector<std::string>& args) const {
  const auto lines = Reply(method, args);
  if (lines.size() != 1) throw std::runtime_error(method + " did not answer one int32");
  return ParseInt(lines[0]);
}

std::string PurpleDbus::String(const std::string& method,
                               const std::vector<std::string>& args) const {
  const auto strings = DbusStrings(Reply(method, args));
  if (strings.size() != 1) throw std::runtime_error(method + " did not answer one string");
  return strings[0];
}

std::vector<std::int32_t> PurpleDbus::Ints(const std::string& method,
                                           const std::vector<std::string>& args) const {
  const auto lines = Reply(method, args);
  std::vector<std::int32_t> values;
  for (const std::string& line : lines) {
    if (line.rfind("int32 ", 0) == 0) values.push_back(ParseInt(line));
  }
  return values;
}

void PurpleDbus::Call(const std::string& method, const std::vector<std::string>& args) const {
  Reply(method, args);
}

bool PurpleDbus::Running() const {
  return BusNameHasOwner(env_, kService);
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
