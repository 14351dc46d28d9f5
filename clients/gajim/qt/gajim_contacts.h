// The user's contacts as Gajim's rosters have them, on every enabled account. A contact is an
// address in one account's roster: read live from Gajim, or as a walk through the list found it.
// A walk reads each account's roster once, when it begins, as "Select List" shows it.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include <QString>

#include "clients/gajim/qt/gajim_bus.h"
#include "messenger/messenger.h"
#include "platform/desktop.h"

namespace plumwick::gajim {

class GajimContact final : public messenger::Contact {
 public:
  // `row` is what the contact list shows: the address, or for a contact whom several accounts
  // list, the address naming the account (messenger::RowOnAccount). `status` is the status a walk
  // read; nullopt: read live.
  GajimContact(GajimBus& bus, QString account, QString address, std::string row,
               std::optional<std::int32_t> status);

  // Read live from Gajim, or from the walk. Failure(kUnknownContact) once the roster lacks it.
  std::int32_t Status() const override;
  std::string SigninName() const override { return row_; }

  const QString& account() const { return account_; }
  const QString& address() const { return address_; }

 private:
  GajimBus& bus_;
  QString account_;
  QString address_;
  std::string row_;
  std::optional<std::int32_t> status_;
};

// The contacts of all enabled accounts, read when Enumerate is called, in Gajim's order: accounts
// first, each roster as Gajim lists it. A contact who is not offline for several accounts is
// there once for each, its row naming the account.
class GajimContactCollection final : public messenger::ContactCollection {
 public:
  GajimContactCollection(GajimBus& bus, const ClientDesktop& desktop)
      : bus_(bus), desktop_(desktop) {}

  std::unique_ptr<messenger::ContactEnumerator> Enumerate() override;
  // Opens Gajim's Remove Contact window for the contact, on the contact's account, and returns
  // its job (GajimRemoveContactJob). The contact must come from this client
  // (Failure(kBadArgument) otherwise).
  std::unique_ptr<messenger::TypingJob> Remove(const messenger::Contact& contact) override;

 private:
  GajimBus& bus_;
  const ClientDesktop desktop_;
};

// The contact with `address` (as typed: any case, a resource ignored) in the roster of the first
// signed-on account that lists it. Failure(kNotSignedIn) when no account is signed on,
// Failure(kUnknownContact) when none lists it.
std::unique_ptr<GajimContact> FindContact(GajimBus& bus, const std::string& address);

// Whether the account's roster lists `address` now (any case, a resource ignored).
bool Lists(GajimBus& bus, const QString& account, const QString& address);

}  // namespace plumwick::gajim
