// Which of Pidgin's buddies may have changed since the contact list was last read.
#include "clients/purple/qt/buddy_list_watch.h"

#include <QCoreApplication>

namespace plumwick::purple {

namespace {

// Each buddy signal's first argument is the buddy; the slot takes no more.
const Subscription kSubscriptions[] = {
    {"BuddySignedOn", SLOT(OnBuddy(int))},      {"BuddySignedOff", SLOT(OnBuddy(int))},
    {"BuddyStatusChanged", SLOT(OnBuddy(int))}, {"BuddyAdded", SLOT(OnBuddy(int))},
    {"BuddyRemoved", SLOT(OnBuddy(int))},       {"AccountSignedOn", SLOT(OnAll())},
    {"AccountSignedOff", SLOT(OnAll())},
};

}  // namespace

BuddyListWatch::BuddyListWatch(PurpleBus& bus)
    : bus_(bus),
      owner_(QString::fromLatin1(kService), bus.connection(),
             QDBusServiceWatcher::WatchForOwnerChange) {
  connect(&owner_, &QDBusServiceWatcher::serviceOwnerChanged, this, &BuddyListWatch::OnAll);
  listening_ = bus_.Listen(kSubscriptions, this) == nullptr;
}

BuddyListWatch::~BuddyListWatch() {
  bus_.StopListening(kSubscriptions, this);
}

BuddyListWatch::Changes BuddyListWatch::Take() {
  // The bus's thread hands each report to this thread as an event of the object it is for; these
  // are the only events taken in here, so nothing else of the window runs.
  QCoreApplication::sendPostedEvents(&owner_, QEvent::MetaCall);
  QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
  Changes taken = std::move(changes_);
  taken.all = taken.all || !listening_;
  changes_ = {.all = false, .buddies = {}};
  return taken;
}

void BuddyListWatch::OnBuddy(int buddy) {
  if (!changes_.all) changes_.buddies.insert(buddy);
}

void BuddyListWatch::OnAll() {
  changes_ = {.all = true, .buddies = {}};
}

}  // namespace plumwick::purple
