// The contact list's rows that name an account.
#include "messenger/contact_rows.h"

#include <string_view>

namespace plumwick::messenger {

namespace {

constexpr std::string_view kOpenOn = " (on ";

}  // namespace

std::string RowOnAccount(const std::string& contact, const std::string& account_name) {
  return contact + std::string(kOpenOn) + account_name + ")";
}

std::optional<ContactOnAccount> ReadRowOnAccount(const std::string& row) {
  const std::size_t open = row.find(kOpenOn);
  if (open == std::string::npos || open == 0 || row.back() != ')') return std::nullopt;
  const std::size_t name_at = open + kOpenOn.size();
  if (name_at + 1 >= row.size()) return std::nullopt;
  return ContactOnAccount{row.substr(0, open), row.substr(name_at, row.size() - 1 - name_at)};
}

}  // namespace plumwick::messenger
