// A Prosody XMPP server for one test run.
#include "tests/purple/xmpp_server.h"

#include <fstream>
#include <stdexcept>

namespace plumwick::e2e {

namespace {

constexpr auto kStartTimeout = std::chrono::seconds(15);

void Write(const std::filesystem::path& file, const std::string& text) {
  std::ofstream out(file);
  out << text;
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

// A Lua string literal; test data only, but quoted properly all the same.
std::string Lua(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

std::string Config(const std::filesystem::path& dir) {
  const std::string data = (dir / "data").string();
  return "-- Written by the end-to-end tests for one run.\n"
         "data_path = " +
         Lua(data) +
         "\n"
         "pidfile = " +
         Lua((dir / "prosody.pid").string()) +
         "\n"
         "certificates = " +
         Lua((dir / "certs").string()) +
         "\n"
         "interfaces = { " +
         Lua(XmppServer::kAddress) +
         " }\n"
         "c2s_ports = { " +
         std::to_string(XmppServer::kPort) +
         " }\n"
         "c2s_direct_tls_ports = {}\n"
         "s2s_ports = {}\n"
         "plugin_paths = {}\n"
         // pep: what a client publishes about its user (Gajim its nickname), as on any real server.
         "modules_enabled = { \"roster\", \"saslauth\", \"disco\", \"vcard\", \"ping\", "
         "\"presence\", \"pep\" }\n"
         // No TLS, no servers to federate with, no daemon: the test owns the process.
         "modules_disabled = { \"tls\", \"s2s\", \"dialback\", \"posix\", \"offline\" }\n"
         "authentication = \"internal_plain\"\n"
         "c2s_require_encryption = false\n"
         "allow_unencrypted_plain_auth = true\n"
         "run_as_root = true\n"
         "log = { { levels = { min = \"info\" }, to = \"console\" } }\n"
         "VirtualHost " +
         Lua(XmppServer::kDomain) + "\n";
}

std::string AccountData(const XmppAccount& account) {
  return "return {\n\t[\"password\"] = " + Lua(account.password) + ";\n};\n";
}

std::string RosterData(const XmppAccount& account) {
  std::string out = "return {\n\t[false] = { [\"version\"] = 1; [\"pending\"] = {}; };\n";
  for (const std::string& contact : account.contacts) {
    out += "\t[" + Lua(XmppServer::Jid(contact)) +
           "] = { [\"groups\"] = { [\"Buddies\"] = true; }; [\"subscription\"] = \"both\"; };\n";
  }
  return out + "};\n";
}

}  // namespace

XmppServer::XmppServer(const std::vector<XmppAccount>& accounts, const Environment& env) {
  const std::filesystem::path dir = dir_.Path();
  std::filesystem::create_directories(dir / "certs");
  // Prosody's file storage: one directory per host, one file per user and store.
  const std::filesystem::path host = dir / "data" / kDomain;
  std::filesystem::create_directories(host / "accounts");
  std::filesystem::create_directories(host / "roster");
  for (const XmppAccount& account : accounts) {
    Write(host / "accounts" / (account.user + ".dat"), AccountData(account));
    Write(host / "roster" / (account.user + ".dat"), RosterData(account));
  }
  const std::filesystem::path config = dir / "prosody.cfg.lua";
  Write(config, Config(dir));

  server_ = std::make_unique<ChildProcess>(
      ProcessOptions{.argv = {"prosody", "-F", "--config", config.string()}, .env = env});
  if (!server_->WaitForLine("Activated service 'c2s' on \\[127\\.0\\.0\\.1\\]:5222",
                            kStartTimeout)) {
    throw std::runtime_error("Prosody did not start to take connections\n" + server_->Describe());
  }
}

XmppServer::~XmppServer() {
  server_->Stop();
}

}  // namespace plumwick::e2e
