// The window read back from the live widget tree on the offscreen platform and held against its
// design, written out here once more on its own so that a wrong value in the program's table shows
// up as a difference: every control's kind, place, texts, font, colours, tab position and flags,
// the button component's properties, the stacking, the window's settings and the pixels of its
// painted surface.
#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTest>

#include "clients/sandbox/qt/qt_sandbox_client.h"
#include "platform/qt/skin_button.h"
#include "programs/desktop_program.h"

namespace plumwick {
namespace {

// A colour as the design names it: a role of the application's palette, or fixed.
struct Shade {
  std::optional<QPalette::ColorRole> role;
  QRgb rgb = 0;
  QColor Resolve() const { return role ? QApplication::palette().color(*role) : QColor(rgb); }
};
const Shade kWindowShade{QPalette::Base};
const Shade kWindowTextShade{QPalette::Text};
const Shade kHighlightTextShade{QPalette::HighlightedText};
const Shade kMenuTextShade{QPalette::WindowText};
const Shade kAppWorkspaceShade{std::nullopt, 0x808080};
const Shade kWhite{std::nullopt, 0xFFFFFF};

struct Control {
  const char* name;
  const char* qt_class;
  QRect place;
  const char* text;
  const char* tooltip;
  const char* family;
  int pixels;
  bool bold_italic;
  std::optional<Shade> back, fore;
  int tab;
};

constexpr const char* kEdit = "QLineEdit";
constexpr const char* kButton = "plumwick::SkinButton";
constexpr const char* kHolder = "QWidget";
constexpr const char* kSmall = "Small Fonts";
constexpr const char* kPalatino = "Palatino Linotype";

// Topmost first. local_address has no place on screen, so no widget.
const std::vector<Control> kControls = {
    {"Text4",
     kEdit,
     {8, 376, 249, 13},
     "Your Custom Message here!",
     "",
     kSmall,
     9,
     false,
     kWindowShade,
     kWindowTextShade,
     19},
    {"Text3",
     kEdit,
     {8, 416, 249, 15},
     "NickName Here",
     "",
     kSmall,
     9,
     false,
     kWindowShade,
     kWindowTextShade,
     18},
    {"SkinButtons12",
     kButton,
     {8, 440, 249, 17},
     "Change NickName",
     "",
     kSmall,
     9,
     false,
     {},
     {},
     17},
    {"SkinButtons11",
     kButton,
     {176, 392, 81, 17},
     "Add contact",
     "",
     kPalatino,
     12,
     false,
     {},
     {},
     16},
    {"SkinButtons10",
     kButton,
     {96, 392, 73, 17},
     "Send Msg.",
     "",
     kPalatino,
     11,
     false,
     {},
     {},
     15},
    {"Text2",
     kEdit,
     {8, 360, 249, 14},
     "Example: friend@example.com",
     "",
     kSmall,
     9,
     false,
     kWindowShade,
     kWindowTextShade,
     14},
    {"SkinButtons9",
     kButton,
     {8, 392, 81, 17},
     "Delete Contact",
     "",
     kPalatino,
     11,
     false,
     {},
     {},
     13},
    {"SkinButtons8", kButton, {176, 336, 81, 17}, "Sign Out", "", kSmall, 9, false, {}, {}, 12},
    {"SkinButtons7", kButton, {8, 456, 249, 17}, "EXIT PROGRAM!", "", kSmall, 9, false, {}, {}, 10},
    {"SkinButtons6", kButton, {96, 336, 73, 17}, "Clipboard", "", kSmall, 9, false, {}, {}, 9},
    {"SkinButtons5", kButton, {8, 336, 81, 17}, "Get IP !", "", kSmall, 9, false, {}, {}, 8},
    {"Text1",
     kEdit,
     {8, 288, 249, 17},
     "",
     "",
     kSmall,
     9,
     false,
     kWindowShade,
     kWindowTextShade,
     7},
    {"SkinButtons4", kButton, {96, 312, 73, 17}, "Date", "", kSmall, 9, false, {}, {}, 6},
    {"SkinButtons3", kButton, {8, 312, 81, 17}, "Time", "", kSmall, 9, false, {}, {}, 5},
    {"SkinButtons2", kButton, {176, 312, 81, 17}, "Clear", "", kSmall, 9, false, {}, {}, 4},
    {"SkinButtons1",
     kButton,
     {136, 264, 121, 17},
     "Clear List",
     "This will clear your Buddy List!",
     kSmall,
     9,
     false,
     {},
     {},
     3},
    {"cmdload",
     kButton,
     {8, 264, 129, 17},
     "Select List",
     "This will bring your buddy list up!",
     kSmall,
     9,
     false,
     {},
     {},
     2},
    {"lbContacts",
     "QListWidget",
     {8, 72, 249, 182},
     "",
     "Click on a Name to send a Personal Message!",
     kPalatino,
     13,
     true,
     kAppWorkspaceShade,
     kWhite,
     1},
    {"cboStatus",
     "QComboBox",
     {8, 48, 249, 19},
     "CHANGE YOUR STATUS HERE !",
     "Scroll Down to change your status - I be Tamsel -",
     kSmall,
     9,
     false,
     kHighlightTextShade,
     kMenuTextShade,
     0},
    {"OLE3", kHolder, {368, 16, 33, 33}, "", "", kSmall, 9, false, {}, {}, 22},
    {"OLE2", kHolder, {328, 16, 33, 33}, "", "", kSmall, 9, false, {}, {}, 21},
    {"OLE1", kHolder, {288, 16, 33, 33}, "", "", kSmall, 9, false, {}, {}, 20},
    {"Label1", "QLabel", {0, 0, 265, 41}, "", "", kSmall, 9, false, {}, {}, 11},
};

// Installed fonts that may stand in for the design's.
QStringList StandIns(const QString& family) {
  if (family == kSmall) return {"DejaVu Sans", "Nimbus Sans"};
  if (family == kPalatino) return {"P052", "TeX Gyre Pagella"};
  return {};
}

QString TextOf(const QWidget& widget) {
  if (const auto* edit = qobject_cast<const QLineEdit*>(&widget)) return edit->text();
  if (const auto* button = qobject_cast<const QAbstractButton*>(&widget)) return button->text();
  if (const auto* box = qobject_cast<const QComboBox*>(&widget)) return box->currentText();
  if (const auto* label = qobject_cast<const QLabel*>(&widget)) return label->text();
  return {};
}

class Design : public ::testing::Test {
 protected:
  QWidget& Form() { return program_.widget(); }
  QWidget& Child(const char* name) {
    auto* widget = Form().findChild<QWidget*>(QString::fromLatin1(name));
    if (widget == nullptr) throw std::runtime_error(std::string("no control ") + name);
    return *widget;
  }
  SkinButton& ButtonNamed(const char* name) { return *qobject_cast<SkinButton*>(&Child(name)); }

  std::ostringstream effects_;
  sandbox::QtSandboxClient client_{effects_};
  DesktopProgram program_{client_.Factory()};
};

TEST_F(Design, EveryControlIsBuiltAsDesigned) {
  for (const Control& expected : kControls) {
    SCOPED_TRACE(expected.name);
    QWidget& widget = Child(expected.name);
    EXPECT_STREQ(widget.metaObject()->className(), expected.qt_class);
    EXPECT_EQ(widget.geometry(), expected.place);
    EXPECT_EQ(TextOf(widget), expected.text);
    EXPECT_EQ(widget.toolTip(), expected.tooltip);
    EXPECT_FALSE(widget.isHidden());
    EXPECT_TRUE(widget.isEnabled()) << "before start-up every control is enabled";

    const QFont font = widget.font();
    EXPECT_EQ(font.family(), expected.family);
    EXPECT_EQ(font.pixelSize(), expected.pixels);
    EXPECT_EQ(font.weight(), expected.bold_italic ? QFont::Bold : QFont::Normal);
    EXPECT_EQ(font.italic(), expected.bold_italic);
    const QString shown = QFontInfo(font).family();
    const QStringList stand_ins = StandIns(expected.family);
    EXPECT_TRUE(std::any_of(stand_ins.begin(), stand_ins.end(),
                            [&](const QString& stand_in) { return shown.startsWith(stand_in); }))
        << "drawn in " << shown.toStdString();

    if (expected.back) {
      EXPECT_EQ(widget.palette().color(QPalette::Base), expected.back->Resolve());
    }
    if (expected.fore) {
      EXPECT_EQ(widget.palette().color(QPalette::Text), expected.fore->Resolve());
    }
  }
  EXPECT_EQ(Form().findChild<QObject*>("Winsock1"), nullptr) << "the socket is never shown";
}

// What a screen reader says for a control, read through Qt's accessibility interface as the
// desktop's accessibility bus reads it.
std::string ReaderText(QWidget& widget, QAccessible::Text text) {
  QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(&widget);
  return reader == nullptr ? "(none)" : reader->text(text).toStdString();
}

TEST_F(Design, EveryControlThatHoldsTextTellsAScreenReaderWhatItHolds) {
  struct Row {
    const char* control;
    const char* name;
    const char* description;  // the tooltip
  };
  const Row rows[] = {
      {"Text1", "Scratch pad", ""},
      {"Text2", "Contact address", ""},
      {"Text3", "Display name", ""},
      {"Text4", "Message", ""},
      {"lbContacts", "Contacts", "Click on a Name to send a Personal Message!"},
      // Qt names a combo box by its text on Linux; its edit carries the name (below).
      {"cboStatus", "CHANGE YOUR STATUS HERE !",
       "Scroll Down to change your status - I be Tamsel -"},
      {"cmdload", "Select List", "This will bring your buddy list up!"},
      {"SkinButtons7", "EXIT PROGRAM!", ""},
      {"Label1", "", ""},  // the title's artwork
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.control);
    EXPECT_EQ(ReaderText(Child(row.control), QAccessible::Name), row.name);
    EXPECT_EQ(ReaderText(Child(row.control), QAccessible::Description), row.description);
  }
  // The status box's edit is a control of its own to a reader.
  EXPECT_EQ(
      ReaderText(*qobject_cast<QComboBox*>(&Child("cboStatus"))->lineEdit(), QAccessible::Name),
      "Status");

  // The sandbox client's windows: every box that holds text or a list has a name too.
  client_.client().OpenConversation("alice@example.com");
  client_.client().OpenAddContactDialog("zoe@example.com");
  client_.client().OpenOptionsDialog();
  client_.client_window().show();
  int boxes = 0;
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window == &Form()) continue;
    for (QWidget* box : window->findChildren<QWidget*>()) {
      if (qobject_cast<QLineEdit*>(box) == nullptr &&
          qobject_cast<sandbox::QtMessageEntry*>(box) == nullptr &&
          qobject_cast<QPlainTextEdit*>(box) == nullptr &&
          qobject_cast<QListWidget*>(box) == nullptr && qobject_cast<QComboBox*>(box) == nullptr) {
        continue;
      }
      ++boxes;
      EXPECT_NE(ReaderText(*box, QAccessible::Name), "")
          << box->objectName().toStdString() << " in " << window->windowTitle().toStdString();
    }
  }
  EXPECT_GE(boxes, 5) << "the conversation's two, the dialogs' entries and the client's list";
}

TEST_F(Design, TheFocusChainFollowsTheTabPositions) {
  // Every control keeps its tab position; those that take the focus are chained in that order.
  std::vector<std::string> by_tab(kControls.size());
  for (const Control& control : kControls) {
    EXPECT_EQ(Child(control.name).property("tabIndex"), control.tab) << control.name;
    if (Child(control.name).focusPolicy() != Qt::NoFocus) by_tab.at(control.tab) = control.name;
  }
  by_tab.erase(std::remove(by_tab.begin(), by_tab.end(), ""), by_tab.end());
  std::vector<std::string> chain;
  for (QWidget* widget = Form().nextInFocusChain(); widget != &Form();
       widget = widget->nextInFocusChain()) {
    if (std::find(by_tab.begin(), by_tab.end(), widget->objectName().toStdString()) != by_tab.end())
      chain.push_back(widget->objectName().toStdString());
  }
  EXPECT_EQ(chain, by_tab);
  EXPECT_EQ(by_tab.size(), kControls.size() - 4) << "all but the label and the sound holders";
}

TEST_F(Design, ControlsStackInTheDesignOrderAndOverlapsGoToTheUpperOne) {
  std::vector<std::string> bottom_up;
  for (const QObject* child : Form().children()) {
    if (child->isWidgetType() && !child->objectName().isEmpty())
      bottom_up.push_back(child->objectName().toStdString());
  }
  std::vector<std::string> expected;
  for (auto it = kControls.rbegin(); it != kControls.rend(); ++it) expected.emplace_back(it->name);
  EXPECT_EQ(bottom_up, expected);
  // change_nickname (rows 440-456) and exit_program (456-472) share row 456.
  EXPECT_EQ(Form().childAt(100, 456), &Child("SkinButtons12"));
  EXPECT_EQ(Form().childAt(100, 457), &Child("SkinButtons7"));
  EXPECT_EQ(Form().childAt(264, 40), &Child("Label1"));
  EXPECT_EQ(Form().childAt(265, 20), nullptr) << "the strip right of the label is the window";
}

TEST_F(Design, ControlsHaveTheirBehaviourFlags) {
  for (const char* name : {"Text1", "Text2", "Text3", "Text4"}) {
    SCOPED_TRACE(name);
    auto& edit = *qobject_cast<QLineEdit*>(&Child(name));
    EXPECT_EQ(edit.echoMode(), QLineEdit::Normal);
    EXPECT_FALSE(edit.isReadOnly());
    const QString long_text(100000, QLatin1Char('x'));
    edit.setText(long_text);
    EXPECT_EQ(edit.text().size(), long_text.size()) << "a text box has no length limit";
  }
  auto& list = *qobject_cast<QListWidget*>(&Child("lbContacts"));
  EXPECT_EQ(list.count(), 0);
  EXPECT_FALSE(list.isSortingEnabled());
  EXPECT_EQ(list.selectionMode(), QAbstractItemView::SingleSelection);
  auto& status = *qobject_cast<QComboBox*>(&Child("cboStatus"));
  EXPECT_TRUE(status.isEditable());
  EXPECT_EQ(status.count(), 0) << "start-up adds the entries";
  EXPECT_EQ(status.insertPolicy(), QComboBox::NoInsert);
  EXPECT_FALSE(Child("Label1").autoFillBackground()) << "the label shows the window through it";
  for (const char* holder : {"OLE1", "OLE2", "OLE3"}) {
    EXPECT_FALSE(Form().rect().intersects(Child(holder).geometry())) << holder << " is seen";
    EXPECT_EQ(Child(holder).focusPolicy(), Qt::NoFocus) << holder;
  }
}

TEST_F(Design, EveryButtonKeepsTheComponentsProperties) {
  struct Extent {
    const char* name;
    int x;
  };
  const Extent extents[] = {
      {"SkinButtons12", 6588}, {"SkinButtons11", 2143}, {"SkinButtons10", 1931},
      {"SkinButtons9", 2143},  {"SkinButtons8", 2143},  {"SkinButtons7", 6588},
      {"SkinButtons6", 1931},  {"SkinButtons5", 2143},  {"SkinButtons4", 1931},
      {"SkinButtons3", 2143},  {"SkinButtons2", 2143},  {"SkinButtons1", 3201},
      {"cmdload", 3413},
  };
  for (const Extent& extent : extents) {
    SCOPED_TRACE(extent.name);
    const ButtonDesign& d = ButtonNamed(extent.name).design();
    EXPECT_EQ(d.btype, 4);
    EXPECT_TRUE(d.enab);
    EXPECT_EQ(d.coltype, 2);
    EXPECT_TRUE(d.focusr);
    EXPECT_EQ(d.bcol, Rgb{0x808080});
    EXPECT_EQ(d.bcolo, Rgb{0xFF0000});
    EXPECT_EQ(d.fcol, Rgb{0x000000});
    EXPECT_EQ(d.fcolo, Rgb{0x000000});
    EXPECT_EQ(d.mcol, Rgb{0xC0C0C0});
    EXPECT_EQ(d.mptr, 1);
    EXPECT_TRUE(d.micon.empty());
    EXPECT_TRUE(d.umcol);
    EXPECT_FALSE(d.soft);
    EXPECT_EQ(d.picpos, 0);
    EXPECT_FALSE(d.ngrey);
    EXPECT_EQ(d.fx, 0);
    EXPECT_FALSE(d.hand);
    EXPECT_FALSE(d.check);
    EXPECT_FALSE(d.value);
    EXPECT_EQ(d.extentx, extent.x);
    EXPECT_EQ(d.extenty, 450);
  }
}

TEST_F(Design, TheWindowIsFramelessOfFixedSizeAndCentred) {
  QWidget& form = Form();
  EXPECT_EQ(form.windowTitle(), "PLUMWICK");
  EXPECT_TRUE(form.windowFlags().testFlag(Qt::FramelessWindowHint));
  EXPECT_EQ(form.minimumSize(), QSize(267, 484));
  EXPECT_EQ(form.maximumSize(), QSize(267, 484));
  EXPECT_FALSE(form.windowIcon().isNull());
  EXPECT_EQ(form.windowIcon().pixmap(32, 32).size(), QSize(32, 32));
  EXPECT_EQ(form.palette().color(QPalette::Window), QColor(0x808080));
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  EXPECT_EQ(form.pos(), QPoint(screen.x() + (screen.width() - 267) / 2,
                               screen.y() + (screen.height() - 484) / 2));
}

TEST_F(Design, StartUpDisablesThreeButtonsAndLeavesTheFocusOnTheStatusBox) {
  ASSERT_TRUE(program_.Start());
  ASSERT_TRUE(QTest::qWaitForWindowActive(&Form()));
  for (const Control& control : kControls) {
    const bool disabled = std::string(control.name) == "SkinButtons1" ||
                          std::string(control.name) == "SkinButtons2" ||
                          std::string(control.name) == "SkinButtons6";
    EXPECT_EQ(Child(control.name).isEnabled(), !disabled) << control.name;
  }
  QWidget* focus = QApplication::focusWidget();
  ASSERT_NE(focus, nullptr);
  EXPECT_TRUE(focus == &Child("cboStatus") || Child("cboStatus").isAncestorOf(focus))
      << focus->metaObject()->className() << " " << focus->objectName().toStdString();

  // Tab walks the enabled controls that take the focus, in their tab order.
  const char* const expected[] = {"lbContacts",    "cmdload",      "SkinButtons3",  "SkinButtons4",
                                  "Text1",         "SkinButtons5", "SkinButtons7",  "SkinButtons8",
                                  "SkinButtons9",  "Text2",        "SkinButtons10", "SkinButtons11",
                                  "SkinButtons12", "Text3",        "Text4"};
  for (const char* name : expected) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), &Child(name)) << "Tab to " << name;
  }
}

// Pixels of the painted window: the picture, the decoration in its order and the background.
TEST_F(Design, TheSurfaceShowsPictureDecorationAndBackground) {
  const QImage shot = Form().grab().toImage();
  ASSERT_EQ(shot.size(), QSize(267, 484));
  struct Pixel {
    QPoint at;
    QRgb rgb;
    const char* why;
  };
  constexpr QRgb kRed = 0xFF0000, kBlack = 0x000000, kGrey = 0x808080;
  const Pixel pixels[] = {
      {{0, 483}, kGrey, "bottom row: the background colour below the picture"},
      {{133, 483}, kGrey, "bottom row"},
      {{266, 483}, kGrey, "bottom row"},
      {{5, 200}, kBlack, "the picture's body left of the frame"},
      {{130, 44}, kBlack, "the picture's body under the banner"},
      {{10, 70}, kRed, "Shape1's border over Line1"},
      {{15, 70}, kBlack, "Line1: Shape1's border is 7 wide inside, Line4 starts at 16"},
      {{16, 70}, kRed, "Line4 starts at 16"},
      {{247, 70}, kRed, "Line4's last pixel"},
      {{248, 70}, kBlack, "Line4 ends flat at 248"},
      {{250, 70}, kRed, "Shape1's right border, inside the rectangle"},
      {{257, 70}, kBlack, "right of Shape1"},
      {{7, 258}, kBlack, "left of Shape1"},
      {{8, 258}, kRed, "Shape1's left edge"},
      {{130, 258}, kRed, "Line3"},
      {{130, 284}, kRed, "Line5"},
      {{20, 356}, kBlack, "Line9 starts at 24"},
      {{24, 356}, kRed, "Line9"},
      {{130, 374}, kRed, "Line10 between Text2 and Text4"},
      {{130, 435}, kRed, "Line13"},
      {{130, 476}, kBlack, "below the last button, inside Shape1's rectangle: not filled"},
  };
  for (const Pixel& pixel : pixels) {
    EXPECT_EQ(QColor(shot.pixel(pixel.at)), QColor(pixel.rgb))
        << pixel.why << " at " << pixel.at.x() << "," << pixel.at.y();
  }
  const QColor banner = shot.pixel(10, 20);
  EXPECT_TRUE(banner.red() > 150 && banner.green() < 60 && banner.blue() < 60)
      << "the banner shows through the label: " << banner.name().toStdString();
}

// The system colours follow the desktop's palette, role by role; the fixed ones do not.
// Puts the application under another palette for as long as it lives.
class PaletteScope {
 public:
  explicit PaletteScope(const QPalette& palette) : saved_(QApplication::palette()) {
    QApplication::setPalette(palette);
  }
  ~PaletteScope() { QApplication::setPalette(saved_); }

 private:
  QPalette saved_;
};

TEST(DesignColours, SystemColoursComeFromThePalette) {
  QPalette system = QApplication::palette();
  system.setColor(QPalette::Base, QColor(0x102030));
  system.setColor(QPalette::Text, QColor(0x405060));
  system.setColor(QPalette::HighlightedText, QColor(0x708090));
  system.setColor(QPalette::WindowText, QColor(0xA0B0C0));
  const PaletteScope scope(system);  // outlives the window below
  std::ostringstream effects;
  sandbox::QtSandboxClient client{effects};
  DesktopProgram program{client.Factory()};
  struct Expected {
    const char* name;
    QRgb base, text;
  };
  const Expected controls[] = {
      {"Text1", 0x102030, 0x405060},
      {"Text4", 0x102030, 0x405060},
      {"cboStatus", 0x708090, 0xA0B0C0},
      {"lbContacts", 0x808080, 0xFFFFFF},
  };
  for (const Expected& expected : controls) {
    auto* widget = program.widget().findChild<QWidget*>(expected.name);
    ASSERT_NE(widget, nullptr) << expected.name;
    EXPECT_EQ(widget->palette().color(QPalette::Base), QColor(expected.base)) << expected.name;
    EXPECT_EQ(widget->palette().color(QPalette::Text), QColor(expected.text)) << expected.name;
  }
  // Line1 is drawn in the window text colour where nothing covers it.
  EXPECT_EQ(QColor(program.widget().grab().toImage().pixel(15, 70)), QColor(0x405060));
}

// A button's face, caption and accent in each of its states.
TEST_F(Design, ButtonsShowTheirStates) {
  ASSERT_TRUE(program_.Start());
  struct State {
    const char* name;
    bool pressed;
    QRgb face;
    bool black_caption;
  };
  const State states[] = {
      {"cmdload", false, 0x808080, true},
      {"cmdload", true, 0xFF0000, true},
      {"SkinButtons1", false, 0x808080, false},  // disabled after start-up
  };
  for (const State& state : states) {
    SCOPED_TRACE(std::string(state.name) + (state.pressed ? " pressed" : ""));
    SkinButton& button = ButtonNamed(state.name);
    if (state.pressed) button.setDown(true);
    const QImage face = button.grab().toImage();
    button.setDown(false);
    EXPECT_EQ(QColor(face.pixel(4, 8)), QColor(state.face));
    // The caption's darkest pixel, inside the two-pixel bevel whose dark side is black too. Black
    // text reaches (nearly) black even with antialiasing; a greyed caption stays grey.
    int darkest = 255;
    for (int y = 2; y < face.height() - 2; ++y)
      for (int x = 2; x < face.width() - 2; ++x)
        darkest = std::min(darkest, QColor(face.pixel(x, y)).value());
    EXPECT_EQ(darkest < 0x30, state.black_caption) << "darkest value " << darkest;
  }
}

}  // namespace
}  // namespace plumwick
