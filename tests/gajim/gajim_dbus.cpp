// Gajim's remote interface through dbus-send and dbus-monitor, for the tests.
#include "tests/gajim/gajim_dbus.h"

#include <algorithm>
#include <stdexcept>

#include "tests/purple/dbus_send.h"

namespace plumwick::e2e {

namespace {

constexpr const char* kService = "org.gajim.Gajim";
constexpr const char* kObject = "/org/gajim/dbus/RemoteObject";
constexpr const char* kInterface = "org.gajim.dbus.RemoteInterface";

std::string StringArg(const std::string& value) {
  return "string:" + value;
}

bool IsTrue(const std::vector<std::string>& lines) {
  return lines.size() == 1 && lines[0] == "boolean true";
}

}  // namespace

std::vector<std::string> GajimDbus::Call(const std::string& method,
                                         const std::vector<std::string>& args) const {
  return DbusSend(env_, {.destination = kService,
                         .object = kObject,
                         .member = std::string(kInterface) + "." + method,
                         .args = args});
}

bool GajimDbus::Running() const {
  return BusNameHasOwner(env_, kService);
}

std::vector<std::string> GajimDbus::Accounts() const {
  return DbusStrings(Call("list_accounts"));
}

std::string GajimDbus::Status(const std::string& account) const {
  const auto strings = DbusStrings(Call("get_status", {StringArg(account)}));
  if (strings.size() != 1) throw std::runtime_error("get_status did not answer one string");
  return strings[0];
}

bool GajimDbus::ChangeStatus(const std::string& show, const std::string& message,
                             const std::string& account) const {
  return IsTrue(Call("change_status", {StringArg(show), StringArg(message), StringArg(account)}));
}

std::vector<GajimContact> GajimDbus::Contacts(const std::string& account) const {
  // An array of a{sv}: each contact's entries are a key line and a "variant ..." value line at
  // depth two; its resources and groups are arrays nested deeper.
  const auto lines = Call("list_contacts", {StringArg(account)});
  std::vector<GajimContact> contacts;
  int depth = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].ends_with("[")) {
      if (++depth == 2) contacts.emplace_back();
    } else if (lines[i] == "]") {
      --depth;
    } else if (depth == 2 && lines[i] == "dict entry(" && i + 2 < lines.size()) {
      const auto key = DbusStrings({lines[i + 1]});
      const auto value = DbusStrings({lines[i + 2]});
      if (key.size() != 1 || value.size() != 1) continue;  // not a string
      if (key[0] == "jid") contacts.back().jid = value[0];
      if (key[0] == "name") contacts.back().name = value[0];
      if (key[0] == "show") contacts.back().show = value[0];
    }
  }
  return contacts;
}

bool GajimDbus::SendChatMessage(const std::string& jid, const std::string& text,
                                const std::string& account) const {
  return IsTrue(Call("send_chat_message", {StringArg(jid), StringArg(text), StringArg(account)}));
}

GajimSignals::GajimSignals(const Environment& env) {
  monitor_ = std::make_unique<ChildProcess>(
      ProcessOptions{.argv = {"dbus-monitor", "--session",
                              "type='signal',interface='" + std::string(kInterface) + "'"},
                     .env = env});
  // The bus tells a connection that becomes a monitor that it lost its own name.
  if (!monitor_->WaitForLine("member=NameLost$", std::chrono::seconds(10))) {
    throw std::runtime_error("dbus-monitor did not start to watch\n" + monitor_->Describe());
  }
}

GajimSignals::~GajimSignals() {
  monitor_->Stop();
}

std::optional<std::vector<std::string>> GajimSignals::WaitFor(const std::string& member,
                                                              Clock::duration timeout) {
  const auto deadline = Clock::now() + timeout;
  const auto header = monitor_->WaitForLine("^signal .*; member=" + member + "$", timeout);
  // dbus-monitor prints each signal's one av argument as an array whose closing bracket is the
  // only line with three spaces of indentation.
  if (!header || !monitor_->WaitForLine("^   \\]$", deadline - Clock::now())) return std::nullopt;
  const auto lines = monitor_->OutLines();
  // The header is one of a kind: it holds the signal's serial number.
  auto line = std::find(lines.begin(), lines.end(), *header);
  const auto end = std::find(line, lines.end(), "   ]");
  return DbusStrings(std::vector<std::string>(line + 1, end));
}

}  // namespace plumwick::e2e
