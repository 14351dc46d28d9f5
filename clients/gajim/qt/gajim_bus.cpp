// Gajim's remote object and actions, each call waited for in an event loop with a timeout.
#include "clients/gajim/qt/gajim_bus.h"

#include <QDBusArgument>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QEventLoop>
#include <QTimer>

namespace plumwick::gajim {

namespace {

// The call as the user may read it in an error: the method and its arguments.
std::string Asked(const QDBusMessage& call) {
  QStringList args;
  for (const QVariant& arg : call.arguments()) {
    args << (arg.metaType() == QMetaType::fromType<QString>()
                 ? QLatin1Char('"') + arg.toString() + QLatin1Char('"')
                 : QStringLiteral("..."));
  }
  return (call.member() + QLatin1Char('(') + args.join(QStringLiteral(", ")) + QLatin1Char(')'))
      .toStdString();
}

QDBusMessage RemoteCall(const char* method, const QStringList& args) {
  QDBusMessage call = QDBusMessage::createMethodCall(
      QString::fromLatin1(kService), QString::fromLatin1(kRemoteObject),
      QString::fromLatin1(kRemoteInterface), QString::fromLatin1(method));
  for (const QString& arg : args) call << arg;
  return call;
}

}  // namespace

GajimBus::GajimBus() : connection_(QDBusConnection::sessionBus()) {
  if (!connection_.isConnected()) {
    const QDBusError error = connection_.lastError();
    throw Failure(error_code::kNoClient,
                  std::string(kNoClientText) + " (the session bus cannot be reached: " +
                      error.name().toStdString() + ": " + error.message().toStdString() + ")");
  }
}

QVariantList GajimBus::Answer(const QDBusMessage& call, const char* signature, GajimObject object) {
  const QDBusPendingCall pending =
      connection_.asyncCall(call, static_cast<int>(kCallTimeout.count()));
  if (!pending.isFinished()) {
    QEventLoop loop;
    // A watcher made for a call that has just finished still says so, through the event loop.
    const QDBusPendingCallWatcher watcher(pending);
    QObject::connect(&watcher, &QDBusPendingCallWatcher::finished, &loop, &QEventLoop::quit);
    if (!pending.isFinished()) loop.exec(QEventLoop::ExcludeUserInputEvents);
  }
  const QDBusMessage reply = pending.reply();
  if (reply.type() == QDBusMessage::ErrorMessage) {
    const QDBusError error(reply);
    // A Gajim that quits before it answers leaves the call with no reply: said as it happened.
    if (error.type() == QDBusError::NoReply && !ServiceRunning()) {
      throw Failure(error_code::kNoClient,
                    "Gajim quit before it answered " + Asked(call) + ": " + kNoClientText);
    }
    throw GajimFailure(error, Asked(call), object);
  }
  if (reply.type() != QDBusMessage::ReplyMessage || reply.signature() != QLatin1String(signature)) {
    throw Failure(error_code::kClientError, "Gajim answered " + Asked(call) + " with \"" +
                                                reply.signature().toStdString() +
                                                "\", which this program does not expect");
  }
  return reply.arguments();
}

bool GajimBus::CallBool(const char* method, const QStringList& args) {
  return Answer(RemoteCall(method, args), "b", GajimObject::kRemote).at(0).toBool();
}

QString GajimBus::CallString(const char* method, const QStringList& args) {
  return Answer(RemoteCall(method, args), "s", GajimObject::kRemote).at(0).toString();
}

QStringList GajimBus::CallStrings(const char* method, const QStringList& args) {
  return qdbus_cast<QStringList>(
      Answer(RemoteCall(method, args), "as", GajimObject::kRemote).at(0));
}

QList<QVariantMap> GajimBus::CallDicts(const char* method, const QStringList& args) {
  return qdbus_cast<QList<QVariantMap>>(
      Answer(RemoteCall(method, args), "aa{sv}", GajimObject::kRemote).at(0));
}

QMap<QString, QString> GajimBus::CallStringMap(const char* method, const QStringList& args) {
  return qdbus_cast<QMap<QString, QString>>(
      Answer(RemoteCall(method, args), "a{ss}", GajimObject::kRemote).at(0));
}

void GajimBus::Activate(const char* object, const QString& action, const QVariantList& parameter) {
  QDBusMessage call =
      QDBusMessage::createMethodCall(QString::fromLatin1(kService), QString::fromLatin1(object),
                                     QStringLiteral("org.gtk.Actions"), QStringLiteral("Activate"));
  // (s name, av parameter, a{sv} platform data): a QVariantList goes as "av".
  call << action << QVariant::fromValue(parameter) << QVariantMap();
  Answer(call, "", GajimObject::kActions);
}

QVariantList GajimBus::AskBus(const char* method, const char* signature) {
  QDBusMessage call = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
      QStringLiteral("org.freedesktop.DBus"), QString::fromLatin1(method));
  call << QString::fromLatin1(kService);
  const QDBusMessage reply =
      connection_.call(call, QDBus::Block, static_cast<int>(kCallTimeout.count()));
  if (reply.type() == QDBusMessage::ErrorMessage) {
    throw GajimFailure(QDBusError(reply), Asked(call), GajimObject::kActions);
  }
  if (reply.signature() != QLatin1String(signature)) {
    throw Failure(error_code::kClientError, "The session bus answered " + Asked(call) + " with \"" +
                                                reply.signature().toStdString() + "\"");
  }
  return reply.arguments();
}

bool GajimBus::ServiceRunning() {
  return AskBus("NameHasOwner", "b").at(0).toBool();
}

std::int64_t GajimBus::ServiceProcess() {
  return AskBus("GetConnectionUnixProcessID", "u").at(0).value<std::uint32_t>();
}

void GajimBus::Pause(std::chrono::milliseconds interval) {
  QEventLoop loop;
  QTimer::singleShot(interval, &loop, &QEventLoop::quit);
  loop.exec(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace plumwick::gajim
