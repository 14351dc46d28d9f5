// The user's contacts in Pidgin's buddy list.
#include "clients/purple/qt/purple_contacts.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include <QVariant>

#include "clients/purple/purple_status.h"
#include "clients/purple/qt/purple_accounts.h"
#include "messenger/contact_rows.h"
#include "platform/failure.h"

namespace plumwick::purple {

namespace {

using error_code::kUnknownContact;

std::string BuddyName(PurpleBus& bus, Handle buddy) {
  return bus.CallString("PurpleBuddyGetName", {Int(buddy)}, kUnknownContact).toStdString();
}

Failure Gone(const std::string& name) {
  return Failure(kUnknownContact, "\"" + name + "\" is not in your contact list any more");
}

// One buddy as the snapshot has it.
struct ListedBuddy {
  Handle buddy;
  std::optional<std::string> name;
  std::int32_t status;
};

class PurpleContactEnumerator final : public messenger::ContactEnumerator {
 public:
  PurpleContactEnumerator(PurpleBus& bus, std::vector<ListedBuddy> buddies)
      : bus_(bus), buddies_(std::move(buddies)) {}

  std::unique_ptr<messenger::Contact> Next() override {
    if (next_ == buddies_.size()) return nullptr;
    ListedBuddy& listed = buddies_[next_++];
    return std::make_unique<PurpleContact>(bus_, listed.buddy, std::move(listed.name),
                                           listed.status);
  }

 private:
  PurpleBus& bus_;
  std::vector<ListedBuddy> buddies_;
  std::size_t next_ = 0;
};

std::vector<QVariantList> ArgumentsOf(const std::vector<Handle>& handles) {
  std::vector<QVariantList> args;
  args.reserve(handles.size());
  for (const Handle handle : handles) args.push_back({Int(handle)});
  return args;
}

// Asks `method` about every handle at once; a handle that names nothing any more (a buddy removed
// meanwhile) answers 0, libpurple's none.
std::vector<Handle> IntOfEach(PurpleBus& bus, const char* method,
                              const std::vector<Handle>& handles) {
  std::vector<Handle> answers;
  answers.reserve(handles.size());
  for (const QVariant& answer : bus.CallEach(method, "i", ArgumentsOf(handles))) {
    answers.push_back(answer.isNull() ? 0 : answer.value<std::int32_t>());
  }
  return answers;
}

// The status codes of buddies who are online: presence, its active status, the status's type and
// the type's primitive. The types are a handful shared by all buddies of a protocol, so each is
// asked about once.
std::vector<std::int32_t> StatusesOf(PurpleBus& bus, const std::vector<Handle>& buddies) {
  const std::vector<Handle> presences = IntOfEach(bus, "PurpleBuddyGetPresence", buddies);
  const std::vector<Handle> statuses = IntOfEach(bus, "PurplePresenceGetActiveStatus", presences);
  const std::vector<Handle> types = IntOfEach(bus, "PurpleStatusGetType", statuses);
  std::vector<Handle> distinct = types;
  std::sort(distinct.begin(), distinct.end());
  distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
  const std::vector<Handle> primitives = IntOfEach(bus, "PurpleStatusTypeGetPrimitive", distinct);
  std::vector<std::int32_t> codes;
  codes.reserve(types.size());
  for (const Handle type : types) {
    const auto at = std::lower_bound(distinct.begin(), distinct.end(), type) - distinct.begin();
    // A buddy gone between the rounds has no status: it is listed as offline, that is not at all.
    codes.push_back(type == 0 ? messenger::status::kOffline
                              : StatusCodeOf(primitives[static_cast<std::size_t>(at)]));
  }
  return codes;
}

}  // namespace

PurpleContact::PurpleContact(PurpleBus& bus, Handle buddy, std::string name)
    : bus_(bus), buddy_(buddy), name_(std::move(name)) {}

void PurpleContact::RequireSameBuddy() const {
  const std::string name = name_.value_or("");
  try {
    if (BuddyName(bus_, buddy_) == name) return;
  } catch (const Failure& failure) {
    if (failure.code() != kUnknownContact) throw;
  }
  throw Gone(name);
}

PurpleContact::PurpleContact(PurpleBus& bus, Handle buddy, std::optional<std::string> name,
                             std::int32_t status)
    : bus_(bus), buddy_(buddy), name_(std::move(name)), snapshot_status_(status) {}

std::int32_t PurpleContact::Status() const {
  if (snapshot_status_) return *snapshot_status_;
  RequireSameBuddy();
  const Handle presence = bus_.CallInt("PurpleBuddyGetPresence", {Int(buddy_)}, kUnknownContact);
  const Handle status =
      bus_.CallInt("PurplePresenceGetActiveStatus", {Int(presence)}, kUnknownContact);
  const Handle type = bus_.CallInt("PurpleStatusGetType", {Int(status)}, kUnknownContact);
  return StatusCodeOf(bus_.CallInt("PurpleStatusTypeGetPrimitive", {Int(type)}, kUnknownContact));
}

std::string PurpleContact::SigninName() const {
  // A contact of a snapshot that was not named then is named now; Failure(kUnknownContact) when
  // the buddy is gone.
  if (!name_) {
    name_ = BuddyName(bus_, buddy_);
    return *name_;
  }
  // A snapshot's name is the buddy's as it was then.
  if (!snapshot_status_) RequireSameBuddy();
  return *name_;
}

void PurpleContactCollection::ReadInto(const std::vector<Handle>& buddies) {
  // Only what the list needs, each round asked of all buddies at once: whether a buddy is online,
  // and for those who are, the name and the status.
  std::vector<Handle> unread;
  for (const Handle buddy : buddies) {
    if (!memory_.buddies_.contains(buddy)) unread.push_back(buddy);
  }
  const std::vector<Handle> online = IntOfEach(bus_, "PurpleBuddyIsOnline", unread);
  std::vector<Handle> online_buddies;
  for (std::size_t i = 0; i < unread.size(); ++i) {
    if (online[i] != 0) {
      online_buddies.push_back(unread[i]);
    } else {
      memory_.buddies_[unread[i]] = {std::nullopt, messenger::status::kOffline};
    }
  }
  const std::vector<QVariant> names =
      bus_.CallEach("PurpleBuddyGetName", "s", ArgumentsOf(online_buddies));
  const std::vector<std::int32_t> statuses = StatusesOf(bus_, online_buddies);
  for (std::size_t i = 0; i < online_buddies.size(); ++i) {
    // A buddy removed meanwhile is left unread: the next walk does not find it.
    if (names[i].isNull()) continue;
    memory_.buddies_[online_buddies[i]] = {names[i].toString().toStdString(), statuses[i]};
  }
}

std::unique_ptr<messenger::ContactEnumerator> PurpleContactCollection::Enumerate() {
  // After this call's answer every report of an earlier change is in.
  const std::vector<Handle> active = ActiveAccounts(bus_);
  const BuddyListWatch::Changes changes = memory_.watch_.Take();
  if (changes.all || active != memory_.accounts_) memory_.buddies_.clear();
  for (const Handle buddy : changes.buddies) memory_.buddies_.erase(buddy);
  // Set again once this walk is done: a walk that fails leaves the next one to read all.
  memory_.accounts_.clear();

  std::vector<Handle> buddies;
  std::vector<Handle> accounts;  // each buddy's
  for (const Handle account : active) {
    // libpurple's D-Bus binding passes the empty name on as none: every buddy of the account.
    const std::vector<Handle> of_account =
        bus_.CallIntArray("PurpleFindBuddies", {Int(account), Str("")}, error_code::kNotSignedIn);
    buddies.insert(buddies.end(), of_account.begin(), of_account.end());
    accounts.insert(accounts.end(), of_account.size(), account);
  }
  ReadInto(buddies);

  std::vector<ListedBuddy> listed;
  listed.reserve(buddies.size());
  std::vector<Handle> listed_accounts;
  std::map<std::string, std::set<Handle>> accounts_listing;  // of each name listed
  std::map<Handle, ListMemory::Read> kept;                   // the buddies still in the list
  for (std::size_t i = 0; i < buddies.size(); ++i) {
    const auto read = memory_.buddies_.find(buddies[i]);
    if (read == memory_.buddies_.end()) continue;  // removed since the list was taken
    kept.insert(*read);
    if (read->second.name) accounts_listing[*read->second.name].insert(accounts[i]);
    listed.push_back({buddies[i], read->second.name, read->second.status});
    listed_accounts.push_back(accounts[i]);
  }
  memory_.buddies_ = std::move(kept);
  // A contact listed for several accounts is listed once for each, naming the account (asked
  // anew: an account's name may change while it stays signed on).
  std::map<Handle, std::string> account_names;
  for (std::size_t i = 0; i < listed.size(); ++i) {
    if (!listed[i].name || accounts_listing[*listed[i].name].size() < 2) continue;
    const Handle account = listed_accounts[i];
    if (!account_names.contains(account)) account_names[account] = AccountName(bus_, account);
    listed[i].name = messenger::RowOnAccount(*listed[i].name, account_names[account]);
  }
  memory_.accounts_ = active;
  return std::make_unique<PurpleContactEnumerator>(bus_, std::move(listed));
}

std::unique_ptr<messenger::TypingJob> PurpleContactCollection::Remove(
    const messenger::Contact& contact) {
  const auto* ours = dynamic_cast<const PurpleContact*>(&contact);
  if (ours == nullptr) {
    throw Failure(error_code::kBadArgument, "The contact does not come from Pidgin's list");
  }
  ours->SigninName();  // Failure(kUnknownContact) once the buddy is gone
  const Handle buddy = ours->buddy();
  // The buddy's own name: a list row may also name its account.
  const std::string name = BuddyName(bus_, buddy);
  const Handle account = bus_.CallInt("PurpleBuddyGetAccount", {Int(buddy)}, kUnknownContact);
  const Handle group = bus_.CallInt("PurpleBuddyGetGroup", {Int(buddy)}, kUnknownContact);
  // The server first; for XMPP its answer already takes the buddy out of Pidgin's list.
  bus_.Call("PurpleAccountRemoveBuddy", {Int(account), Int(buddy), Int(group)}, kUnknownContact);
  const Handle still_there =
      bus_.CallInt("PurpleFindBuddy", {Int(account), Str(QString::fromStdString(name))});
  if (still_there != buddy) return nullptr;
  try {
    bus_.Call("PurpleBlistRemoveBuddy", {Int(buddy)}, kUnknownContact);
  } catch (const Failure& failure) {
    // Gone in between: the server's answer came first. Removed either way.
    if (failure.code() != kUnknownContact) throw;
  }
  return nullptr;
}

std::unique_ptr<PurpleContact> ContactOf(PurpleBus& bus, Handle buddy) {
  return std::make_unique<PurpleContact>(bus, buddy, BuddyName(bus, buddy));
}

}  // namespace plumwick::purple
