// Gajim's remote interface as the tests call it, through dbus-send, and its signals as dbus-monitor
// sees them: to prepare and check what the program does, never to do its work for it.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/harness/child_process.h"

namespace plumwick::e2e {

struct GajimContact {
  std::string jid;
  std::string name;
  std::string show;  // "offline" for a contact who is not signed in
};

class GajimDbus {
 public:
  // `env` carries the session bus's address.
  explicit GajimDbus(Environment env) : env_(std::move(env)) {}

  // Whether Gajim owns its name on the bus, which it does with remote control off too.
  bool Running() const;
  // The active accounts, by Gajim's names for them.
  std::vector<std::string> Accounts() const;
  // "offline", "connecting" while it signs in, then the account's show ("online", "dnd", ...).
  // Gajim does not answer at all for an account it does not have: the call throws at its timeout.
  std::string Status(const std::string& account) const;
  // What Gajim answered: true even for a show it does not know.
  bool ChangeStatus(const std::string& show, const std::string& message,
                    const std::string& account) const;
  std::vector<GajimContact> Contacts(const std::string& account) const;
  bool SendChatMessage(const std::string& jid, const std::string& text,
                       const std::string& account) const;

 private:
  std::vector<std::string> Call(const std::string& method,
                                const std::vector<std::string>& args = {}) const;

  Environment env_;
};

// Gajim's remote interface's signals, from the time the object is made.
class GajimSignals {
 public:
  // Starts dbus-monitor and waits until it watches; throws std::runtime_error when it does not.
  explicit GajimSignals(const Environment& env);
  ~GajimSignals();

  GajimSignals(const GajimSignals&) = delete;
  GajimSignals& operator=(const GajimSignals&) = delete;

  // The string arguments of the next `member` signal after the last one this returned, in their
  // order through the nested lists: MessageSent gives {account, jid, text}. nullopt when none
  // came in time.
  std::optional<std::vector<std::string>> WaitFor(const std::string& member,
                                                  Clock::duration timeout);
  std::string Describe() { return monitor_->Describe(); }

 private:
  std::unique_ptr<ChildProcess> monitor_;
};

}  // namespace plumwick::e2e
