// The contact list's row for a contact whom several of the user's accounts list: it names the
// account, "bob@localhost (on erin@localhost)", so that the row says which conversation opens. An
// address holds no space, so the row reads back unmixed. Every client names its rows so.
#pragma once

#include <optional>
#include <string>

namespace plumwick::messenger {

std::string RowOnAccount(const std::string& contact, const std::string& account_name);

struct ContactOnAccount {
  std::string contact;
  std::string account_name;
};
// The contact and account of such a row; nullopt for any other text.
std::optional<ContactOnAccount> ReadRowOnAccount(const std::string& row);

}  // namespace plumwick::messenger
