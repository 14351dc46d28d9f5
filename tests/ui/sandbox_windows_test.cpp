// The sandbox client's windows under the offscreen platform: a conversation opens with its entry
// focused, typed lines arrive exactly, windows are reused, and the client window shows each change.
// The QApplication comes from the ui tests' main.
#include <memory>
#include <sstream>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTest>

#include "clients/sandbox/qt/qt_sandbox_client.h"

// Failure messages show texts, not their bytes.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace plumwick::sandbox {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const QString kText = QStringLiteral("  Hi Alice, 100% sure :-) {ENTER} +^%~() ");

struct Rig {
  std::ostringstream effects;
  QtSandboxClient sandbox{effects};
  std::unique_ptr<messenger::Messenger> msn = sandbox.Factory()();

  // Opens the conversation the way the program does, and waits until its window is active.
  QtConversationWindow& Open(const std::string& contact) {
    msn->InstantMessage(contact);
    QtConversationWindow* window = sandbox.conversation_window(contact);
    EXPECT_NE(window, nullptr);
    EXPECT_TRUE(QTest::qWaitForWindowActive(window));
    return *window;
  }

  // Types into whatever has the keyboard focus, as a person would, then Enter.
  static void Type(const QString& text) {
    QWidget* focused = QApplication::focusWidget();
    ASSERT_NE(focused, nullptr);
    if (!text.isEmpty()) QTest::keyClicks(focused, text);
    QTest::keyClick(focused, Qt::Key_Return);
  }

  // As Type, for text beyond ASCII, which keyClicks cannot type: one key per code point.
  static void TypeUnicode(const QString& text) {
    QWidget* focused = QApplication::focusWidget();
    ASSERT_NE(focused, nullptr);
    for (const char32_t code_point : text.toUcs4()) {
      QTest::sendKeyEvent(QTest::Click, focused, Qt::Key_unknown, QString::fromUcs4(&code_point, 1),
                          Qt::NoModifier);
    }
    QTest::keyClick(focused, Qt::Key_Return);
  }
};

QStringList Lines(QtConversationWindow& window) {
  return window.transcript().toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

TEST(SandboxWindows, InstantMessageOpensTheContactsWindowWithTheEntryFocused) {
  Rig rig;
  auto conversation = rig.msn->InstantMessage("bob@example.com");
  QtConversationWindow* window = rig.sandbox.conversation_window("bob@example.com");
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->windowTitle(), "bob@example.com - Conversation");
  ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  EXPECT_EQ(QApplication::focusWidget(), window->findChild<QLineEdit*>("entry"));
  EXPECT_TRUE(window->findChild<QPlainTextEdit*>("transcript")->isReadOnly());
  EXPECT_EQ(rig.effects.str(), "sandbox: conversation opened with bob@example.com\n");

  conversation.reset();
  QApplication::processEvents();
  EXPECT_TRUE(window->isVisible()) << "letting go of the object leaves the window open";
}

TEST(SandboxWindows, ATypedLineArrivesExactlyAndAnEmptyLineSendsNothing) {
  Rig rig;
  QtConversationWindow& window = rig.Open("alice@example.com");
  Rig::Type(kText);
  EXPECT_EQ(rig.effects.str(),
            "sandbox: conversation opened with alice@example.com\n"
            "sandbox: message sent to alice@example.com: " +
                kText.toStdString() + "\n");
  EXPECT_THAT(Lines(window), ElementsAre(QStringLiteral("Plumwick User: ") + kText));
  EXPECT_THAT(window.Messages(), ElementsAre(kText));
  EXPECT_EQ(window.entry().text(), "");

  const std::string printed = rig.effects.str();
  Rig::Type(QString());
  EXPECT_EQ(rig.effects.str(), printed);
  EXPECT_EQ(Lines(window).size(), 1);

  const QString unicode = QStringLiteral("Grüße, Ærø, € and 😀");
  Rig::TypeUnicode(unicode);
  EXPECT_THAT(window.Messages(), ElementsAre(kText, unicode));
  EXPECT_EQ(rig.effects.str(), printed + "sandbox: message sent to alice@example.com: " +
                                   unicode.toStdString() + "\n");
}

TEST(SandboxWindows, AskingAgainReusesTheContactsWindowAlsoAfterItWasClosed) {
  Rig rig;
  QtConversationWindow& alice = rig.Open("alice@example.com");
  Rig::Type(QStringLiteral("first"));
  alice.close();
  EXPECT_FALSE(alice.isVisible());

  EXPECT_EQ(&rig.Open("alice@example.com"), &alice);
  EXPECT_TRUE(alice.isVisible());
  EXPECT_THAT(alice.Messages(), ElementsAre("first"));
  EXPECT_EQ(rig.sandbox.conversation_count(), 1u);

  QtConversationWindow& carol = rig.Open("carol@example.com");
  EXPECT_NE(&carol, &alice);
  EXPECT_EQ(rig.sandbox.conversation_count(), 2u);
  Rig::Type(QStringLiteral("second"));
  EXPECT_THAT(carol.Messages(), ElementsAre("second"));

  // Asked for while another conversation is in front, it comes forward and takes the keys.
  EXPECT_EQ(&rig.Open("alice@example.com"), &alice);
  Rig::Type(QStringLiteral("third"));
  EXPECT_THAT(alice.Messages(), ElementsAre("first", "third"));
  EXPECT_THAT(carol.Messages(), ElementsAre("second"));
}

TEST(SandboxWindows, ALineToARemovedContactIsNotSentAndStaysInTheEntry) {
  Rig rig;
  QtConversationWindow& window = rig.Open("dave@example.com");
  rig.msn->MyContacts()->Remove(*rig.msn->GetContact("dave@example.com", "sandbox"));
  const std::string printed = rig.effects.str();
  Rig::Type(QStringLiteral("still there?"));
  EXPECT_EQ(rig.effects.str(), printed);
  EXPECT_THAT(window.Messages(), IsEmpty());
  EXPECT_EQ(window.entry().text(), "still there?");
  EXPECT_TRUE(Lines(window).last().contains("Not sent")) << Lines(window).join('\n').toStdString();
}

TEST(SandboxWindows, TheClientWindowShowsEveryChange) {
  Rig rig;
  QtClientWindow& client = rig.sandbox.client_window();
  EXPECT_TRUE(client.isVisible());
  EXPECT_EQ(client.windowTitle(), "Sandbox messaging client");
  EXPECT_EQ(client.SigninNameText(), "you@example.com");
  EXPECT_EQ(client.DisplayNameText(), "Plumwick User");
  EXPECT_EQ(client.StatusText(), "Online");
  EXPECT_THAT(
      client.ContactLines(),
      ElementsAre("alice@example.com  Online", "bob@example.com  Offline",
                  "carol@example.com  Busy", "dave@example.com  Away", "erin@example.com  Offline",
                  "frank@example.com  Out to lunch", "grace@example.com  Online"));

  rig.msn->MyStatus(messenger::status::kBusy);
  EXPECT_EQ(client.StatusText(), "Busy");
  rig.msn->MyContacts()->Remove(*rig.msn->GetContact("bob@example.com", "sandbox"));
  rig.sandbox.client().AddContact("zoe@example.com");
  EXPECT_EQ(client.ContactLines().size(), 7);
  EXPECT_FALSE(client.ContactLines().contains("bob@example.com  Offline"));
  EXPECT_EQ(client.ContactLines().last(), "zoe@example.com  Offline");
  rig.sandbox.client().SetDisplayName("Someone Else");
  EXPECT_EQ(client.DisplayNameText(), "Someone Else");

  QtConversationWindow& alice = rig.Open("alice@example.com");
  rig.msn->Signout();
  EXPECT_EQ(client.StatusText(), "Signed out");
  EXPECT_THAT(client.ContactLines(), IsEmpty());
  EXPECT_FALSE(alice.entry().isEnabled());
}

TEST(SandboxWindows, TheClientWindowStaysClearOfTheProgramsCentredWindow) {
  Rig rig;
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  QRect program(0, 0, 267, 484);
  program.moveCenter(screen.center());
  const QRect client = rig.sandbox.client_window().frameGeometry();
  EXPECT_TRUE(screen.contains(client));
  EXPECT_FALSE(client.intersects(program))
      << client.x() << "," << client.y() << " " << client.width() << "x" << client.height();
}

}  // namespace
}  // namespace plumwick::sandbox
