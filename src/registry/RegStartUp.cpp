#include "registry/RegStartUp.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace tallyflow {

std::optional<std::string> ReadRegStringBytes(IRegistry &registry, Hive hive, const std::string &keyPath,
                                              const std::string &valueName) {
  const RegKey key(registry, registry.OpenKey(hive, keyPath));
  if (!key) {
    return std::nullopt;
  }
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  registry.QueryValue(key.get(), valueName, &type, nullptr, &size);
  if (type != kRegSz) {
    return std::nullopt;
  }
  std::string bytes(size, ' ');
  if (registry.QueryValue(key.get(), valueName, &type, reinterpret_cast<std::byte *>(bytes.data()), &size) !=
      kRegSuccess) {
    return std::nullopt;
  }
  return bytes;
}

std::optional<std::string> GetRegValue(IRegistry &registry, Hive hive, const std::string &keyPath,
                                       const std::string &valueName) {
  auto bytes = ReadRegStringBytes(registry, hive, keyPath, valueName);
  if (bytes) {
    bytes->resize(bytes->find('\0') == std::string::npos ? bytes->size() : bytes->find('\0'));
  }
  return bytes; // up to the first NUL; without one (stored without it), all of it
}

bool SetRegValue(IRegistry &registry, Hive hive, const std::string &keyPath, const std::string &valueName,
                 const std::string &data) {
  return SetRegValues(registry, hive, keyPath, {{valueName, data}});
}

bool SetRegValues(IRegistry &registry, Hive hive, const std::string &keyPath,
                  const std::vector<std::pair<std::string, std::string>> &values) {
  const RegKey key(registry, registry.CreateKey(hive, keyPath));
  if (!key) {
    return false;
  }
  for (const auto &[name, data] : values) {
    if (registry.SetValue(key.get(), name, kRegSz, reinterpret_cast<const std::byte *>(data.data()),
                          static_cast<std::uint32_t>(data.size())) != kRegSuccess) {
      return false;
    }
  }
  return registry.FlushKey(key.get()) == kRegSuccess;
}

bool DeleteRegValue(IRegistry &registry, Hive hive, const std::string &keyPath,
                    const std::string &valueName) {
  const RegKey key(registry, registry.OpenKey(hive, keyPath));
  return key && registry.DeleteValue(key.get(), valueName) == kRegSuccess &&
         registry.FlushKey(key.get()) == kRegSuccess;
}

std::string GetFileName(const std::string &path, PathStyle style) {
  const char separator = style == PathStyle::Windows ? '\\' : '/';
  const auto last = path.rfind(separator);
  return last == std::string::npos ? path : path.substr(last + 1);
}

std::string JoinPath(const std::string &directory, const std::string &fileName, PathStyle style) {
  if (style == PathStyle::Windows) {
    const bool driveRoot = directory.size() >= 2 && directory.compare(directory.size() - 2, 2, ":\\") == 0;
    return driveRoot ? directory + fileName : directory + "\\" + fileName;
  }
  return directory == "/" ? directory + fileName : directory + "/" + fileName;
}

std::string StartUpEntryName(const std::string &fullPath, PathStyle style) {
  std::string name = GetFileName(fullPath, style);
  if (style == PathStyle::Windows && name.size() >= 4) {
    std::string suffix = name.substr(name.size() - 4);
    std::transform(suffix.begin(), suffix.end(), suffix.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (suffix == ".exe") {
      name.resize(name.size() - 4);
    }
  }
  return name;
}

bool AddStartUpEntry(IRegistry &registry, const std::string &fullPath, PathStyle style) {
  const std::string name = StartUpEntryName(fullPath, style);
  const bool quote = style == PathStyle::Windows && fullPath.find(' ') != std::string::npos;
  const std::string data = quote ? "\"" + fullPath + "\"" : fullPath;
  return SetRegValue(registry, Hive::LocalMachine, kRunKey, name, data) ||
         SetRegValue(registry, Hive::CurrentUser, kRunKey, name, data);
}

bool RemoveStartUpEntry(IRegistry &registry, const std::string &fullPath, PathStyle style) {
  const std::string name = StartUpEntryName(fullPath, style);
  DeleteRegValue(registry, Hive::LocalMachine, kRunKey, name);
  DeleteRegValue(registry, Hive::CurrentUser, kRunKey, name);
  return !GetRegValue(registry, Hive::LocalMachine, kRunKey, name) &&
         !GetRegValue(registry, Hive::CurrentUser, kRunKey, name);
}

std::string RegistrySettingsStore::GetSetting(const std::string &appName, const std::string &section,
                                              const std::string &key, const std::string &defaultValue) const {
  return GetRegValue(m_registry, Hive::CurrentUser,
                     "Software\\VB and VBA Program Settings\\" + appName + "\\" + section, key)
      .value_or(defaultValue);
}

} // namespace tallyflow
