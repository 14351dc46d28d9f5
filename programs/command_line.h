// The command line the programs share: --help, --version, for a program that drives one of
// several messaging clients --client, and the refusal of anything else, answered before any
// display is needed, as every program on the system answers them.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace plumwick {

// The --client option of a program that can drive more than one messaging client.
struct ClientOption {
  // The values it takes, in the order --help lists them.
  std::vector<std::string> words = {};
  // The value on the command line; nullopt without the option.
  std::optional<std::string> given = std::nullopt;
};

// Reads the command line. Returns the exit status when the program has answered it and must end:
// 0 after --help (usage and options on stdout) or --version (name and version on stdout), 2 after
// an option or argument it does not take (one usage line on stderr). nullopt: go on and start.
// With `client`, the program takes --client with one of its words, and `client->given` is set.
std::optional<int> AnswerCommandLine(int argc, char** argv, const char* summary,
                                     ClientOption* client = nullptr);

}  // namespace plumwick
