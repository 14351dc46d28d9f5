// The desktop parts on POSIX and the C++ library: time and date texts in the user's locale, and the
// local address.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <regex>

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

TEST(InterfaceAddress, IsADottedQuadAndNeverLoopbackUnlessThereIsNothingElse) {
  const std::string address = InterfaceAddress().LocalIP();
  const std::regex dotted_quad(R"((\d{1,3})\.(\d{1,3})\.(\d{1,3})\.(\d{1,3}))");
  std::smatch parts;
  ASSERT_TRUE(std::regex_match(address, parts, dotted_quad)) << address;
  for (int i = 1; i <= 4; ++i) EXPECT_LE(std::stoi(parts[i].str()), 255);
  if (address.starts_with("127.")) {
    EXPECT_EQ(address, "127.0.0.1");
  }
}

TEST(InterfaceAddress, IsLoopbackInANetworkWithoutInterfaces) {
  // A child process in a network namespace of its own sees only a loopback interface.
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (unshare(CLONE_NEWNET) != 0) _exit(77);
    _exit(InterfaceAddress().LocalIP() == "127.0.0.1" ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "no permission to make a network namespace";
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace plumwick
