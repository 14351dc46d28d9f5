// The command line both programs share: --help, --version and the refusal of anything else,
// answered before any display is needed, as every program on the system answers them.
#pragma once

#include <optional>

namespace plumwick {

// Reads the command line. Returns the exit status when the program has answered it and must end:
// 0 after --help (usage and options on stdout) or --version (name and version on stdout), 2 after
// an option or argument it does not take (one usage line on stderr). nullopt: go on and start.
std::optional<int> AnswerCommandLine(int argc, char** argv, const char* summary);

}  // namespace plumwick
