// Gajim for the tests.
#include "tests/gajim/gajim.h"

#include "clients/purple/process_activity.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <system_error>
#include <utility>
#include <vector>

#include "tests/e2e/harness/run_command.h"
#include "tests/e2e/harness/wait_until.h"
#include "tests/purple/xmpp_peer.h"
#include "tests/purple/xmpp_server.h"

namespace plumwick::e2e {

namespace {

constexpr auto kStartTimeout = std::chrono::seconds(30);
constexpr uid_t kNobody = 65534;

// Gajim's settings database as Gajim makes it on its first start (schema version 5 in Gajim 1.7),
// with our rows: written with Debian's Python, which Gajim runs on too.
constexpr const char* kWriteSettings = R"py(import sqlite3, sys
path, account, app, account_settings, plugins = sys.argv[1:]
con = sqlite3.connect(path)
con.executescript("""
CREATE TABLE settings (name TEXT UNIQUE, settings TEXT);
CREATE TABLE account_settings (account TEXT UNIQUE, settings TEXT);
PRAGMA user_version = 5;
""")
con.executemany("INSERT INTO settings VALUES (?, ?)", [
    ("app", app), ("plugins", plugins), ("soundevents", "{}"), ("status_presets", "{}"),
    ("proxies", "{}"), ("workspaces", '{"00000000-0000-4000-8000-000000000001": {}}')])
con.execute("INSERT INTO account_settings VALUES (?, ?)", (account, account_settings))
con.commit()
)py";

std::string Bool(bool value) {
  return value ? "true" : "false";
}

std::string AppSettings(RemoteControl remote) {
  return "{\"remote_control\": " + Bool(remote == RemoteControl::kOn) +
         // With the keyring on, Gajim asks for the password: the test's bus has no Secret Service.
         ", \"use_keyring\": false"
         ", \"check_for_update\": false"
         // Gajim's user cannot reach the desktop's sound server.
         ", \"sounds_on\": false"
         // Gajim reads the X server's idle time: after five minutes without input (at once on an
         // Xvfb that has run that long untouched) it goes away by itself, after fifteen xa.
         ", \"autoaway\": false, \"autoxa\": false}";
}

std::string AccountSettings(const GajimAccount& account) {
  return "{\"account\": {\"name\": " + JsonString(account.user) +
         ", \"hostname\": " + JsonString(XmppServer::kDomain) +
         ", \"password\": " + JsonString(account.password) +
         ", \"resource\": " + JsonString(account.resource) +
         ", \"active\": true, \"autoconnect\": true"
         // Straight to the server: without a host of its own Gajim looks the domain up (SRV, then
         // host-meta over HTTPS) first.
         ", \"use_custom_host\": true, \"custom_host\": " +
         JsonString(XmppServer::kAddress) +
         ", \"custom_port\": " + std::to_string(XmppServer::kPort) +
         ", \"custom_type\": \"PLAIN\""
         // Otherwise Gajim asks in a dialog before a connection without TLS and stays "connecting".
         ", \"confirm_unencrypted_connection\": false}"
         ", \"contact\": {}, \"group_chat\": {}}";
}

// Debian's plugins (recommended packages) are on by default: off, Gajim is the same with and
// without them.
constexpr const char* kPlugins = R"({"omemo": {"active": false}, "openpgp": {"active": false}})";

// Whether this is the machine's root, who can run Gajim as another user.
bool IsRealRoot() {
  std::ifstream map("/proc/self/uid_map");
  std::string inside, outside, count;
  map >> inside >> outside >> count;
  return geteuid() == 0 && inside == "0" && outside == "0" && count == "4294967295";
}

// What runs Gajim as a user other than root. The machine's root runs it as nobody. Root of a user
// namespace (the private network's, when an ordinary user runs the test) has only its own user
// mapped: it runs Gajim in a nested namespace where that user is not root.
std::vector<std::string> RunAsOtherUser() {
  if (IsRealRoot()) {
    return {"setpriv", "--reuid=" + std::to_string(kNobody), "--regid=" + std::to_string(kNobody),
            "--clear-groups"};
  }
  if (geteuid() == 0) return {"unshare", "--user", "--map-user=1000", "--map-group=1000"};
  return {};
}

// The Wayland session's socket by its full path, for Gajim: the socket lives in the test's runtime
// directory, which Gajim's user may then pass through (and no more) to reach it, as through the
// directory around it.
std::string OpenWaylandSocket(const Environment& desktop) {
  const auto display = desktop.find("WAYLAND_DISPLAY");
  if (display == desktop.end()) {
    throw std::runtime_error("Gajim as a Wayland program needs a Wayland session");
  }
  const std::filesystem::path runtime = desktop.at("XDG_RUNTIME_DIR");
  const std::filesystem::path socket = runtime / display->second;
  using std::filesystem::perms;
  for (const auto& dir : {runtime.parent_path(), runtime}) {
    std::filesystem::permissions(dir, perms::others_exec, std::filesystem::perm_options::add);
  }
  std::filesystem::permissions(socket, perms::others_read | perms::others_write,
                               std::filesystem::perm_options::add);
  return socket.string();
}

void GiveToNobody(const std::filesystem::path& root) {
  auto give = [](const std::filesystem::path& path) {
    if (lchown(path.c_str(), kNobody, kNobody) != 0) {
      throw std::system_error(errno, std::generic_category(), "chown " + path.string());
    }
  };
  give(root);
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) give(entry);
}

}  // namespace

Gajim::Gajim(const GajimAccount& account, const Environment& env, RemoteControl remote,
             GajimBackend backend)
    : account_(account.name), env_(env), dbus_(env) {
  // Gajim's user passes through the test's directory to its home, and sees nothing else there.
  std::filesystem::permissions(dir_.Path(), std::filesystem::perms::owner_all |
                                                std::filesystem::perms::group_exec |
                                                std::filesystem::perms::others_exec);
  const auto home = dir_.MakeSubdir("home");
  env_["HOME"] = home.string();
  env_["XDG_CONFIG_HOME"] = (home / ".config").string();
  env_["XDG_DATA_HOME"] = (home / ".local/share").string();
  env_["XDG_CACHE_HOME"] = (home / ".cache").string();
  env_["XDG_RUNTIME_DIR"] = (home / "run").string();
  if (backend == GajimBackend::kX11) {
    env_["GDK_BACKEND"] = "x11";
  } else {
    env_["WAYLAND_DISPLAY"] = OpenWaylandSocket(env);
  }
  env_["NO_AT_BRIDGE"] = "1";  // no accessibility bus to look for
  for (const char* dir : {".config/gajim", ".local/share", ".cache", "run"}) {
    std::filesystem::create_directories(home / dir);
  }
  std::filesystem::permissions(home / "run", std::filesystem::perms::owner_all);
  // The desktop's X cookie is readable by root alone (XWayland's, in a Wayland session): Gajim
  // gets a copy of its own.
  if (const auto cookie = env_.find("XAUTHORITY"); cookie != env_.end()) {
    const auto own = home / ".Xauthority";
    std::filesystem::copy_file(cookie->second, own);
    cookie->second = own.string();
  }
  RunChecked({PLUMWICK_PEER_PYTHON, "-c", kWriteSettings,
              (home / ".config/gajim/settings.sqlite").string(), account.name, AppSettings(remote),
              AccountSettings(account), kPlugins},
             env_);
  if (IsRealRoot()) {
    GiveToNobody(home);
    // KWin's XWayland lets in its own user without a cookie, and no one else.
    RunChecked({"xhost", "+si:localuser:nobody"}, env_);
  }
}

Gajim::~Gajim() {
  if (process_) process_->Stop();
}

void Gajim::Start() {
  if (!Running()) {
    std::vector<std::string> argv = RunAsOtherUser();
    argv.emplace_back("gajim");
    process_ = std::make_unique<ChildProcess>(ProcessOptions{.argv = argv, .env = env_});
  }
  const bool on_bus = WaitUntil([&] { return !process_->Running() || dbus_.Running(); },
                                kStartTimeout, std::chrono::milliseconds(100));
  if (!on_bus || !process_->Running()) {
    throw std::runtime_error("Gajim did not come on the bus\n" + Describe());
  }
}

bool Gajim::WaitUntilIdle() {
  constexpr auto kQuiet = std::chrono::milliseconds(500);
  constexpr auto kBusy = std::chrono::milliseconds(20);  // CPU time that is more than its timers
  auto last = purple::ReadProcessActivity(process_->Pid());
  auto quiet_since = std::chrono::steady_clock::now();
  return WaitUntil(
      [&] {
        const auto now = purple::ReadProcessActivity(process_->Pid());
        if (!now || !last) return false;
        if (now->cpu - last->cpu > kBusy) {
          last = now;
          quiet_since = std::chrono::steady_clock::now();
        }
        return std::chrono::steady_clock::now() - quiet_since >= kQuiet;
      },
      std::chrono::seconds(10), std::chrono::milliseconds(100));
}

void Gajim::StartConnected() {
  Start();
  // The account first: Gajim leaves a call about an account it does not have unanswered.
  std::vector<std::string> accounts;
  std::string last_error;
  const bool answers = WaitUntil(
      [&] {
        if (!process_->Running()) return true;
        try {
          accounts = dbus_.Accounts();
          return true;
        } catch (const std::exception& error) {
          last_error = error.what();  // no object yet
          return false;
        }
      },
      kStartTimeout, std::chrono::milliseconds(100));
  if (!answers || !process_->Running()) {
    throw std::runtime_error("Gajim's remote object did not answer (" + last_error + ")\n" +
                             Describe());
  }
  if (std::find(accounts.begin(), accounts.end(), account_) == accounts.end()) {
    throw std::runtime_error("Gajim does not list the account " + account_ + "\n" + Describe());
  }
  std::string status;
  const bool connected = WaitUntil(
      [&] {
        if (!process_->Running()) return true;
        status = dbus_.Status(account_);
        return status != "offline" && status != "connecting";
      },
      kStartTimeout, std::chrono::milliseconds(100));
  if (!connected || !process_->Running()) {
    throw std::runtime_error("Gajim did not sign in (" + status + ")\n" + Describe());
  }
}

void Gajim::Kill() {
  if (!process_) return;
  process_->Signal(SIGKILL);
  process_->WaitForExit(std::chrono::seconds(5));
  process_->Stop();
  WaitUntil([&] { return !dbus_.Running(); }, std::chrono::seconds(5));
}

bool Gajim::Running() {
  return process_ && process_->Running();
}

std::string Gajim::Describe() {
  return process_ ? process_->Describe() : "Gajim was not started";
}

}  // namespace plumwick::e2e
