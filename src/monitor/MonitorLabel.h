#pragma once

namespace tallyflow {

// The labels the tick writes.
enum class MonitorLabel {
  lblType,
  lblRecv,
  lblSent,
  lblDownloadSpeedTop,
  lblUploadSpeedTop,
  lblDownloadSpeedAverage,
  lblUploadSpeedAverage,
  lblDSpeed,
  lblUSpeed,
};

} // namespace tallyflow
