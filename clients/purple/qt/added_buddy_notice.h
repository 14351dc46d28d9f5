// Confirms a contact added through Pidgin's add-buddy dialog. The dialog closes without a word
// when its Add button is pressed; once Pidgin reports the buddy it asked for (its BuddyAdded
// signal), a notice says so and takes the focus, so the Enter that follows dismisses the notice
// rather than landing in whatever window comes next.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include <QObject>

#include "clients/purple/qt/purple_bus.h"
#include "clients/qt/notice.h"

namespace plumwick::purple {

class AddedBuddyNotice final : public QObject {
  Q_OBJECT
 public:
  // Confirms the next buddy added with this name on this account. Listens on the bus for Pidgin's
  // signal whichever process owns the service name, so a restarted Pidgin is heard too. Throws
  // Failure(kClientError) when the bus refuses.
  AddedBuddyNotice(PurpleBus& bus, Handle account, const std::string& name);
  ~AddedBuddyNotice() override;

  // Whether the notice is up, waiting for the Enter that dismisses it.
  bool Showing() const { return notice_.isVisible(); }
  // Whether the contact expected was added, the notice up or not.
  bool Confirmed() const { return !confirmation_.isEmpty(); }
  // Brings the confirmation back, for an Enter meant for a notice the user has closed already.
  void ShowAgain() { notice_.Present(confirmation_); }
  bool Shows(std::uint64_t id) const { return notice_.Shows(id); }
  // The notice's desktop window.
  std::uint64_t Id() const { return static_cast<std::uint64_t>(notice_.winId()); }
  clients::Notice& notice() { return notice_; }

 private Q_SLOTS:
  void OnBuddyAdded(int buddy);

 private:
  struct Expected {
    Handle account;
    QString name;
  };

  PurpleBus& bus_;
  std::optional<Expected> expected_;
  QString confirmation_;
  clients::Notice notice_;
};

}  // namespace plumwick::purple
