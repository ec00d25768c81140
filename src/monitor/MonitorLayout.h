#pragma once

#include "monitor/MonitorLabel.h"
#include "services/ControlLayout.h"

#include <optional>
#include <string_view>

#include <vector>

namespace tallyflow {

// The monitor window's client area, in twips.
inline constexpr int kMonitorClientWidth = 5685;
inline constexpr int kMonitorClientHeight = 5415;
inline constexpr const char *kMonitorDesignTitle = "Tallyflow Monitor";

// The monitor window's controls, parents before their children, in the
// order they are made.
const std::vector<ControlLayout> &MonitorLayout();

// The controls that take the focus, in keyboard order.
const std::vector<const char *> &MonitorTabOrder();

// The label the tick writes by this name in the layout; nothing for others.
std::optional<MonitorLabel> TickLabelOf(std::string_view name);

// The intervals cboUpdateInterval lists: 100 to 2000 ms in steps of 100.
std::vector<int> ListedIntervals();

} // namespace tallyflow
