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

} // namespace

const std::vector<ControlLayout> &MonitorLayout() {
  static const std::vector<ControlLayout> layout = {
      {"PIC1", "", 0, 0, 5685, 1750, false, K::Picture, "", kSans, kGraphTip},
      {"Frame2", "", 0, 1710, 5700, 2040, false, K::Frame, "", kSans, ""},
      {"lblDownloadSpeedTop", "Frame2", 45, 150, 1545, 195, true, K::Label, "Top download speed:", kTahoma,
       kTop},
      {"lblUploadSpeedTop", "Frame2", 45, 390, 1335, 195, true, K::Label, "Top upload speed:", kTahoma, kTop},
      {"lblDownloadSpeedAverage", "Frame2", 60, 645, 1890, 195, true, K::Label,
       "Average download speed:", kTahoma, kPerSecond},
      {"lblUploadSpeedAverage", "Frame2", 60, 885, 1680, 195, true, K::Label,
       "Average upload speed:", kTahoma, kPerSecond},
      {"cboConnectionType", "Frame2", 60, 1155, 5460, 330, false, K::DropDownList, "", kArialBold, ""},
      {"Label1", "Frame2", 0, 1560, 1650, 345, false, K::Label, " Connection type :", kArial, ""},
      {"lblType", "Frame2", 1395, 1560, 4290, 465, false, K::Label, "TokenRing ", kArial, ""},
      {"Frame3", "", 0, 3660, 5700, 1770, false, K::Frame, "", kSans, ""},
      {"Label2", "Frame3", 120, 280, 1170, 210, true, K::Label, " Received bytes", kArial, ""},
      {"lblRecv", "Frame3", 1515, 225, 1650, 300, false, K::ValueBox, "Label1", kArial, kTotal},
      {"Label3", "Frame3", 120, 650, 825, 210, true, K::Label, " Sent bytes", kArial, ""},
      {"lblSent", "Frame3", 1515, 585, 1650, 300, false, K::ValueBox, "Label1", kArial, kTotal},
      {"Label4", "Frame3", 120, 1000, 1275, 210, true, K::Label, " Download speed", kArial, ""},
      {"lblDSpeed", "Frame3", 1515, 945, 1650, 300, false, K::ValueBox, "Label6", kArial, kSpeed},
      {"Label5", "Frame3", 120, 1350, 1035, 210, true, K::Label, " Upload speed", kArial, ""},
      {"lblUSpeed", "Frame3", 1515, 1305, 1650, 300, false, K::ValueBox, "Label7", kArial, kSpeed},
      {"Label6", "Frame3", 3360, 285, 1080, 210, true, K::Label, "Update Interval", kArial, ""},
      {"cboUpdateInterval", "Frame3", 4560, 240, 975, 315, false, K::DropDownEdit, "200", kSans,
       kIntervalTip},
      {"Image1", "Frame3", 3720, 600, 480, 480, false, K::Image, "", kSans, ""},
      {"chkStartUp", "Frame3", 4560, 720, 855, 255, false, K::CheckBox, "Startup", kSans, ""},
      {"btnAbout", "Frame3", 3480, 1200, 975, 375, false, K::Button, "About", kSans, ""},
      {"btnExit", "Frame3", 4560, 1200, 975, 375, false, K::Button, "Exit", kSans, ""},
  };
  return layout;
}

const std::vector<const char *> &MonitorTabOrder() {
  static const std::vector<const char *> order = {"cboConnectionType", "cboUpdateInterval", "chkStartUp",
                                                  "btnAbout", "btnExit"};
  return order;
}

std::optional<MonitorLabel> TickLabelOf(std::string_view name) {
  static const std::pair<std::string_view, MonitorLabel> labels[] = {
      {"lblType", MonitorLabel::lblType},
      {"lblRecv", MonitorLabel::lblRecv},
      {"lblSent", MonitorLabel::lblSent},
      {"lblDownloadSpeedTop", MonitorLabel::lblDownloadSpeedTop},
      {"lblUploadSpeedTop", MonitorLabel::lblUploadSpeedTop},
      {"lblDownloadSpeedAverage", MonitorLabel::lblDownloadSpeedAverage},
      {"lblUploadSpeedAverage", MonitorLabel::lblUploadSpeedAverage},
      {"lblDSpeed", MonitorLabel::lblDSpeed},
      {"lblUSpeed", MonitorLabel::lblUSpeed},
  };
  for (const auto &[n, label] : labels) {
    if (n == name) {
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
