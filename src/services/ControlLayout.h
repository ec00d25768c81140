#pragma once

#include <cstdint>

namespace tallyflow {

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

// One control of a window's layout: its place in twips relative to its
// parent, what it shows at design time and how. Texts are ASCII.
struct ControlLayout {
  const char *name;
  const char *parent; // "" for the window itself
  int left, top, width, height;
  bool sizedToText; // a label whose width and height follow its text
  ControlKind kind;
  const char *caption; // design text; "" for none
  ControlFont font;
  const char *tip;           // tool tip; "" for none
  bool rightAligned = false; // a label's text against its right edge
};

// The design colours, as 0x00BBGGRR.
inline constexpr std::uint32_t kFaceColour = 0xD8E9EC; // R 236, G 233, B 216
inline constexpr std::uint32_t kBoxColour = 0xFFFFFF;
inline constexpr std::uint32_t kTypeColour = 0x404040; // R 64, G 64, B 64
inline constexpr std::uint32_t kLinkColour = 0xC00000; // R 0, G 0, B 192

} // namespace tallyflow
