// The design of the window and its controls as plain data: what the desktop side needs to build
// them. Nothing here depends on a toolkit, so the design stays readable and testable as a table.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <variant>

namespace plumwick {

// Colours the desktop supplies; the design names them, the desktop's palette decides the shade.
enum class SystemColour { kWindow, kWindowText, kHighlightText, kMenuText, kAppWorkspace };

struct Rgb {
  std::uint32_t value;  // 0xRRGGBB
  bool operator==(const Rgb&) const = default;
};

using Colour = std::variant<Rgb, SystemColour>;

struct FontDesign {
  std::string_view family;  // as the design names it; the desktop maps it to an installed font
  double points;
  int weight = 400;
  bool italic = false;
};

// Sizes are given in points at the design's 96 dots per inch; controls are laid out in pixels, so
// fonts are too.
constexpr int PixelSize(double points) {
  return static_cast<int>(points * 96.0 / 72.0 + 0.5);
}

// The properties of the window's button component as it saves them. The caption and font are the
// control's own text and font.
struct ButtonDesign {
  int btype;               // face style
  bool enab;               // enabled
  int coltype;             // colour scheme: 2 takes the colours below
  bool focusr;             // draws a focus rectangle
  Rgb bcol;                // face
  Rgb bcolo;               // face while the pointer is over it or it is held down
  Rgb fcol;                // caption
  Rgb fcolo;               // caption while the pointer is over it
  Rgb mcol;                // mask colour of a picture
  int mptr;                // mouse pointer: 1 is the arrow
  std::string_view micon;  // custom pointer picture; empty for none
  bool umcol;              // uses the mask colour
  bool soft;               // soft (flat) edges
  int picpos;              // picture position
  bool ngrey;              // keeps the caption's colour when disabled
  int fx;                  // caption effect
  bool hand;               // hand pointer over it
  bool check;              // toggles like a check box
  bool value;              // toggled state
  int extentx;             // width in 0.01 mm (at 96 dots per inch)
  int extenty;             // height in 0.01 mm
};

// Widths and heights in 0.01 mm at 96 dots per inch, as the button component keeps its extent.
constexpr int ExtentOf(int pixels) {
  return static_cast<int>(pixels * 2540.0 / 96.0 + 0.5);
}

// A socket is never on screen and has no place; the desktop side makes no widget for it.
enum class ControlKind { kTextBox, kButton, kListBox, kComboBox, kLabel, kSoundHolder, kSocket };

struct ControlDesign {
  std::string_view name;
  ControlKind kind;
  int left, top, width, height;  // pixels from the top-left corner of the client area
  std::string_view text;         // caption or initial text
  std::string_view tooltip;
  FontDesign font;
  // nullopt: the control's own colours (a button's from its properties, a label shows the window
  // through it).
  std::optional<Colour> back = std::nullopt;
  std::optional<Colour> fore = std::nullopt;
  int tab = -1;  // position in the keyboard focus order, 0 first; -1 for none
  std::optional<ButtonDesign> button = std::nullopt;  // for buttons
  // What a screen reader names a control that holds text (its caption names a button); the
  // tooltip is its description. Empty for the artwork, which a reader skips.
  std::string_view accessible_name = "";
};

// A straight stroke of the given width centred on the segment between the two points.
struct LineDesign {
  std::string_view name;
  int x1, y1, x2, y2;
  int width;
  Colour colour;
};

// A rectangle's outline, not filled: the border lies inside the rectangle.
struct RectangleDesign {
  std::string_view name;
  int left, top, width, height;
  int border;
  Colour colour;
};

using DecorationDesign = std::variant<LineDesign, RectangleDesign>;

struct WindowDesign {
  std::string_view name;  // the window's design name, its object name on the desktop side
  std::string_view caption;
  int width, height;         // client area in pixels; the window has no frame and keeps this size
  Colour back;               // shows wherever the picture does not reach
  std::string_view picture;  // drawn unscaled at the top-left corner
  std::string_view icon;
  // Drawn over the picture and beneath every control, each later shape over the earlier ones.
  std::span<const DecorationDesign> decoration;
};

}  // namespace plumwick
