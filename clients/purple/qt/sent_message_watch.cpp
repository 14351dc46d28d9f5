// Confirms a message sent through a Pidgin conversation.
#include "clients/purple/qt/sent_message_watch.h"

#include <QRegularExpression>
#include <QTextDocumentFragment>

#include "platform/failure.h"

namespace plumwick::purple {

namespace {

// Not constexpr: SLOT() records where it was written in debug builds.
const Subscription kSubscriptions[] = {{"SentImMsg", SLOT(OnSentImMsg(int, QString, QString))}};

}  // namespace

std::string PlainMessageText(const QString& html) {
  // Qt's HTML reading would fold runs of spaces into one, which Pidgin sends as they were typed:
  // only the line breaks and the entities are Pidgin's doing.
  QString text = html;
  text.replace(
      QRegularExpression(QStringLiteral("<br\\s*/?>"), QRegularExpression::CaseInsensitiveOption),
      QStringLiteral("\n"));
  text.remove(QRegularExpression(QStringLiteral("<[^>]*>")));
  static const QRegularExpression entity(QStringLiteral("&(#x?[0-9a-fA-F]+|[a-zA-Z]+);"));
  QString plain;
  qsizetype from = 0;
  for (auto match = entity.globalMatch(text); match.hasNext();) {
    const QRegularExpressionMatch found = match.next();
    plain += text.mid(from, found.capturedStart() - from);
    from = found.capturedEnd();
    // The fragment reader knows every named and numbered entity; one entity alone has no spaces
    // to fold.
    plain += QTextDocumentFragment::fromHtml(found.captured()).toPlainText();
  }
  plain += text.mid(from);
  return plain.toStdString();
}

bool SameContact(const QString& receiver, const QString& contact) {
  const QString bare = receiver.section(QLatin1Char('/'), 0, 0);
  return receiver.compare(contact, Qt::CaseInsensitive) == 0 ||
         bare.compare(contact, Qt::CaseInsensitive) == 0;
}

SentMessageWatch::SentMessageWatch(PurpleBus& bus, Handle account, const std::string& contact)
    : bus_(bus), expected_{account, QString::fromStdString(contact)} {
  if (bus_.Listen(kSubscriptions, this) != nullptr) {
    throw Failure(error_code::kClientError,
                  "Pidgin's SentImMsg signal cannot be listened to on the session bus");
  }
}

SentMessageWatch::~SentMessageWatch() {
  bus_.StopListening(kSubscriptions, this);
}

void SentMessageWatch::OnSentImMsg(int account, const QString& receiver, const QString& message) {
  if (account != expected_.account || !SameContact(receiver, expected_.contact)) return;
  sent_.push_back(PlainMessageText(message));
}

}  // namespace plumwick::purple
