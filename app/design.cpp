// The window's design: caption, size and the controls with their places, texts and tab order.
#include "app/design.h"

#include <array>

namespace plumwick {

namespace {

using K = ControlKind;

constexpr WindowDesign kWindow{"PLUMWICK", 267, 484};

// Stacking order, topmost first.
constexpr std::array<ControlDesign, 23> kControls{{
    {"Text4", K::kTextBox, 8, 376, 249, 13, "Your Custom Message here!", "", 19},
    {"Text3", K::kTextBox, 8, 416, 249, 15, "NickName Here", "", 18},
    {"KewlButtons12", K::kButton, 8, 440, 249, 17, "Change NickName", "", 17},
    {"KewlButtons11", K::kButton, 176, 392, 81, 17, "Add contact", "", 16},
    {"KewlButtons10", K::kButton, 96, 392, 73, 17, "Send Msg.", "", 15},
    {"Text2", K::kTextBox, 8, 360, 249, 14, "Example: friend@example.com", "", 14},
    {"KewlButtons9", K::kButton, 8, 392, 81, 17, "Delete Contact", "", 13},
    {"KewlButtons8", K::kButton, 176, 336, 81, 17, "Sign Out", "", 12},
    {"KewlButtons7", K::kButton, 8, 456, 249, 17, "EXIT PROGRAM!", "", 10},
    {"KewlButtons6", K::kButton, 96, 336, 73, 17, "Clipboard", "", 9},
    {"KewlButtons5", K::kButton, 8, 336, 81, 17, "Get IP !", "", 8},
    {"Text1", K::kTextBox, 8, 288, 249, 17, "", "", 7},
    {"KewlButtons4", K::kButton, 96, 312, 73, 17, "Date", "", 6},
    {"KewlButtons3", K::kButton, 8, 312, 81, 17, "Time", "", 5},
    {"KewlButtons2", K::kButton, 176, 312, 81, 17, "Clear", "", 4},
    {"KewlButtons1", K::kButton, 136, 264, 121, 17, "Clear List",
     "This will clear your Buddy List!", 3},
    {"cmdload", K::kButton, 8, 264, 129, 17, "Select List", "This will bring your buddy list up!",
     2},
    {"lbContacts", K::kListBox, 8, 72, 249, 182, "", "Click on a Name to send a Personal Message!",
     1},
    {"cboStatus", K::kComboBox, 8, 48, 249, 19, "CHANGE YOUR MSN STATUS HERE !",
     "Scroll Down to change your status - I be Tamsel -", 0},
    {"OLE3", K::kSoundHolder, 368, 16, 33, 33, "", "", 22},
    {"OLE2", K::kSoundHolder, 328, 16, 33, 33, "", "", 21},
    {"OLE1", K::kSoundHolder, 288, 16, 33, 33, "", "", 20},
    {"Label1", K::kLabel, 0, 0, 265, 41, "", "", 11},
}};

}  // namespace

const WindowDesign& frmMsnWindowDesign() {
  return kWindow;
}

std::span<const ControlDesign> frmMsnDesign() {
  return kControls;
}

}  // namespace plumwick
