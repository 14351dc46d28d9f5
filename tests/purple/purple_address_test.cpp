// Addresses for "Add contact" with Pidgin, without Pidgin: what users type read into the bare
// XMPP address or refused with the reason, and Pidgin's own report of the stanza that asks the
// server to put a contact in the roster, read back as that request's id.
#include <gtest/gtest.h>

#include <QString>

#include "clients/purple/qt/added_buddy_notice.h"
#include "clients/purple/xmpp_address.h"

namespace plumwick::purple {
namespace {

struct AddressCase {
  const char* typed;
  const char* bare;     // empty when refused
  const char* problem;  // a part of the reason given
};

TEST(XmppAddressTest, TypedTextIsReadAsTheBareAddressOrRefusedWithItsReason) {
  const AddressCase cases[] = {
      {"kate@localhost", "kate@localhost", ""},
      {"kate@localhost/phone", "kate@localhost", ""},
      {"Kate@LocalHost/Phone", "Kate@LocalHost", ""},  // case is Pidgin's to fold
      {"  kate@localhost \t", "kate@localhost", ""},
      {"kate@localhost/a/b@c d", "kate@localhost", ""},  // a resource may hold anything
      {"zoë@bücher.example", "zoë@bücher.example", ""},
      {"kate@[::1]", "kate@[::1]", ""},
      {"not an address two", "", "at the 4th character, a space cannot be part of an address"},
      {"localhost", "", "has no @"},
      {"", "", "empty"},
      {"   ", "", "empty"},
      {"@localhost", "", "needs a name before the @"},
      {"kate@", "", "needs a server after the @"},
      {"kate@/phone", "", "needs a server after the @"},
      {"kate@localhost/", "", "nothing follows the /"},
      {"ka te@localhost", "", "at the 3rd character, a space cannot be part of the name"},
      {"zoë'@localhost", "", "at the 4th character, \"'\" cannot be part of the name"},
      {"a@b@localhost", "", "at the 4th character, \"@\" cannot be part of a server"},
      {"kate@local host", "", "at the 11th character, a space cannot be part of a server"},
      {"kate@local:5222", "", "\":\" cannot be part of a server"},
      {"kate@a..b", "", "at the 8th character, the server's name has an empty part"},
      {"kate@.localhost", "", "empty part"},
      {"kate@localhost.", "", "ends with a dot"},
      {"ka\x01te@localhost", "", "a control character"},
  };
  for (const AddressCase& c : cases) {
    SCOPED_TRACE(std::string("\"") + c.typed + "\"");
    const XmppAddress read = ReadXmppAddress(c.typed);
    EXPECT_EQ(read.bare, c.bare);
    if (*c.problem == '\0') {
      EXPECT_EQ(read.problem, "");
    } else {
      EXPECT_NE(read.problem.find(c.problem), std::string::npos) << read.problem;
    }
  }
  EXPECT_NE(ReadXmppAddress(std::string(1024, 'k') + "@localhost").problem, "");
}

struct StanzaCase {
  const char* stanza;
  const char* id;  // empty when the stanza adds no kate@localhost
};

TEST(RosterRequestTest, PidginsRosterSetForTheContactIsReadAsItsId) {
  const StanzaCase cases[] = {
      {"<iq type='set' id='purple1'><query xmlns='jabber:iq:roster'><item jid='kate@localhost' "
       "name=''><group>Buddies</group></item></query></iq>",
       "purple1"},
      // As Pidgin sends it after folding case; the address asked for may differ in case.
      {"<iq type='set' id='p2'><query xmlns='jabber:iq:roster'><item jid='KATE@localhost'/>"
       "</query></iq>",
       "p2"},
      {"<iq type='set' id='p3'><query xmlns='jabber:iq:roster'><item jid='kate@localhost' "
       "subscription='remove'/></query></iq>",
       ""},
      {"<iq type='get' id='p4'><query xmlns='jabber:iq:roster'/></iq>", ""},
      {"<iq type='set' id='p5'><query xmlns='jabber:iq:roster'><item jid='kate2@localhost'/>"
       "</query></iq>",
       ""},
      {"<iq type='set' id='p6'><vCard xmlns='vcard-temp'/></iq>", ""},
      {"<presence to='kate@localhost' type='subscribe'/>", ""},
      {"<message to='kate@localhost'><body>jid='kate@localhost'</body></message>", ""},
      {"<iq type='set' id='p7'><query xmlns='jabber:iq:roster'><item jid='kate@loc", ""},
      {"", ""},
  };
  for (const StanzaCase& c : cases) {
    SCOPED_TRACE(c.stanza);
    EXPECT_EQ(RosterAddRequestId(QString::fromUtf8(c.stanza), QStringLiteral("kate@localhost")),
              QString::fromUtf8(c.id));
  }
}

}  // namespace
}  // namespace plumwick::purple
