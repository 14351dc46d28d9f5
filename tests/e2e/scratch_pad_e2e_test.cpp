// The scratch pad of plumwick-sandbox, clicked for real: Time and Date put the clock's texts into
// the pad in the user's locale (the program started with only LANG set, as a German or an American
// user has it), Get IP ! puts the machine's address there, and Clipboard copies the pad to the
// desktop's clipboard, where any other program reads it.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <memory>
#include <regex>
#include <set>
#include <string>
#include <utility>

#include "tests/e2e/harness/clipboard.h"
#include "tests/e2e/harness/run_command.h"
#include "tests/e2e/harness/wait_until.h"
#include "tests/e2e/sandbox_fixture.h"

namespace plumwick::e2e {
namespace {

class ScratchPadE2eTest : public SandboxFixture {
 protected:
  void StartInLocale(const std::string& lang) {
    StartProgram({{"LANG", lang}, {"LC_ALL", std::nullopt}, {"LC_TIME", std::nullopt}});
  }

  // The clipboard's text once it matches `pattern`; else what it held at the timeout.
  std::string WaitForClipboard(const std::regex& pattern) const {
    std::optional<std::string> text;
    WaitUntil([&] { return (text = ReadClipboard(Session())) && std::regex_match(*text, pattern); },
              kEffectTimeout, std::chrono::milliseconds(50));
    return text.value_or("(the clipboard is empty)");
  }

  // The clock, in seconds since the epoch.
  long long Now() const { return std::stoll(RunChecked({"date", "+%s"}, Session().Env())); }

  // The texts the seconds from `first` to `last` read as in `format` (strftime's, C locale), in
  // the program's time zone: `date` gets the program's environment.
  std::set<std::string> Texts(long long first, long long last, const std::string& format) const {
    Environment env = Session().Env();
    env["LC_ALL"] = "C";
    std::set<std::string> texts;
    for (long long second = first; second <= last; ++second) {
      std::string text =
          RunChecked({"date", "-d", "@" + std::to_string(second), "+" + format}, env);
      if (!text.empty() && text.back() == '\n') text.pop_back();
      texts.insert(text);
    }
    return texts;
  }

  struct Copy {
    long long before;  // seconds
    long long after;
    std::string text;
  };

  // Clicks Time, then Date, then Clipboard, and reads the clipboard once it is of that shape.
  Copy InsertTimeAndDateAndCopy(const std::regex& shape) {
    const long long before = Now();
    ClickControl(place::kTime);
    ClickControl(place::kDate);
    ClickControl(place::kClipboard);
    std::string text = WaitForClipboard(shape);
    return {before, Now(), std::move(text)};
  }
};

TEST_F(ScratchPadE2eTest, TimeThenDateInAGermanLocaleReadDayMonthYear) {
  ASSERT_NO_FATAL_FAILURE(StartInLocale("de_DE.UTF-8"));
  const auto copy = InsertTimeAndDateAndCopy(
      std::regex("[0-9]{2}:[0-9]{2}:[0-9]{2}[0-9]{2}\\.[0-9]{2}\\.[0-9]{4}"));
  // The time text runs straight into the date text: Date inserts at the caret, after the time.
  EXPECT_TRUE(Texts(copy.before, copy.after, "%H:%M:%S%d.%m.%Y").contains(copy.text))
      << "copied \"" << copy.text << "\"; expected the time and date between " << copy.before
      << " and " << copy.after << " as hh:mm:ssdd.mm.yyyy\n"
      << program_->Describe();
}

TEST_F(ScratchPadE2eTest, TimeThenDateInAnAmericanLocaleReadMonthDayYear) {
  ASSERT_NO_FATAL_FAILURE(StartInLocale("en_US.UTF-8"));
  const auto copy = InsertTimeAndDateAndCopy(
      std::regex("[0-9]{2}:[0-9]{2}:[0-9]{2} [AP]M[0-9]{2}/[0-9]{2}/[0-9]{4}"));
  EXPECT_TRUE(Texts(copy.before, copy.after, "%I:%M:%S %p%m/%d/%Y").contains(copy.text))
      << "copied \"" << copy.text << "\"; expected the time and date between " << copy.before
      << " and " << copy.after << " as hh:mm:ss AM/PM then mm/dd/yyyy\n"
      << program_->Describe();
}

// The IPv4 addresses of this machine's interfaces that are up and not loopback.
std::set<std::string> OutsideAddresses() {
  std::set<std::string> addresses;
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return addresses;
  const std::unique_ptr<ifaddrs, decltype(&freeifaddrs)> owner(list, &freeifaddrs);
  for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
    if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET) continue;
    if ((entry->ifa_flags & IFF_UP) == 0 || (entry->ifa_flags & IFF_LOOPBACK) != 0) continue;
    char text[INET_ADDRSTRLEN];
    const auto* address = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr);
    if (inet_ntop(AF_INET, &address->sin_addr, text, sizeof text) != nullptr) {
      addresses.insert(text);
    }
  }
  return addresses;
}

TEST_F(ScratchPadE2eTest, GetIpThenClipboardCopiesTheMachinesAddress) {
  ASSERT_NO_FATAL_FAILURE(StartProgram());
  ClickControl(place::kGetIP);
  ClickControl(place::kClipboard);
  const std::regex dotted(
      "(25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9]?[0-9])"
      "(\\.(25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9]?[0-9])){3}");
  const std::string copied = WaitForClipboard(dotted);
  ASSERT_TRUE(std::regex_match(copied, dotted)) << "copied \"" << copied << "\"";
  // An address others can reach this machine at; loopback only on a machine without one.
  const auto outside = OutsideAddresses();
  if (outside.empty()) {
    EXPECT_EQ(copied, "127.0.0.1");
  } else {
    EXPECT_TRUE(outside.contains(copied)) << "copied " << copied << ", not an address of an "
                                          << "interface that is up and not loopback";
  }
}

}  // namespace
}  // namespace plumwick::e2e
