#pragma once

#include <string>

namespace tallyflow {

// The per-application settings store: the default when the key is absent.
class ISettingsStore {
public:
  virtual ~ISettingsStore() = default;
  virtual std::string GetSetting(const std::string &appName, const std::string &section,
                                 const std::string &key, const std::string &defaultValue) const = 0;
};

} // namespace tallyflow
