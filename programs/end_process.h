// How the programs' processes end once everything main made is gone: without the libraries' static
// destructors. One of them is Qt Multimedia 6.4's PulseAudio engine, which disconnects from the
// sound server without taking its main loop's lock while that loop's thread may still be handling
// the server's messages (about a cue's stream, or a sink that changed); the two collide, and
// libpulse aborts ("Assertion 'pd' failed") or its thread crashes. The engine is Qt's own and
// cannot be stopped first, so the process leaves before it is torn down, as the exit button's
// ending does.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace plumwick {

[[noreturn]] inline void EndProcess(int code) {
  std::fflush(nullptr);
  std::_Exit(code);
}

}  // namespace plumwick
