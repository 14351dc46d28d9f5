// Confirms a contact added through Pidgin's add-buddy dialog. The dialog closes without a word
// when its Add button is pressed; once Pidgin reports the buddy it asked for (its BuddyAdded
// signal), a notice says so and takes the focus, so the Enter that follows dismisses the notice
// rather than landing in whatever window comes next.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include <QObject>

#include "clients/purple/purple_bus.h"
#include "clients/purple/qt/purple_notice.h"

namespace plumwick::purple {

class AddedBuddyNotice final : public QObject {
  Q_OBJECT
 public:
  // Listens on the bus for Pidgin's signal whichever process owns the service name, so a
  // restarted Pidgin is heard too. Throws Failure(kClientError) when the bus refuses.
  explicit AddedBuddyNotice(PurpleBus& bus);
  ~AddedBuddyNotice() override;

  // The next buddy added with this name on this account is confirmed; an earlier expectation is
  // dropped.
  void Expect(Handle account, const std::string& name);
  bool Shows(std::uint64_t id) const { return notice_.Shows(id); }
  PurpleNotice& notice() { return notice_; }

 private slots:
  void OnBuddyAdded(int buddy);

 private:
  struct Expected {
    Handle account;
    QString name;
  };

  PurpleBus& bus_;
  std::optional<Expected> expected_;
  PurpleNotice notice_;
};

}  // namespace plumwick::purple
