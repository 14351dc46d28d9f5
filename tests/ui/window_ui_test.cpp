// The real window with the sandbox client on the offscreen platform: what start-up leaves on
// screen, the status box reacting to picks only, and the contact list buttons and double-click.
#include <gtest/gtest.h>

#include <sstream>

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QWheelEvent>

#include "clients/sandbox/qt/qt_sandbox_client.h"
#include "platform/qt/qt_combo_box.h"
#include "programs/desktop_program.h"

namespace plumwick {
namespace {

class WindowUi : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(program.Start()); }

  template <typename Widget>
  Widget& Child(const char* name) {
    auto* widget = program.widget().findChild<Widget*>(QString::fromLatin1(name));
    if (widget == nullptr) throw std::runtime_error(std::string("no control ") + name);
    return *widget;
  }

  QStringList ListEntries() {
    QStringList entries;
    auto& list = Child<QListWidget>("lbContacts");
    for (int i = 0; i < list.count(); ++i) entries << list.item(i)->text();
    return entries;
  }

  std::ostringstream effects;
  sandbox::QtSandboxClient client{effects};
  DesktopProgram program{client.Factory()};
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

TEST_F(WindowUi, StatusBoxSetsTheStatusOnAPickFromItsListOnly) {
  auto& status = Child<QComboBox>("cboStatus");
  // Typing a name and pressing Return in the edit field is not a pick and adds no entry.
  status.lineEdit()->clear();
  QTest::keyClicks(status.lineEdit(), "Busy");
  QTest::keyClick(status.lineEdit(), Qt::Key_Return);
  QTest::keyClick(status.lineEdit(), Qt::Key_Down);
  EXPECT_EQ(status.count(), 3);
  EXPECT_EQ(effects.str().find("status set"), std::string::npos) << effects.str();

  // A pick from the open list does.
  status.showPopup();
  QAbstractItemView* view = status.view();
  const QRect away = view->visualRect(view->model()->index(2, 0));
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, away.center());
  EXPECT_EQ(status.currentText(), "Away");
  EXPECT_NE(effects.str().find("sandbox: status set to 34 (Away)"), std::string::npos)
      << effects.str();
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

TEST_F(WindowUi, DoubleClickOnANameOpensItsConversation) {
  QTest::mouseClick(&Child<QPushButton>("cmdload"), Qt::LeftButton);
  auto& list = Child<QListWidget>("lbContacts");
  const QPoint carol = list.visualItemRect(list.item(1)).center();
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, carol);
  QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, carol);
  EXPECT_NE(effects.str().find("sandbox: conversation opened with carol@example.com"),
            std::string::npos)
      << effects.str();
  ASSERT_NE(client.conversation_window("carol@example.com"), nullptr);
}

TEST_F(WindowUi, ScratchPadTextsFollowTheCaretAndTheClipboardGetsThePad) {
  auto& pad = Child<QLineEdit>("Text1");
  auto click = [&](const char* name) {
    QTest::mouseClick(&Child<QPushButton>(name), Qt::LeftButton);
  };

  click("SkinButtons5");  // Get IP ! replaces the pad and leaves the caret at the start
  const QString address = pad.text();
  EXPECT_FALSE(address.isEmpty());
  EXPECT_EQ(pad.cursorPosition(), 0);
  click("SkinButtons3");  // so the time goes in front of the address
  const QString time = pad.text().chopped(address.size());
  EXPECT_TRUE(pad.text().endsWith(address));
  EXPECT_FALSE(time.isEmpty());
  click("SkinButtons4");  // the date right after the time, at the caret
  EXPECT_TRUE(pad.text().startsWith(time));
  EXPECT_TRUE(pad.text().endsWith(address));
  EXPECT_GT(pad.text().size(), time.size() + address.size());

  click("SkinButtons6");
  EXPECT_EQ(QGuiApplication::clipboard()->text(), pad.text());
  EXPECT_FALSE(Child<QPushButton>("SkinButtons6").isEnabled());

  click("SkinButtons2");  // Clear: empty, and Time can be used again
  EXPECT_EQ(pad.text(), "");
  EXPECT_TRUE(Child<QPushButton>("SkinButtons3").isEnabled());
  pad.setText("meet at NOON");
  pad.setSelection(8, 4);
  click("SkinButtons3");  // a user's selection is replaced
  EXPECT_TRUE(pad.text().startsWith("meet at "));
  EXPECT_FALSE(pad.text().contains("NOON"));
  EXPECT_EQ(pad.cursorPosition(), pad.text().size());
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
