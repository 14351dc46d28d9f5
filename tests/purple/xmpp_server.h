// A Prosody XMPP server for one test run, on 127.0.0.1 only, without TLS (its traffic never leaves
// the test's private network namespace), with its accounts and their rosters written straight
// into its storage before it starts: every contact is subscribed both ways, so nobody is asked to
// approve anything.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/harness/child_process.h"
#include "tests/e2e/harness/private_dir.h"

namespace plumwick::e2e {

struct XmppAccount {
  std::string user;  // the part before the @
  std::string password;
  std::vector<std::string> contacts;  // users on the same server, subscribed both ways
};

class XmppServer {
 public:
  static constexpr const char* kDomain = "localhost";
  static constexpr const char* kAddress = "127.0.0.1";
  static constexpr int kPort = 5222;

  // Starts the server and waits until it takes connections; throws std::runtime_error when it
  // does not.
  XmppServer(const std::vector<XmppAccount>& accounts, const Environment& env);
  ~XmppServer();

  XmppServer(const XmppServer&) = delete;
  XmppServer& operator=(const XmppServer&) = delete;

  static std::string Jid(const std::string& user) { return user + "@" + kDomain; }
  std::string Describe() { return server_->Describe(); }

 private:
  PrivateDir dir_;
  std::unique_ptr<ChildProcess> server_;
};

}  // namespace plumwick::e2e
