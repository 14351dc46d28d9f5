// How the programs' processes end once everything main made is gone: without the libraries' static
// destructors. A cue may still be playing on a thread of its own (its stream is drained on that
// thread to the clip's end), and tearing the libraries down under it would race it; so the process
// leaves at once, as the exit button's ending does.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace plumwick {

[[noreturn]] inline void EndProcess(int code) {
  std::fflush(nullptr);
  std::_Exit(code);
}

}  // namespace plumwick
