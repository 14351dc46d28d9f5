// The people at the other end, run by xmpp_peer.py (slixmpp): a listening peer that is signed in
// and records what reaches it, and one-shot look-ups of what the server holds (a roster, a vCard,
// a nickname).
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/harness/child_process.h"

namespace plumwick::e2e {

// A JSON string literal of UTF-8 text as the peer prints it (non-ASCII characters as they are).
std::string JsonString(const std::string& text);

class XmppPeer {
 public:
  // Signs in as `jid` (with a resource), shows `show` ("" for plain available) and waits until
  // it is ready; throws std::runtime_error when it does not get there.
  XmppPeer(const std::string& jid, const std::string& password, const std::string& show,
           const Environment& env);
  ~XmppPeer();

  XmppPeer(const XmppPeer&) = delete;
  XmppPeer& operator=(const XmppPeer&) = delete;

  // Waits for a presence from any resource of `bare_jid` with the type and show ("-" for none),
  // received after the last one this waited for; a subscription request comes from the bare
  // address itself.
  bool WaitForPresence(const std::string& bare_jid, const std::string& type,
                       const std::string& show, Clock::duration timeout);
  // Waits for a message from `bare_jid` whose body is exactly `body`.
  bool WaitForMessage(const std::string& bare_jid, const std::string& body,
                      Clock::duration timeout);
  // Lets everything received so far go by: later waits see only what comes after this.
  void SkipReceived();
  std::string Describe() { return process_->Describe(); }

 private:
  std::unique_ptr<ChildProcess> process_;
};

// Many people online at once, signed in by one process: every address with the one password,
// each plainly available, until the object goes. Throws std::runtime_error when one of them
// does not sign in.
class XmppCrowd {
 public:
  XmppCrowd(const std::vector<std::string>& jids, const std::string& password,
            const Environment& env);
  ~XmppCrowd();

  XmppCrowd(const XmppCrowd&) = delete;
  XmppCrowd& operator=(const XmppCrowd&) = delete;

 private:
  std::unique_ptr<ChildProcess> process_;
};

// The roster the server keeps for `jid`'s account, as jid -> subscription, read through a
// resource of that account that does not show itself. Throws std::runtime_error on failure.
std::map<std::string, std::string> ServerRoster(const std::string& jid, const std::string& password,
                                                const Environment& env);

// The vCard of `of` as another account reads it: field -> value as a JSON string literal.
std::map<std::string, std::string> ReadVcard(const std::string& reader_jid,
                                             const std::string& password, const std::string& of,
                                             const Environment& env);

// The nickname `of` published (its personal "nick" node) as another account reads it: a JSON string
// literal of the text as it stands in the XML; empty when it published none.
std::string ReadNickname(const std::string& reader_jid, const std::string& password,
                         const std::string& of, const Environment& env);

// Publishes the account's own vCard; `fields_json` is a JSON object of field -> text.
void PublishVcard(const std::string& jid, const std::string& password,
                  const std::string& fields_json, const Environment& env);

}  // namespace plumwick::e2e
