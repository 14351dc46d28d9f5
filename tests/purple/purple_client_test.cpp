// The parts of the Pidgin client that need no Pidgin: presence between libpurple's primitives and
// the program's codes, D-Bus errors as failures, the vCard with a new nickname, and Pidgin's
// reports of sent messages read back as the text and the contact.
#include <gtest/gtest.h>

#include <QDBusError>
#include <QDBusMessage>
#include <QDomDocument>

#include "clients/purple/purple_status.h"
#include "clients/purple/qt/dbus_failure.h"
#include "clients/purple/qt/refused_message_watch.h"
#include "clients/purple/qt/sent_message_watch.h"
#include "clients/purple/qt/vcard_nickname.h"
#include "messenger/messenger.h"
#include "messenger/typed_messages.h"
#include "platform/failure.h"

namespace plumwick::purple {
namespace {

namespace status = messenger::status;

TEST(PurpleStatusTest, OwnStatusesComeBackAsSetAndEveryPresenceHasACode) {
  // What the user sets is what a contact list showing the user would read back.
  for (const std::int32_t code : {status::kOnline, status::kBusy, status::kAway}) {
    EXPECT_EQ(StatusCodeOf(PrimitiveFor(code)), code) << code;
  }
  // Every primitive Pidgin reports (1 offline to 9 mood) is one of the program's codes, and only
  // offline lists a contact as offline; extended away is away.
  for (std::int32_t reported = primitive::kOffline; reported <= 9; ++reported) {
    const std::int32_t code = StatusCodeOf(reported);
    EXPECT_TRUE(code == status::kOnline || code == status::kBusy || code == status::kAway ||
                code == status::kOffline)
        << reported << " gives " << code;
    EXPECT_EQ(code == status::kOffline, reported == primitive::kOffline) << reported;
  }
  EXPECT_EQ(StatusCodeOf(primitive::kExtendedAway), StatusCodeOf(primitive::kAway));
}

TEST(PurpleStatusTest, OtherOwnStatusCodesAreRefused) {
  for (const std::int32_t code : {status::kOffline, 0, 3, 66, -1}) {
    try {
      PrimitiveFor(code);
      ADD_FAILURE() << code << " was taken";
    } catch (const Failure& failure) {
      EXPECT_EQ(failure.code(), error_code::kBadArgument) << code;
      EXPECT_NE(failure.description().find(std::to_string(code)), std::string::npos)
          << failure.description();
    }
  }
}

QDBusError Error(const char* name, const char* message) {
  return QDBusError(
      QDBusMessage::createError(QString::fromLatin1(name), QString::fromLatin1(message)));
}

TEST(DBusFailureTest, NoPidginOnTheBusIsNoClient) {
  for (const char* name :
       {"org.freedesktop.DBus.Error.ServiceUnknown", "org.freedesktop.DBus.Error.NameHasNoOwner"}) {
    const Failure failure = DBusFailure(Error(name, "nobody owns it"), "PurpleBlistGetBuddies");
    EXPECT_EQ(failure.code(), error_code::kNoClient) << name;
    EXPECT_EQ(failure.description().rfind(kNoClientText, 0), 0u) << failure.description();
    // The bus's own words are kept.
    EXPECT_NE(failure.description().find(name), std::string::npos) << failure.description();
    EXPECT_NE(failure.description().find("nobody owns it"), std::string::npos);
  }
}

TEST(DBusFailureTest, NoAnswerInTimeIsNoAnswer) {
  for (const char* name :
       {"org.freedesktop.DBus.Error.NoReply", "org.freedesktop.DBus.Error.Timeout",
        "org.freedesktop.DBus.Error.TimedOut"}) {
    const Failure failure = DBusFailure(Error(name, "no reply"), "PurpleAccountsGetAllActive");
    EXPECT_EQ(failure.code(), error_code::kNoAnswer) << name;
    EXPECT_NE(failure.description().find("PurpleAccountsGetAllActive"), std::string::npos)
        << failure.description();
  }
}

TEST(DBusFailureTest, AStaleHandleGetsTheCallersCode) {
  const QDBusError stale =
      Error("im.pidgin.purple.InvalidHandle", "PurpleBuddy object with ID = 7 not found");
  EXPECT_EQ(DBusFailure(stale, "PurpleBuddyGetName", error_code::kUnknownContact).code(),
            error_code::kUnknownContact);
  const Failure plain = DBusFailure(stale, "PurpleBuddyGetName");
  EXPECT_EQ(plain.code(), error_code::kClientError);
  EXPECT_NE(plain.description().find("PurpleBuddy object with ID = 7 not found"), std::string::npos)
      << plain.description();
}

TEST(DBusFailureTest, AMissingMethodIsNotAvailableAndTheRestIsTheClientsError) {
  EXPECT_EQ(
      DBusFailure(Error("org.freedesktop.DBus.Error.UnknownMethod", "no such method"), "PurpleFoo")
          .code(),
      error_code::kNotAvailable);
  const Failure other =
      DBusFailure(Error("org.freedesktop.DBus.Error.InvalidArgs", "wrong arguments"), "PurpleBar");
  EXPECT_EQ(other.code(), error_code::kClientError);
  EXPECT_NE(other.description().find("wrong arguments"), std::string::npos);
  EXPECT_NE(other.description().find("PurpleBar"), std::string::npos);
}

// The vCard's root element, parsed again.
QDomElement Parsed(const QString& vcard) {
  static QDomDocument document;
  EXPECT_TRUE(document.setContent(vcard)) << vcard.toStdString();
  return document.documentElement();
}

QStringList Texts(const QDomElement& vcard, const char* field) {
  QStringList texts;
  for (QDomElement e = vcard.firstChildElement(QLatin1String(field)); !e.isNull();
       e = e.nextSiblingElement(QLatin1String(field))) {
    texts << e.text();
  }
  return texts;
}

TEST(VcardNicknameTest, ReplacesTheNicknameAndKeepsEverythingElse) {
  const QString before = QStringLiteral(
      "<vCard xmlns='vcard-temp'><FN>Plum Wick</FN><NICKNAME>plum</NICKNAME>"
      "<EMAIL><INTERNET/><USERID>plum@example.org</USERID></EMAIL>"
      "<PHOTO><TYPE>image/png</TYPE><BINVAL>iVBORw0KGgo=</BINVAL></PHOTO></vCard>");
  const QDomElement vcard = Parsed(WithNickname(before, QStringLiteral("Zoë <&> \"Ω\"")));
  EXPECT_EQ(vcard.tagName(), QStringLiteral("vCard"));
  EXPECT_EQ(vcard.attribute(QStringLiteral("xmlns")), QStringLiteral("vcard-temp"));
  EXPECT_EQ(Texts(vcard, "NICKNAME"), QStringList{QStringLiteral("Zoë <&> \"Ω\"")});
  EXPECT_EQ(Texts(vcard, "FN"), QStringList{QStringLiteral("Plum Wick")});
  EXPECT_EQ(vcard.firstChildElement(QStringLiteral("EMAIL"))
                .firstChildElement(QStringLiteral("USERID"))
                .text(),
            QStringLiteral("plum@example.org"));
  EXPECT_FALSE(vcard.firstChildElement(QStringLiteral("EMAIL"))
                   .firstChildElement(QStringLiteral("INTERNET"))
                   .isNull());
  EXPECT_EQ(vcard.firstChildElement(QStringLiteral("PHOTO"))
                .firstChildElement(QStringLiteral("BINVAL"))
                .text(),
            QStringLiteral("iVBORw0KGgo="));
}

TEST(VcardNicknameTest, AddsANicknameWhereThereIsNone) {
  const QDomElement vcard =
      Parsed(WithNickname(QStringLiteral("<vCard xmlns='vcard-temp'><FN>Plum Wick</FN></vCard>"),
                          QStringLiteral("Plum")));
  EXPECT_EQ(Texts(vcard, "NICKNAME"), QStringList{QStringLiteral("Plum")});
  EXPECT_EQ(Texts(vcard, "FN"), QStringList{QStringLiteral("Plum Wick")});
}

TEST(VcardNicknameTest, LeavesOneNicknameOnly) {
  const QDomElement vcard = Parsed(
      WithNickname(QStringLiteral("<vCard xmlns='vcard-temp'><NICKNAME>a</NICKNAME><FN>F</FN>"
                                  "<NICKNAME>b</NICKNAME><NICKNAME>c</NICKNAME></vCard>"),
                   QStringLiteral("new")));
  EXPECT_EQ(Texts(vcard, "NICKNAME"), QStringList{QStringLiteral("new")});
  EXPECT_EQ(Texts(vcard, "FN"), QStringList{QStringLiteral("F")});
}

TEST(VcardNicknameTest, NoUserInfoBecomesAVcardWithTheNicknameOnly) {
  const QDomElement vcard = Parsed(WithNickname(QString(), QStringLiteral("Plum")));
  EXPECT_EQ(vcard.tagName(), QStringLiteral("vCard"));
  EXPECT_EQ(vcard.attribute(QStringLiteral("xmlns")), QStringLiteral("vcard-temp"));
  EXPECT_EQ(Texts(vcard, "NICKNAME"), QStringList{QStringLiteral("Plum")});
  EXPECT_EQ(vcard.childNodes().count(), 1);
}

TEST(VcardNicknameTest, TextThatIsNoVcardIsKeptAsTheDescription) {
  const QString typed = QStringLiteral("I like <plums> & pears");
  const QDomElement vcard = Parsed(WithNickname(typed, QStringLiteral("Plum")));
  EXPECT_EQ(Texts(vcard, "DESC"), QStringList{typed});
  EXPECT_EQ(Texts(vcard, "NICKNAME"), QStringList{QStringLiteral("Plum")});
}

TEST(SentMessageTest, PidginsHtmlReadsBackAsTheTypedText) {
  EXPECT_EQ(
      PlainMessageText(QStringLiteral("fish &amp; chips &lt;3 &gt; &quot;x&quot; &apos;y&#39;")),
      "fish & chips <3 > \"x\" 'y'");
  // Runs of spaces stay; line breaks are newlines; text that looks like an entity but is none
  // stays as it is.
  EXPECT_EQ(PlainMessageText(QStringLiteral("a  b<br>c<BR/>d &nope e & f")),
            "a  b\nc\nd &nope e & f");
  EXPECT_EQ(PlainMessageText(QStringLiteral("<font color=\"#000\">Gr&#252;&#xdf;e</font>")),
            "Grüße");
}

TEST(SentMessageTest, TheReceiverIsTheContactWhateverTheCaseOrResource) {
  const QString alice = QStringLiteral("alice@localhost");
  EXPECT_TRUE(SameContact(QStringLiteral("alice@localhost"), alice));
  EXPECT_TRUE(SameContact(QStringLiteral("Alice@LocalHost/laptop"), alice));
  EXPECT_FALSE(SameContact(QStringLiteral("alice@localhost.org"), alice));
  EXPECT_FALSE(SameContact(QStringLiteral("bob@localhost/alice@localhost"), alice));
}

// Only a stanza that carries the message counts as sent: a typing notification the server sends
// back is no refusal of the message.
TEST(SentMessageTest, TheIdOfAStanzaWithTheMessageToTheContact) {
  const QString alice = QStringLiteral("alice@localhost");
  const struct {
    const char* stanza;
    const char* id;
  } rows[] = {
      {"<message type='chat' id='purple1' to='alice@localhost'><active "
       "xmlns='http://jabber.org/protocol/chatstates'/><body>hi</body></message>",
       "purple1"},
      {"<message type='chat' id='purple2' to='Alice@localhost/phone'><body>x</body></message>",
       "purple2"},
      {"<message type='chat' id='purple3' to='alice@localhost'><composing "
       "xmlns='http://jabber.org/protocol/chatstates'/></message>",
       ""},
      {"<message type='chat' id='purple4' to='bob@localhost'><body>hi</body></message>", ""},
      {"<iq type='get' id='purple5' to='alice@localhost'><body/></iq>", ""},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(SentMessageId(QString::fromUtf8(row.stanza), alice), row.id) << row.stanza;
  }
}

std::vector<std::string> SentBy(std::initializer_list<const char*> steps, bool* known = nullptr) {
  messenger::TypedMessages typed;
  for (const char* keys : steps) typed.Add(ParseKeyNotation(keys));
  if (known != nullptr) *known = typed.TextsKnown();
  return typed.Sent();
}

TEST(TypedMessagesTest, EachEnterSendsTheTextBeforeItAndAnEmptyEntrySendsNothing) {
  using Texts = std::vector<std::string>;
  EXPECT_EQ(SentBy({"héllo Ωmega {{}x{}}", "{ENTER}", "{ENTER}"}), Texts{"héllo Ωmega {x}"});
  EXPECT_EQ(SentBy({"", "{ENTER}", "{ENTER}"}), Texts{});
  EXPECT_EQ(SentBy({"one{ENTER 2}two", "{ENTER}"}), (Texts{"one", "two"}));
  EXPECT_EQ(SentBy({"typo{BS 2}ed{BACKSPACE}", "{ENTER}"}), Texts{"tye"});
  EXPECT_EQ(SentBy({"{BS}ok", "{ENTER}"}), Texts{"ok"});
  EXPECT_EQ(SentBy({"no enter yet"}), Texts{});

  bool known = true;
  EXPECT_EQ(SentBy({"ab{LEFT}c", "{ENTER}"}, &known).size(), 1u) << "one message, text unknown";
  EXPECT_FALSE(known);
  EXPECT_THROW(SentBy({"bad {FOO}"}), Failure);
}

}  // namespace
}  // namespace plumwick::purple
