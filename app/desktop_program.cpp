// The window on the desktop with a given messaging client.
#include "app/desktop_program.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <utility>

#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>

#include "app/design.h"
#include "app/frm_msn.h"
#include "platform/posix/interface_address.h"
#include "platform/posix/locale_time_texts.h"
#include "platform/posix/steady_clock.h"
#include "platform/qt/qt_clipboard.h"
#include "platform/qt/qt_error_report.h"
#include "platform/qt/qt_event_pump.h"
#include "platform/qt/qt_form.h"
#include "platform/qt/qt_sound_cue.h"
#include "platform/qt/qt_window_drag.h"
#include "platform/x11/x11_focused_window.h"
#include "platform/x11/xdo_keystrokes.h"

namespace plumwick {

bool CheckDisplay(const char* program) {
  const auto set = [](const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
  };
  if (set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM")) return true;
  std::fprintf(stderr,
               "%s: there is no display to show the window on (DISPLAY is not set).\n"
               "Start it from a desktop session, or give it a virtual one, for example:\n"
               "  xvfb-run -a %s\n",
               program, program);
  return false;
}

struct DesktopProgram::Parts {
  Parts(messenger::MessengerFactory create_client, std::optional<DesktopTyping> shared)
      : own_keys(shared ? nullptr : std::make_unique<XdoKeystrokes>()),
        own_focus(shared ? nullptr : std::make_unique<X11FocusedWindow>()),
        keys(shared ? shared->keys : *own_keys),
        focus(shared ? shared->focus : *own_focus),
        window(controls(),
               {.window = form,
                .errors = errors,
                .clock = clock,
                .pump = pump,
                .clipboard = clipboard,
                .time_texts = time_texts,
                .keys = keys,
                .focus = focus,
                .drag = drag},
               std::move(create_client)) {
    // The exit button ends the process without destructors; the keyboard's spare keys are the
    // X server's and would stay bound.
    form.OnEnd([this] { keys.ReleaseKeys(); });
  }

  frmMsnControls controls() {
    return {
        .cboStatus = form.combo_box("cboStatus"),
        .cmdload = form.button("cmdload"),
        .KewlButtons1 = form.button("KewlButtons1"),
        .KewlButtons2 = form.button("KewlButtons2"),
        .KewlButtons3 = form.button("KewlButtons3"),
        .KewlButtons4 = form.button("KewlButtons4"),
        .KewlButtons5 = form.button("KewlButtons5"),
        .KewlButtons6 = form.button("KewlButtons6"),
        .KewlButtons7 = form.button("KewlButtons7"),
        .KewlButtons8 = form.button("KewlButtons8"),
        .KewlButtons9 = form.button("KewlButtons9"),
        .KewlButtons10 = form.button("KewlButtons10"),
        .KewlButtons11 = form.button("KewlButtons11"),
        .KewlButtons12 = form.button("KewlButtons12"),
        .lbContacts = form.list_box("lbContacts"),
        .Text1 = form.text_box("Text1"),
        .Text2 = form.text_box("Text2"),
        .Text3 = form.text_box("Text3"),
        .Text4 = form.text_box("Text4"),
        .OLE1 = OLE1,
        .OLE2 = OLE2,
        .OLE3 = OLE3,
        .Winsock1 = Winsock1,
        .Label1 = form.label("Label1"),
    };
  }

  QtForm form{frmMsnWindowDesign(), frmMsnDesign()};
  QtErrorReport errors{&form};
  QtSoundCue OLE1{"OLE1", QStringLiteral(":/cues/OLE1.wav")};
  QtSoundCue OLE2{"OLE2", QStringLiteral(":/cues/OLE2.wav")};
  QtSoundCue OLE3{"OLE3", QStringLiteral(":/cues/OLE3.wav")};
  InterfaceAddress Winsock1;
  SteadyClock clock;
  QtEventPump pump;
  QtClipboard clipboard;
  LocaleTimeTexts time_texts;
  std::unique_ptr<XdoKeystrokes> own_keys;
  std::unique_ptr<X11FocusedWindow> own_focus;
  XdoKeystrokes& keys;
  FocusedWindow& focus;
  QtWindowDrag drag{form};
  frmMsn window;
};

DesktopProgram::DesktopProgram(messenger::MessengerFactory create_client)
    : parts_(std::make_unique<Parts>(std::move(create_client), std::nullopt)) {}

DesktopProgram::DesktopProgram(messenger::MessengerFactory create_client, DesktopTyping typing)
    : parts_(std::make_unique<Parts>(std::move(create_client), typing)) {}

DesktopProgram::~DesktopProgram() = default;

bool DesktopProgram::Start() {
  return parts_->window.Start();
}

QWidget& DesktopProgram::widget() {
  return parts_->form;
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

int Run(const std::function<std::unique_ptr<DesktopProgram>()>& make, AfterShown after_shown) {
  try {
    const std::unique_ptr<DesktopProgram> made = make();
    DesktopProgram& program = *made;
    FirstPaintWatch watch(program.widget(), std::move(after_shown));
    if (!program.Start()) return EXIT_FAILURE;
    return QApplication::exec();
  } catch (const Failure& failure) {
    // Building the window itself failed: nothing of it has run yet.
    QtErrorReport(nullptr).Show(failure);
    return EXIT_FAILURE;
  }
}

}  // namespace

int RunDesktopProgram(messenger::MessengerFactory create_client, AfterShown after_shown) {
  return Run([&] { return std::make_unique<DesktopProgram>(std::move(create_client)); },
             std::move(after_shown));
}

int RunDesktopProgram(messenger::MessengerFactory create_client, DesktopTyping typing,
                      AfterShown after_shown) {
  return Run([&] { return std::make_unique<DesktopProgram>(std::move(create_client), typing); },
             std::move(after_shown));
}

}  // namespace plumwick
