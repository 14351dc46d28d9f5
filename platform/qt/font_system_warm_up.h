// Reads the font configuration on another core while the program sets up its display connection.
// The first text a window lays out otherwise waits for it: about 4.5 ms of parsing the
// configuration, which a window of text pays before it can show.
#pragma once

#include <thread>

namespace plumwick {

class FontSystemWarmUp {
 public:
  // Start before the QApplication is made.
  FontSystemWarmUp();
  // Waits for the warm-up; call before the first widget with text is made.
  void Wait();
  ~FontSystemWarmUp();
  FontSystemWarmUp(const FontSystemWarmUp&) = delete;
  FontSystemWarmUp& operator=(const FontSystemWarmUp&) = delete;

 private:
  std::thread reader_;
};

}  // namespace plumwick
