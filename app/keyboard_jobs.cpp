// One keyboard job at a time: the turn, the line of waiting jobs, the pause between them and the
// wait for the display's keyboard.
#include "app/keyboard_jobs.h"

#include <string>
#include <utility>

#include "platform/failure.h"

namespace plumwick {

bool KeyboardJobs::Start(Job job) {
  if (running_) {
    waiting_.push_back(std::move(job));
    return true;
  }
  return RunInTurn(job);
}

bool KeyboardJobs::RunInTurn(const Job& first) {
  // Also on a way out that is not a failure (the program ending): no turn is left held.
  struct Turn {
    KeyboardJobs& jobs;
    explicit Turn(KeyboardJobs& j) : jobs(j) { jobs.running_ = true; }
    Turn(const Turn&) = delete;
    Turn& operator=(const Turn&) = delete;
    ~Turn() {
      jobs.running_ = false;
      jobs.waiting_.clear();
      jobs.keys_.EndJob();
    }
  } turn(*this);
  const bool done = first();
  for (;;) {
    // The keys a job typed last reach the client only as it handles them, after they went out:
    // the dialog they close is still up, the notice they dismiss still shows. The next job starts
    // once the client has had time for them, so that it does not find that window and lose its
    // keys when it goes. Keys borrowed for characters the layout lacks are given back only then
    // too: the client reads a key with the keymap of the moment it handles it. Clicks in this
    // wait join the line too.
    if (waiting_.empty() && !keys_.Borrowed()) break;
    wait_.Pause(kBetweenJobs);
    if (waiting_.empty()) break;  // the turn ends the job
    keys_.EndJob();
    const Job next = std::move(waiting_.front());
    waiting_.pop_front();
    next();
  }
  return done;
}

void KeyboardJobs::WaitForDisplayTurn() {
  if (keys_.TakeTurn()) return;
  if (!wait_.Until(kTurnWait, [this] { return keys_.TakeTurn(); })) {
    throw Failure(error_code::kKeystrokes,
                  "Another Plumwick on this display kept the keyboard busy with its own job for " +
                      std::to_string(kTurnWait.count() / 1000) +
                      " seconds, so nothing was done. Try again once it has finished");
  }
  // As after a job of this program's own: the other job's last keys reach its client only as
  // that handles them.
  wait_.Pause(kBetweenJobs);
}

}  // namespace plumwick
