// The notice after a contact was added through Pidgin's dialog, once the server has it.
#include "clients/purple/qt/added_buddy_notice.h"

#include <QDomDocument>
#include <QDomElement>

#include "platform/failure.h"

namespace plumwick::purple {

namespace {

// Pidgin's report of a buddy it added to its list; for a server roster, the XMPP stanzas too.
const Subscription kSubscriptions[] = {
    {"BuddyAdded", SLOT(OnBuddyAdded(int))},
    {"JabberSendingText", SLOT(OnSendingText(int, QString))},
    {"JabberReceivingIq", SLOT(OnReceivingIq(int, QString, QString, QString, int))},
};

constexpr char kRosterNamespace[] = "jabber:iq:roster";

}  // namespace

QString RosterAddRequestId(const QString& stanza, const QString& jid) {
  QDomDocument document;
  if (!document.setContent(stanza, /*namespaceProcessing=*/true)) return {};
  const QDomElement iq = document.documentElement();
  if (iq.localName() != QLatin1String("iq") || iq.attribute(QStringLiteral("type")) != "set") {
    return {};
  }
  const QDomElement query = iq.firstChildElement(QStringLiteral("query"));
  if (query.isNull() || query.namespaceURI() != QLatin1String(kRosterNamespace)) return {};
  for (QDomElement item = query.firstChildElement(QStringLiteral("item")); !item.isNull();
       item = item.nextSiblingElement(QStringLiteral("item"))) {
    if (item.attribute(QStringLiteral("jid")).compare(jid, Qt::CaseInsensitive) == 0 &&
        item.attribute(QStringLiteral("subscription")) != QLatin1String("remove")) {
      return iq.attribute(QStringLiteral("id"));
    }
  }
  return {};
}

AddedBuddyNotice::AddedBuddyNotice(PurpleBus& bus, Handle account, const std::string& name,
                                   bool server_roster)
    : bus_(bus),
      account_(account),
      name_(QString::fromStdString(name)),
      server_roster_(server_roster),
      notice_(QStringLiteral("Contact added")) {
  if (server_roster_) {
    // Pidgin names the account's connection in its protocol's signals.
    connection_ =
        bus_.CallInt("PurpleAccountGetConnection", {Int(account_)}, error_code::kNotSignedIn);
  }
  if (bus_.Listen(Subscriptions(), this) != nullptr) {
    throw Failure(error_code::kClientError,
                  "Pidgin's reports of added contacts cannot be listened to on the session bus");
  }
}

AddedBuddyNotice::~AddedBuddyNotice() {
  bus_.StopListening(Subscriptions(), this);
}

std::span<const Subscription> AddedBuddyNotice::Subscriptions() const {
  return std::span(kSubscriptions).first(server_roster_ ? 3 : 1);
}

void AddedBuddyNotice::OnBuddyAdded(int buddy) {
  if (progress_ != Progress::kNothing) return;
  QString name;
  Handle account = 0;
  try {
    name = bus_.CallString("PurpleBuddyGetName", {Int(buddy)});
    account = bus_.CallInt("PurpleBuddyGetAccount", {Int(buddy)});
  } catch (const Failure&) {
    // Called from the event loop, where a failure must not go: a buddy that is gone again, or a
    // Pidgin that went away, confirms nothing.
    return;
  }
  // Addresses are compared without regard to case, as the server does.
  if (account != account_ || name.compare(name_, Qt::CaseInsensitive) != 0) return;
  if (server_roster_) {
    local_buddy_ = buddy;
    progress_ = Progress::kInLocalList;
  } else {
    Confirm();
  }
}

void AddedBuddyNotice::OnSendingText(int connection, const QString& stanza) {
  if (connection != connection_ || progress_ == Progress::kConfirmed) return;
  const QString id = RosterAddRequestId(stanza, name_);
  if (id.isEmpty()) return;
  request_id_ = id;
  progress_ = Progress::kAskedServer;
}

void AddedBuddyNotice::OnReceivingIq(int connection, const QString& type, const QString& id,
                                     const QString& /*from*/, int /*node*/) {
  if (connection != connection_ || progress_ != Progress::kAskedServer || id != request_id_) {
    return;
  }
  if (type == QLatin1String("result")) {
    Confirm();
  } else if (type == QLatin1String("error")) {
    progress_ = Progress::kRefused;
  }
}

void AddedBuddyNotice::TakeOutLocalBuddy() {
  if (progress_ != Progress::kInLocalList) return;
  bus_.Call("PurpleBlistRemoveBuddy", {Int(local_buddy_)});
  progress_ = Progress::kNothing;
}

void AddedBuddyNotice::Confirm() {
  progress_ = Progress::kConfirmed;
  confirmation_ = name_ + QStringLiteral(" was added to your contacts.");
  ShowAgain();
}

}  // namespace plumwick::purple
