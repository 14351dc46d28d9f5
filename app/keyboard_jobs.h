// One keyboard job at a time: the line of the window's actions that type into the client.
//
// An action that takes turns, clicked while another one's job runs (the click arrives inside that
// job's waits), waits for its turn: it runs once the running job has ended, finished or failed, in
// the order of the clicks. Typing inside the other job's pause would merge two messages into one
// and send keys into windows the other job opened. Each job comes with what its click read: the
// user may change the boxes before its turn comes. A way out that is not a failure (the program
// ending) drops the jobs still waiting. The keyboard jobs of every Plumwick on one display take
// turns in the same way: one keyboard serves them all.
//
// It knows nothing of the window's handlers: a job is a call the window hands it, which runs the
// action under the window's failure rule and answers whether it succeeded.
#pragma once

#include <chrono>
#include <deque>
#include <functional>

#include "platform/event_pump.h"
#include "platform/keystrokes.h"

namespace plumwick {

class KeyboardJobs final {
 public:
  // The wait between two keyboard jobs, one after the other's end.
  static constexpr std::chrono::milliseconds kBetweenJobs{300};
  // How long a keyboard job waits for the job of another Plumwick on the same display to end.
  static constexpr std::chrono::milliseconds kTurnWait{20000};

  // Runs one action with the texts its click read; false when it failed (its error was shown).
  // It never throws Failure.
  using Job = std::function<bool()>;

  KeyboardJobs(EventWait& wait, Keystrokes& keys) : wait_(wait), keys_(keys) {}
  KeyboardJobs(const KeyboardJobs&) = delete;
  KeyboardJobs& operator=(const KeyboardJobs&) = delete;

  // With no job under way, runs `job` and then every job put in line meanwhile, and answers
  // whether `job` succeeded. During another job, puts it in line and answers true.
  bool Start(Job job);

  // Whether a job is under way (its own or one that waited for its turn).
  bool Running() const { return running_; }

  // Waits (handling events) until the display's keyboard is this program's, at most kTurnWait;
  // throws Failure after that. A job calls it before its first call to the client: a window the
  // client opens for it would take the focus from the windows of another program's job.
  void WaitForDisplayTurn();

 private:
  // Runs `first`, then the jobs in line, holding the turn until the last has ended.
  bool RunInTurn(const Job& first);

  EventWait& wait_;
  Keystrokes& keys_;
  bool running_ = false;
  std::deque<Job> waiting_;  // clicked during a job, in click order
};

}  // namespace plumwick
