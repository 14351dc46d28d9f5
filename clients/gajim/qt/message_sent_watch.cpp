// Gajim's reports of the messages it sent.
#include "clients/gajim/qt/message_sent_watch.h"

#include <utility>

#include <QDBusArgument>
#include <QDBusVariant>

#include "platform/failure.h"

namespace plumwick::gajim {

namespace {

void AppendStrings(const QVariant& value, QStringList& out) {
  if (value.metaType() == QMetaType::fromType<QDBusVariant>()) {
    AppendStrings(value.value<QDBusVariant>().variant(), out);
  } else if (value.metaType() == QMetaType::fromType<QDBusArgument>()) {
    for (const QVariant& each : qdbus_cast<QVariantList>(value)) AppendStrings(each, out);
  } else if (value.metaType() == QMetaType::fromType<QVariantList>()) {
    for (const QVariant& each : value.toList()) AppendStrings(each, out);
  } else if (value.metaType() == QMetaType::fromType<QString>()) {
    out << value.toString();
  }
}

const QString kSignal = QStringLiteral("MessageSent");

}  // namespace

QStringList SignalStrings(const QVariantList& arguments) {
  QStringList out;
  for (const QVariant& argument : arguments) AppendStrings(argument, out);
  return out;
}

MessageSentWatch::MessageSentWatch(GajimBus& bus, QString account, QString address)
    : bus_(bus), account_(std::move(account)), address_(std::move(address)) {
  if (!bus_.connection().connect(QString::fromLatin1(kService), QString::fromLatin1(kRemoteObject),
                                 QString::fromLatin1(kRemoteInterface), kSignal, this,
                                 SLOT(OnMessageSent(QDBusMessage)))) {
    throw Failure(error_code::kClientError,
                  "The session bus refused to pass on Gajim's reports of messages sent (" +
                      bus_.connection().lastError().message().toStdString() + ")");
  }
}

MessageSentWatch::~MessageSentWatch() {
  bus_.connection().disconnect(QString::fromLatin1(kService), QString::fromLatin1(kRemoteObject),
                               QString::fromLatin1(kRemoteInterface), kSignal, this,
                               SLOT(OnMessageSent(QDBusMessage)));
}

void MessageSentWatch::OnMessageSent(const QDBusMessage& signal) {
  const QStringList strings = SignalStrings(signal.arguments());
  if (strings.size() < 3 || strings[0] != account_) return;
  // Gajim reports the contact's bare address; a resource would still be the same contact.
  if (strings[1].section(QLatin1Char('/'), 0, 0).compare(address_, Qt::CaseInsensitive) != 0) {
    return;
  }
  sent_.push_back(strings[2]);
}

}  // namespace plumwick::gajim
