#pragma once

#include "monitor/MonitorLabel.h"
#include "services/ControlLayout.h"

#include <optional>
#include <vector>

namespace tallyflow {

// The monitor window's client area, in twips.
inline constexpr int kMonitorClientWidth = 5685;
inline constexpr int kMonitorClientHeight = 5415;
inline constexpr const char *kMonitorDesignTitle = "Tallyflow Monitor";

// The monitor window's controls by their design names; Form is the window.
enum class MonitorControl : int {
  Form,
  PIC1,
  Frame2,
  lblDownloadSpeedTop,
  lblUploadSpeedTop,
  lblDownloadSpeedAverage,
  lblUploadSpeedAverage,
  cboConnectionType,
  Label1,
  lblType,
  Frame3,
  Label2,
  lblRecv,
  Label3,
  lblSent,
  Label4,
  lblDSpeed,
  Label5,
  lblUSpeed,
  Label6,
  cboUpdateInterval,
  Image1,
  chkStartUp,
  btnAbout,
  btnExit,
};
// The identifier as the layout's number.
constexpr int operator+(MonitorControl c) { return static_cast<int>(c); }

// The monitor window's controls, parents before their children, in the
// order they are made.
const std::vector<ControlLayout> &MonitorLayout();

// The controls that take the focus, in keyboard order.
const std::vector<int> &MonitorTabOrder();

// The label the tick writes as this control; nothing for others.
std::optional<MonitorLabel> TickLabelOf(int control);

// The intervals cboUpdateInterval lists: 100 to 2000 ms in steps of 100.
std::vector<int> ListedIntervals();

} // namespace tallyflow
