// The user's contacts as Pidgin's buddy list has them, on every enabled account. A contact keeps
// the buddy's handle and name and checks on every use that the handle still names that buddy: a
// handle outlives its buddy (removed, or Pidgin restarted) and may be reused for another. A walk
// through the list is a snapshot instead, taken in a few rounds of calls sent all at once: the
// list is what Pidgin had when the walk began, as "Select List" shows it.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "clients/purple/qt/buddy_list_watch.h"
#include "clients/purple/qt/purple_bus.h"
#include "messenger/messenger.h"

namespace plumwick::purple {

class PurpleContact final : public messenger::Contact {
 public:
  // A contact read live from Pidgin.
  PurpleContact(PurpleBus& bus, Handle buddy, std::string name);
  // A contact of a snapshot: its status as it was then, and its name when it was read (read on
  // first use otherwise).
  PurpleContact(PurpleBus& bus, Handle buddy, std::optional<std::string> name, std::int32_t status);

  // Read live from Pidgin, or from the snapshot. Failure(kUnknownContact) once the buddy is gone.
  std::int32_t Status() const override;
  std::string SigninName() const override;

  Handle buddy() const { return buddy_; }

 private:
  // Failure(kUnknownContact) when the handle no longer names this buddy.
  void RequireSameBuddy() const;

  PurpleBus& bus_;
  Handle buddy_;
  mutable std::optional<std::string> name_;
  std::optional<std::int32_t> snapshot_status_;
};

// What the walks through the list have read, kept for the next walk with the watch of what
// changed since: a walk asks Pidgin again only about the buddies it reported, and about all of
// them after an account or Pidgin itself came or went. With a thousand buddies, a walk through an
// unchanged list costs a call for each account instead of thousands.
class ListMemory {
 public:
  explicit ListMemory(PurpleBus& bus) : watch_(bus) {}

 private:
  friend class PurpleContactCollection;

  // A buddy as last read: its status, and its name when it was not offline.
  struct Read {
    std::optional<std::string> name;
    std::int32_t status;
  };

  BuddyListWatch watch_;
  std::vector<Handle> accounts_;  // the enabled accounts of the walk that read `buddies_`
  std::map<Handle, Read> buddies_;
};

// The buddies of all enabled accounts, as the list is when Enumerate is called: with their
// statuses, and the names of those who are not offline. A contact who is not offline for several
// accounts is there once for each, its name naming the account (messenger::RowOnAccount).
class PurpleContactCollection final : public messenger::ContactCollection {
 public:
  PurpleContactCollection(PurpleBus& bus, ListMemory& memory) : bus_(bus), memory_(memory) {}

  std::unique_ptr<messenger::ContactEnumerator> Enumerate() override;
  // Removes the buddy on the server and from Pidgin's list, without asking: no job. The contact
  // must come from this client; Failure(kUnknownContact) when it is gone already.
  std::unique_ptr<messenger::TypingJob> Remove(const messenger::Contact& contact) override;

 private:
  // Reads what the memory lacks of `buddies`, in a few rounds of calls sent all at once.
  void ReadInto(const std::vector<Handle>& buddies);

  PurpleBus& bus_;
  ListMemory& memory_;
};

// The buddy's contact object, checked against its name. Failure(kUnknownContact) otherwise.
std::unique_ptr<PurpleContact> ContactOf(PurpleBus& bus, Handle buddy);

}  // namespace plumwick::purple
