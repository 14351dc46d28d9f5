// What the end-to-end tests of plumwick with Pidgin share: a private desktop, a session bus, a
// Prosody server on 127.0.0.1 with the user's and the peers' accounts, Pidgin signed on as the
// user, two peers signed in (alice available, bob busy; dave, also a contact, stays offline), and
// plumwick started fresh for each test and driven only by clicks and typing at the places the
// window's design puts its controls. Everything runs inside the network namespace the test
// program was started in, which must hold nothing but the loopback interface.
#pragma once

#include <map>
#include <string>

#include "tests/e2e/harness/child_process.h"
#include "tests/e2e/harness/program_fixture.h"
#include "tests/purple/pidgin.h"
#include "tests/purple/purple_dbus.h"
#include "tests/purple/xmpp_peer.h"

namespace plumwick::e2e {

// An XMPP roster: address → subscription.
using Roster = std::map<std::string, std::string>;

namespace people {
inline const std::string kUser = "plum@localhost";
inline const std::string kUserPassword = "plum-secret";
inline const std::string kAlice = "alice@localhost";
inline const std::string kAlicePassword = "alice-secret";
inline const std::string kBob = "bob@localhost";
inline const std::string kCarol = "carol@localhost";  // not a contact at the start
inline const std::string kDave = "dave@localhost";    // a contact who never signs in
// The user's second account, on the server only: a test that needs it signs it on in Pidgin.
// bob is its contact too.
inline const std::string kErin = "erin@localhost";
inline const std::string kErinPassword = "erin-secret";
// The user's vCard on the server before Pidgin signs on.
inline const std::string kUserFullName = "Plum Wick";
inline const std::string kUserDescription = "Tests plumwick";
}  // namespace people

class PurpleE2eTest : public ProgramFixture {
 protected:
  PurpleE2eTest();
  static void SetUpTestSuite();
  static void TearDownTestSuite();
  void SetUp() override;
  void TearDown() override;

  static Pidgin& ThePidginProcess();
  static XmppPeer& Alice();
  // The environment of the programs: the desktop's, with the test's session bus.
  static const Environment& Env();
  static PurpleDbus Dbus() { return PurpleDbus(Env()); }
  Environment ProgramEnvironment() const override { return Env(); }

  // Clicks Send Msg. and waits for the end of its job: the second Enter, which the program types
  // once Pidgin reported the message sent. Until then the job holds the conversation's focus for
  // that Enter, and a click on the window would take it away. False when it was not typed in time.
  bool ClickSendMessageAndWaitForItsEnd() const;
  // The user's vCard as a peer reads it from the server, once its nickname is `name` or the time
  // is up (then the last one read).
  std::map<std::string, std::string> VcardOnceNicknameIs(const std::string& name) const;
  // The user's roster on the server (address → subscription), as another session of the user
  // reads it.
  static Roster UserRoster();
  // The user's roster once it lists `jid` (or, when `listed` is false, once it does not) or the
  // time is up (then the last one read).
  static Roster RosterOnce(const std::string& jid, bool listed);
};

}  // namespace plumwick::e2e
