// Which of Pidgin's buddies may have changed since the contact list was last read. Pidgin reports
// each buddy who signs on or off, changes status, is added or removed; an account that signs on
// or off, or a Pidgin that leaves the bus (a new one numbers its buddies anew), may change them
// all. The reports come on their own, but Pidgin sends each before its answer to any later call:
// once a call is answered, the reports of every change made before it are here.
#pragma once

#include <set>

#include <QDBusServiceWatcher>
#include <QObject>

#include "clients/purple/qt/purple_bus.h"

namespace plumwick::purple {

class BuddyListWatch final : public QObject {
  Q_OBJECT
 public:
  struct Changes {
    bool all = true;
    std::set<Handle> buddies;
  };

  // Never fails: a watch that cannot listen answers every time that all may have changed.
  explicit BuddyListWatch(PurpleBus& bus);
  ~BuddyListWatch() override;
  BuddyListWatch(const BuddyListWatch&) = delete;
  BuddyListWatch& operator=(const BuddyListWatch&) = delete;

  // What may have changed since the last call (all, at the first), counting every report that
  // came before Pidgin's answer to the latest call; the count starts again.
  Changes Take();

 private Q_SLOTS:
  void OnBuddy(int buddy);
  void OnAll();

 private:
  PurpleBus& bus_;
  QDBusServiceWatcher owner_;
  bool listening_ = true;
  Changes changes_;
};

}  // namespace plumwick::purple
