// Confirms a contact added through Pidgin's add-buddy dialog. The dialog closes without a word
// when its Add button is pressed, and Pidgin's BuddyAdded signal only says that Pidgin put the
// buddy into its own list, at once, whether the server will ever have it or not. For XMPP the
// confirmation is the server's: Pidgin reports every stanza it sends as text (JabberSendingText),
// among them the roster request that adds the contact, and every answer it receives by type and
// id (JabberReceivingIq), among them the server's answer to that request ("result" once the
// roster holds the contact, "error" when it refused). What the server then pushes into the roster
// reaches D-Bus only as a handle of a parsed document, which no D-Bus call reads. Other protocols
// are confirmed by BuddyAdded. Once confirmed, a notice says so and takes the focus, so the Enter
// that follows dismisses the notice rather than landing in whatever window comes next.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include <QObject>
#include <QString>

#include "clients/purple/qt/purple_bus.h"
#include "clients/qt/notice.h"

namespace plumwick::purple {

// The id of the request that `stanza` (a stanza as Pidgin sends it) makes to put `jid` into the
// roster: an iq of type set with a roster item for that address, not its removal. Empty for any
// other stanza. Addresses are compared without regard to case, as servers do.
QString RosterAddRequestId(const QString& stanza, const QString& jid);

class AddedBuddyNotice final : public QObject {
  Q_OBJECT
 public:
  // How far the add has come.
  enum class Progress {
    kNothing,      // Pidgin has not added the buddy
    kInLocalList,  // in Pidgin's own list; for XMPP the server has not been asked
    kAskedServer,  // the server has been asked and has not answered yet
    kConfirmed,    // the server's roster (for other protocols: Pidgin's list) has the contact
    kRefused,      // the server refused it
  };

  // Confirms the next buddy added with this name on this account, by the server's answer when
  // `server_roster` (XMPP accounts) and by Pidgin's BuddyAdded otherwise. Listens on the bus for
  // Pidgin's signals whichever process owns the service name, so a restarted Pidgin is heard
  // too. Throws Failure(kClientError) when the bus refuses.
  AddedBuddyNotice(PurpleBus& bus, Handle account, const std::string& name, bool server_roster);
  ~AddedBuddyNotice() override;

  Progress progress() const { return progress_; }
  // Whether the notice is up, waiting for the Enter that dismisses it.
  bool Showing() const { return notice_.isVisible(); }
  // Whether the contact expected was added, the notice up or not.
  bool Confirmed() const { return progress_ == Progress::kConfirmed; }
  // Brings the confirmation back, for an Enter meant for a notice the user has closed already.
  void ShowAgain() { notice_.Present(confirmation_); }
  bool Shows(std::uint64_t id) const { return notice_.Shows(id); }
  // The notice's desktop window.
  std::uint64_t Id() const { return static_cast<std::uint64_t>(notice_.winId()); }
  clients::Notice& notice() { return notice_; }
  // Takes the buddy Pidgin put into its own list only out of it again, so that the list shows no
  // contact the server does not have. Only while progress() is kInLocalList.
  void TakeOutLocalBuddy();

 private Q_SLOTS:
  void OnBuddyAdded(int buddy);
  void OnSendingText(int connection, const QString& stanza);
  void OnReceivingIq(int connection, const QString& type, const QString& id, const QString& from,
                     int node);

 private:
  void Confirm();
  // The signals the notice listens to.
  std::span<const Subscription> Subscriptions() const;

  PurpleBus& bus_;
  const Handle account_;
  const QString name_;
  const bool server_roster_;
  Handle connection_ = 0;
  Handle local_buddy_ = 0;
  Progress progress_ = Progress::kNothing;
  QString request_id_;
  QString confirmation_;
  clients::Notice notice_;
};

}  // namespace plumwick::purple
