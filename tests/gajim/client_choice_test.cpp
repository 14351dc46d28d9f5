// The choice of the messaging client at start-up, from the clients the program offers, the one
// the command line asks for and those that are running.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "platform/failure.h"
#include "programs/client_choice.h"

namespace plumwick {
namespace {

TEST(ClientChoiceTest, TheClientAskedForOrTheOneRunningOrAStartUpErrorSayingWhatToDo) {
  using K = ClientKind;
  const std::vector<K> both{K::kPidgin, K::kGajim};
  const std::vector<K> pidgin{K::kPidgin};
  const std::vector<K> gajim{K::kGajim};
  const std::vector<K> none;
  struct Row {
    std::vector<K> offered;
    std::optional<K> asked;
    std::vector<K> running;
    std::optional<K> chosen;  // nullopt: this failure
    std::int32_t code;
    const char* text;
  };
  const char* no_client = "No messaging client is running: start Pidgin or Gajim and sign in";
  const Row rows[] = {
      {both, std::nullopt, none, std::nullopt, error_code::kNoClient, no_client},
      {both, std::nullopt, pidgin, K::kPidgin, 0, ""},
      {both, std::nullopt, gajim, K::kGajim, 0, ""},
      {both, std::nullopt, both, std::nullopt, error_code::kBadArgument,
       "Both Pidgin and Gajim are running: choose one with --client pidgin or --client gajim"},
      {both, K::kPidgin, none, std::nullopt, error_code::kNoClient,
       "Pidgin is not running (--client pidgin): start Pidgin and sign in"},
      {both, K::kPidgin, pidgin, K::kPidgin, 0, ""},
      {both, K::kPidgin, gajim, std::nullopt, error_code::kNoClient,
       "Pidgin is not running (--client pidgin): start Pidgin and sign in"},
      {both, K::kPidgin, both, K::kPidgin, 0, ""},
      {both, K::kGajim, none, std::nullopt, error_code::kNoClient,
       "Gajim is not running (--client gajim): start Gajim and sign in"},
      {both, K::kGajim, pidgin, std::nullopt, error_code::kNoClient,
       "Gajim is not running (--client gajim): start Gajim and sign in"},
      {both, K::kGajim, gajim, K::kGajim, 0, ""},
      {both, K::kGajim, both, K::kGajim, 0, ""},
      // A program that offers Pidgin alone minds no Gajim.
      {pidgin, std::nullopt, gajim, std::nullopt, error_code::kNoClient,
       "No messaging client is running: start Pidgin and sign in"},
      {pidgin, std::nullopt, both, K::kPidgin, 0, ""},
      {pidgin, K::kGajim, both, std::nullopt, error_code::kBadArgument,
       "Gajim is not a client this program drives"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << "offered " << row.offered.size() << ", asked "
                                    << (row.asked ? ClientWord(*row.asked) : "none") << ", running "
                                    << ClientWords(row.running).size());
    if (row.chosen) {
      EXPECT_EQ(ChooseClient(row.offered, row.asked, row.running), *row.chosen);
      continue;
    }
    try {
      ChooseClient(row.offered, row.asked, row.running);
      ADD_FAILURE() << "chosen";
    } catch (const Failure& failure) {
      EXPECT_EQ(failure.code(), row.code);
      EXPECT_EQ(failure.description(), row.text);
    }
  }
  for (const K client : both) EXPECT_EQ(ClientOfWord(ClientWord(client)), client);
  EXPECT_EQ(ClientOfWord("Pidgin"), std::nullopt);
}

}  // namespace
}  // namespace plumwick
