#include "about/AboutLayout.h"

#include "about/AboutLogic.h"

namespace tallyflow {
namespace {

constexpr ControlFont kSans{"MS Sans Serif", 8.25, false};
constexpr ControlFont kSansBold{"MS Sans Serif", 8.25, true};
constexpr ControlFont kVerdana{"Verdana", 8.25, false};
constexpr ControlFont kTitle{"Arial", 9.75, true};

using K = ControlKind;

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
      {"Picture1", "", 240, 1200, 6375, 1215, false, K::Frame, "", kSans, ""},
      {"Image2", "Picture1", 5280, 50, 960, 960, false, K::Image, "", kSans, ""},
      {"Label4_0", "Picture1", 90, 120, 1530, 195, true, K::Label, "Registered name:", kVerdana, ""},
      {"Label4_1", "Picture1", 90, 420, 1440, 195, true, K::Label, "Company name:", kVerdana, ""},
      {"lblregname", "Picture1", 1785, 120, 1650, 195, true, K::Label, kUnregisteredName, kVerdana, ""},
      {"lblregcompany", "Picture1", 1785, 420, 1980, 195, true, K::Label, kUnregisteredCompany, kVerdana, ""},
      {"cmdok", "", 5520, 2880, 1155, 400, false, K::Button, "&OK", kSans, ""},
      {"Frame2", "", 0, 3480, 6855, 40, false, K::Rule, "", kSans, ""},
      {"Picture3", "", 0, 0, 6870, 780, false, K::Picture, "", kSans, ""},
      {"Image3", "Picture3", 4200, 330, 2505, 450, false, K::Image, "", kSans, ""},
      {"lblTitle", "Picture3", 2280, 90, 4335, 240, false, K::Label, "", kTitle, "", true},
      {"cmdSysInfo", "", 4200, 2880, 1245, 400, false, K::Button, "&System Info...", kSans, ""},
      {"Text1", "", 120, 4680, 6975, 1455, false, K::TextBox, "", kSansBold, ""},
      {"Frame1", "", 0, 2640, 6855, 40, false, K::Rule, "", kSans, ""},
      {"lblEMail", "", 3240, 2940, 765, 195, true, K::Link, "Email me", kSansBold, kSupportAddress},
      {"lblHomePage", "", 2280, 2940, 735, 195, true, K::Link, "WebSite", kSansBold, kHomePage},
      {"Label1", "", 240, 960, 2055, 195, true, K::Label, "This software is registered to:", kSans, ""},
      {"lblCopyright", "", 3420, 3600, 3315, 195, true, K::Label, "", kVerdana, "", true},
  };
  return layout;
}

const std::vector<const char *> &AboutTabOrder() {
  static const std::vector<const char *> order = {"cmdSysInfo", "cmdok", "lblHomePage", "lblEMail"};
  return order;
}

} // namespace tallyflow
