// plumwick: the program with Pidgin as its messaging client, reached over the session bus. With
// no Pidgin there it says so and ends before its window shows; it never falls back to the
// sandbox client, which would report failures as successes.
#include <cstdlib>

#include <QApplication>

#include "app/desktop_program.h"
#include "clients/purple/qt/purple_messenger.h"
#include "clients/purple/x11/x11_window_manager.h"
#include "platform/posix/steady_clock.h"
#include "platform/qt/font_system_warm_up.h"
#include "platform/qt/qt_event_pump.h"
#include "platform/x11/x11_focused_window.h"
#include "platform/x11/xdo_keystrokes.h"

int main(int argc, char** argv) {
  if (!plumwick::CheckDisplay("plumwick")) return EXIT_FAILURE;
  plumwick::FontSystemWarmUp fonts;
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("plumwick"));
  // The client's own parts for finishing jobs in Pidgin's windows; they outlive the window.
  plumwick::X11FocusedWindow focus;
  plumwick::XdoKeystrokes keys;
  plumwick::SteadyClock clock;
  plumwick::QtEventPump pump;
  plumwick::purple::X11WindowManager windows;
  fonts.Wait();
  return plumwick::RunDesktopProgram(
      plumwick::purple::PurpleMessengerFactory(
          {.focus = focus, .keys = keys, .clock = clock, .pump = pump, .windows = windows}),
      {.keys = keys, .focus = focus});
}
