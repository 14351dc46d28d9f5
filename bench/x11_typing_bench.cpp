// How long typing a 2,000-character message takes, from the first key sent until the receiving
// window has handled Enter: XTestKeystrokes next to `xdotool type --delay 0`, both into the same
// kind of window as a conversation window (a Qt line edit in another process) on a private
// desktop that this program starts itself: Xvfb with openbox, or mutter's or KWin's XWayland. It
// prints the figures, whether each run arrived exactly, and the ratio of the medians (target: at
// most 0.35, with the look at the focus before every key and the read receipts), then whether a few
// short mixed strings arrive exactly. Not a test: nothing is asserted.
//
// Build and run (needs xvfb openbox xdotool; mutter xwayland or kwin-wayland for those desktops):
//   cmake --build build/default --target x11_typing_bench plumwick_x11_receiver
//   build/default/bench/x11_typing_bench [runs per method, default 3] [--desktop=xvfb|mutter|kwin]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "keynotation/key_notation.h"
#include "platform/failure.h"
#include "platform/x11/x11_xtest_keystrokes.h"
#include "tests/e2e/harness/run_command.h"
#include "tests/x11/receiver_process.h"
#include "tests/x11/typing_desktop.h"

namespace {

using Clock = std::chrono::steady_clock;
using plumwick::x11_test::ReceiverProcess;

constexpr std::size_t kMessageLength = 2000;  // characters

std::size_t CountCharacters(const std::string& utf8) {
  return static_cast<std::size_t>(
      std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xc0) != 0x80; }));
}

// Mostly ASCII, as a chat message is, with German words (Latin-1, upper case included) and
// Greek. Cut at a character boundary.
std::string Message() {
  const std::string phrase =
      "Grüße aus München! Das Café öffnet um 9, Ärger gibt es nie. Καλημέρα, φίλε μου; "
      "ready at 100% (see #42) ~ ok :-) ";
  std::string text;
  while (CountCharacters(text) < kMessageLength) text += phrase;
  std::size_t characters = 0, end = 0;
  for (; end < text.size() && characters <= kMessageLength; ++end) {
    if ((text[end] & 0xc0) != 0x80 && ++characters > kMessageLength) break;
  }
  text.resize(end);
  while (!text.empty() && text.back() == ' ') text.pop_back();  // a line edit keeps it, but
  return text;                                                  // a trailing blank hides badly
}

double Milliseconds(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

struct Run {
  double call_ms = 0;     // until the typing call returned
  double arrival_ms = 0;  // until the window reported the line
  bool exact = false;
  std::string detail;
};

std::string Compare(const std::string& expected, const std::string& got) {
  if (expected == got) return "";
  std::size_t at = 0;
  while (at < expected.size() && at < got.size() && expected[at] == got[at]) ++at;
  char text[160];
  std::snprintf(text, sizeof text, " (%zu of %zu characters arrived; first difference at byte %zu)",
                CountCharacters(got), CountCharacters(expected), at);
  return text;
}

Run Measure(ReceiverProcess& receiver, const std::string& message,
            const std::function<void()>& type) {
  receiver.Activate();
  Run run;
  const auto start = Clock::now();
  type();
  run.call_ms = Milliseconds(Clock::now() - start);
  const auto entry = receiver.NextEntry(std::chrono::seconds(60));
  run.arrival_ms = Milliseconds(Clock::now() - start);
  if (!entry) {
    run.detail = " (no line arrived within 60 s)";
    return run;
  }
  run.exact = entry->first == message && entry->which == "first";
  run.detail = Compare(message, entry->first);
  return run;
}

double Median(std::vector<Run> runs) {
  std::sort(runs.begin(), runs.end(),
            [](const Run& a, const Run& b) { return a.arrival_ms < b.arrival_ms; });
  return runs[runs.size() / 2].arrival_ms;
}

void Print(const char* method, int index, const Run& run) {
  std::printf(
      "%-16s run %d: call returned after %8.1f ms, line arrived after %8.1f ms, exact: %s%s\n",
      method, index, run.call_ms, run.arrival_ms, run.exact ? "yes" : "NO", run.detail.c_str());
}

// Types the keys into the window as the program's typing does: the focus looked at before every
// key, and a key bound anew only once the window has read the keys typed under its old binding.
void TypeInto(plumwick::XTestKeystrokes& keys, const plumwick::KeySequence& sequence,
              std::uint64_t window) {
  plumwick::KeySequence rest = sequence;
  for (;;) {
    const plumwick::TypedKeys typed = keys.Type(rest, window);
    rest = plumwick::KeysAfter(rest, typed.keys);
    if (typed.stop != plumwick::TypedKeys::Stop::kUnread) break;
    keys.AskReadReceipt(window);
    while (!keys.ReadReceiptCame()) {
    }
  }
}

// Short strings with characters from far apart, and the notation's own symbols as text.
void TypeShortStrings(ReceiverProcess& receiver, plumwick::XTestKeystrokes& keys) {
  const std::pair<const char*, const char*> strings[] = {
      {"héllo Ωmega 👍🏽 ЖЖ", "héllo Ωmega 👍🏽 ЖЖ"},
      {"100% :-) {{}x{}}", "100% :-) {x}"},
      {"Grüße ÀÉÎÕÜ ß € — 你好", "Grüße ÀÉÎÕÜ ß € — 你好"},
  };
  for (const auto& [keys_text, expected] : strings) {
    receiver.Activate();
    std::string outcome;
    try {
      TypeInto(keys, plumwick::ParseKeyNotation(std::string(keys_text) + "{ENTER}"),
               receiver.Window());
      const auto entry = receiver.NextEntry(std::chrono::seconds(10));
      outcome = !entry                     ? "NOTHING ARRIVED"
                : entry->first == expected ? "exact"
                                           : "NOT EXACT: \"" + entry->first + "\"";
    } catch (const plumwick::Failure& failure) {
      outcome = std::string("FAILED: ") + failure.what();
    }
    std::printf("typing \"%s\": %s\n", keys_text, outcome.c_str());
  }
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 3;
  std::string kind = "xvfb";
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--desktop=", 10) == 0) {
      kind = argv[i] + 10;
    } else {
      runs = std::max(1, std::atoi(argv[i]));
    }
  }
  try {
    const auto desktop = plumwick::x11_test::StartTypingDesktop(kind);
    // The synthesizer connects through Xlib, which takes the server's cookie from here.
    const auto auth = desktop->Env().find("XAUTHORITY");
    if (auth != desktop->Env().end()) setenv("XAUTHORITY", auth->second.c_str(), 1);
    ReceiverProcess receiver(*desktop, PLUMWICK_X11_RECEIVER, "typing benchmark receiver");
    const std::string message = Message();
    std::printf("desktop: %s; message: %zu characters, %zu bytes of UTF-8; %d runs per method\n",
                kind.c_str(), CountCharacters(message), message.size(), runs);

    // xdotool first, while no key of this program is bound: it binds keys of its own on the fly.
    std::vector<Run> xdotool;
    for (int i = 0; i < runs; ++i) {
      xdotool.push_back(Measure(receiver, message, [&] {
        // Return as a command of its own: a newline in the text reaches a line edit as nothing,
        // and "type" takes every argument after it as text.
        plumwick::e2e::RunChecked({"xdotool", "type", "--delay", "0", message}, desktop->Env(),
                                  std::chrono::seconds(120));
        plumwick::e2e::RunChecked({"xdotool", "key", "Return"}, desktop->Env());
      }));
      Print("xdotool type", i + 1, xdotool.back());
    }

    // One synthesizer for all runs, as the program has: the first run binds the characters the
    // layout lacks, the later ones reuse the bindings.
    std::vector<Run> ours;
    {
      plumwick::XTestKeystrokes keys(desktop->Display());
      // Read once before the clock starts, as the program reads a text before its job types it.
      const plumwick::KeySequence message_keys = plumwick::ParseKeyNotation(message + "{ENTER}");
      for (int i = 0; i < runs; ++i) {
        ours.push_back(
            Measure(receiver, message, [&] { TypeInto(keys, message_keys, receiver.Window()); }));
        Print("XTestKeystrokes", i + 1, ours.back());
      }
      TypeShortStrings(receiver, keys);
    }

    const double ours_ms = Median(ours), xdotool_ms = Median(xdotool);
    std::printf("median arrival: XTestKeystrokes %.1f ms (%s), xdotool type --delay 0 %.1f ms (%s)\n",
                ours_ms,
                std::all_of(ours.begin(), ours.end(), [](const Run& r) { return r.exact; })
                    ? "all exact"
                    : "NOT all exact",
                xdotool_ms,
                std::all_of(xdotool.begin(), xdotool.end(), [](const Run& r) { return r.exact; })
                    ? "all exact"
                    : "NOT all exact");
    std::printf("ratio XTestKeystrokes / xdotool: %.2f (target <= 0.35)\n", ours_ms / xdotool_ms);
  } catch (const plumwick::Failure& failure) {
    std::fprintf(stderr, "typing failed: %s\n", failure.what());
    return 1;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "the benchmark could not run: %s\n", error.what());
    return 1;
  }
  return 0;
}
