// A stand-in for Pidgin on a test's session bus, for the client's checks that a real Pidgin cannot
// be made to fail on cue. One signed-on account (7) with no buddies; a conversation (77) opens and
// has the focus by Pidgin's word; the add-buddy request is taken and remembered; buddy 42 is the
// last address asked for and any other buddy is someone else. The test makes it report an added
// buddy with its own method EmitBuddyAdded(buddy), a sent message with EmitSentImMsg(account,
// receiver, message), and any other report with Emit(signal, arguments...). Two more
// conversations (78, 79) are open; ShowTabs(front, tabs) puts the focused window's tabs in that
// order with `front` in front, and NextTab() does what Ctrl+Page Down does there.
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QList>

#include <cstdio>

namespace {

constexpr char kService[] = "im.pidgin.purple.PurpleService";
constexpr char kObject[] = "/im/pidgin/purple/PurpleObject";
constexpr char kInterface[] = "im.pidgin.purple.PurpleInterface";
constexpr int kAccount = 7;
constexpr int kAskedFor = 42;
constexpr int kConversation = 77;

class FakePidgin final : public QDBusVirtualObject {
 public:
  QString introspect(const QString&) const override { return {}; }

  bool handleMessage(const QDBusMessage& call, const QDBusConnection& connection) override {
    const QString method = call.member();
    const QVariantList args = call.arguments();
    QVariantList out;
    if (method == QLatin1String("PurpleAccountsGetAllActive")) {
      out << QVariant::fromValue(QList<int>{kAccount});
    } else if (method == QLatin1String("PurpleAccountIsConnected")) {
      out << 1;
    } else if (method == QLatin1String("PurpleAccountGetProtocolId")) {
      out << QStringLiteral("prpl-fake");
    } else if (method == QLatin1String("PurpleNormalize")) {
      out << args.value(1).toString();
    } else if (method == QLatin1String("PurpleFindBuddy")) {
      out << 0;
    } else if (method == QLatin1String("PurpleBlistRequestAddBuddy")) {
      asked_for_ = args.value(1).toString();
    } else if (method == QLatin1String("PurpleBuddyGetName")) {
      out << (args.value(0).toInt() == kAskedFor ? asked_for_ : QStringLiteral("someone@else"));
    } else if (method == QLatin1String("PurpleBuddyGetAccount")) {
      out << kAccount;
    } else if (method == QLatin1String("PurpleFindConversationWithAccount")) {
      out << 0;
    } else if (method == QLatin1String("PurpleConversationNew")) {
      out << kConversation;
    } else if (method == QLatin1String("PurpleConversationPresent")) {
    } else if (method == QLatin1String("PurpleConversationHasFocus")) {
      out << (args.value(0).toInt() == front_ ? 1 : 0);
    } else if (method == QLatin1String("PurpleGetConversations")) {
      out << QVariant::fromValue(QList<int>{kConversation, kConversation + 1, kConversation + 2});
    } else if (method == QLatin1String("ShowTabs")) {
      front_ = args.value(0).toInt();
      tabs_ = qdbus_cast<QList<int>>(args.value(1));
    } else if (method == QLatin1String("NextTab")) {
      front_ = tabs_.value((tabs_.indexOf(front_) + 1) % tabs_.size());
    } else if (method == QLatin1String("EmitBuddyAdded")) {
      QDBusMessage added =
          QDBusMessage::createSignal(QString::fromLatin1(kObject), QString::fromLatin1(kInterface),
                                     QStringLiteral("BuddyAdded"));
      added << args.value(0).toInt();
      connection.send(added);
    } else if (method == QLatin1String("Emit")) {
      QDBusMessage report = QDBusMessage::createSignal(
          QString::fromLatin1(kObject), QString::fromLatin1(kInterface), args.value(0).toString());
      report.setArguments(args.mid(1));
      connection.send(report);
    } else if (method == QLatin1String("EmitSentImMsg")) {
      QDBusMessage sent =
          QDBusMessage::createSignal(QString::fromLatin1(kObject), QString::fromLatin1(kInterface),
                                     QStringLiteral("SentImMsg"));
      sent << args.value(0).toInt() << args.value(1).toString() << args.value(2).toString();
      connection.send(sent);
    } else {
      connection.send(
          call.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"),
                                method + QStringLiteral(" is not faked")));
      return true;
    }
    connection.send(call.createReply(out));
    return true;
  }

 private:
  QString asked_for_;
  int front_ = kConversation;
  QList<int> tabs_{kConversation};
};

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  FakePidgin pidgin;
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.registerVirtualObject(QString::fromLatin1(kObject), &pidgin) ||
      !bus.registerService(QString::fromLatin1(kService))) {
    std::fprintf(stderr, "fake Pidgin: cannot take %s on the session bus\n", kService);
    return 1;
  }
  return QCoreApplication::exec();
}
