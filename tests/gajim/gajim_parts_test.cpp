// The Gajim client's parts that need no Gajim: presence between Gajim's shows and the program's
// status codes, and the age of a process, which tells a Gajim that is starting.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <optional>
#include <string>
#include <utility>

#include "clients/gajim/gajim_shows.h"
#include "clients/gajim/process_age.h"
#include "messenger/messenger.h"

namespace plumwick::gajim {
namespace {

using std::chrono::milliseconds;
namespace status = messenger::status;

TEST(GajimShowsTest, EveryShowHasAStatusCodeAndEachPickAShow) {
  const std::pair<const char*, std::int32_t> shows[] = {
      {"offline", status::kOffline},     {"online", status::kOnline}, {"chat", status::kOnline},
      {"away", status::kAway},           {"xa", status::kAway},       {"dnd", status::kBusy},
      {"something new", status::kOnline}};
  for (const auto& [show, code] : shows) EXPECT_EQ(StatusCodeOfShow(show), code) << show;
  for (const std::int32_t code : {status::kOnline, status::kBusy, status::kAway}) {
    EXPECT_EQ(StatusCodeOfShow(ShowFor(code)), code) << code;
  }
}

TEST(ProcessAgeTest, TheAgeIsReadFromTheStartTimeAfterTheLastParenthesis) {
  // Field 22, the start time, is 500 ticks: 5 s after boot, 10 s ago at 15 s of uptime.
  const std::string line =
      "42 (gajim (a) b) S 1 42 42 0 -1 4194560 100 0 0 0 10 5 0 0 20 0 4 0 500 1000 200";
  EXPECT_EQ(AgeFromStat(line, 15.0, 100), milliseconds(10000));
  EXPECT_EQ(AgeFromStat("42 (gajim) S 1 2", 15.0, 100), std::nullopt);
  EXPECT_EQ(AgeFromStat("no name", 15.0, 100), std::nullopt);
  EXPECT_TRUE(ProcessAge(getpid()).has_value());
}

}  // namespace
}  // namespace plumwick::gajim
