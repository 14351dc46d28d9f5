// The notice after a contact was added through Pidgin's dialog.
#include "clients/purple/qt/added_buddy_notice.h"

#include "platform/failure.h"

namespace plumwick::purple {

namespace {

constexpr char kSignal[] = "BuddyAdded";

}  // namespace

AddedBuddyNotice::AddedBuddyNotice(PurpleBus& bus, Handle account, const std::string& name)
    : bus_(bus),
      expected_(Expected{account, QString::fromStdString(name)}),
      notice_(QStringLiteral("Contact added")) {
  // Matched by the service's name: the bus routes the signal of whoever owns it now.
  if (!bus_.connection().connect(QString::fromLatin1(kService), QString::fromLatin1(kObject),
                                 QString::fromLatin1(kInterface), QString::fromLatin1(kSignal),
                                 this, SLOT(OnBuddyAdded(int)))) {
    throw Failure(error_code::kClientError,
                  "Pidgin's BuddyAdded signal cannot be listened to on the session bus");
  }
}

AddedBuddyNotice::~AddedBuddyNotice() {
  bus_.connection().disconnect(QString::fromLatin1(kService), QString::fromLatin1(kObject),
                               QString::fromLatin1(kInterface), QString::fromLatin1(kSignal), this,
                               SLOT(OnBuddyAdded(int)));
}

void AddedBuddyNotice::OnBuddyAdded(int buddy) {
  if (!expected_) return;
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
  // XMPP addresses are compared without regard to case, as the server does.
  if (account != expected_->account || name.compare(expected_->name, Qt::CaseInsensitive) != 0) {
    return;
  }
  expected_.reset();
  confirmation_ = name + QStringLiteral(" was added to your contacts.");
  ShowAgain();
}

}  // namespace plumwick::purple
