// A stand-in for Pidgin on a test's session bus, for the client's checks that a real Pidgin cannot
// be made to fail on cue. One signed-on account (7) with no buddies; a conversation (77) opens and
// has the focus by Pidgin's word; the add-buddy request is taken and remembered; buddy 42 is the
// last address asked for and any other buddy is someone else. The test makes it report an added
// buddy with its own method EmitBuddyAdded(buddy), a sent message with EmitSentImMsg(account,
// receiver, message), and any other report with Emit(signal, arguments...). Two more
// conversations (78, 79) are open; ShowTabs(front, tabs) puts the focused window's tabs in that
// order with `front` in front, and NextTab() does what Ctrl+Page Down does there.
//
// Conversation 77's entry and its typing timers answer the draft check as Pidgin's do:
// SetEntry(text) and SetSendTyping(on) set them up; TypeKeys(keys, after) types keys into the entry
// ("{END}",
// "{BACKSPACE}" or one character each), the first handled once `after` more calls were answered
// and each other after one more call (-1: never, as a Pidgin too busy to get to them). Close()
// closes conversation 77 as the user's Ctrl+W does, until the next PurpleConversationNew.
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QList>
#include <QStringList>

#include <cstdint>
#include <cstdio>
#include <ctime>

namespace {

constexpr char kService[] = "im.pidgin.purple.PurpleService";
constexpr char kObject[] = "/im/pidgin/purple/PurpleObject";
constexpr char kInterface[] = "im.pidgin.purple.PurpleInterface";
constexpr int kAccount = 7;
constexpr int kAskedFor = 42;
constexpr int kConversation = 77;
constexpr int kIm = 177;  // conversation 77's IM data

// The entry of conversation 77 and the two times Pidgin keeps for its typing notifications, changed
// by typed keys as Pidgin changes them.
class StandInEntry {
 public:
  void Set(const QString& text) { text_ = text; }
  void SetSendTyping(bool on) { send_typing_ = on; }
  bool send_typing() const { return send_typing_; }
  std::int32_t typed_timer() const { return typed_timer_; }
  std::int32_t type_again() const { return static_cast<std::int32_t>(type_again_); }
  void SetTypeAgain(std::uint32_t from_now) {
    type_again_ = from_now == 0 ? 0 : static_cast<std::uint32_t>(std::time(nullptr)) + from_now;
  }

  void Type(const QStringList& keys, int after) {
    pending_ << keys;
    calls_left_ = after;
    if (calls_left_ == 0) HandleNext();
  }
  // One more call answered: Pidgin handles a key between two calls.
  void Answered() {
    if (calls_left_ > 0) --calls_left_;
    if (calls_left_ == 0) HandleNext();
  }

 private:
  void HandleNext() {
    if (!pending_.isEmpty()) Handle(pending_.takeFirst());
  }
  void Handle(const QString& key) {
    if (key == QLatin1String("{END}")) return;  // the caret is at the end already
    if (key == QLatin1String("{BACKSPACE}")) {
      if (text_.isEmpty()) return;
      text_.chop(1);
      // All of it deleted: Pidgin stops its "typed" timer; otherwise it counts as typing.
      if (text_.isEmpty()) {
        if (send_typing_) typed_timer_ = 0;
        return;
      }
      return TypingKeypress(false);
    }
    const bool first = text_.isEmpty();
    text_ += key;
    TypingKeypress(first);
  }
  void TypingKeypress(bool first) {
    if (!send_typing_) return;
    typed_timer_ = ++timers_;
    // Pidgin announces typing on the first character, and again once the "type again" time has
    // passed; XMPP asks for no time, so the time becomes 0.
    if (first || (type_again_ != 0 && std::time(nullptr) > type_again_)) type_again_ = 0;
  }

  QString text_;
  bool send_typing_ = true;
  std::int32_t typed_timer_ = 0;
  std::int32_t timers_ = 100;
  std::uint32_t type_again_ = 0;
  QStringList pending_;
  int calls_left_ = -1;
};

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
    } else if (method == QLatin1String("PurpleBlistRequestAddBuddy")) {
      asked_for_ = args.value(1).toString();
    } else if (method == QLatin1String("PurpleBuddyGetName")) {
      out << (args.value(0).toInt() == kAskedFor ? asked_for_ : QStringLiteral("someone@else"));
    } else if (method == QLatin1String("PurpleBuddyGetAccount")) {
      out << kAccount;
    } else if (method == QLatin1String("PurpleFindBuddy") ||
               method == QLatin1String("PurpleFindConversationWithAccount")) {
      out << 0;
    } else if (method == QLatin1String("PurpleConversationNew")) {
      closed_ = false;
      out << kConversation;
    } else if (method == QLatin1String("PurpleConversationPresent")) {
    } else if (method == QLatin1String("PurpleConversationHasFocus")) {
      if (closed_ && args.value(0).toInt() == kConversation) {
        connection.send(call.createErrorReply(QStringLiteral("im.pidgin.purple.InvalidHandle"),
                                              QStringLiteral("Invalid handle")));
        return true;
      }
      out << (args.value(0).toInt() == front_ ? 1 : 0);
    } else if (method == QLatin1String("PurpleGetConversations")) {
      QList<int> open{kConversation + 1, kConversation + 2};
      if (!closed_) open.prepend(kConversation);
      out << QVariant::fromValue(open);
    } else if (method == QLatin1String("Close")) {
      closed_ = true;
    } else if (method == QLatin1String("ShowTabs")) {
      front_ = args.value(0).toInt();
      tabs_ = qdbus_cast<QList<int>>(args.value(1));
    } else if (method == QLatin1String("NextTab")) {
      front_ = tabs_.value((tabs_.indexOf(front_) + 1) % tabs_.size());
    } else if (method == QLatin1String("PurplePrefsGetBool")) {
      out << (args.value(0).toString() == QLatin1String("/purple/conversations/im/send_typing") &&
                      entry_.send_typing()
                  ? 1
                  : 0);
    } else if (method == QLatin1String("PurpleConversationGetImData")) {
      out << kIm;
    } else if (method == QLatin1String("PurpleConvImGetSendTypedTimeout")) {
      out << entry_.typed_timer();
    } else if (method == QLatin1String("PurpleConvImGetTypeAgain")) {
      out << entry_.type_again();
    } else if (method == QLatin1String("PurpleConvImSetTypeAgain")) {
      entry_.SetTypeAgain(args.value(1).toUInt());
    } else if (method == QLatin1String("SetEntry")) {
      entry_.Set(args.value(0).toString());
    } else if (method == QLatin1String("SetSendTyping")) {
      entry_.SetSendTyping(args.value(0).toBool());
    } else if (method == QLatin1String("TypeKeys")) {
      connection.send(call.createReply(out));
      entry_.Type(args.value(0).toStringList(), args.value(1).toInt());
      return true;
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
    entry_.Answered();
    return true;
  }

 private:
  StandInEntry entry_;
  bool closed_ = false;  // conversation 77, until it is opened again
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
