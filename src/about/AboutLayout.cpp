#include "about/AboutLayout.h"

#include "about/AboutLogic.h"

namespace tallyflow {
namespace {

constexpr ControlFont kSans{"MS Sans Serif", 8.25, false};
constexpr ControlFont kSansBold{"MS Sans Serif", 8.25, true};
constexpr ControlFont kVerdana{"Verdana", 8.25, false};
constexpr ControlFont kTitle{"Arial", 9.75, true};

using K = ControlKind;
using C = AboutControl;

constexpr ControlLook kPanel{kTextColour, TextAlign::Left, FrameStyle::Plain};
constexpr ControlLook kLink{kLinkColour};
constexpr ControlLook kRight{kTextColour, TextAlign::Right};
constexpr ControlLook kGreyRight{kGreyColour, TextAlign::Right};
// The strip of words beside the title, in teal.
constexpr ControlLook kStrip{kTealColour, TextAlign::Left, FrameStyle::None, "network traffic, tallied"};

// A caption that labels the control beside it, for a screen reader.
constexpr ControlLook Labels(C control) {
  return ControlLook{kTextColour, TextAlign::Left, FrameStyle::None, "", +control};
}
// A control named for a screen reader.
constexpr ControlLook Named(const char *name) {
  return ControlLook{kTextColour, TextAlign::Left, FrameStyle::None, name};
}

} // namespace

const char *const kTermsText =
    "TERMS OF USE\r\n"
    "Tallyflow Manager is provided to you free of charge for personal and commercial use. You may install it "
    "on "
    "as many computers as you like.\r\n\r\n"
    "NO WARRANTY\r\n"
    "The software is provided \"as is\", without warranty of any kind, express or implied, including but not "
    "limited to the warranties of merchantability, fitness for a particular purpose and non-infringement. In "
    "no "
    "event shall the authors or copyright holders be liable for any claim, damages or other liability, "
    "whether "
    "in an action of contract, tort or otherwise, arising from, out of or in connection with the software or "
    "the use or other dealings in the software.\r\n\r\n"
    "DISTRIBUTION\r\n"
    "You may copy and distribute the unmodified installation package, provided that no fee is charged for it "
    "beyond the cost of the medium and that this notice and the copyright notice stay with it. You may not "
    "sell "
    "the software, rent it, or pass it off as your own work.\r\n";

const std::vector<ControlLayout> &AboutLayout() {
  static const std::vector<ControlLayout> layout = {
      {+C::Picture1, "Picture1", +C::Form, 240, 1200, 6375, 1215, false, K::Frame, "", kSans, "", kPanel},
      {+C::Image2, "Image2", +C::Picture1, 5280, 50, 960, 960, false, K::Image, "", kSans, "",
       Named("Tallyflow")},
      {+C::Label4_0, "Label4_0", +C::Picture1, 90, 120, 1530, 195, true, K::Label,
       "Registered name:", kVerdana, "", Labels(C::lblregname)},
      {+C::Label4_1, "Label4_1", +C::Picture1, 90, 420, 1440, 195, true, K::Label, "Company name:", kVerdana,
       "", Labels(C::lblregcompany)},
      {+C::lblregname, "lblregname", +C::Picture1, 1785, 120, 1650, 195, true, K::Label, kUnregisteredName,
       kVerdana, ""},
      {+C::lblregcompany, "lblregcompany", +C::Picture1, 1785, 420, 1980, 195, true, K::Label,
       kUnregisteredCompany, kVerdana, ""},
      {+C::cmdok, "cmdok", +C::Form, 5520, 2880, 1155, 400, false, K::Button, "&OK", kSans, ""},
      {+C::Frame2, "Frame2", +C::Form, 0, 3480, 6855, 40, false, K::Rule, "", kSans, ""},
      {+C::Picture3, "Picture3", +C::Form, 0, 0, 6870, 780, false, K::Picture, "", kSans, "",
       Named("Tallyflow")},
      {+C::Image3, "Image3", +C::Picture3, 4200, 330, 2505, 450, false, K::Image, "", kSans, "", kStrip},
      {+C::lblTitle, "lblTitle", +C::Picture3, 2280, 90, 4335, 240, false, K::Label, "", kTitle, "", kRight},
      {+C::cmdSysInfo, "cmdSysInfo", +C::Form, 4200, 2880, 1245, 400, false, K::Button, "&System Info...",
       kSans, ""},
      {+C::Text1, "Text1", +C::Form, 120, 4680, 6975, 1455, false, K::TextBox, "", kSansBold, "",
       Named("Terms of use")},
      {+C::Frame1, "Frame1", +C::Form, 0, 2640, 6855, 40, false, K::Rule, "", kSans, ""},
      {+C::lblEMail, "lblEMail", +C::Form, 3240, 2940, 765, 195, true, K::Link, "Email me", kSansBold,
       kSupportAddress, kLink},
      {+C::lblHomePage, "lblHomePage", +C::Form, 2280, 2940, 735, 195, true, K::Link, "WebSite", kSansBold,
       kHomePage, kLink},
      {+C::Label1, "Label1", +C::Form, 240, 960, 2055, 195, true, K::Label,
       "This software is registered to:", kSans, ""},
      {+C::lblCopyright, "lblCopyright", +C::Form, 3420, 3600, 3315, 195, true, K::Label, "", kVerdana, "",
       kGreyRight},
  };
  return layout;
}

const std::vector<int> &AboutTabOrder() {
  static const std::vector<int> order = {+C::cmdSysInfo, +C::cmdok, +C::lblHomePage, +C::lblEMail};
  return order;
}

} // namespace tallyflow
