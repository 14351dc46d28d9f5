// The desktop parts on POSIX and the C++ library: time and date texts in the user's locale, and the
// local address.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/posix/interface_address.h"
#include "platform/posix/locale_time_texts.h"

namespace plumwick {
namespace {

// Sets LC_ALL for the scope: the locale the user's texts follow.
class ScopedLocale {
 public:
  explicit ScopedLocale(const char* name) {
    if (const char* old = std::getenv("LC_ALL")) old_ = old;
    setenv("LC_ALL", name, 1);
  }
  ~ScopedLocale() { old_.empty() ? unsetenv("LC_ALL") : setenv("LC_ALL", old_.c_str(), 1); }

 private:
  std::string old_;
};

TEST(LocaleTimeTexts, FollowTheUsersLocaleAndFallBackWhenItIsNotInstalled) {
  struct Case {
    const char* locale;
    const char* time;  // pattern
    const char* date;
  };
  const Case cases[] = {
      {"de_DE.UTF-8", R"([0-9][0-9]:[0-9][0-9]:[0-9][0-9])", R"([0-9][0-9]\.[0-9][0-9]\.[0-9]{4})"},
      {"en_US.UTF-8", R"([0-9][0-9]:[0-9][0-9]:[0-9][0-9] (AM|PM))",
       R"([0-9][0-9]/[0-9][0-9]/[0-9]{4})"},
      {"xx_NOWHERE.UTF-8", R"([0-9][0-9]:[0-9][0-9]:[0-9][0-9])",
       R"([0-9][0-9]/[0-9][0-9]/[0-9][0-9])"},  // the classic locale
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.locale);
    ScopedLocale scoped(c.locale);
    LocaleTimeTexts texts;
    EXPECT_THAT(texts.TimeText(), ::testing::MatchesRegex(c.time));
    EXPECT_THAT(texts.DateText(), ::testing::MatchesRegex(c.date));
  }
}

TEST(LocaleTimeTexts, GermanDateReadsDayMonthYear) {
  ScopedLocale scoped("de_DE.UTF-8");
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char expected[16];
  std::strftime(expected, sizeof expected, "%d.%m.%Y", &local);
  EXPECT_EQ(LocaleTimeTexts().DateText(), expected);
}

TEST(InterfaceAddress, IsTheFirstUpIPv4InterfaceNotLoopbackElseLoopback) {
  // Each row runs in a child process with a network namespace of its own, which starts with only
  // a loopback interface; the commands give it more.
  struct Row {
    const char* name;
    const char* commands;
    const char* expected;
  };
  const Row rows[] = {
      {"only loopback", "ip link set lo up", "127.0.0.1"},
      {"an interface that is up",
       "ip link set lo up && ip link add pw0 type veth peer name pw1 &&"
       " ip addr add 192.0.2.7/24 dev pw0 && ip link set pw0 up",
       "192.0.2.7"},
      {"an interface that is down",
       "ip link set lo up && ip link add pw0 type veth peer name pw1 &&"
       " ip addr add 192.0.2.7/24 dev pw0",
       "127.0.0.1"},
      {"an interface with only an IPv6 address",
       "ip link set lo up && ip link add pw0 type veth peer name pw1 &&"
       " ip -6 addr add fd00::7/64 dev pw0 nodad && ip link set pw0 up",
       "127.0.0.1"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    int out[2];
    ASSERT_EQ(pipe(out), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(out[0]);
      if (unshare(CLONE_NEWNET) != 0) _exit(77);
      const std::string quiet = std::string(row.commands) + " >/dev/null 2>&1";
      if (std::system(quiet.c_str()) != 0) _exit(78);
      const std::string address = InterfaceAddress().LocalIP();
      _exit(write(out[1], address.data(), address.size()) == static_cast<ssize_t>(address.size())
                ? 0
                : 1);
    }
    close(out[1]);
    std::string address;
    char buffer[64];
    for (ssize_t n = 0; (n = read(out[0], buffer, sizeof buffer)) > 0;) address.append(buffer, n);
    close(out[0]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "no permission to make a network namespace";
    ASSERT_NE(WEXITSTATUS(status), 78) << "the interfaces could not be made: " << row.commands;
    EXPECT_EQ(address, row.expected);
  }
}

}  // namespace
}  // namespace plumwick
