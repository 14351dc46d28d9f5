// The window's design: caption, size, picture and decoration, and the controls with their places,
// texts, fonts, colours and tab order.
#include "app/design.h"

#include <array>

namespace plumwick {

namespace {

using K = ControlKind;
using S = SystemColour;

constexpr Rgb kRed{0xFF0000};

constexpr FontDesign kSmall{"Small Fonts", 6.75};
constexpr FontDesign kPalatino825{"Palatino Linotype", 8.25};
constexpr FontDesign kPalatino9{"Palatino Linotype", 9};
constexpr FontDesign kContactsFont{"Palatino Linotype", 9.75, 700, true};

// Every button is the same component with the same settings; only caption, font and size differ.
constexpr ButtonDesign SkinButtonDesign(int width, int height) {
  return {.btype = 4,
          .enab = true,
          .coltype = 2,
          .focusr = true,
          .bcol = {0x808080},
          .bcolo = kRed,
          .fcol = {0x000000},
          .fcolo = {0x000000},
          .mcol = {0xC0C0C0},
          .mptr = 1,
          .micon = "",
          .umcol = true,
          .soft = false,
          .picpos = 0,
          .ngrey = false,
          .fx = 0,
          .hand = false,
          .check = false,
          .value = false,
          .extentx = ExtentOf(width),
          .extenty = ExtentOf(height)};
}

constexpr ControlDesign TextBox(std::string_view name, int left, int top, int width, int height,
                                std::string_view text, int tab, std::string_view accessible_name) {
  return {name,   K::kTextBox, left,           top, width,        height,         text, "",
          kSmall, S::kWindow,  S::kWindowText, tab, std::nullopt, accessible_name};
}

constexpr ControlDesign Button(std::string_view name, int left, int top, int width,
                               std::string_view caption, FontDesign font, int tab,
                               std::string_view tooltip = "") {
  constexpr int kHeight = 17;
  ControlDesign button{name, K::kButton, left, top, width, kHeight, caption, tooltip, font};
  button.tab = tab;
  button.button = SkinButtonDesign(width, kHeight);
  return button;
}

constexpr ControlDesign SoundHolder(std::string_view name, int left, int tab) {
  ControlDesign holder{name, K::kSoundHolder, left, 16, 33, 33, "", "", kSmall};
  holder.tab = tab;
  return holder;
}

// The local address: no place on screen and no tab stop.
constexpr ControlDesign Socket(std::string_view name) {
  return {name, K::kSocket, 0, 0, 0, 0, "", "", kSmall};
}

// Stacking order, topmost first.
constexpr std::array<ControlDesign, 24> kControls{{
    TextBox("Text4", 8, 376, 249, 13, "Your Custom Message here!", 19, "Message"),
    TextBox("Text3", 8, 416, 249, 15, "NickName Here", 18, "Display name"),
    Button("SkinButtons12", 8, 440, 249, "Change NickName", kSmall, 17),
    Button("SkinButtons11", 176, 392, 81, "Add contact", kPalatino9, 16),
    Button("SkinButtons10", 96, 392, 73, "Send Msg.", kPalatino825, 15),
    TextBox("Text2", 8, 360, 249, 14, "Example: friend@example.com", 14, "Contact address"),
    Button("SkinButtons9", 8, 392, 81, "Delete Contact", kPalatino825, 13),
    Button("SkinButtons8", 176, 336, 81, "Sign Out", kSmall, 12),
    Button("SkinButtons7", 8, 456, 249, "EXIT PROGRAM!", kSmall, 10),
    Socket("Winsock1"),
    Button("SkinButtons6", 96, 336, 73, "Clipboard", kSmall, 9),
    Button("SkinButtons5", 8, 336, 81, "Get IP !", kSmall, 8),
    TextBox("Text1", 8, 288, 249, 17, "", 7, "Scratch pad"),
    Button("SkinButtons4", 96, 312, 73, "Date", kSmall, 6),
    Button("SkinButtons3", 8, 312, 81, "Time", kSmall, 5),
    Button("SkinButtons2", 176, 312, 81, "Clear", kSmall, 4),
    Button("SkinButtons1", 136, 264, 121, "Clear List", kSmall, 3,
           "This will clear your Buddy List!"),
    Button("cmdload", 8, 264, 129, "Select List", kSmall, 2, "This will bring your buddy list up!"),
    {"lbContacts", K::kListBox, 8, 72, 249, 182, "", "Click on a Name to send a Personal Message!",
     kContactsFont, S::kAppWorkspace, Rgb{0xFFFFFF}, 1, std::nullopt, "Contacts"},
    {"cboStatus", K::kComboBox, 8, 48, 249, 19, "CHANGE YOUR STATUS HERE !",
     "Scroll Down to change your status - I be Tamsel -", kSmall, S::kHighlightText, S::kMenuText,
     0, std::nullopt, "Status"},
    // The sound cues' holders lie right of the client area, where nobody sees them.
    SoundHolder("OLE3", 368, 22),
    SoundHolder("OLE2", 328, 21),
    SoundHolder("OLE1", 288, 20),
    // The title: no caption of its own, the picture's banner shows through it.
    {"Label1", K::kLabel, 0, 0, 265, 41, "", "", kSmall, std::nullopt, std::nullopt, 11},
}};

// Later shapes are drawn over earlier ones.
constexpr std::array<DecorationDesign, 14> kDecoration{{
    LineDesign{"Line1", 8, 72, 240, 72, 8, S::kWindowText},
    LineDesign{"Line2", 0, 256, 0, 232, 1, S::kWindowText},
    RectangleDesign{"Shape1", 8, 48, 249, 425, 7, kRed},
    LineDesign{"Line3", 16, 256, 248, 256, 18, kRed},
    LineDesign{"Line4", 16, 72, 248, 72, 19, kRed},
    LineDesign{"Line5", 16, 280, 248, 280, 19, kRed},
    LineDesign{"Line6", 16, 304, 248, 312, 19, kRed},
    LineDesign{"Line7", 16, 336, 248, 328, 19, kRed},
    LineDesign{"Line8", 32, 320, 216, 320, 19, kRed},
    LineDesign{"Line9", 24, 352, 240, 352, 29, kRed},
    LineDesign{"Line10", 24, 384, 240, 384, 35, kRed},
    LineDesign{"Line11", 24, 400, 240, 400, 35, kRed},
    LineDesign{"Line12", 24, 416, 240, 416, 35, kRed},
    LineDesign{"Line13", 24, 432, 240, 432, 29, kRed},
}};

constexpr WindowDesign kWindow{
    "frmMain",          "PLUMWICK",           267,        484, S::kAppWorkspace,
    ":/art/window.bmp", ":/art/plumwick.ico", kDecoration};

}  // namespace

const WindowDesign& MainWindowDesign() {
  return kWindow;
}

std::span<const ControlDesign> MainWindowControlDesigns() {
  return kControls;
}

}  // namespace plumwick
