// The user's contacts in Gajim's rosters.
#include "clients/gajim/qt/gajim_contacts.h"

#include <map>
#include <utility>
#include <vector>

#include <QVariantMap>

#include "clients/gajim/gajim_shows.h"
#include "clients/gajim/qt/gajim_accounts.h"
#include "clients/gajim/qt/gajim_remove_contact_job.h"
#include "clients/gajim/qt/gajim_windows.h"
#include "messenger/contact_rows.h"
#include "platform/failure.h"

namespace plumwick::gajim {

namespace {

QString Field(const QVariantMap& contact, const char* name) {
  return contact.value(QString::fromLatin1(name)).toString();
}

// The roster entry of `address` in the account's roster; an empty map when it lists none. Gajim
// keeps addresses as XMPP folds them, so the address typed matches in any case.
QVariantMap Entry(GajimBus& bus, const QString& account, const QString& address) {
  const QString bare = address.section(QLatin1Char('/'), 0, 0);
  for (const QVariantMap& contact : bus.CallDicts("list_contacts", {account})) {
    if (Field(contact, "jid").compare(bare, Qt::CaseInsensitive) == 0) return contact;
  }
  return {};
}

std::int32_t StatusOf(const QVariantMap& contact) {
  return StatusCodeOfShow(Field(contact, "show").toStdString());
}

class GajimContactEnumerator final : public messenger::ContactEnumerator {
 public:
  explicit GajimContactEnumerator(std::vector<std::unique_ptr<GajimContact>> contacts)
      : contacts_(std::move(contacts)) {}

  std::unique_ptr<messenger::Contact> Next() override {
    if (next_ == contacts_.size()) return nullptr;
    return std::move(contacts_[next_++]);
  }

 private:
  std::vector<std::unique_ptr<GajimContact>> contacts_;
  std::size_t next_ = 0;
};

}  // namespace

GajimContact::GajimContact(GajimBus& bus, QString account, QString address, std::string row,
                           std::optional<std::int32_t> status)
    : bus_(bus),
      account_(std::move(account)),
      address_(std::move(address)),
      row_(std::move(row)),
      status_(status) {}

std::int32_t GajimContact::Status() const {
  if (status_) return *status_;
  const QVariantMap entry = Entry(bus_, account_, address_);
  if (entry.isEmpty()) {
    throw Failure(error_code::kUnknownContact,
                  "\"" + address_.toStdString() + "\" is not in your contact list any more");
  }
  return StatusOf(entry);
}

std::unique_ptr<messenger::ContactEnumerator> GajimContactCollection::Enumerate() {
  struct Listed {
    QString account;
    QString address;
    std::int32_t status;
  };
  std::vector<Listed> listed;
  std::map<QString, int> present_on;  // how many accounts list each address not offline
  for (const QString& account : EnabledAccounts(bus_)) {
    for (const QVariantMap& contact : bus_.CallDicts("list_contacts", {account})) {
      listed.push_back({account, Field(contact, "jid"), StatusOf(contact)});
      if (listed.back().status != messenger::status::kOffline) ++present_on[listed.back().address];
    }
  }
  std::map<QString, QString> addresses;  // of the accounts rows name
  std::vector<std::unique_ptr<GajimContact>> contacts;
  for (Listed& each : listed) {
    std::string row = each.address.toStdString();
    if (each.status != messenger::status::kOffline && present_on[each.address] > 1) {
      if (!addresses.contains(each.account))
        addresses[each.account] = AccountAddress(bus_, each.account);
      row = messenger::RowOnAccount(row, addresses[each.account].toStdString());
    }
    contacts.push_back(std::make_unique<GajimContact>(
        bus_, std::move(each.account), std::move(each.address), std::move(row), each.status));
  }
  return std::make_unique<GajimContactEnumerator>(std::move(contacts));
}

std::unique_ptr<messenger::TypingJob> GajimContactCollection::Remove(
    const messenger::Contact& contact) {
  const auto* ours = dynamic_cast<const GajimContact*>(&contact);
  if (ours == nullptr) {
    throw Failure(error_code::kBadArgument, "The contact does not come from Gajim's contact list");
  }
  RequireKeysReachGajim(bus_, desktop_);
  return std::make_unique<GajimRemoveContactJob>(bus_, desktop_, ours->account(), ours->address());
}

std::unique_ptr<GajimContact> FindContact(GajimBus& bus, const std::string& address) {
  const QString typed = QString::fromStdString(address);
  for (const QString& account : SignedOnAccounts(bus)) {
    const QVariantMap entry = Entry(bus, account, typed);
    if (entry.isEmpty()) continue;
    const QString listed = Field(entry, "jid");
    return std::make_unique<GajimContact>(bus, account, listed, listed.toStdString(), std::nullopt);
  }
  throw Failure(error_code::kUnknownContact, "\"" + address + "\" is not in your contact list");
}

bool Lists(GajimBus& bus, const QString& account, const QString& address) {
  return !Entry(bus, account, address).isEmpty();
}

}  // namespace plumwick::gajim
