// A stand-in for Gajim on a test's session bus, for the client's checks that a real Gajim cannot
// be made to fail on cue. It owns org.gajim.Gajim and answers the remote object's methods the
// client calls as Gajim 1.7 does: two enabled accounts, "home" (me@home.example, status message
// "at my desk") and "work" (me@work.example), signed on with their rosters, whose contacts all
// read offline while their account is; a status asked for is set a moment after the answer, and
// an account that signs on reads "connecting" twice first; a call about an account it does not
// know gets no answer at all. GTK actions activated on /org/gajim/Gajim and on the main window's
// /org/gajim/Gajim/window/1 are noted. send_chat_message reports the message in MessageSent
// before it answers true, as Gajim does, and false at once for an account it does not know.
//
// Its cues, on its own object /StandIn: Reset() puts everything back as it was at the start;
// RemoteControl(on, after_ms) takes the remote object away and, with `on`, brings it back after
// after_ms, as a Gajim that is starting offers it late; KeepStatus(account, show) makes the
// account's status stay `show` whatever is asked; QuitOn(method) ends the process without an
// answer when `method` is next called; Activations() lists the actions as "name parameter...",
// a dictionary as "key=value" pairs in key order; SendAnswer(how) makes send_chat_message
// "silent" (no report), report "other" text than it was given, give "no reply" or "refuse" (false);
// Sent() lists the messages sent as "account jid text"; AddContact(account, jid, after_ms) puts an
// offline contact into the account's roster after after_ms, as Gajim's roster takes in a contact
// added through its Add Contact window; RemoveContact(account, jid, after_ms) takes the contact out
// of it after after_ms, as a Remove pressed in Gajim's Remove Contact window does.
#include <unistd.h>

#include <cstdio>
#include <map>
#include <utility>
#include <vector>

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVirtualObject>
#include <QStringList>
#include <QTimer>
#include <QVariantMap>

namespace {

constexpr char kService[] = "org.gajim.Gajim";
constexpr char kRemoteObject[] = "/org/gajim/dbus/RemoteObject";
constexpr char kActionsObject[] = "/org/gajim/Gajim";
constexpr char kMainWindowObject[] = "/org/gajim/Gajim/window/1";
constexpr char kStandInObject[] = "/StandIn";

using StringMap = QMap<QString, QString>;
using Resources = QList<QPair<QString, QString>>;

struct Account {
  QString address = {};
  QString show = QStringLiteral("online");
  QString message = {};
  int connecting_reads = 0;  // how many more get_status calls read "connecting"
  QString kept = {};         // the show it keeps whatever is asked; empty: none
  std::vector<std::pair<QString, QString>> roster = {};  // address and show of each contact
};

std::map<QString, Account> Initial() {
  return {
      {QStringLiteral("home"),
       {.address = QStringLiteral("me@home.example"),
        .message = QStringLiteral("at my desk"),
        .roster = {{QStringLiteral("alice@home.example"), QStringLiteral("online")},
                   {QStringLiteral("bob@example.org"), QStringLiteral("away")},
                   {QStringLiteral("carol@example.org"), QStringLiteral("offline")},
                   {QStringLiteral("dan@example.org"), QStringLiteral("chat")}}}},
      {QStringLiteral("work"),
       {.address = QStringLiteral("me@work.example"),
        .roster = {{QStringLiteral("bob@example.org"), QStringLiteral("dnd")},
                   {QStringLiteral("erin@work.example"), QStringLiteral("xa")},
                   {QStringLiteral("fay@work.example"), QStringLiteral("offline")}}}},
  };
}

class StandIn final : public QDBusVirtualObject {
 public:
  explicit StandIn(QDBusConnection bus) : bus_(std::move(bus)) {}
  QString introspect(const QString& /*path*/) const override { return {}; }

  bool handleMessage(const QDBusMessage& call, const QDBusConnection& connection) override {
    const QString method = call.member();
    if (method == quit_on_) ::_exit(0);
    const QStringList args = Strings(call.arguments());
    QVariantList out;
    if (call.path() == QLatin1String(kStandInObject)) {
      Cue(method, call.arguments());
      if (method == QLatin1String("Activations")) out << activations_;
      if (method == QLatin1String("Sent")) out << sent_;
    } else if (call.path() == QLatin1String(kActionsObject) ||
               call.path() == QLatin1String(kMainWindowObject)) {
      activations_
          << (args.value(0) + QLatin1Char(' ') +
              Strings(qdbus_cast<QVariantList>(call.arguments().value(1))).join(QLatin1Char(' ')))
                 .trimmed();
    } else if (method == QLatin1String("send_chat_message")) {
      if (!accounts_.contains(args.value(2))) {
        out << false;
      } else if (!SendChatMessage(args[2], args[0], args[1], out)) {
        return true;
      }
    } else if (method == QLatin1String("list_accounts")) {
      out << QStringList(Names());
    } else if (method == QLatin1String("list_contacts")) {
      out << QVariant::fromValue(Contacts(args.value(0)));
    } else if (method == QLatin1String("account_info")) {
      StringMap info;
      if (accounts_.contains(args.value(0))) info[QStringLiteral("jid")] = Of(args[0]).address;
      out << QVariant::fromValue(info);
    } else if (!accounts_.contains(args.value(method == QLatin1String("change_status") ? 2 : 0))) {
      return true;  // Gajim's own error: no answer
    } else if (method == QLatin1String("get_status")) {
      Account& account = Of(args[0]);
      if (account.connecting_reads > 0) {
        --account.connecting_reads;
        out << QStringLiteral("connecting");
      } else {
        out << account.show;
      }
    } else if (method == QLatin1String("get_status_message")) {
      out << Of(args[0]).message;
    } else if (method == QLatin1String("change_status")) {
      ChangeStatus(args[2], args[0], args[1]);
      out << true;
    } else {
      connection.send(
          call.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"),
                                method + QStringLiteral(" is not faked")));
      return true;
    }
    connection.send(call.createReply(out));
    return true;
  }

  void RegisterRemote() { bus_.registerVirtualObject(QString::fromLatin1(kRemoteObject), this); }

 private:
  static QStringList Strings(const QVariantList& values) {
    QStringList strings;
    for (const QVariant& value : values) {
      if (value.metaType() != QMetaType::fromType<QDBusArgument>() ||
          value.value<QDBusArgument>().currentType() != QDBusArgument::MapType) {
        strings << value.toString();
        continue;
      }
      QStringList pairs;
      const QVariantMap map = qdbus_cast<QVariantMap>(value);
      for (auto it = map.begin(); it != map.end(); ++it) {
        pairs << it.key() + QLatin1Char('=') + it.value().toString();
      }
      strings << pairs.join(QLatin1Char(' '));
    }
    return strings;
  }

  // Sends as SendAnswer says; false for no answer at all.
  bool SendChatMessage(const QString& account, const QString& jid, const QString& text,
                       QVariantList& out) {
    if (send_answer_ == QLatin1String("no reply")) return false;
    if (send_answer_ == QLatin1String("refuse")) {
      out << false;
      return true;
    }
    sent_ << account + QLatin1Char(' ') + jid + QLatin1Char(' ') + text;
    if (send_answer_ != QLatin1String("silent")) {
      const QString reported =
          send_answer_ == QLatin1String("other") ? text + QLatin1Char('!') : text;
      QDBusMessage signal = QDBusMessage::createSignal(
          QString::fromLatin1(kRemoteObject), QStringLiteral("org.gajim.dbus.RemoteInterface"),
          QStringLiteral("MessageSent"));
      // av [account, av [jid, text]]: every list element goes as a variant.
      const QVariantList outer{account, QVariant::fromValue(QVariantList{jid, reported})};
      signal << QVariant::fromValue(outer);
      bus_.send(signal);
    }
    out << true;
    return true;
  }
  QStringList Names() const {
    QStringList names;
    for (const auto& [name, account] : accounts_) names << name;
    return names;
  }
  Account& Of(const QString& name) { return accounts_.at(name); }

  QList<QVariantMap> Contacts(const QString& name) const {
    QList<QVariantMap> contacts;
    if (!accounts_.contains(name)) return contacts;
    const Account& account = accounts_.at(name);
    for (const auto& [address, show] : account.roster) {
      const bool offline = account.show == QLatin1String("offline");
      // Shaped as Gajim's: its resources (name and status message) and groups come along.
      contacts.append(
          QVariantMap{{QStringLiteral("jid"), address},
                      {QStringLiteral("name"), address.section(QLatin1Char('@'), 0, 0)},
                      {QStringLiteral("show"), offline ? QStringLiteral("offline") : show},
                      {QStringLiteral("resources"),
                       QVariant::fromValue(Resources{{QStringLiteral("laptop"), QString()}})},
                      {QStringLiteral("groups"), QStringList{QStringLiteral("Friends")}}});
    }
    return contacts;
  }

  // Set a moment after the answer, as Gajim sets it when it is idle next.
  void ChangeStatus(const QString& name, const QString& show, const QString& message) {
    QTimer::singleShot(50, this, [this, name, show, message] {
      Account& account = Of(name);
      account.message = message;
      if (!account.kept.isEmpty()) return;
      if (account.show == QLatin1String("offline") && show != QLatin1String("offline")) {
        account.connecting_reads = 2;
      }
      account.show = show;
    });
  }

  void Cue(const QString& cue, const QVariantList& args) {
    if (cue == QLatin1String("Reset")) {
      accounts_ = Initial();
      activations_.clear();
      sent_.clear();
      send_answer_.clear();
      RegisterRemote();
    } else if (cue == QLatin1String("RemoteControl")) {
      bus_.unregisterObject(QString::fromLatin1(kRemoteObject));
      if (args.value(0).toBool())
        QTimer::singleShot(args.value(1).toInt(), this, [this] { RegisterRemote(); });
    } else if (cue == QLatin1String("KeepStatus")) {
      Account& account = Of(args.value(0).toString());
      account.kept = account.show = args.value(1).toString();
    } else if (cue == QLatin1String("SendAnswer")) {
      send_answer_ = args.value(0).toString();
    } else if (cue == QLatin1String("AddContact")) {
      const QString account = args.value(0).toString();
      const QString jid = args.value(1).toString();
      QTimer::singleShot(args.value(2).toInt(), this, [this, account, jid] {
        Of(account).roster.emplace_back(jid, QStringLiteral("offline"));
      });
    } else if (cue == QLatin1String("RemoveContact")) {
      const QString account = args.value(0).toString();
      const QString jid = args.value(1).toString();
      QTimer::singleShot(args.value(2).toInt(), this, [this, account, jid] {
        std::erase_if(Of(account).roster,
                      [&](const auto& contact) { return contact.first == jid; });
      });
    } else if (cue == QLatin1String("QuitOn")) {
      quit_on_ = args.value(0).toString();
    }
  }

  QDBusConnection bus_;
  std::map<QString, Account> accounts_ = Initial();
  QStringList activations_;
  QStringList sent_;
  QString send_answer_;
  QString quit_on_;
};

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  qDBusRegisterMetaType<QList<QVariantMap>>();
  qDBusRegisterMetaType<StringMap>();
  qDBusRegisterMetaType<Resources::value_type>();
  qDBusRegisterMetaType<Resources>();
  QDBusConnection bus = QDBusConnection::sessionBus();
  StandIn gajim(bus);
  gajim.RegisterRemote();
  if (!bus.registerVirtualObject(QString::fromLatin1(kActionsObject), &gajim) ||
      !bus.registerVirtualObject(QString::fromLatin1(kMainWindowObject), &gajim) ||
      !bus.registerVirtualObject(QString::fromLatin1(kStandInObject), &gajim) ||
      !bus.registerService(QString::fromLatin1(kService))) {
    std::fprintf(stderr, "stand-in Gajim: cannot take %s on the session bus\n", kService);
    return 1;
  }
  return QCoreApplication::exec();
}
