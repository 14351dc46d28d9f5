// A client's options dialog on the offscreen platform: it opens with the name selected, Enter
// applies the name and turns the dialog into a notice that the next Enter dismisses, and a name
// that cannot be applied keeps the dialog open with the reason.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFocusEvent>
#include <QPushButton>
#include <QTest>

#include <string>
#include <vector>

#include "clients/qt/options_dialog.h"
#include "platform/failure.h"

namespace plumwick::clients {
namespace {

class OptionsDialogTest : public ::testing::Test {
 protected:
  std::vector<std::string> applied_;
  bool refuse_ = false;
  OptionsDialog dialog_{[this](const std::string& name) {
    if (refuse_) throw Failure(error_code::kNotSignedIn, "You are signed out");
    applied_.push_back(name);
  }};
};

TEST_F(OptionsDialogTest, OpensWithTheWholeNameSelectedSoTypingReplacesIt) {
  dialog_.Present(QStringLiteral("Plum Wick"));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog_));
  EXPECT_EQ(dialog_.windowTitle(), QStringLiteral("Options"));
  EXPECT_EQ(dialog_.display_name().selectedText(), QStringLiteral("Plum Wick"));
  QTest::keyClicks(&dialog_.display_name(), QStringLiteral("Zoe"));
  EXPECT_EQ(dialog_.display_name().text(), QStringLiteral("Zoe"));
  EXPECT_TRUE(applied_.empty()) << "applied before Enter";
}

TEST_F(OptionsDialogTest, EnterAppliesAndTheNextEnterDismissesTheNotice) {
  dialog_.Present(QStringLiteral("old"));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog_));
  QTest::keyClicks(&dialog_.display_name(), QStringLiteral("Zoe Plum"));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_EQ(applied_, std::vector<std::string>{"Zoe Plum"});
  EXPECT_TRUE(dialog_.isVisible());
  EXPECT_EQ(dialog_.windowTitle(), QStringLiteral("Display name changed"));
  EXPECT_EQ(dialog_.NoticeText(), QStringLiteral("Your display name is now Zoe Plum."));
  // The same window takes the second Enter, wherever the first one left the focus.
  QTest::keyClick(&dialog_, Qt::Key_Return);
  EXPECT_FALSE(dialog_.isVisible());
  EXPECT_EQ(applied_.size(), 1u);
}

// A window manager may activate the dialog while it is hidden, and its Cancel button then takes
// the focus and with it Qt's default role, which it keeps once the dialog shows again with the
// focus in the name field (seen with the add-contact dialog under xfwm4).
TEST_F(OptionsDialogTest, EnterInTheNameAppliesWhicheverButtonQtCountsAsDefault) {
  dialog_.Present(QStringLiteral("old"));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog_));
  QPushButton* cancel = dialog_.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel);
  ASSERT_NE(cancel, nullptr);
  QFocusEvent focus_in(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
  QApplication::sendEvent(cancel, &focus_in);
  ASSERT_TRUE(cancel->isDefault());
  QTest::keyClick(&dialog_.display_name(), Qt::Key_Return);
  EXPECT_EQ(applied_, std::vector<std::string>{"old"});
  EXPECT_EQ(dialog_.windowTitle(), QStringLiteral("Display name changed"));
}

TEST_F(OptionsDialogTest, ANameThatCannotBeAppliedKeepsTheDialogOpenWithTheReason) {
  refuse_ = true;
  dialog_.Present(QStringLiteral("old"));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog_));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_TRUE(dialog_.isVisible());
  EXPECT_EQ(dialog_.windowTitle(), QStringLiteral("Options"));
  EXPECT_TRUE(dialog_.NoticeText().isEmpty());
  EXPECT_NE(dialog_.ErrorText().indexOf(QStringLiteral("You are signed out")), -1)
      << dialog_.ErrorText().toStdString();
  EXPECT_NE(dialog_.ErrorText().indexOf(QString::number(error_code::kNotSignedIn)), -1);
  // Once it can be applied, Enter applies it.
  refuse_ = false;
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_EQ(applied_, std::vector<std::string>{"old"});
}

TEST_F(OptionsDialogTest, PresentingAgainShowsTheOptionsPageWithTheCurrentName) {
  dialog_.Present(QStringLiteral("first"));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog_));
  QTest::keyClick(&dialog_.display_name(), Qt::Key_Return);
  ASSERT_FALSE(dialog_.NoticeText().isEmpty());
  dialog_.Present(QStringLiteral("second"));
  EXPECT_TRUE(dialog_.NoticeText().isEmpty());
  EXPECT_EQ(dialog_.windowTitle(), QStringLiteral("Options"));
  EXPECT_EQ(dialog_.display_name().text(), QStringLiteral("second"));
}

}  // namespace
}  // namespace plumwick::clients
