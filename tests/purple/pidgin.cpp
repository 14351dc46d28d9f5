// Pidgin for the tests.
#include "tests/purple/pidgin.h"

#include <csignal>
#include <fstream>
#include <stdexcept>

#include "tests/e2e/harness/wait_until.h"

namespace plumwick::e2e {

namespace {

constexpr auto kSignOnTimeout = std::chrono::seconds(20);

void Write(const std::filesystem::path& file, const std::string& text) {
  std::ofstream out(file);
  out << text;
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

std::string Xml(const std::string& text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '&':
        out += "&amp;";
        break;
      case '\'':
        out += "&apos;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string Accounts(const PidginAccount& account) {
  return "<?xml version='1.0' encoding='UTF-8' ?>\n"
         "<account version='1.0'>\n"
         " <account>\n"
         "  <protocol>prpl-jabber</protocol>\n"
         "  <name>" +
         Xml(account.jid) +
         "</name>\n"
         "  <password>" +
         Xml(account.password) +
         "</password>\n"
         "  <settings>\n"
         "   <setting name='connect_server' type='string'>127.0.0.1</setting>\n"
         "   <setting name='port' type='int'>5222</setting>\n"
         "   <setting name='connection_security' type='string'>opportunistic_tls</setting>\n"
         "   <setting name='auth_plain_in_clear' type='bool'>1</setting>\n"
         "   <setting name='ft_proxies' type='string'></setting>\n"
         "  </settings>\n"
         // Enabled in Pidgin's interface: signs on at start.
         "  <settings ui='gtk-gaim'>\n"
         "   <setting name='auto-login' type='bool'>1</setting>\n"
         "  </settings>\n"
         " </account>\n"
         "</account>\n";
}

std::string Prefs() {
  return "<?xml version='1.0' encoding='UTF-8' ?>\n"
         "<pref version='1' name='/'>\n"
         " <pref name='purple'>\n"
         "  <pref name='network'>\n"
         "   <pref name='map_ports' type='bool' value='0'/>\n"
         "   <pref name='auto_ip' type='bool' value='0'/>\n"
         "   <pref name='stun_server' type='string' value=''/>\n"
         "   <pref name='turn_server' type='string' value=''/>\n"
         "  </pref>\n"
         "  <pref name='away'>\n"
         "   <pref name='idle_reporting' type='string' value='none'/>\n"
         "   <pref name='away_when_idle' type='bool' value='0'/>\n"
         "  </pref>\n"
         "  <pref name='logging'>\n"
         "   <pref name='log_ims' type='bool' value='0'/>\n"
         "   <pref name='log_chats' type='bool' value='0'/>\n"
         "   <pref name='log_system' type='bool' value='0'/>\n"
         "  </pref>\n"
         " </pref>\n"
         " <pref name='pidgin'>\n"
         "  <pref name='sound'>\n"
         "   <pref name='method' type='string' value='none'/>\n"
         "  </pref>\n"
         "  <pref name='conversations'>\n"
         "   <pref name='tabs' type='bool' value='0'/>\n"
         "  </pref>\n"
         // No tray icon: on a desktop without a notification area Pidgin hides its buddy list at
         // start and brings it to the front seconds later, when it gives up waiting for the tray,
         // taking the focus from whatever the tests are typing into just then.
         "  <pref name='docklet'>\n"
         "   <pref name='show' type='string' value='never'/>\n"
         "  </pref>\n"
         " </pref>\n"
         "</pref>\n";
}

std::string Blist(const PidginAccount& account) {
  std::string out =
      "<?xml version='1.0' encoding='UTF-8' ?>\n"
      "<purple version='1.0'>\n"
      " <blist>\n"
      "  <group name='Buddies'>\n";
  for (const std::string& buddy : account.buddies) {
    out += "   <contact><buddy account='" + Xml(account.jid) + "' proto='prpl-jabber'><name>" +
           Xml(buddy) + "</name></buddy></contact>\n";
  }
  return out + "  </group>\n </blist>\n</purple>\n";
}

}  // namespace

void WritePidginConfig(const std::filesystem::path& dir, const PidginAccount& account) {
  std::filesystem::create_directories(dir);
  Write(dir / "accounts.xml", Accounts(account));
  Write(dir / "prefs.xml", Prefs());
  Write(dir / "blist.xml", Blist(account));
}

Pidgin::Pidgin(std::filesystem::path config, Environment env)
    : config_(std::move(config)), env_(std::move(env)), dbus_(env_) {}

Pidgin::~Pidgin() {
  if (process_) {
    Thaw();
    process_->Stop();
  }
}

void Pidgin::StartSignedOn() {
  if (!Running()) {
    process_ = std::make_unique<ChildProcess>(
        ProcessOptions{.argv = {"pidgin", "--config=" + config_.string()}, .env = env_});
  }
  std::string last_error;
  const bool signed_on = WaitUntil(
      [&] {
        if (!process_->Running()) return true;
        try {
          return dbus_.Running() && dbus_.SignedOnAccount() != 0;
        } catch (const std::exception& error) {
          last_error = error.what();  // Pidgin may go away and come back on the bus meanwhile
          return false;
        }
      },
      kSignOnTimeout, std::chrono::milliseconds(100));
  if (!signed_on || !process_->Running()) {
    throw std::runtime_error("Pidgin did not sign on (" + last_error + ")\n" + Describe());
  }
}

void Pidgin::Kill() {
  if (!process_) return;
  process_->Signal(SIGKILL);
  process_->WaitForExit(std::chrono::seconds(5));
  process_->Stop();
  WaitUntil([&] { return !dbus_.Running(); }, std::chrono::seconds(5));
}

bool Pidgin::Running() {
  return process_ && process_->Running();
}

void Pidgin::Freeze() {
  if (process_) process_->Signal(SIGSTOP);
}

void Pidgin::Thaw() {
  if (process_) process_->Signal(SIGCONT);
}

std::string Pidgin::Describe() {
  return process_ ? process_->Describe() : "Pidgin was not started";
}

}  // namespace plumwick::e2e
