#pragma once

#include "graph/DrawingSurface.h"
#include "monitor/MonitorLabel.h"
#include "services/ITimer.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tallyflow {

// A rectangle in twips (1/1440 inch).
struct TwipsRect {
  double left = 0, top = 0, width = 0, height = 0;
  double right() const { return left + width; }
  double bottom() const { return top + height; }
};

enum class WindowState { Normal, Minimised, Maximised };

// The monitor window as its logic sees it: the controls, its place on the
// screen and its state. Each front end implements it over its own toolkit;
// tests implement it with a fake, so the logic runs without a display.
class IMonitorWindow {
public:
  virtual ~IMonitorWindow() = default;

  virtual ITimer &tmrUpdate() = 0;
  virtual ITimer &Timer1() = 0;
  virtual DrawingSurface &PIC1() = 0;

  // cboUpdateInterval's text: what the user chose or typed.
  virtual std::string UpdateIntervalText() const = 0;
  virtual void UpdateIntervalText(const std::string &text) = 0;

  // cboConnectionType: a plain list of texts. The selected index is -1 for
  // none; selecting outside -1..count-1 fails (false).
  virtual std::int16_t ConnectionIndex() const = 0;
  virtual bool ConnectionIndex(std::int16_t index) = 0;
  virtual int ConnectionCount() const = 0;
  virtual void ConnectionClear() = 0;
  virtual void ConnectionAdd(const std::string &text) = 0;

  // Label captions: reading returns the text last set. A write may fail.
  virtual bool Caption(MonitorLabel label, const std::string &text) = 0;
  virtual const std::string &Caption(MonitorLabel label) const = 0;
  // The text of the title bar and task bar.
  virtual void Title(const std::string &text) = 0;

  // chkStartUp's tick. Setting it raises no click: the logic decides.
  virtual bool StartUpBox() const = 0;
  virtual void StartUpBox(bool checked) = 0;

  // The window's outer edges, frame included; nothing where the system
  // keeps the window's place from it (Wayland).
  virtual std::optional<TwipsRect> OuterBounds() const = 0;
  // Places the outer top-left corner.
  virtual void MoveOuter(double leftTwips, double topTwips) = 0;
  // The primary screen whole, and each screen's area left to windows (the
  // work area, without task bars and panels).
  virtual TwipsRect PrimaryScreen() const = 0;
  virtual std::vector<TwipsRect> WorkAreas() const = 0;

  virtual WindowState State() const = 0;
  // Shows the window for the first time, normal or minimised.
  virtual void Show(WindowState state) = 0;
};

} // namespace tallyflow
