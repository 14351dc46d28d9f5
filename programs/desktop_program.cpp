// The window on the desktop with a given messaging client.
#include "programs/desktop_program.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <utility>

#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QObject>
#include <QTimer>

#include "app/design.h"
#include "app/main_window.h"
#include "platform/desktop.h"
#include "platform/posix/interface_address.h"
#include "platform/posix/locale_time_texts.h"
#include "platform/posix/steady_clock.h"
#include "platform/qt/qt_clipboard.h"
#include "platform/qt/qt_error_report.h"
#include "platform/qt/qt_event_pump.h"
#include "platform/qt/qt_form.h"
#include "platform/qt/qt_key_shield.h"
#include "platform/qt/qt_sound_cue.h"
#include "platform/qt/qt_window_drag.h"
#include "platform/x11/x11_clipboard_handover.h"
#include "platform/x11/x11_focused_window.h"
#include "platform/x11/x11_window_manager.h"
#include "platform/x11/x11_display_probe.h"
#include "platform/x11/x11_xtest_keystrokes.h"
#include "programs/end_on_signal.h"

namespace plumwick {

bool CheckDisplay(const char* program) {
  const auto set = [](const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
  };
  // A platform chosen for it (the tests' offscreen one) is taken as it is.
  if (set("QT_QPA_PLATFORM")) return true;
  if (set("DISPLAY")) {
    // Asked here because Qt, failing to connect, aborts with advice to reinstall the program.
    const char* display = std::getenv("DISPLAY");
    if (!x11::CanConnectToDisplay(display)) {
      std::fprintf(stderr,
                   "%s: cannot connect to the X display \"%s\" (DISPLAY): check that it runs and"
                   " lets you in, or start %s from a desktop session or with xvfb-run -a %s.\n",
                   program, display, program, program);
      return false;
    }
    // An X11 client in a Wayland session too, through XWayland: the clients it drives are X11
    // programs, the focus it checks is X11's, and only on X11 may a frameless window centre and
    // move itself.
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    return true;
  }
  if (set("WAYLAND_DISPLAY")) {
    std::fprintf(stderr,
                 "%s: this Wayland session has no X11 display (DISPLAY is not set). %s is an X11\n"
                 "program, as the messaging clients it drives are, and needs XWayland: turn it on\n"
                 "in your desktop's settings (or install the xwayland package), then start %s\n"
                 "again.\n",
                 program, program, program);
    return false;
  }
  std::fprintf(stderr,
               "%s: there is no display to show the window on (DISPLAY is not set).\n"
               "Start it from a desktop session, or give it a virtual one, for example:\n"
               "  xvfb-run -a %s\n",
               program, program);
  return false;
}

namespace {

// The program's own windows: the main window and every window over it (its message boxes, the
// status box's list). The messaging client's windows may live in this process too (the sandbox
// client's, the Pidgin client's notices), so the process cannot tell; the parent chain can.
bool IsOwnWindow(const QWidget& form, std::uint64_t id) {
  for (const QWidget* window : QApplication::topLevelWidgets()) {
    if (static_cast<std::uint64_t>(window->internalWinId()) != id) continue;
    for (const QWidget* up = window; up != nullptr; up = up->parentWidget()) {
      if (up == &form) return true;
    }
    return false;
  }
  return false;
}

// The text the program put on the clipboard stays pasteable after it has ended, as after a normal
// exit: handed to the desktop's clipboard manager, where one runs. Not when another program has
// taken the clipboard since. The manager answers in milliseconds; one that hangs is given 2 s.
void HandOverClipboard() {
  const QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard == nullptr || !clipboard->ownsClipboard()) return;
  if (QGuiApplication::platformName() != QStringLiteral("xcb")) return;
  HandClipboardToManager(clipboard->text(QClipboard::Clipboard).toStdString(),
                         std::chrono::seconds(2));
}

}  // namespace

struct DesktopProgram::Parts {
  explicit Parts(messenger::MessengerFactory create_client)
      : window(controls(), services(), desktop(), std::move(create_client)) {
    // Every way out ends the process without destructors: the keyboard's spare keys are the X
    // server's and would stay bound, and the copied text would leave with the process.
    form.OnEnd([this] {
      keys.ReleaseKeys();
      HandOverClipboard();
    });
  }

  // The controls by their design names (app/design.cpp).
  MainWindowControls controls() {
    return {
        .status_box = form.combo_box("cboStatus"),
        .select_list = form.button("cmdload"),
        .clear_list = form.button("SkinButtons1"),
        .contact_list = form.list_box("lbContacts"),
        .address = form.text_box("Text2"),
        .message = form.text_box("Text4"),
        .nickname = form.text_box("Text3"),
        .send_message = form.button("SkinButtons10"),
        .add_contact = form.button("SkinButtons11"),
        .delete_contact = form.button("SkinButtons9"),
        .change_nickname = form.button("SkinButtons12"),
        .sign_out = form.button("SkinButtons8"),
        .pad = form.text_box("Text1"),
        .clear_pad = form.button("SkinButtons2"),
        .insert_time = form.button("SkinButtons3"),
        .insert_date = form.button("SkinButtons4"),
        .get_ip = form.button("SkinButtons5"),
        .copy_pad = form.button("SkinButtons6"),
        .exit_program = form.button("SkinButtons7"),
        .title = form.label("Label1"),
        .click_cue = click_cue,
        .sign_out_cue = sign_out_cue,
        .start_cue = start_cue,
        .local_address = local_address,
    };
  }

  MainWindowServices services() {
    return {.window = form,
            .errors = errors,
            .clipboard = clipboard,
            .time_texts = time_texts,
            .drag = drag,
            .key_shield = key_shield};
  }

  Desktop desktop() { return {.wait = wait, .focus = focus, .keys = keys, .windows = windows}; }

  QtForm form{MainWindowDesign(), MainWindowControlDesigns()};
  QtErrorReport errors{&form};
  QtSoundCue click_cue{"OLE1", QStringLiteral(":/cues/click.wav")};
  QtSoundCue sign_out_cue{"OLE2", QStringLiteral(":/cues/sign_out.wav")};
  QtSoundCue start_cue{"OLE3", QStringLiteral(":/cues/start.wav")};
  InterfaceAddress local_address;
  SteadyClock clock;
  QtEventPump pump;
  EventWait wait{clock, pump};
  QtClipboard clipboard;
  LocaleTimeTexts time_texts;
  XTestKeystrokes keys;
  X11FocusedWindow focus{{}, [this](std::uint64_t id) { return IsOwnWindow(form, id); }};
  X11WindowManager windows;
  QtWindowDrag drag{form};
  QtKeyShield key_shield{form};
  MainWindow window;
};

DesktopProgram::DesktopProgram(messenger::MessengerFactory create_client)
    : parts_(std::make_unique<Parts>(std::move(create_client))) {}

DesktopProgram::~DesktopProgram() = default;

bool DesktopProgram::Start() {
  return parts_->window.Start();
}

QWidget& DesktopProgram::widget() {
  return parts_->form;
}

void DesktopProgram::Close() {
  parts_->form.close();
}

namespace {

// Runs `after_shown` once, after the window's first paint has been done.
class FirstPaintWatch final : public QObject {
 public:
  FirstPaintWatch(QWidget& window, AfterShown after_shown) : after_shown_(std::move(after_shown)) {
    window.installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && after_shown_) {
      watched->removeEventFilter(this);
      // Queued, so that the paint under way finishes and reaches the screen first.
      QTimer::singleShot(0, this, std::exchange(after_shown_, {}));
    }
    return false;
  }

 private:
  AfterShown after_shown_;
};

}  // namespace

int RunDesktopProgram(messenger::MessengerFactory create_client, AfterShown after_shown) {
  try {
    DesktopProgram program(std::move(create_client));
    // A logout's SIGTERM ends the program as the desktop's close does, inside a job's wait too.
    EndOnSignal on_signal([&program] { program.Close(); });
    FirstPaintWatch watch(program.widget(), std::move(after_shown));
    if (!program.Start()) return EXIT_FAILURE;
    return QApplication::exec();
  } catch (const Failure& failure) {
    // Building the window itself failed: nothing of it has run yet.
    QtErrorReport(nullptr).Show(failure);
    return EXIT_FAILURE;
  }
}

}  // namespace plumwick
