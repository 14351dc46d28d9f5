// plumwick: the program with Pidgin as its messaging client, reached over the session bus. With
// no Pidgin there it says so and ends before its window shows; it never falls back to the
// sandbox client, which would report failures as successes.
#include <cstdlib>

#include <QApplication>

#include "clients/purple/qt/purple_messenger.h"
#include "platform/qt/font_system_warm_up.h"
#include "programs/command_line.h"
#include "programs/desktop_program.h"
#include "programs/end_process.h"

namespace {

// What --help says the program is for.
constexpr char kSummary[] =
    "A skinned companion window for Pidgin, which must be running: set your status, list\n"
    "your contacts, send a prepared message, add and delete contacts, change your display\n"
    "name, and collect the time, date and IP address to copy.";

int Run(int& argc, char** argv) {
  plumwick::FontSystemWarmUp fonts;
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("plumwick"));
  fonts.Wait();
  return plumwick::RunDesktopProgram(plumwick::purple::PurpleMessengerFactory());
}

}  // namespace

int main(int argc, char** argv) {
  if (const auto answered = plumwick::AnswerCommandLine(argc, argv, kSummary)) {
    return *answered;
  }
  if (!plumwick::CheckDisplay("plumwick")) return EXIT_FAILURE;
  // Also after a failed start-up, while the start-up cue's stream may still be being set up.
  plumwick::EndProcess(Run(argc, argv));
}
