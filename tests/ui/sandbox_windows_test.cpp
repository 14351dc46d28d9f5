// The sandbox client's windows under the offscreen platform: a conversation opens with its entry
// focused, typed lines arrive exactly, the entry edits as a line edit does, windows are reused,
// the dialogs take keys as typed into them, the client owns exactly its windows that take keys,
// the conversation job reads the entry and what the window sent, and the client window shows each
// change. The QApplication comes from the ui tests' main.
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QAccessible>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTest>

#include "clients/sandbox/qt/qt_sandbox_client.h"
#include "platform/failure.h"
#include "platform/posix/steady_clock.h"
#include "platform/qt/qt_event_pump.h"

// Failure messages show texts, not their bytes.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace plumwick::sandbox {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

const QString kText = QStringLiteral("  Hi Alice, 100% sure :-) {ENTER} +^%~() ");

struct Rig {
  SteadyClock clock;
  QtEventPump pump;
  EventWait wait{clock, pump};
  std::ostringstream effects;
  QtSandboxClient sandbox{effects};
  std::unique_ptr<messenger::Messenger> messenger = sandbox.Connect(wait);
  std::unique_ptr<messenger::TypingJob> job;  // the job the last request started

  // Opens the conversation the way the program does, and waits until its window is active.
  QtConversationWindow& Open(const std::string& contact) {
    job = messenger->InstantMessage(contact);
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

  // Presses one key where the keyboard focus is.
  static void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* focused = QApplication::focusWidget();
    ASSERT_NE(focused, nullptr);
    QTest::keyClick(focused, key, modifiers);
  }

  // Whether the job takes keys in the window, asked as the program asks: by desktop id and
  // process.
  bool Owns(QWidget& window) {
    return job->TakesKeys(
        {static_cast<std::uint64_t>(window.winId()), QCoreApplication::applicationPid()});
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
  auto conversation = rig.messenger->InstantMessage("bob@example.com");
  QtConversationWindow* window = rig.sandbox.conversation_window("bob@example.com");
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->windowTitle(), "bob@example.com - Conversation");
  ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  EXPECT_EQ(QApplication::focusWidget(), window->findChild<QtMessageEntry*>("entry"));
  EXPECT_EQ(window->entry().accessibleName(), "Message");
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

// Each row's keys typed into a fresh entry, the last without Enter: what the entry holds then.
TEST(SandboxWindows, TheEntryEditsAsALineEditDoes) {
  using Keys = std::function<void()>;
  const auto type = [](const QString& text) {
    return [text] { QTest::keyClicks(QApplication::focusWidget(), text); };
  };
  const auto press = [](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    return [key, modifiers] { Rig::Press(key, modifiers); };
  };
  const auto emoji = [] {
    const char32_t grin = U'😀';
    QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown,
                        QString::fromUcs4(&grin, 1), Qt::NoModifier);
  };
  struct Case {
    const char* name;
    std::vector<Keys> keys;
    QString holds;
  };
  const std::vector<Case> cases = {
      {"Backspace takes a whole character", {type("ok"), emoji, press(Qt::Key_Backspace)}, "ok"},
      {"Ctrl+A then Backspace clears",
       {type("left over"), press(Qt::Key_A, Qt::ControlModifier), press(Qt::Key_Backspace)},
       ""},
      {"Ctrl+A then Delete clears",
       {type("left over"), press(Qt::Key_A, Qt::ControlModifier), press(Qt::Key_Delete)},
       ""},
      {"Ctrl+A then a character replaces",
       {type("old"), press(Qt::Key_A, Qt::ControlModifier), type("new")},
       "new"},
      {"Home, then typing goes in front", {type("ello"), press(Qt::Key_Home), type("H")}, "Hello"},
      {"arrows move by whole characters",
       {type("a"), emoji, type("b"), press(Qt::Key_Left), press(Qt::Key_Left),
        press(Qt::Key_Backspace), press(Qt::Key_Right), press(Qt::Key_Delete), press(Qt::Key_End),
        type("c")},
       "😀c"},
      {"Delete at the end and Backspace at the start change nothing",
       {type("xy"), press(Qt::Key_Delete), press(Qt::Key_Home), press(Qt::Key_Backspace)},
       "xy"},
      {"Ctrl with a letter and Tab type nothing",
       {type("a"), press(Qt::Key_B, Qt::ControlModifier), press(Qt::Key_Tab), type("b")},
       "ab"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig;
    QtConversationWindow& window = rig.Open("alice@example.com");
    for (const Keys& keys : c.keys) keys();
    EXPECT_EQ(window.entry().text(), c.holds);
    EXPECT_EQ(rig.effects.str(), "sandbox: conversation opened with alice@example.com\n");
  }
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
  rig.messenger->MyContacts()->Remove(*rig.messenger->GetContact("dave@example.com", "sandbox"));
  const std::string printed = rig.effects.str();
  Rig::Type(QStringLiteral("still there?"));
  EXPECT_EQ(rig.effects.str(), printed);
  EXPECT_THAT(window.Messages(), IsEmpty());
  EXPECT_EQ(window.entry().text(), "still there?");
  // A screen reader reads it too.
  QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(&window.entry());
  ASSERT_NE(reader, nullptr);
  EXPECT_EQ(reader->role(), QAccessible::EditableText);
  EXPECT_EQ(reader->text(QAccessible::Name), "Message");
  EXPECT_EQ(reader->text(QAccessible::Value), "still there?");
  EXPECT_TRUE(Lines(window).last().contains("Not sent")) << Lines(window).join('\n').toStdString();
}

// The conversation job on the real window: a line the user left in the entry stops it before any
// key, and stays there; each message the window sends is compared with the keys typed for it.
TEST(SandboxWindows, TheConversationJobReadsTheEntryAndWhatTheWindowSent) {
  const auto failure_of = [](const std::function<void()>& call) {
    try {
      call();
    } catch (const Failure& failure) {
      EXPECT_EQ(failure.code(), error_code::kClientError);
      return failure.description();
    }
    return std::string("(no failure)");
  };
  Rig rig;
  QtConversationWindow& window = rig.Open("alice@example.com");
  QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("half a thought"));
  window.close();
  rig.Open("alice@example.com");
  EXPECT_TRUE(rig.job->OwnKeys(/*keys_follow=*/false).empty()) << "only brought forward";
  rig.Open("alice@example.com");
  EXPECT_THAT(failure_of([&] { rig.job->OwnKeys(true); }),
              HasSubstr("holds text that was typed there and not sent (\"half a thought\")"));
  EXPECT_EQ(window.entry().text(), "half a thought");
  EXPECT_THAT(window.Messages(), IsEmpty());

  Rig::Press(Qt::Key_A, Qt::ControlModifier);
  Rig::Press(Qt::Key_Backspace);
  rig.Open("alice@example.com");
  EXPECT_TRUE(rig.job->OwnKeys(true).empty());
  const DesktopWindow conversation{static_cast<std::uint64_t>(window.winId()),
                                   QCoreApplication::applicationPid()};
  Rig::Type(QStringLiteral("hi"));
  rig.job->KeysTyped(conversation, ParseKeyNotation("hi{ENTER}"));
  EXPECT_EQ(failure_of([&] { rig.job->AwaitConfirmation(); }), "(no failure)");
  Rig::Type(QStringLiteral("hx"));  // a key that went astray
  rig.job->KeysTyped(conversation, ParseKeyNotation("hi{ENTER}"));
  EXPECT_THAT(failure_of([&] { rig.job->AwaitConfirmation(); }),
              HasSubstr("sent \"hx\" to \"alice@example.com\", not the message typed, \"hi\""));
  EXPECT_THAT(window.Messages(), ElementsAre("hi", "hx"));
}

TEST(SandboxWindows, TheClientWindowShowsEveryChange) {
  Rig rig;
  QtClientWindow& client = rig.sandbox.client_window();
  EXPECT_FALSE(client.isVisible()) << "it shows once the program's window has";
  rig.sandbox.ShowWindow();
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

  rig.messenger->MyStatus(messenger::status::kBusy);
  EXPECT_EQ(client.StatusText(), "Busy");
  rig.messenger->MyContacts()->Remove(*rig.messenger->GetContact("bob@example.com", "sandbox"));
  rig.sandbox.client().AddContact("zoe@example.com");
  EXPECT_EQ(client.ContactLines().size(), 7);
  EXPECT_FALSE(client.ContactLines().contains("bob@example.com  Offline"));
  EXPECT_EQ(client.ContactLines().last(), "zoe@example.com  Offline");
  rig.sandbox.client().SetDisplayName("Someone Else");
  EXPECT_EQ(client.DisplayNameText(), "Someone Else");

  QtConversationWindow& alice = rig.Open("alice@example.com");
  rig.messenger->Signout();
  EXPECT_EQ(client.StatusText(), "Signed out");
  EXPECT_THAT(client.ContactLines(), IsEmpty());
  EXPECT_FALSE(alice.entry().isEnabled());
}

TEST(SandboxWindows, AddContactOpensTheDialogFilledAndEnterAddsTheContactAndConfirms) {
  Rig rig;
  rig.messenger->AddContact(0, "zoe@example.com");
  QtAddContactDialog* dialog = rig.sandbox.add_contact_dialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(dialog->isWindow());
  EXPECT_EQ(dialog->windowTitle(), "Add a contact");
  ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
  EXPECT_EQ(QApplication::focusWidget(), &dialog->address());
  EXPECT_EQ(dialog->address().text(), "zoe@example.com");
  EXPECT_EQ(rig.sandbox.client().contacts().size(), 7u) << "nothing is added before Enter";

  Rig::Press(Qt::Key_Return);
  EXPECT_EQ(rig.effects.str(),
            "sandbox: add-contact dialog opened for zoe@example.com\n"
            "sandbox: contact added: zoe@example.com\n");
  EXPECT_EQ(rig.sandbox.client_window().ContactLines().last(), "zoe@example.com  Offline");
  EXPECT_FALSE(dialog->isVisible());
  clients::Notice& confirmation = dialog->confirmation();
  EXPECT_TRUE(confirmation.isWindow());
  EXPECT_EQ(confirmation.windowTitle(), "Contact added");
  EXPECT_EQ(confirmation.Message(), "zoe@example.com was added to your contacts.");
  ASSERT_TRUE(QTest::qWaitForWindowActive(&confirmation));
  EXPECT_EQ(QApplication::focusWidget(), &confirmation.ok());

  const std::string printed = rig.effects.str();
  Rig::Press(Qt::Key_Return);
  EXPECT_FALSE(confirmation.isVisible());
  EXPECT_EQ(rig.effects.str(), printed) << "dismissing adds nothing more";
  EXPECT_EQ(rig.sandbox.client().contacts().size(), 8u);
}

TEST(SandboxWindows, ARefusedAddKeepsTheDialogOpenWithTheReasonUntilRetriedOrCancelled) {
  Rig rig;
  rig.messenger->AddContact(0, "dave@example.com");
  QtAddContactDialog& dialog = *rig.sandbox.add_contact_dialog();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  const std::string opened = rig.effects.str();

  Rig::Press(Qt::Key_Return);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_TRUE(dialog.ErrorText().contains("already in your contact list"))
      << dialog.ErrorText().toStdString();
  EXPECT_FALSE(dialog.confirmation().isVisible());
  EXPECT_EQ(QApplication::focusWidget(), &dialog.address()) << "the address stays to correct";
  EXPECT_EQ(rig.effects.str(), opened);
  EXPECT_EQ(rig.sandbox.client_window().ContactLines().size(), 7);

  // Corrected in the field, the next Enter adds it.
  Rig::Press(Qt::Key_A, Qt::ControlModifier);
  Rig::Type(QStringLiteral("dan@example.com"));
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(rig.effects.str(), opened + "sandbox: contact added: dan@example.com\n");
  EXPECT_TRUE(dialog.confirmation().isVisible());

  // Asked for again, the same dialog comes back filled anew and the earlier confirmation goes
  // away; asked for while open and showing a reason, it is filled anew without the reason.
  // Emptied, Enter is refused; Escape then cancels.
  rig.messenger->AddContact(0, "erin@example.com");
  EXPECT_EQ(rig.sandbox.add_contact_dialog(), &dialog);
  EXPECT_FALSE(dialog.confirmation().isVisible());
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  EXPECT_EQ(dialog.address().text(), "erin@example.com");
  Rig::Press(Qt::Key_Return);
  EXPECT_TRUE(dialog.ErrorText().contains("erin@example.com")) << "erin is in the list already";
  rig.messenger->AddContact(0, "yan@example.com");
  EXPECT_EQ(dialog.address().text(), "yan@example.com") << "an open dialog is filled anew too";
  EXPECT_EQ(dialog.ErrorText(), "");
  dialog.address().clear();
  Rig::Press(Qt::Key_Return);
  EXPECT_TRUE(dialog.ErrorText().contains("empty")) << dialog.ErrorText().toStdString();
  const std::string refused = rig.effects.str();
  Rig::Press(Qt::Key_Escape);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_FALSE(dialog.confirmation().isVisible());
  EXPECT_EQ(rig.effects.str(), refused);
  EXPECT_EQ(rig.sandbox.client().contacts().size(), 8u);
}

// Under xfwm4 with Qt's GTK look, closing the confirmation activates the hidden dialog and its
// Cancel button takes the focus, and with it the default role, which it kept when the dialog
// came back: the next Enter in the address field cancelled instead of adding.
TEST(SandboxWindows, EnterInTheAddressAddsAlsoAfterCancelTookTheFocusWhileHidden) {
  Rig rig;
  rig.messenger->AddContact(0, "zoe@example.com");
  QtAddContactDialog& dialog = *rig.sandbox.add_contact_dialog();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  Rig::Press(Qt::Key_Return);
  ASSERT_FALSE(dialog.isVisible());
  QPushButton* cancel = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel);
  ASSERT_NE(cancel, nullptr);
  QFocusEvent focus_in(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
  QApplication::sendEvent(cancel, &focus_in);
  ASSERT_TRUE(cancel->isDefault());

  rig.messenger->AddContact(0, "yan@example.com");
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  ASSERT_EQ(QApplication::focusWidget(), &dialog.address());
  Rig::Press(Qt::Key_Return);
  EXPECT_TRUE(rig.effects.str().ends_with("sandbox: contact added: yan@example.com\n"))
      << rig.effects.str();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_TRUE(dialog.confirmation().isVisible());
}

TEST(SandboxWindows, TheOptionsDialogSelectsTheNameSoTypingReplacesItAndEnterAppliesIt) {
  Rig rig;
  rig.messenger->OptionsPages(0, 0);
  clients::OptionsDialog* options = rig.sandbox.options_dialog();
  ASSERT_NE(options, nullptr);
  EXPECT_TRUE(options->isWindow());
  EXPECT_EQ(options->windowTitle(), "Options");
  const auto* pages = options->findChild<QTabWidget*>("pages");
  ASSERT_NE(pages, nullptr);
  EXPECT_EQ(pages->count(), 1);
  EXPECT_EQ(pages->tabText(pages->currentIndex()), "General");
  ASSERT_TRUE(QTest::qWaitForWindowActive(options));
  EXPECT_EQ(QApplication::focusWidget(), &options->display_name());
  EXPECT_EQ(options->display_name().selectedText(), "Plumwick User");
  EXPECT_EQ(rig.effects.str(), "sandbox: options dialog opened\n");

  Rig::Type(QStringLiteral("Someone Else"));
  EXPECT_EQ(rig.effects.str(),
            "sandbox: options dialog opened\n"
            "sandbox: display name changed to Someone Else\n");
  EXPECT_EQ(rig.sandbox.client().display_name(), "Someone Else");
  EXPECT_EQ(rig.sandbox.client_window().DisplayNameText(), "Someone Else");
  // The notice shows in the same window, so an Enter typed right after the first lands on it.
  EXPECT_TRUE(options->isVisible());
  EXPECT_EQ(options->windowTitle(), "Display name changed");
  EXPECT_EQ(options->NoticeText(), "Your display name is now Someone Else.");
  EXPECT_EQ(QApplication::focusWidget(), &options->notice_ok());
  Rig::Press(Qt::Key_Return);
  EXPECT_FALSE(options->isVisible());
  EXPECT_EQ(rig.effects.str(),
            "sandbox: options dialog opened\n"
            "sandbox: display name changed to Someone Else\n");
}

TEST(SandboxWindows, TheOptionsDialogRefusesAnEmptyNameAndReopensWithTheCurrentOne) {
  Rig rig;
  rig.messenger->OptionsPages(0, 0);
  clients::OptionsDialog& options = *rig.sandbox.options_dialog();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&options));
  Rig::Press(Qt::Key_Backspace);  // takes the whole selected name
  Rig::Press(Qt::Key_Return);
  EXPECT_TRUE(options.isVisible());
  EXPECT_TRUE(options.ErrorText().contains("cannot be empty")) << options.ErrorText().toStdString();
  EXPECT_EQ(options.NoticeText(), "");
  EXPECT_EQ(rig.sandbox.client().display_name(), "Plumwick User");
  EXPECT_EQ(rig.effects.str(), "sandbox: options dialog opened\n");

  // Asked for while open, it comes forward as it is, the text selected for typing over.
  QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Half"));
  EXPECT_EQ(options.display_name().text(), "Half");
  rig.messenger->OptionsPages(0, 0);
  EXPECT_EQ(rig.sandbox.options_dialog(), &options);
  EXPECT_EQ(options.display_name().selectedText(), "Half");
  Rig::Press(Qt::Key_Escape);
  EXPECT_FALSE(options.isVisible());
  EXPECT_EQ(rig.sandbox.client().display_name(), "Plumwick User");

  rig.messenger->OptionsPages(0, 0);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&options));
  EXPECT_EQ(options.display_name().selectedText(), "Plumwick User");
  EXPECT_EQ(options.ErrorText(), "");
}

TEST(SandboxWindows, EachJobTakesKeysOnlyInItsShownWindowAndNoOtherWindowOfTheProcess) {
  Rig rig;
  QWidget program;  // stands for the program's own window, in the same process
  program.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&program));

  QtConversationWindow& alice = rig.Open("alice@example.com");
  EXPECT_TRUE(rig.Owns(alice));
  EXPECT_FALSE(rig.Owns(program));
  EXPECT_FALSE(rig.Owns(rig.sandbox.client_window())) << "it takes no typed keys";
  EXPECT_FALSE(rig.job->TakesKeys({0, QCoreApplication::applicationPid()}));
  QtConversationWindow& bob = rig.Open("bob@example.com");
  EXPECT_TRUE(rig.Owns(bob));
  EXPECT_FALSE(rig.Owns(alice)) << "keys of the job go into bob's conversation only";

  rig.job = rig.messenger->AddContact(0, "zoe@example.com");
  QtAddContactDialog& dialog = *rig.sandbox.add_contact_dialog();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  EXPECT_TRUE(rig.Owns(dialog));
  EXPECT_FALSE(rig.Owns(bob));
  EXPECT_FALSE(rig.Owns(dialog.confirmation())) << "not shown yet";
  Rig::Press(Qt::Key_Return);
  rig.job->PrepareForKeys({});
  EXPECT_FALSE(rig.Owns(dialog)) << "closed";
  EXPECT_TRUE(rig.Owns(dialog.confirmation()));

  rig.job = rig.messenger->OptionsPages(0, 0);
  clients::OptionsDialog& options = *rig.sandbox.options_dialog();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&options));
  EXPECT_TRUE(rig.Owns(options));
  Rig::Type(QStringLiteral("New"));
  EXPECT_EQ(options.NoticeText(), "Your display name is now New.");
  EXPECT_TRUE(rig.Owns(options));

  rig.messenger->Signout();
  EXPECT_TRUE(rig.Owns(options)) << "answers also when signed out";
  EXPECT_FALSE(rig.Owns(program));
  options.close();
  EXPECT_FALSE(rig.Owns(options));
}

// The program's add-contact job as the program types it (its Enter, then the checks before its
// next Enter), with the user's own keys in between.
TEST(SandboxWindows, TheAddContactJobConfirmsLikeARealClient) {
  const auto typed_into = [](Rig& rig, QWidget& window) {
    rig.job->KeysTyped(
        {static_cast<std::uint64_t>(window.winId()), QCoreApplication::applicationPid()},
        OnePress(NamedKey::kEnter));
  };
  {
    SCOPED_TRACE("the user closes the notice before the program's Enter for it");
    Rig rig;
    rig.job = rig.messenger->AddContact(0, "zoe@example.com");
    QtAddContactDialog& dialog = *rig.sandbox.add_contact_dialog();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    typed_into(rig, dialog);  // the program's Enter, as it leaves: processed after the note
    Rig::Press(Qt::Key_Return);
    clients::Notice& notice = dialog.confirmation();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&notice));
    Rig::Press(Qt::Key_Return);  // the user's, early
    EXPECT_FALSE(notice.isVisible());
    rig.job->PrepareForKeys({});
    EXPECT_TRUE(notice.isVisible()) << "it comes back for the program's Enter";
    EXPECT_TRUE(rig.Owns(notice));
    EXPECT_EQ(notice.Message(), "zoe@example.com was added to your contacts.");
  }
  {
    SCOPED_TRACE("the user's Enter adds the contact before the program's first");
    Rig rig;
    rig.job = rig.messenger->AddContact(0, "zoe@example.com");
    QtAddContactDialog& dialog = *rig.sandbox.add_contact_dialog();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    Rig::Press(Qt::Key_Return);
    rig.job->PrepareForKeys({});
    EXPECT_TRUE(rig.Owns(dialog.confirmation())) << "the job's keys go to the notice";
    EXPECT_FALSE(rig.Owns(dialog));
  }
  {
    SCOPED_TRACE("the dialog refuses the address");
    Rig rig;
    rig.job = rig.messenger->AddContact(0, "dave@example.com");
    QtAddContactDialog& dialog = *rig.sandbox.add_contact_dialog();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    rig.job->PrepareForKeys({});
    EXPECT_TRUE(rig.Owns(dialog)) << "before its Enter";
    typed_into(rig, dialog);
    Rig::Press(Qt::Key_Return);
    EXPECT_FALSE(rig.Owns(dialog)) << "its Enter is spent: no second one for the same dialog";
    try {
      rig.job->PrepareForKeys({});
      ADD_FAILURE() << "a contact that was not added passed for added";
    } catch (const Failure& failure) {
      EXPECT_EQ(failure.code(), error_code::kClientError);
      EXPECT_THAT(failure.description(),
                  HasSubstr("\"dave@example.com\" is already in your contact list"));
    }
    EXPECT_TRUE(dialog.isVisible()) << "left open with the reason, for the user";
  }
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
