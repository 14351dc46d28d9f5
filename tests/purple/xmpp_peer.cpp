// The people at the other end, run by xmpp_peer.py.
#include "tests/purple/xmpp_peer.h"

#include <sstream>
#include <stdexcept>

#include "tests/e2e/harness/literal_pattern.h"
#include "tests/e2e/harness/run_command.h"

namespace plumwick::e2e {

namespace {

constexpr auto kPeerTimeout = std::chrono::seconds(15);

std::vector<std::string> PeerArgv(const std::string& command, const std::string& jid,
                                  const std::string& password) {
  return {
      PLUMWICK_PEER_PYTHON, PLUMWICK_PEER_SCRIPT, command, "--jid", jid, "--password", password};
}

std::vector<std::string> OutputLines(const std::string& out) {
  std::vector<std::string> lines;
  std::istringstream in(out);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

}  // namespace

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        out += c;
    }
  }
  return out + "\"";
}

XmppPeer::XmppPeer(const std::string& jid, const std::string& password, const std::string& show,
                   const Environment& env) {
  std::vector<std::string> argv = PeerArgv("listen", jid, password);
  if (!show.empty()) {
    argv.push_back("--show");
    argv.push_back(show);
  }
  process_ = std::make_unique<ChildProcess>(ProcessOptions{.argv = argv, .env = env});
  if (!process_->WaitForLine("^ready$", kPeerTimeout)) {
    throw std::runtime_error("the peer " + jid + " did not sign in\n" + process_->Describe());
  }
}

XmppPeer::~XmppPeer() {
  process_->Stop();
}

bool XmppPeer::WaitForPresence(const std::string& bare_jid, const std::string& type,
                               const std::string& show, Clock::duration timeout) {
  return process_
      ->WaitForLine("^presence " + LiteralPattern(bare_jid) + "(/\\S+)? " + type + " " +
                        LiteralPattern(show) + "$",
                    timeout)
      .has_value();
}

bool XmppPeer::WaitForMessage(const std::string& bare_jid, const std::string& body,
                              Clock::duration timeout) {
  return process_
      ->WaitForLine(
          "^message " + LiteralPattern(bare_jid) + " " + LiteralPattern(JsonString(body)) + "$",
          timeout)
      .has_value();
}

void XmppPeer::SkipReceived() {
  // A pattern that matches nothing moves the wait's cursor past every line there is.
  process_->WaitForLine("(?!)", Clock::duration::zero());
}

XmppCrowd::XmppCrowd(const std::vector<std::string>& jids, const std::string& password,
                     const Environment& env) {
  if (jids.empty()) return;
  std::vector<std::string> argv = PeerArgv("crowd", jids.front(), password);
  argv.emplace_back("--more");
  argv.insert(argv.end(), jids.begin() + 1, jids.end());
  process_ = std::make_unique<ChildProcess>(ProcessOptions{.argv = argv, .env = env});
  // A few hundred sign-ins take a while on a busy machine.
  if (!process_->WaitForLine("^ready$", 4 * kPeerTimeout)) {
    throw std::runtime_error("the crowd of " + std::to_string(jids.size()) +
                             " peers did not sign in\n" + process_->Describe());
  }
}

XmppCrowd::~XmppCrowd() {
  if (process_) process_->Stop();
}

std::map<std::string, std::string> ServerRoster(const std::string& jid, const std::string& password,
                                                const Environment& env) {
  const std::string out = RunChecked(PeerArgv("roster", jid, password), env, kPeerTimeout);
  for (const std::string& line : OutputLines(out)) {
    if (line.rfind("roster", 0) != 0) continue;
    std::map<std::string, std::string> roster;
    std::istringstream items(line.substr(6));
    for (std::string item; items >> item;) {
      const auto equals = item.find('=');
      roster[item.substr(0, equals)] = equals == std::string::npos ? "" : item.substr(equals + 1);
    }
    return roster;
  }
  throw std::runtime_error("no roster in the peer's answer: " + out);
}

std::map<std::string, std::string> ReadVcard(const std::string& reader_jid,
                                             const std::string& password, const std::string& of,
                                             const Environment& env) {
  std::vector<std::string> argv = PeerArgv("vcard", reader_jid, password);
  argv.push_back("--of");
  argv.push_back(of);
  const std::string out = RunChecked(argv, env, kPeerTimeout);
  std::map<std::string, std::string> fields;
  for (const std::string& line : OutputLines(out)) {
    if (line == "vcard-end") return fields;
    if (line.rfind("vcard ", 0) != 0) continue;
    const auto space = line.find(' ', 6);
    fields[line.substr(6, space - 6)] = space == std::string::npos ? "" : line.substr(space + 1);
  }
  throw std::runtime_error("no vCard in the peer's answer: " + out);
}

std::string ReadNickname(const std::string& reader_jid, const std::string& password,
                         const std::string& of, const Environment& env) {
  std::vector<std::string> argv = PeerArgv("nick", reader_jid, password);
  argv.push_back("--of");
  argv.push_back(of);
  const std::string out = RunChecked(argv, env, kPeerTimeout);
  std::string nickname;
  for (const std::string& line : OutputLines(out)) {
    if (line == "nick-end") return nickname;
    if (line.rfind("nick ", 0) == 0) nickname = line.substr(5);
  }
  throw std::runtime_error("no nickname in the peer's answer: " + out);
}

void PublishVcard(const std::string& jid, const std::string& password,
                  const std::string& fields_json, const Environment& env) {
  std::vector<std::string> argv = PeerArgv("set-vcard", jid, password);
  argv.push_back("--fields");
  argv.push_back(fields_json);
  const std::string out = RunChecked(argv, env, kPeerTimeout);
  if (out.find("done") == std::string::npos) {
    throw std::runtime_error("the vCard was not published: " + out);
  }
}

}  // namespace plumwick::e2e
