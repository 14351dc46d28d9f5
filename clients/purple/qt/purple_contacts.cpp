// The user's contacts in Pidgin's buddy list.
#include "clients/purple/qt/purple_contacts.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "clients/purple/purple_status.h"
#include "clients/purple/qt/purple_accounts.h"
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

class PurpleContactEnumerator final : public messenger::ContactEnumerator {
 public:
  PurpleContactEnumerator(PurpleBus& bus, std::vector<Handle> buddies)
      : bus_(bus), buddies_(std::move(buddies)) {}

  // A buddy removed since the list was taken is skipped: it is no contact any more.
  std::unique_ptr<messenger::Contact> Next() override {
    while (next_ < buddies_.size()) {
      const Handle buddy = buddies_[next_++];
      try {
        return std::make_unique<PurpleContact>(bus_, buddy, BuddyName(bus_, buddy));
      } catch (const Failure& failure) {
        if (failure.code() != kUnknownContact) throw;
      }
    }
    return nullptr;
  }

 private:
  PurpleBus& bus_;
  std::vector<Handle> buddies_;
  std::size_t next_ = 0;
};

}  // namespace

PurpleContact::PurpleContact(PurpleBus& bus, Handle buddy, std::string name)
    : bus_(bus), buddy_(buddy), name_(std::move(name)) {}

void PurpleContact::RequireSameBuddy() const {
  try {
    if (BuddyName(bus_, buddy_) == name_) return;
  } catch (const Failure& failure) {
    if (failure.code() != kUnknownContact) throw;
  }
  throw Gone(name_);
}

std::int32_t PurpleContact::Status() const {
  RequireSameBuddy();
  const Handle presence = bus_.CallInt("PurpleBuddyGetPresence", {Int(buddy_)}, kUnknownContact);
  const Handle status =
      bus_.CallInt("PurplePresenceGetActiveStatus", {Int(presence)}, kUnknownContact);
  const Handle type = bus_.CallInt("PurpleStatusGetType", {Int(status)}, kUnknownContact);
  return StatusCodeOf(bus_.CallInt("PurpleStatusTypeGetPrimitive", {Int(type)}, kUnknownContact));
}

std::string PurpleContact::SigninName() const {
  RequireSameBuddy();
  return name_;
}

std::unique_ptr<messenger::ContactEnumerator> PurpleContactCollection::Enumerate() {
  const std::vector<Handle> accounts = ActiveAccounts(bus_);
  std::vector<Handle> buddies;
  for (const Handle buddy : bus_.CallIntArray("PurpleBlistGetBuddies")) {
    Handle account = 0;
    try {
      account = bus_.CallInt("PurpleBuddyGetAccount", {Int(buddy)}, kUnknownContact);
    } catch (const Failure& failure) {
      if (failure.code() != kUnknownContact) throw;
      continue;
    }
    if (std::find(accounts.begin(), accounts.end(), account) != accounts.end()) {
      buddies.push_back(buddy);
    }
  }
  return std::make_unique<PurpleContactEnumerator>(bus_, std::move(buddies));
}

void PurpleContactCollection::Remove(const messenger::Contact& contact) {
  const auto* ours = dynamic_cast<const PurpleContact*>(&contact);
  if (ours == nullptr) {
    throw Failure(error_code::kBadArgument, "The contact does not come from Pidgin's list");
  }
  const std::string name = ours->SigninName();
  const Handle buddy = ours->buddy();
  const Handle account = bus_.CallInt("PurpleBuddyGetAccount", {Int(buddy)}, kUnknownContact);
  const Handle group = bus_.CallInt("PurpleBuddyGetGroup", {Int(buddy)}, kUnknownContact);
  // The server first; for XMPP its answer already takes the buddy out of Pidgin's list.
  bus_.Call("PurpleAccountRemoveBuddy", {Int(account), Int(buddy), Int(group)}, kUnknownContact);
  const Handle still_there =
      bus_.CallInt("PurpleFindBuddy", {Int(account), Str(QString::fromStdString(name))});
  if (still_there != buddy) return;
  try {
    bus_.Call("PurpleBlistRemoveBuddy", {Int(buddy)}, kUnknownContact);
  } catch (const Failure& failure) {
    // Gone in between: the server's answer came first. Removed either way.
    if (failure.code() != kUnknownContact) throw;
  }
}

std::unique_ptr<PurpleContact> ContactOf(PurpleBus& bus, Handle buddy) {
  return std::make_unique<PurpleContact>(bus, buddy, BuddyName(bus, buddy));
}

}  // namespace plumwick::purple
