// The user's accounts and status in Gajim.
#include "clients/gajim/qt/gajim_accounts.h"

#include <string>

#include "clients/gajim/gajim_shows.h"
#include "platform/failure.h"

namespace plumwick::gajim {

namespace {

// Between two readings of the accounts' statuses while they change.
constexpr std::chrono::milliseconds kStatusPoll{100};

std::string Quoted(const QString& text) {
  return "\"" + text.toStdString() + "\"";
}

Failure NotSetOn(const QString& account, const QString& show, const QString& now) {
  if (now == QLatin1String(kConnecting.data(), kConnecting.size())) {
    return Failure(
        error_code::kNoAnswer,
        "Gajim has not finished signing on the account " + Quoted(account) + " after " +
            std::to_string(
                std::chrono::duration_cast<std::chrono::seconds>(kStatusTimeout).count()) +
            " s: it sets " + Quoted(show) + " once it is signed on");
  }
  return Failure(error_code::kClientError, "Gajim did not set the status " + Quoted(show) +
                                               " for the account " + Quoted(account) +
                                               ": it says " + Quoted(now));
}

}  // namespace

QStringList EnabledAccounts(GajimBus& bus) {
  QStringList accounts = bus.CallStrings("list_accounts");
  if (accounts.isEmpty()) {
    throw Failure(error_code::kNotSignedIn,
                  "Gajim has no account enabled: add or enable one in Gajim's Accounts window");
  }
  return accounts;
}

QStringList SignedOnAccounts(GajimBus& bus) {
  QStringList signed_on;
  for (const QString& account : EnabledAccounts(bus)) {
    const std::string show = bus.CallString("get_status", {account}).toStdString();
    if (show != kOffline && show != kConnecting) signed_on << account;
  }
  if (signed_on.isEmpty()) {
    throw Failure(
        error_code::kNotSignedIn,
        "You are signed out: no account is signed on in Gajim (pick a status to sign on)");
  }
  return signed_on;
}

void SetShowEverywhere(GajimBus& bus, const QString& show) {
  const QStringList accounts = EnabledAccounts(bus);
  for (const QString& account : accounts) {
    const QString message = bus.CallString("get_status_message", {account});
    if (!bus.CallBool("change_status", {show, message, account})) {
      throw Failure(error_code::kClientError, "Gajim refused the status " + Quoted(show) +
                                                  " for the account " + Quoted(account));
    }
  }
  // One deadline for all: the accounts change at the same time.
  const auto deadline = std::chrono::steady_clock::now() + kStatusTimeout;
  for (const QString& account : accounts) {
    for (;;) {
      const QString now = bus.CallString("get_status", {account});
      if (now == show) break;
      if (std::chrono::steady_clock::now() >= deadline) throw NotSetOn(account, show, now);
      GajimBus::Pause(kStatusPoll);
    }
  }
}

QString AccountAddress(GajimBus& bus, const QString& account) {
  const QString address = bus.CallStringMap("account_info", {account}).value(QStringLiteral("jid"));
  return address.isEmpty() ? account : address;
}

}  // namespace plumwick::gajim
