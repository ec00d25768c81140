#include "monitor/MonitorLayout.h"

#include <utility>

namespace tallyflow {
namespace {

constexpr ControlFont kSans{"MS Sans Serif", 8.25, false}; // buttons, check box
constexpr ControlFont kTahoma{"Tahoma", 8.25, false};
constexpr ControlFont kArial{"Arial", 8.25, false};
constexpr ControlFont kArialBold{"Arial", 8.25, true};

constexpr const char *kGraphTip = "The average download rate, on a fixed scale of 0 to 95 KB/s.";
constexpr const char *kPerSecond = "Kb/S: kilobytes (1,024 bytes) per second.";
constexpr const char *kTop =
    "Kb/S: kilobytes (1,024 bytes) per second. The top of the last 2 seconds while "
    "download traffic keeps arriving; of the whole run once 2 quiet seconds have passed.";
constexpr const char *kTotal = "KB: kilobytes (1,024 bytes), summed over every interface, loopback included. "
                               "Each interface's counter wraps after 4 GiB.";
constexpr const char *kSpeed = "BS: bytes per second; KBS: kilobytes (1,024 bytes) per second.";
constexpr const char *kIntervalTip =
    "Milliseconds between two samples, from 1 to 65535. The interface table counts bytes in 32 bits, so an "
    "interface that moves 4 GiB or more between two samples shows too little: above about 400 MB/s, keep "
    "the interval under 10000.";

using K = ControlKind;
using C = MonitorControl;

constexpr ControlLook kValueBox{kTextColour, TextAlign::Right, FrameStyle::Plain};
constexpr ControlLook kEtched{kTextColour, TextAlign::Left, FrameStyle::Etched};
constexpr ControlLook kGrey{kGreyColour};

// A caption that labels the control beside it, for a screen reader.
constexpr ControlLook Labels(C control) {
  return ControlLook{kTextColour, TextAlign::Left, FrameStyle::None, "", +control};
}
// A control named for a screen reader.
constexpr ControlLook Named(const char *name) {
  return ControlLook{kTextColour, TextAlign::Left, FrameStyle::None, name};
}

} // namespace

const std::vector<ControlLayout> &MonitorLayout() {
  static const std::vector<ControlLayout> layout = {
      {+C::PIC1, "PIC1", +C::Form, 0, 0, 5685, 1750, false, K::Picture, "", kSans, kGraphTip,
       Named("Download graph")},
      {+C::Frame2, "Frame2", +C::Form, 0, 1710, 5700, 2040, false, K::Frame, "", kSans, "", kEtched},
      {+C::lblDownloadSpeedTop, "lblDownloadSpeedTop", +C::Frame2, 45, 150, 1545, 195, true, K::Label,
       "Top download speed:", kTahoma, kTop},
      {+C::lblUploadSpeedTop, "lblUploadSpeedTop", +C::Frame2, 45, 390, 1335, 195, true, K::Label,
       "Top upload speed:", kTahoma, kTop},
      {+C::lblDownloadSpeedAverage, "lblDownloadSpeedAverage", +C::Frame2, 60, 645, 1890, 195, true, K::Label,
       "Average download speed:", kTahoma, kPerSecond},
      {+C::lblUploadSpeedAverage, "lblUploadSpeedAverage", +C::Frame2, 60, 885, 1680, 195, true, K::Label,
       "Average upload speed:", kTahoma, kPerSecond},
      {+C::cboConnectionType, "cboConnectionType", +C::Frame2, 60, 1155, 5460, 330, false, K::DropDownList,
       "", kArialBold, "", Named("Connection type")},
      {+C::Label1, "Label1", +C::Frame2, 0, 1560, 1650, 345, false, K::Label, " Connection type :", kArial,
       "", Labels(C::cboConnectionType)},
      {+C::lblType, "lblType", +C::Frame2, 1395, 1560, 4290, 465, false, K::Label, "TokenRing ", kArial, "",
       kGrey},
      {+C::Frame3, "Frame3", +C::Form, 0, 3660, 5700, 1770, false, K::Frame, "", kSans, "", kEtched},
      {+C::Label2, "Label2", +C::Frame3, 120, 280, 1170, 210, true, K::Label, " Received bytes", kArial, "",
       Labels(C::lblRecv)},
      {+C::lblRecv, "lblRecv", +C::Frame3, 1515, 225, 1650, 300, false, K::ValueBox, "Label1", kArial, kTotal,
       kValueBox},
      {+C::Label3, "Label3", +C::Frame3, 120, 650, 825, 210, true, K::Label, " Sent bytes", kArial, "",
       Labels(C::lblSent)},
      {+C::lblSent, "lblSent", +C::Frame3, 1515, 585, 1650, 300, false, K::ValueBox, "Label1", kArial, kTotal,
       kValueBox},
      {+C::Label4, "Label4", +C::Frame3, 120, 1000, 1275, 210, true, K::Label, " Download speed", kArial, "",
       Labels(C::lblDSpeed)},
      {+C::lblDSpeed, "lblDSpeed", +C::Frame3, 1515, 945, 1650, 300, false, K::ValueBox, "Label6", kArial,
       kSpeed, kValueBox},
      {+C::Label5, "Label5", +C::Frame3, 120, 1350, 1035, 210, true, K::Label, " Upload speed", kArial, "",
       Labels(C::lblUSpeed)},
      {+C::lblUSpeed, "lblUSpeed", +C::Frame3, 1515, 1305, 1650, 300, false, K::ValueBox, "Label7", kArial,
       kSpeed, kValueBox},
      {+C::Label6, "Label6", +C::Frame3, 3360, 285, 1080, 210, true, K::Label, "Update Interval", kArial, "",
       Labels(C::cboUpdateInterval)},
      {+C::cboUpdateInterval, "cboUpdateInterval", +C::Frame3, 4560, 240, 975, 315, false, K::DropDownEdit,
       "200", kSans, kIntervalTip, Named("Update Interval")},
      {+C::Image1, "Image1", +C::Frame3, 3720, 600, 480, 480, false, K::Image, "", kSans, "",
       Named("Tallyflow")},
      {+C::chkStartUp, "chkStartUp", +C::Frame3, 4560, 720, 855, 255, false, K::CheckBox, "Startup", kSans,
       ""},
      {+C::btnAbout, "btnAbout", +C::Frame3, 3480, 1200, 975, 375, false, K::Button, "About", kSans, ""},
      {+C::btnExit, "btnExit", +C::Frame3, 4560, 1200, 975, 375, false, K::Button, "Exit", kSans, ""},
  };
  return layout;
}

const std::vector<int> &MonitorTabOrder() {
  static const std::vector<int> order = {+C::cboConnectionType, +C::cboUpdateInterval, +C::chkStartUp,
                                         +C::btnAbout, +C::btnExit};
  return order;
}

std::optional<MonitorLabel> TickLabelOf(int control) {
  static const std::pair<C, MonitorLabel> labels[] = {
      {C::lblType, MonitorLabel::lblType},
      {C::lblRecv, MonitorLabel::lblRecv},
      {C::lblSent, MonitorLabel::lblSent},
      {C::lblDownloadSpeedTop, MonitorLabel::lblDownloadSpeedTop},
      {C::lblUploadSpeedTop, MonitorLabel::lblUploadSpeedTop},
      {C::lblDownloadSpeedAverage, MonitorLabel::lblDownloadSpeedAverage},
      {C::lblUploadSpeedAverage, MonitorLabel::lblUploadSpeedAverage},
      {C::lblDSpeed, MonitorLabel::lblDSpeed},
      {C::lblUSpeed, MonitorLabel::lblUSpeed},
  };
  for (const auto &[c, label] : labels) {
    if (+c == control) {
      return label;
    }
  }
  return std::nullopt;
}

std::vector<int> ListedIntervals() {
  std::vector<int> intervals;
  for (int ms = 100; ms <= 2000; ms += 100) {
    intervals.push_back(ms);
  }
  return intervals;
}

} // namespace tallyflow
