#pragma once

#include "services/ISettingsStore.h"

#include <map>
#include <string>

namespace tallyflow::test {

// Settings by "app\\section\\key", or a real store's; every read counted.
struct FakeSettings final : ISettingsStore {
  std::string GetSetting(const std::string &app, const std::string &section, const std::string &key,
                         const std::string &def) const override {
    ++reads;
    if (store != nullptr) {
      return store->GetSetting(app, section, key, def);
    }
    const auto it = values.find(app + "\\" + section + "\\" + key);
    return it == values.end() ? def : it->second;
  }
  std::map<std::string, std::string> values;
  const ISettingsStore *store = nullptr; // a real store instead of `values`
  mutable int reads = 0;
};

} // namespace tallyflow::test
