// Which messaging client plumwick drives: the one the command line asks for, or else the one that
// is running. Decided from which clients run, so that every case is tested without any of them.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace plumwick {

enum class ClientKind { kPidgin, kGajim };

// The name users know it by: "Pidgin".
std::string_view ClientName(ClientKind client);
// Its word for the --client option: "pidgin".
std::string_view ClientWord(ClientKind client);
// The words of the clients, in their order.
std::vector<std::string> ClientWords(std::span<const ClientKind> clients);
// The client a word names; nullopt for any other word.
std::optional<ClientKind> ClientOfWord(std::string_view word);

// What the user is told when none of the clients runs: "No messaging client is running: start
// Pidgin or Gajim and sign in".
std::string NoClientRunningText(std::span<const ClientKind> offered);

// The client to drive among those the program offers: the one asked for, which must be running;
// without one asked, the one that runs. Throws Failure(kNoClient) when the client asked for does
// not run, or none of them does; Failure(kBadArgument) when several run and none was asked for,
// or the one asked for is not offered.
ClientKind ChooseClient(std::span<const ClientKind> offered, std::optional<ClientKind> asked,
                        std::span<const ClientKind> running);

}  // namespace plumwick
