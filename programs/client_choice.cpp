// The choice of the messaging client.
#include "programs/client_choice.h"

#include <algorithm>
#include <array>

#include "platform/failure.h"

namespace plumwick {

namespace {

struct KnownClient {
  ClientKind client;
  std::string_view name;
  std::string_view word;
};

constexpr std::array<KnownClient, 2> kClients{{
    {ClientKind::kPidgin, "Pidgin", "pidgin"},
    {ClientKind::kGajim, "Gajim", "gajim"},
}};

const KnownClient& Known(ClientKind client) {
  return *std::ranges::find(kClients, client, &KnownClient::client);
}

bool Has(std::span<const ClientKind> clients, ClientKind client) {
  return std::ranges::find(clients, client) != clients.end();
}

// "Pidgin", "Pidgin or Gajim", "Pidgin, Gajim or ...".
std::string Listed(std::span<const ClientKind> clients, std::string_view last_joint) {
  std::string text;
  for (std::size_t i = 0; i < clients.size(); ++i) {
    if (i > 0) text += i + 1 == clients.size() ? last_joint : ", ";
    text += ClientName(clients[i]);
  }
  return text;
}

std::string Option(ClientKind client) {
  return "--client " + std::string(ClientWord(client));
}

}  // namespace

std::string_view ClientName(ClientKind client) {
  return Known(client).name;
}

std::string_view ClientWord(ClientKind client) {
  return Known(client).word;
}

std::vector<std::string> ClientWords(std::span<const ClientKind> clients) {
  std::vector<std::string> words;
  for (const ClientKind client : clients) words.emplace_back(ClientWord(client));
  return words;
}

std::optional<ClientKind> ClientOfWord(std::string_view word) {
  const auto found = std::ranges::find(kClients, word, &KnownClient::word);
  if (found == kClients.end()) return std::nullopt;
  return found->client;
}

std::string NoClientRunningText(std::span<const ClientKind> offered) {
  return "No messaging client is running: start " + Listed(offered, " or ") + " and sign in";
}

ClientKind ChooseClient(std::span<const ClientKind> offered, std::optional<ClientKind> asked,
                        std::span<const ClientKind> running) {
  if (asked) {
    const std::string name(ClientName(*asked));
    if (!Has(offered, *asked)) {
      throw Failure(error_code::kBadArgument, name + " is not a client this program drives");
    }
    if (!Has(running, *asked)) {
      throw Failure(error_code::kNoClient, name + " is not running (" + Option(*asked) +
                                               "): start " + name + " and sign in");
    }
    return *asked;
  }
  std::vector<ClientKind> candidates;
  for (const ClientKind client : offered) {
    if (Has(running, client)) candidates.push_back(client);
  }
  if (candidates.empty()) throw Failure(error_code::kNoClient, NoClientRunningText(offered));
  if (candidates.size() > 1) {
    std::string options;
    for (const ClientKind client : candidates) {
      options += (options.empty() ? "" : " or ") + Option(client);
    }
    // Only two are known: "Both Pidgin and Gajim".
    throw Failure(error_code::kBadArgument, "Both " + Listed(candidates, " and ") +
                                                " are running: choose one with " + options);
  }
  return candidates.front();
}

}  // namespace plumwick
