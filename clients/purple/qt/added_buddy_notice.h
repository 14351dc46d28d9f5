// Confirms a contact added through Pidgin's add-buddy dialog. The dialog closes without a word
// when its Add button is pressed; once Pidgin reports the buddy it asked for (its BuddyAdded
// signal), a notice says so and takes the focus, so the Enter that follows dismisses the notice
// rather than landing in whatever window comes next. The notice opens while Pidgin's dialog still
// has the focus, and a window manager that prevents focus stealing would leave it behind: it is
// activated through the window manager, as a taskbar would, whenever another window has taken
// the focus from it (Pidgin's buddy list does, once the dialog has closed), for as long as the
// program's focus guard would wait for it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include <QObject>
#include <QTimer>

#include "clients/purple/qt/purple_bus.h"
#include "clients/qt/notice.h"
#include "platform/window_manager.h"

namespace plumwick::purple {

class AddedBuddyNotice final : public QObject {
  Q_OBJECT
 public:
  // Listens on the bus for Pidgin's signal whichever process owns the service name, so a
  // restarted Pidgin is heard too. Throws Failure(kClientError) when the bus refuses.
  AddedBuddyNotice(PurpleBus& bus, WindowManager& windows);
  ~AddedBuddyNotice() override;

  // The next buddy added with this name on this account is confirmed; an earlier expectation is
  // dropped.
  void Expect(Handle account, const std::string& name);
  // Whether the notice is up, waiting for the Enter that dismisses it.
  bool Showing() const { return notice_.isVisible(); }
  // Whether the contact expected was added, from the signal until Dismiss, the notice up or not.
  bool Confirmed() const { return !confirmation_.isEmpty(); }
  // Brings the confirmation back, for an Enter meant for a notice the user has closed already.
  void ShowAgain();
  bool Shows(std::uint64_t id) const { return notice_.Shows(id); }
  // Takes the notice away (a new request makes it stale) and forgets what was expected.
  void Dismiss();
  clients::Notice& notice() { return notice_; }

 private Q_SLOTS:
  void OnBuddyAdded(int buddy);
  void ActivateNotice();

 private:
  struct Expected {
    Handle account;
    QString name;
  };

  PurpleBus& bus_;
  WindowManager& windows_;
  std::optional<Expected> expected_;
  QString confirmation_;
  clients::Notice notice_;
  QTimer activate_;
  int activations_left_ = 0;
};

}  // namespace plumwick::purple
