// The vCard with a new nickname, everything else kept.
#include "clients/purple/qt/vcard_nickname.h"

#include <QDomDocument>
#include <QDomElement>
#include <QDomText>

namespace plumwick::purple {

namespace {

constexpr char kNickname[] = "NICKNAME";

// libpurple takes user info for a vCard when its root element's name starts with "vCard".
bool IsVcard(const QDomElement& root) {
  return !root.isNull() && root.tagName().startsWith(QLatin1String("vCard"), Qt::CaseInsensitive);
}

QDomDocument NewVcard(const QString& description) {
  QDomDocument document;
  QDomElement vcard = document.createElement(QStringLiteral("vCard"));
  vcard.setAttribute(QStringLiteral("xmlns"), QStringLiteral("vcard-temp"));
  document.appendChild(vcard);
  if (!description.trimmed().isEmpty()) {
    QDomElement desc = document.createElement(QStringLiteral("DESC"));
    desc.appendChild(document.createTextNode(description));
    vcard.appendChild(desc);
  }
  return document;
}

}  // namespace

QString WithNickname(const QString& user_info, const QString& nickname) {
  QDomDocument document;
  // Without namespace processing the xmlns attribute stays an attribute and is written back as
  // it came.
  if (!document.setContent(user_info, false) || !IsVcard(document.documentElement())) {
    document = NewVcard(user_info);
  }
  QDomElement vcard = document.documentElement();
  QDomElement nick = vcard.firstChildElement(QLatin1String(kNickname));
  // One nickname only: a second one would leave readers to pick.
  for (QDomElement extra = nick.nextSiblingElement(QLatin1String(kNickname)); !extra.isNull();) {
    const QDomElement next = extra.nextSiblingElement(QLatin1String(kNickname));
    vcard.removeChild(extra);
    extra = next;
  }
  if (nick.isNull()) {
    nick = document.createElement(QLatin1String(kNickname));
    vcard.appendChild(nick);
  }
  while (nick.hasChildNodes()) nick.removeChild(nick.firstChild());
  nick.appendChild(document.createTextNode(nickname));
  return document.toString(-1).trimmed();
}

}  // namespace plumwick::purple
