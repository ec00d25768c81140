#pragma once

#include <cstdint>
#include <exception>
#include <vector>

namespace tallyflow {

// A colour as 0x00BBGGRR, the byte order of a Windows COLORREF.
using DesignColour = std::uint32_t;

// The design colours, each defined here once; the front ends convert them.
inline constexpr DesignColour kFaceColour =
    0xD8E9EC;                                        // R 236, G 233, B 216: faces of windows, frames, buttons
inline constexpr DesignColour kBoxColour = 0xFFFFFF; // value boxes, lists, the banner
inline constexpr DesignColour kTextColour = 0x000000;        // black
inline constexpr DesignColour kGreyColour = 0x404040;        // R 64, G 64, B 64: the type and the copyright
inline constexpr DesignColour kLinkColour = 0xC00000;        // R 0, G 0, B 192
inline constexpr DesignColour kTealColour = 0x808000;        // R 0, G 128, B 128: the About banner's words
inline constexpr DesignColour kBannerTextColour = 0x241C18;  // R 24, G 28, B 36: the program's name
inline constexpr DesignColour kShadowColour = 0x99A8AC;      // R 172, G 168, B 153: bevels, disabled text
inline constexpr DesignColour kDarkShadowColour = 0x646F71;  // R 113, G 111, B 100
inline constexpr DesignColour kHighlightColour = 0xC56A31;   // R 49, G 106, B 197: a selection
inline constexpr DesignColour kTipColour = 0xE1FFFF;         // R 255, G 255, B 225: tool tips
inline constexpr DesignColour kVisitedLinkColour = 0x800080; // R 128, G 0, B 128

// What a control is, so that each front end makes the right native one.
enum class ControlKind : std::uint8_t {
  Picture,      // a drawing surface or a picture
  Frame,        // a panel that parents other controls
  Label,        // static text
  ValueBox,     // static text in a white box with a single border, right-aligned
  DropDownList, // a list to pick from, no free text
  DropDownEdit, // a list with editable text
  Image,        // the program icon
  CheckBox,
  Button,
  Link,    // underlined text that acts when clicked
  Rule,    // a sunken horizontal line
  TextBox, // read-only text with a vertical scroll bar
};

// A font by its Windows name; points at 96 dpi (8.25 pt is 11 px).
struct ControlFont {
  const char *family;
  double points;
  bool bold;
};

enum class TextAlign : std::uint8_t { Left, Right };
enum class FrameStyle : std::uint8_t {
  None,
  Etched, // a frame's sunken edge
  Plain,  // a one-pixel border
};

// How a control looks and reads, where it differs from plain black text
// against the left edge.
struct ControlLook {
  DesignColour text = kTextColour;
  TextAlign align = TextAlign::Left;
  FrameStyle frame = FrameStyle::None;
  // What a screen reader calls a control that shows no text of its own, or
  // whose text is not its name (a list); "" for its text.
  const char *accessibleName = "";
  // The control this caption labels for a screen reader; 0 for none.
  int labels = 0;
};

// One control of a window's layout: its place in twips relative to its
// parent, what it shows at design time and how. Texts are ASCII. `id` and
// `parent` are the window's own control identifiers (MonitorControl,
// AboutControl) as numbers, 0 being the window itself.
struct ControlLayout {
  int id;
  const char *name; // the design name
  int parent;
  int left, top, width, height;
  bool sizedToText; // a label whose width and height follow its text
  ControlKind kind;
  const char *caption; // design text; "" for none
  ControlFont font;
  const char *tip; // tool tip; "" for none
  ControlLook look = {};
};

// A control's entry in its window's layout, which holds it.
inline const ControlLayout &EntryOf(const std::vector<ControlLayout> &layout, int id) {
  for (const ControlLayout &c : layout) {
    if (c.id == id) {
      return c;
    }
  }
  std::terminate(); // a layout without its own control's entry is a fault of the build
}

} // namespace tallyflow
