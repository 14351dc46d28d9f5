// Pidgin's D-Bus object, called plainly with a timeout on every call.
#include "clients/purple/qt/purple_bus.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QEventLoop>
#include <QList>

#include "clients/purple/qt/dbus_failure.h"

namespace plumwick::purple {

namespace {

int TimeoutMs() {
  return static_cast<int>(kCallTimeout.count());
}

Failure UnexpectedReply(const char* method, const QDBusMessage& reply) {
  return Failure(error_code::kClientError, std::string("Pidgin answered ") + method + " with \"" +
                                               reply.signature().toStdString() +
                                               "\", which this program does not expect");
}

// Returns once every call has its answer, an error after the call's timeout included. Pidgin
// answers in the order it was asked, so mostly only the first unanswered call is waited for.
void WaitForAll(const std::vector<QDBusPendingCall>& calls) {
  QEventLoop loop;
  for (const QDBusPendingCall& call : calls) {
    if (call.isFinished()) continue;
    // A watcher made for a call that has just finished still says so, through the event loop.
    const QDBusPendingCallWatcher watcher(call);
    QObject::connect(&watcher, &QDBusPendingCallWatcher::finished, &loop, &QEventLoop::quit);
    if (!call.isFinished()) loop.exec(QEventLoop::ExcludeUserInputEvents);
  }
}

}  // namespace

PurpleBus::PurpleBus() : connection_(QDBusConnection::sessionBus()) {
  if (!connection_.isConnected()) {
    const QDBusError error = connection_.lastError();
    throw Failure(error_code::kNoClient,
                  std::string(kNoClientText) + " (the session bus cannot be reached: " +
                      error.name().toStdString() + ": " + error.message().toStdString() + ")");
  }
}

QVariantList PurpleBus::Reply(const Target& target, const char* method, const char* signature,
                              const QVariantList& args, std::int32_t invalid_handle_code) {
  QDBusMessage call = QDBusMessage::createMethodCall(
      QString::fromLatin1(target.service), QString::fromLatin1(target.object),
      QString::fromLatin1(target.interface), QString::fromLatin1(method));
  call.setArguments(args);
  const QDBusMessage reply = connection_.call(call, QDBus::Block, TimeoutMs());
  if (reply.type() == QDBusMessage::ErrorMessage) {
    const QDBusError error(reply);
    // A Pidgin that quits before it answers leaves the call with no reply: said as it happened.
    if (error.type() == QDBusError::NoReply && &target == &kPidgin && !ServiceRunning()) {
      throw Failure(error_code::kNoClient,
                    std::string("Pidgin quit before it answered ") + method + ": " + kNoClientText);
    }
    throw DBusFailure(error, QString::fromLatin1(method), invalid_handle_code);
  }
  if (reply.type() != QDBusMessage::ReplyMessage || reply.signature() != QLatin1String(signature)) {
    throw UnexpectedReply(method, reply);
  }
  return reply.arguments();
}

void PurpleBus::Call(const char* method, const QVariantList& args,
                     std::int32_t invalid_handle_code) {
  Reply(kPidgin, method, "", args, invalid_handle_code);
}

std::int32_t PurpleBus::CallInt(const char* method, const QVariantList& args,
                                std::int32_t invalid_handle_code) {
  return Reply(kPidgin, method, "i", args, invalid_handle_code).at(0).value<std::int32_t>();
}

QString PurpleBus::CallString(const char* method, const QVariantList& args,
                              std::int32_t invalid_handle_code) {
  return Reply(kPidgin, method, "s", args, invalid_handle_code).at(0).toString();
}

std::vector<std::int32_t> PurpleBus::CallIntArray(const char* method, const QVariantList& args,
                                                  std::int32_t invalid_handle_code) {
  const QVariant value = Reply(kPidgin, method, "ai", args, invalid_handle_code).at(0);
  const QList<std::int32_t> list = qdbus_cast<QList<std::int32_t>>(value);
  return {list.begin(), list.end()};
}

std::vector<QVariant> PurpleBus::CallEach(const char* method, const char* signature,
                                          const std::vector<QVariantList>& args) {
  std::vector<QDBusPendingCall> calls;
  calls.reserve(args.size());
  for (const QVariantList& each : args) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QString::fromLatin1(kService), QString::fromLatin1(kObject),
        QString::fromLatin1(kInterface), QString::fromLatin1(method));
    call.setArguments(each);
    calls.push_back(connection_.asyncCall(call, TimeoutMs()));
  }
  WaitForAll(calls);
  std::vector<QVariant> answers;
  answers.reserve(calls.size());
  for (const QDBusPendingCall& call : calls) {
    const QDBusMessage reply = call.reply();
    if (reply.type() == QDBusMessage::ErrorMessage) {
      const QDBusError error(reply);
      if (error.name() != QLatin1String(kInvalidHandleError)) {
        throw DBusFailure(error, QString::fromLatin1(method));
      }
      answers.emplace_back();
    } else if (reply.type() != QDBusMessage::ReplyMessage ||
               reply.signature() != QLatin1String(signature)) {
      throw UnexpectedReply(method, reply);
    } else {
      answers.push_back(reply.arguments().at(0));
    }
  }
  return answers;
}

const char* PurpleBus::Listen(std::span<const Subscription> table, QObject* receiver) {
  for (const Subscription& each : table) {
    // Matched by the service's name: the bus routes the signal of whoever owns it now.
    if (!connection_.connect(QString::fromLatin1(kService), QString::fromLatin1(kObject),
                             QString::fromLatin1(kInterface), QString::fromLatin1(each.signal),
                             receiver, each.slot)) {
      return each.signal;
    }
  }
  return nullptr;
}

void PurpleBus::StopListening(std::span<const Subscription> table, QObject* receiver) {
  for (const Subscription& each : table) {
    connection_.disconnect(QString::fromLatin1(kService), QString::fromLatin1(kObject),
                           QString::fromLatin1(kInterface), QString::fromLatin1(each.signal),
                           receiver, each.slot);
  }
}

std::int64_t PurpleBus::ServiceProcess() {
  return Reply(kBus, "GetConnectionUnixProcessID", "u", {Str(QString::fromLatin1(kService))})
      .at(0)
      .value<std::uint32_t>();
}

bool PurpleBus::ServiceRunning() {
  return Reply(kBus, "NameHasOwner", "b", {Str(QString::fromLatin1(kService))}).at(0).toBool();
}

}  // namespace plumwick::purple
