// The real window with the sandbox client on the offscreen platform, used as a person uses it:
// what start-up leaves on screen, the status box setting a status on every pick from its list and
// on nothing else, the contact list buttons and double-click, where the scratch pad's texts land,
// where the focus goes from a button that disables itself, the keys that press a button, the error
// box fitting on the screen, the title moving the window, and the shield that keeps the window's
// controls from acting on keys while a job types.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include "clients/sandbox/qt/qt_sandbox_client.h"
#include "platform/error_text.h"
#include "platform/posix/interface_address.h"
#include "platform/posix/locale_time_texts.h"
#include "platform/qt/qt_combo_box.h"
#include "platform/qt/qt_error_report.h"
#include "platform/qt/qt_key_shield.h"
#include "programs/desktop_program.h"

namespace plumwick {
namespace {

// The real window with the sandbox client, one for each case of a table. A message box the window
// shows is closed at once and its text kept, so that a failure shows in the test instead of
// waiting for a person.
struct LiveWindow {
  LiveWindow() {
    QObject::connect(&box_watch, &QTimer::timeout, [this] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        boxes.push_back(box->text().toStdString());
        box->reject();
      }
    });
    box_watch.start(10);
  }

  template <typename Widget = QWidget>
  Widget& Child(const char* name) {
    auto* widget = program.widget().findChild<Widget*>(QString::fromLatin1(name));
    if (widget == nullptr) throw std::runtime_error(std::string("no control ") + name);
    return *widget;
  }

  std::ostringstream effects;
  sandbox::QtSandboxClient client{effects};
  DesktopProgram program{client.Factory()};
  std::vector<std::string> boxes;  // the texts of the message boxes shown
  QTimer box_watch;
};

class WindowUi : public ::testing::Test, public LiveWindow {
 protected:
  void SetUp() override { ASSERT_TRUE(program.Start()); }

  QStringList ListEntries() {
    QStringList entries;
    auto& list = Child<QListWidget>("lbContacts");
    for (int i = 0; i < list.count(); ++i) entries << list.item(i)->text();
    return entries;
  }
};

TEST_F(WindowUi, StartUpShowsTheWindowWithStatusEntriesAndThreeButtonsDisabled) {
  EXPECT_TRUE(program.widget().isVisible());
  EXPECT_EQ(program.widget().windowTitle(), "PLUMWICK");
  EXPECT_EQ(program.widget().size(), QSize(267, 484));
  auto& status = Child<QComboBox>("cboStatus");
  ASSERT_EQ(status.count(), 3);
  EXPECT_EQ(status.itemText(0), "Online");
  EXPECT_EQ(status.itemText(1), "Busy");
  EXPECT_EQ(status.itemText(2), "Away");
  EXPECT_EQ(status.currentText(), "CHANGE YOUR STATUS HERE !");
  for (const char* name : {"SkinButtons1", "SkinButtons2", "SkinButtons6"}) {
    EXPECT_FALSE(Child<QPushButton>(name).isEnabled()) << name;
  }
  for (const char* name :
       {"cmdload", "SkinButtons3", "SkinButtons4", "SkinButtons5", "SkinButtons7", "SkinButtons8",
        "SkinButtons9", "SkinButtons10", "SkinButtons11", "SkinButtons12"}) {
    EXPECT_TRUE(Child<QPushButton>(name).isEnabled()) << name;
  }
  EXPECT_EQ(Child<QLineEdit>("Text2").text(), "Example: friend@example.com");
}

// The lines of the client's effects that start with `what`.
std::vector<std::string> EffectLines(const std::ostringstream& effects, const std::string& what) {
  std::vector<std::string> lines;
  std::istringstream in(effects.str());
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with(what)) lines.push_back(line);
  }
  return lines;
}

// What a user does with the status box, as a person does it.
void TypeIntoStatusBox(QComboBox& status, const char* text) {
  QTest::keyClick(status.lineEdit(), Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(status.lineEdit(), text);
  QTest::keyClick(status.lineEdit(), Qt::Key_Return);
}
QRect EntryPlace(const QComboBox& status, int row) {
  return status.view()->visualRect(status.view()->model()->index(row, 0));
}
void PickWithTheMouse(QComboBox& status, int row) {
  status.showPopup();
  QTest::mouseClick(status.view()->viewport(), Qt::LeftButton, {},
                    EntryPlace(status, row).center());
}
// Alt+Down opens the list on its current entry, Up and Down move to the row, Return picks.
void PickWithTheKeyboard(QComboBox& status, int row) {
  QTest::keyClick(status.lineEdit(), Qt::Key_Down, Qt::AltModifier);
  ASSERT_TRUE(status.view()->isVisible());
  for (int at = status.view()->currentIndex().row(); at != row; at += at < row ? 1 : -1) {
    QTest::keyClick(status.view(), at < row ? Qt::Key_Down : Qt::Key_Up);
  }
  QTest::keyClick(status.view(), Qt::Key_Return);
}
// A press on the arrow opens the list under the pointer; a release over an entry right after it
// is the same click, so the list stays open, and Escape closes it without a pick.
void MisClickOnTheArrow(QComboBox& status) {
  QTest::mousePress(&status, Qt::LeftButton, {}, {status.width() - 4, status.height() / 2});
  ASSERT_TRUE(status.view()->isVisible());
  QTest::mouseRelease(status.view()->viewport(), Qt::LeftButton, {},
                      EntryPlace(status, 0).center());
  ASSERT_TRUE(status.view()->isVisible()) << "the release right after the press picked";
  QTest::keyClick(status.view(), Qt::Key_Escape);
  ASSERT_FALSE(status.view()->isVisible());
}

TEST(StatusBoxUi, SetsTheStatusOnAPickFromItsListOnlyAndOnEveryPick) {
  struct Case {
    const char* what;
    std::function<void(QComboBox&)> gesture;
    std::vector<std::string> set;
  };
  const std::vector<Case> cases = {
      {"a typed name and Return, then Down",
       [](QComboBox& status) {
         TypeIntoStatusBox(status, "Busy");
         QTest::keyClick(status.lineEdit(), Qt::Key_Down);
       },
       {}},
      {"a mis-click on the arrow, then a typed name and Return",
       [](QComboBox& status) {
         ASSERT_NO_FATAL_FAILURE(MisClickOnTheArrow(status));
         TypeIntoStatusBox(status, "away");
       },
       {}},
      {"a pick with the mouse, then a typed name and Return",
       [](QComboBox& status) {
         PickWithTheMouse(status, 2);
         TypeIntoStatusBox(status, "Online");
       },
       {"sandbox: status set to 34 (Away)"}},
      {"a pick with the keyboard, then a typed name and Return",
       [](QComboBox& status) {
         ASSERT_NO_FATAL_FAILURE(PickWithTheKeyboard(status, 1));
         EXPECT_EQ(status.currentText(), "Busy");
         TypeIntoStatusBox(status, "Online");
       },
       {"sandbox: status set to 10 (Busy)"}},
      {"a typed letter, completed to no name, and Return before any pick",
       [](QComboBox& status) {
         QTest::keyClick(status.lineEdit(), Qt::Key_A, Qt::ControlModifier);
         QTest::keyClick(status.lineEdit(), Qt::Key_O);
         EXPECT_EQ(status.lineEdit()->text(), "o");
         QTest::keyClick(status.lineEdit(), Qt::Key_Return);
         EXPECT_EQ(status.currentText(), "CHANGE YOUR STATUS HERE !");
       },
       {}},
      {"a pick, then typed names ended by Return and by the focus leaving",
       [](QComboBox& status) {
         PickWithTheMouse(status, 2);
         TypeIntoStatusBox(status, "Online");
         EXPECT_EQ(status.currentText(), "Away");
         status.setFocus(Qt::MouseFocusReason);
         QTest::keyClicks(status.lineEdit(), "Busy");
         status.window()->findChild<QWidget*>("Text4")->setFocus(Qt::TabFocusReason);
         EXPECT_EQ(status.currentText(), "Away");
       },
       {"sandbox: status set to 34 (Away)"}},
      {"two picks with the keyboard",
       [](QComboBox& status) {
         ASSERT_NO_FATAL_FAILURE(PickWithTheKeyboard(status, 2));
         ASSERT_NO_FATAL_FAILURE(PickWithTheKeyboard(status, 0));
         EXPECT_EQ(status.currentText(), "Online");
       },
       {"sandbox: status set to 34 (Away)", "sandbox: status set to 2 (Online)"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    LiveWindow live;
    ASSERT_TRUE(live.program.Start());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&live.program.widget()));
    auto& status = live.Child<QComboBox>("cboStatus");
    c.gesture(status);
    EXPECT_EQ(EffectLines(live.effects, "sandbox: status set"), c.set);
    EXPECT_EQ(status.count(), 3) << "nothing typed becomes an entry";
  }
}

TEST_F(WindowUi, WheelAndArrowKeysOverTheClosedStatusBoxChangeNothing) {
  auto& status = Child<QComboBox>("cboStatus");
  status.setFocus();
  const QPoint middle = status.rect().center();
  for (const int steps : {-120, -120, 120, -120}) {
    QWheelEvent wheel(middle, status.mapToGlobal(middle), {}, {0, steps}, Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&status, &wheel);
    QWheelEvent over_text(middle, status.mapToGlobal(middle), {}, {0, steps}, Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
    QApplication::sendEvent(status.lineEdit(), &over_text);
  }
  for (const Qt::Key key :
       {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_PageDown, Qt::Key_PageUp}) {
    QTest::keyClick(&status, key);
    QTest::keyClick(status.lineEdit(), key);
  }
  EXPECT_EQ(status.currentText(), "CHANGE YOUR STATUS HERE !");
  EXPECT_EQ(status.lineEdit()->text(), "CHANGE YOUR STATUS HERE !");
  EXPECT_EQ(effects.str().find("status set"), std::string::npos) << effects.str();
  // Alt+Down still opens the list, where a pick can be made.
  QTest::keyClick(&status, Qt::Key_Down, Qt::AltModifier);
  EXPECT_TRUE(status.view()->isVisible());
  status.hidePopup();
}

TEST(StatusBoxUi, APickThatDidNotTakeEffectIsTakenBack) {
  QComboBox box;
  QtComboBox status(box);
  box.setEditText(QStringLiteral("CHANGE YOUR STATUS HERE !"));
  for (const char* entry : {"Online", "Busy", "Away"}) status.Append(entry);
  std::string picked;
  status.OnPick([&] {
    picked = status.Text();
    status.UndoPick();
  });
  box.show();
  box.showPopup();
  QAbstractItemView* view = box.view();
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                    view->visualRect(view->model()->index(1, 0)).center());
  EXPECT_EQ(picked, "Busy") << "the handler reads the pick";
  EXPECT_EQ(box.currentText(), "CHANGE YOUR STATUS HERE !");
}

TEST_F(WindowUi, SelectListFillsTheListAndClearListEmptiesListAndPad) {
  auto& select = Child<QPushButton>("cmdload");
  auto& clear = Child<QPushButton>("SkinButtons1");
  QTest::mouseClick(&select, Qt::LeftButton);
  EXPECT_EQ(ListEntries(),
            QStringList({"alice@example.com", "carol@example.com", "dave@example.com",
                         "frank@example.com", "grace@example.com"}));
  EXPECT_FALSE(select.isEnabled());
  EXPECT_TRUE(clear.isEnabled());

  Child<QLineEdit>("Text1").setText("scratch");
  QTest::mouseClick(&clear, Qt::LeftButton);
  EXPECT_TRUE(ListEntries().isEmpty());
  EXPECT_EQ(Child<QLineEdit>("Text1").text(), "");
  EXPECT_TRUE(select.isEnabled());
  EXPECT_FALSE(clear.isEnabled());
}

// A double-click opens the conversation of the current entry; a press on the empty part of the
// list leaves the current entry as it was.
TEST(ContactListUi, DoubleClickOpensTheCurrentEntrysConversationAlsoOnTheEmptyPart) {
  struct Case {
    const char* what;
    std::vector<int> clicks;  // entries clicked first; -1: the empty part
    int double_click;         // as above
  };
  const Case cases[] = {
      {"on a name", {}, 1},
      {"on the empty part, a name selected", {1}, -1},
      {"on the empty part after a click there", {3, 1, -1}, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    LiveWindow live;
    ASSERT_TRUE(live.program.Start());
    QTest::mouseClick(&live.Child("cmdload"), Qt::LeftButton);
    auto& list = live.Child<QListWidget>("lbContacts");
    ASSERT_EQ(list.count(), 5);
    const QPoint empty(10, list.viewport()->height() - 5);
    ASSERT_FALSE(list.indexAt(empty).isValid());
    const auto place = [&](int entry) {
      return entry < 0 ? empty : list.visualItemRect(list.item(entry)).center();
    };
    for (const int entry : c.clicks)
      QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, place(entry));
    // A double-click: a click, then QTest's double-click, which is the second press alone.
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, place(c.double_click));
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, place(c.double_click));
    EXPECT_EQ(EffectLines(live.effects, "sandbox: conversation"),
              std::vector<std::string>{"sandbox: conversation opened with carol@example.com"});
    EXPECT_NE(live.client.conversation_window("carol@example.com"), nullptr);
    EXPECT_EQ(live.boxes, std::vector<std::string>{});
  }
}

// The pad's texts on the real text box: where the caret and the selection put them.
TEST_F(WindowUi, ScratchPadTextsLandWhereTheCaretAndSelectionSayAndTheClipboardGetsThePad) {
  auto& pad = Child<QLineEdit>("Text1");
  auto click = [&](const char* name) {
    QTest::mouseClick(&Child<QPushButton>(name), Qt::LeftButton);
  };
  const auto date = [] { return QString::fromStdString(LocaleTimeTexts().DateText()); };
  const QString address = QString::fromStdString(InterfaceAddress().LocalIP());

  click("SkinButtons3");  // Time then Date on the empty pad: the two texts, nothing between
  const QString time = pad.text();
  EXPECT_FALSE(time.isEmpty());
  click("SkinButtons4");
  EXPECT_EQ(pad.text(), time + date());
  EXPECT_EQ(pad.cursorPosition(), pad.text().size());
  click("SkinButtons5");  // Get IP ! replaces both and leaves the caret at the start
  EXPECT_EQ(pad.text(), address);
  EXPECT_EQ(pad.cursorPosition(), 0);

  click("SkinButtons6");
  EXPECT_EQ(QGuiApplication::clipboard()->text(), address);
  EXPECT_FALSE(Child<QPushButton>("SkinButtons6").isEnabled());

  click("SkinButtons2");  // Clear: empty, and the filling buttons can be used again
  EXPECT_EQ(pad.text(), "");
  click("SkinButtons5");
  click("SkinButtons3");  // the time goes in front of the address
  EXPECT_TRUE(pad.text().endsWith(address)) << pad.text().toStdString();
  EXPECT_GT(pad.text().size(), address.size());
  EXPECT_EQ(pad.cursorPosition(), pad.text().size() - address.size());

  pad.setText("meet at NOON today");
  pad.setSelection(8, 4);
  click("SkinButtons4");  // a user's selection is replaced, the caret after the date
  EXPECT_EQ(pad.text(), "meet at " + date() + " today");
  EXPECT_EQ(pad.cursorPosition(), 8 + date().size());
}

// A button whose handler disables it while it has the keyboard focus: the focus goes back to the
// control the user was working in, as it was, and never on to the next button in the chain.
TEST(SelfDisablingButtonsUi, LeaveTheFocusInTheControlTheUserWorkedIn) {
  struct Case {
    const char* what;
    const char* worked_in;  // the control the user was in before the buttons
    std::vector<std::pair<const char*, bool>> presses;  // button, pressed by Space (else clicked)
    bool fills_pad;  // the last press put a text at the pad's caret
  };
  const Case cases[] = {
      {"Date clicked", "Text1", {{"SkinButtons4", false}}, true},
      {"Date pressed with Space", "Text1", {{"SkinButtons4", true}}, true},
      {"Time clicked, then Date",
       "Text1",
       {{"SkinButtons3", false}, {"SkinButtons4", false}},
       true},
      {"Get IP ! clicked, then Clipboard",
       "Text1",
       {{"SkinButtons5", false}, {"SkinButtons6", false}},
       false},
      {"Get IP ! and Clipboard pressed with Space",
       "Text1",
       {{"SkinButtons5", true}, {"SkinButtons6", true}},
       false},
      {"Time clicked from the message box", "Text4", {{"SkinButtons3", false}}, false},
      {"Select List, then Clear List clicked",
       "cboStatus",
       {{"cmdload", false}, {"SkinButtons1", false}},
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    LiveWindow live;
    ASSERT_TRUE(live.program.Start());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&live.program.widget()));
    auto& pad = live.Child<QLineEdit>("Text1");
    QWidget& worked_in = live.Child(c.worked_in);
    pad.setText(QStringLiteral("collected: "));
    pad.end(false);
    worked_in.setFocus(Qt::MouseFocusReason);
    for (const auto& [name, by_key] : c.presses) {
      auto& button = live.Child<QPushButton>(name);
      ASSERT_TRUE(button.isEnabled()) << name;
      if (by_key) {
        // Reached with Tab from where the user was, pressed with Space.
        button.setFocus(Qt::TabFocusReason);
        QTest::keyClick(&button, Qt::Key_Space);
      } else {
        // A press moves the focus to the button before the click, as on the desktop.
        button.setFocus(Qt::MouseFocusReason);
        QTest::mouseClick(&button, Qt::LeftButton);
      }
      ASSERT_FALSE(button.isEnabled()) << name << " disables itself";
      QWidget* focus = QApplication::focusWidget();
      ASSERT_NE(focus, nullptr) << name;
      EXPECT_TRUE(focus == &worked_in || worked_in.isAncestorOf(focus))
          << name << " left the focus on " << focus->objectName().toStdString();
    }
    EXPECT_FALSE(pad.hasSelectedText()) << pad.selectedText().toStdString();
    if (c.fills_pad) {
      EXPECT_EQ(pad.cursorPosition(), pad.text().size()) << "the caret after the inserted text";
      // The next key goes on from there.
      const QString collected = pad.text();
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_X);
      EXPECT_EQ(pad.text(), collected + "x");
      EXPECT_TRUE(collected.startsWith("collected: ")) << collected.toStdString();
    }
  }
}

// Return and the keypad's Enter press a focused button as Space does: down while the key is held,
// however often the desktop repeats it, and one click, through the button's handler, as it is let
// go.
TEST(ButtonKeysUi, ReturnAndTheKeypadsEnterPressAButtonAsSpaceDoes) {
  const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {
      {Qt::Key_Space, {}}, {Qt::Key_Return, {}}, {Qt::Key_Enter, Qt::KeypadModifier}};
  for (const auto& [key, modifiers] : keys) {
    SCOPED_TRACE(key);
    const QKeyCombination pressed(modifiers, key);
    LiveWindow live;
    ASSERT_TRUE(live.program.Start());
    auto& sign_out = live.Child<QPushButton>("SkinButtons8");
    sign_out.setFocus(Qt::TabFocusReason);
    const auto send = [&](QEvent::Type type, bool repeat) {
      QKeyEvent event(type, pressed.key(), pressed.keyboardModifiers(), QString(), repeat);
      QApplication::sendEvent(&sign_out, &event);
    };
    send(QEvent::KeyPress, false);
    for (int i = 0; i < 2; ++i) {  // held: the desktop repeats it as a release and a press
      send(QEvent::KeyRelease, true);
      send(QEvent::KeyPress, true);
    }
    EXPECT_TRUE(sign_out.isDown());
    send(QEvent::KeyRelease, false);
    EXPECT_FALSE(sign_out.isDown());
    EXPECT_EQ(EffectLines(live.effects, "sandbox: signed out").size(), 1u);
    EXPECT_EQ(live.boxes, std::vector<std::string>{}) << "signed out twice";
  }
}

// The error box over the window fits on the screen with its OK button, whatever the failure
// quotes; it shows the error code and the start of the description as they are, and a text it
// cannot show whole with its middle left out.
TEST(ErrorBoxUi, FitsOnTheScreenWithItsOkButtonAndKeepsTheCodeAndTheDescriptionsStart) {
  const std::string address = std::string(60000, 'a') + "@" + std::string(40000, 'b') + ".example";
  std::string lines;
  for (int i = 0; i < 400; ++i) lines += "line " + std::to_string(i) + "\n";
  struct Case {
    std::string description;
    qsizetype start;  // how much of the box's text is shown as it is from its start (all: -1)
  };
  const Case cases[] = {
      {"The address 'friend@example.com' is not a valid address", -1},
      {"The address '" + address + "' is not a valid address", 60},
      {"The client answered:\n" + lines + "and stopped", 60},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.description.substr(0, 30));
    QWidget window;
    window.setWindowTitle(QStringLiteral("PLUMWICK"));
    window.show();
    QtErrorReport errors(&window);
    QString shown;
    QRect box_place, ok_place, screen;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, &watch, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr || !box->isVisible()) return;
      shown = box->text();
      box_place = box->frameGeometry();
      const QAbstractButton* ok = box->button(QMessageBox::Ok);
      ok_place = QRect(ok->mapToGlobal(QPoint(0, 0)), ok->size());
      screen = box->screen()->availableGeometry();
      box->accept();
    });
    watch.start(10);
    const Failure failure(error_code::kKeystrokes, c.description);
    errors.Show(failure);
    const QString text = QString::fromStdString(ErrorText(failure));
    EXPECT_TRUE(screen.contains(box_place)) << box_place.width() << "x" << box_place.height();
    EXPECT_TRUE(screen.contains(ok_place));
    if (c.start < 0) {
      EXPECT_EQ(shown, text);
    } else {
      EXPECT_TRUE(shown.startsWith(text.left(c.start))) << shown.left(300).toStdString();
      EXPECT_TRUE(shown.endsWith(text.right(20))) << shown.right(100).toStdString();
      EXPECT_TRUE(shown.contains(QChar(0x2026)));
    }
  }
}

// A press of any mouse button on the title, through the real label and drag, moves the window
// with the pointer; a press on the window's surface beside it does not.
TEST(TitleUi, APressOnTheTitleMovesTheWindowWithThePointer) {
  struct Case {
    const char* what;
    Qt::MouseButton button;
    const char* pressed;  // the widget under the pointer
    QPoint at;            // in the window
    bool moves;
  };
  const Case cases[] = {
      {"left button on the title", Qt::LeftButton, "Label1", {100, 20}, true},
      {"right button on the title", Qt::RightButton, "Label1", {30, 10}, true},
      {"middle button on the title's edge", Qt::MiddleButton, "Label1", {264, 40}, true},
      {"left button beside the title", Qt::LeftButton, "frmMain", {265, 20}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    LiveWindow live;
    ASSERT_TRUE(live.program.Start());
    QWidget& form = live.program.widget();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    ASSERT_EQ(form.childAt(c.at), form.findChild<QWidget*>(QString::fromLatin1(c.pressed)));
    const QPoint before = form.pos();
    const QPoint by(-40, 25);
    // Sent to the control under the pointer, as the window system would.
    QWidget* pressed = form.childAt(c.at) != nullptr ? form.childAt(c.at) : &form;
    QTest::mousePress(pressed, c.button, {}, pressed->mapFrom(&form, c.at));
    QTest::mouseMove(&form, c.at + by);
    QTest::mouseRelease(&form, c.button, {}, c.at + by);
    EXPECT_EQ(form.pos(), c.moves ? before + by : before);
    EXPECT_EQ(live.effects.str(), "") << "no call on the client";
  }
}

// The user selects in the pad, which has the keyboard focus, then clicks Time or Date: the click
// moves the focus to the button, and the line edit drops its selection as it loses the focus.
TEST_F(WindowUi, TimeAndDateReplaceTheSelectionMadeWhileThePadHadTheFocus) {
  auto& pad = Child<QLineEdit>("Text1");
  auto& time = Child<QPushButton>("SkinButtons3");
  auto& date = Child<QPushButton>("SkinButtons4");
  QApplication::setActiveWindow(&program.widget());
  pad.setText("meet at NOON today");
  pad.setFocus(Qt::MouseFocusReason);
  ASSERT_TRUE(pad.hasFocus());
  pad.setSelection(8, 4);
  // A real press moves the focus to the button first; a test's click does not on its own.
  const auto click = [&pad](QPushButton& button) {
    button.setFocus(Qt::MouseFocusReason);
    ASSERT_FALSE(pad.hasFocus());
    ASSERT_FALSE(pad.hasSelectedText()) << "the line edit kept its selection on its own";
    QTest::mouseClick(&button, Qt::LeftButton);
  };
  ASSERT_NO_FATAL_FAILURE(click(time));
  EXPECT_TRUE(pad.text().startsWith("meet at ")) << pad.text().toStdString();
  EXPECT_TRUE(pad.text().endsWith(" today")) << pad.text().toStdString();
  EXPECT_FALSE(pad.text().contains("NOON")) << pad.text().toStdString();
  const QString with_time = pad.text();

  // Back in the pad, a new selection; a caret with nothing selected gets the date inserted.
  pad.setFocus(Qt::MouseFocusReason);
  pad.setSelection(0, 4);  // "meet"
  ASSERT_NO_FATAL_FAILURE(click(date));
  EXPECT_FALSE(pad.text().startsWith("meet")) << pad.text().toStdString();
  EXPECT_TRUE(pad.text().endsWith(with_time.mid(4))) << pad.text().toStdString();
}

}  // namespace
}  // namespace plumwick

namespace plumwick {
namespace {

// A key press and its release, stamped as the desktop stamps them.
void StampedKey(QWidget& receiver, Qt::Key key, const QString& text, ulong stamp) {
  for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
    QKeyEvent event(type, key, Qt::NoModifier, text);
    event.setTimestamp(stamp);
    QApplication::sendEvent(&receiver, &event);
  }
}

TEST_F(WindowUi, KeysStampedWhileAJobTypedChangeNoBoxAndPressNoButtonOthersDo) {
  QtKeyShield shield(program.widget());
  shield.Cover(0xfffffff0U, 0x10U);  // across the stamps' wrap
  auto& pad = Child<QLineEdit>("Text1");
  auto& select_list = Child<QPushButton>("cmdload");
  pad.setFocus();
  StampedKey(pad, Qt::Key_A, "a", 0xfffffff8U);
  StampedKey(pad, Qt::Key_B, "b", 0x4U);
  StampedKey(select_list, Qt::Key_Space, " ", 0x10U);
  EXPECT_EQ(shield.Swallowed(), 3u);
  EXPECT_EQ(pad.text(), "");
  EXPECT_EQ(Child<QListWidget>("lbContacts").count(), 0) << "Select List was pressed";
  QMessageBox box(QMessageBox::Warning, "PLUMWICK", "text", QMessageBox::Ok, &program.widget());
  box.show();
  StampedKey(box, Qt::Key_Return, "\r", 0x8U);
  EXPECT_FALSE(box.isVisible()) << "the person closes a box shown during a job";

  // The person's keys, stamped outside the job's span, do what they always do.
  StampedKey(pad, Qt::Key_X, "x", 0x11U);
  StampedKey(select_list, Qt::Key_Space, " ", 0x12U);
  EXPECT_EQ(shield.Swallowed(), 3u);
  EXPECT_EQ(pad.text(), "x");
  EXPECT_GT(Child<QListWidget>("lbContacts").count(), 0);
}

}  // namespace
}  // namespace plumwick
