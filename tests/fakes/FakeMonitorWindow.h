#pragma once

#include "fakes/FakeTimer.h"
#include "fakes/RecordingSurface.h"
#include "monitor/IMonitorWindow.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace tallyflow::test {

// The monitor window with no toolkit: one 1024 × 768 pixel screen (twips
// here) whose work area leaves a 40-pixel panel at the bottom, and a window
// whose frame adds `frame` twips around a 379 × 361 pixel client area.
// Faults to inject: label writes that fail.
class FakeMonitorWindow final : public IMonitorWindow {
public:
  ITimer &tmrUpdate() override { return update; }
  ITimer &Timer1() override { return timer1; }
  DrawingSurface &PIC1() override { return surface; }
  std::string UpdateIntervalText() const override { return intervalText; }
  void UpdateIntervalText(const std::string &text) override { intervalText = text; }
  std::int16_t ConnectionIndex() const override { return index; }
  bool ConnectionIndex(std::int16_t i) override {
    if (i < -1 || i >= static_cast<int>(list.size())) {
      return false;
    }
    index = i;
    return true;
  }
  int ConnectionCount() const override { return static_cast<int>(list.size()); }
  void ConnectionClear() override {
    list.clear();
    index = -1;
    ++clears;
  }
  void ConnectionAdd(const std::string &text) override { list.push_back(text); }
  bool Caption(MonitorLabel label, const std::string &text) override {
    if (failing.count(label)) {
      return false;
    }
    captions[label] = text;
    return true;
  }
  const std::string &Caption(MonitorLabel label) const override {
    static const std::string kNone;
    const auto it = captions.find(label);
    return it == captions.end() ? kNone : it->second;
  }
  void Title(const std::string &text) override { title = text; }
  bool StartUpBox() const override { return startUp; }
  void StartUpBox(bool checked) override { startUp = checked; }
  std::optional<TwipsRect> OuterBounds() const override {
    if (!placeable) {
      return std::nullopt;
    }
    return TwipsRect{left, top, 5685 + 2 * frame, 5415 + frame + titleBar};
  }
  void MoveOuter(double l, double t) override {
    left = l;
    top = t;
    ++moves;
  }
  TwipsRect PrimaryScreen() const override { return screens.front(); }
  std::vector<TwipsRect> WorkAreas() const override { return workAreas; }
  WindowState State() const override { return state; }
  void Show(WindowState s) override {
    state = s;
    ++shows;
  }

  // The user ticks or unticks the box.
  template <typename Form> void ClickStartUp(Form &form) {
    startUp = !startUp;
    form.chkStartUp_Click();
  }

  FakeTimer update;
  FakeTimer timer1;
  RecordingSurface surface{379, 117};
  std::string intervalText = "200"; // the design text
  std::vector<std::string> list;
  std::int16_t index = -1;
  int clears = 0;
  std::map<MonitorLabel, std::string> captions;
  std::set<MonitorLabel> failing;
  std::string title = "Tallyflow Monitor";
  bool startUp = false;
  bool placeable = true; // false: the system places the window (Wayland)
  double left = 0, top = 0;
  double frame = 60, titleBar = 360; // twips
  int moves = 0;
  std::vector<TwipsRect> screens{{0, 0, 1024 * 15, 768 * 15}};
  std::vector<TwipsRect> workAreas{{0, 0, 1024 * 15, 728 * 15}};
  WindowState state = WindowState::Normal;
  int shows = 0;
};

} // namespace tallyflow::test
