#pragma once

#include "FakeClock.h"
#include "FakeTimer.h"
#include "IMonitorView.h"
#include "ISettingsStore.h"

#include <functional>
#include <map>
#include <set>
#include <vector>

namespace tallyflow::test {

// The monitor window as the tick sees it, with faults to inject: label
// writes that fail, and a hook that runs at every yield.
class FakeMonitorView final : public IMonitorView {
public:
  ITimer &tmrUpdate() override { return update; }
  ITimer &Timer1() override { return timer1; }
  std::string UpdateIntervalText() const override { return intervalText; }
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
  void DoEvents() override {
    ++yields;
    if (onYield) {
      onYield(yields);
    }
  }
  std::string GetSetting(const std::string &app, const std::string &section, const std::string &key,
                         const std::string &def) const override {
    ++settingReads;
    if (store != nullptr) {
      return store->GetSetting(app, section, key, def);
    }
    const auto it = settings.find(app + "\\" + section + "\\" + key);
    return it == settings.end() ? def : it->second;
  }

  FakeTimer update;
  FakeTimer timer1;
  std::string intervalText = "200";
  std::vector<std::string> list;
  std::int16_t index = -1;
  int clears = 0;
  std::map<MonitorLabel, std::string> captions;
  std::set<MonitorLabel> failing;
  std::string title;
  int yields = 0;
  std::function<void(int)> onYield;
  std::map<std::string, std::string> settings;
  const ISettingsStore *store = nullptr; // a real store instead of `settings`
  mutable int settingReads = 0;
};

} // namespace tallyflow::test
