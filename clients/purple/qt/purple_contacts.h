// The user's contacts as Pidgin's buddy list has them, on every enabled account. A contact keeps
// the buddy's handle and name and checks on every use that the handle still names that buddy: a
// handle outlives its buddy (removed, or Pidgin restarted) and may be reused for another.
#pragma once

#include <memory>
#include <string>

#include "clients/purple/qt/purple_bus.h"
#include "messenger/messenger.h"

namespace plumwick::purple {

class PurpleContact final : public messenger::Contact {
 public:
  PurpleContact(PurpleBus& bus, Handle buddy, std::string name);

  // Read live from Pidgin. Failure(kUnknownContact) once the buddy is gone.
  std::int32_t Status() const override;
  std::string SigninName() const override;

  Handle buddy() const { return buddy_; }

 private:
  // Failure(kUnknownContact) when the handle no longer names this buddy.
  void RequireSameBuddy() const;

  PurpleBus& bus_;
  Handle buddy_;
  std::string name_;
};

// The buddies of all enabled accounts, as the list is when Enumerate is called.
class PurpleContactCollection final : public messenger::ContactCollection {
 public:
  explicit PurpleContactCollection(PurpleBus& bus) : bus_(bus) {}

  std::unique_ptr<messenger::ContactEnumerator> Enumerate() override;
  // Removes the buddy on the server and from Pidgin's list. The contact must come from this
  // client; Failure(kUnknownContact) when it is gone already.
  void Remove(const messenger::Contact& contact) override;

 private:
  PurpleBus& bus_;
};

// The buddy's contact object, checked against its name. Failure(kUnknownContact) otherwise.
std::unique_ptr<PurpleContact> ContactOf(PurpleBus& bus, Handle buddy);

}  // namespace plumwick::purple
