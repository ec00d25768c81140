#pragma once

#include "services/ControlLayout.h"

#include <vector>

namespace tallyflow {

// The About window's client area, in twips.
inline constexpr int kAboutClientWidth = 6870;
inline constexpr int kAboutClientHeight = 3855;

// The About window's controls by their design names; Form is the window.
enum class AboutControl : int {
  Form,
  Picture1,
  Image2,
  Label4_0,
  Label4_1,
  lblregname,
  lblregcompany,
  cmdok,
  Frame2,
  Picture3,
  Image3,
  lblTitle,
  cmdSysInfo,
  Text1,
  Frame1,
  lblEMail,
  lblHomePage,
  Label1,
  lblCopyright,
};
// The identifier as the layout's number.
constexpr int operator+(AboutControl c) { return static_cast<int>(c); }

// The About window's controls, parents before their children.
const std::vector<ControlLayout> &AboutLayout();

// The controls that take the focus, in keyboard order. Text1 lies below the
// client area and is never seen, so it takes no focus.
const std::vector<int> &AboutTabOrder();

// The terms of use that Text1 holds, in lines ended by CR LF.
extern const char *const kTermsText;

} // namespace tallyflow
