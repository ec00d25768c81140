#pragma once

#include "registry/IRegistry.h"
#include "services/ISettingsStore.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tallyflow {

// How paths are written: Windows uses "\" and drive roots ("C:\") and names
// executables with ".exe"; POSIX systems use "/" and the root "/".
enum class PathStyle { Windows, Posix };

inline constexpr const char *kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

// The bytes of a REG_SZ value as the size query gave them, a stored NUL
// included; nothing for a missing key or value, another type, or a failed
// read.
std::optional<std::string> ReadRegStringBytes(IRegistry &registry, Hive hive, const std::string &keyPath,
                                              const std::string &valueName);

// The text of a REG_SZ value; nothing for a missing key or value, another
// type, or a failed read. The empty text is a text.
std::optional<std::string> GetRegValue(IRegistry &registry, Hive hive, const std::string &keyPath,
                                       const std::string &valueName);

// Writes a REG_SZ value, creating the key path whole. True when written.
bool SetRegValue(IRegistry &registry, Hive hive, const std::string &keyPath, const std::string &valueName,
                 const std::string &data);

// Writes several REG_SZ values under one key, flushed together: where the
// store can (the Linux files), they land all or none. True when written.
bool SetRegValues(IRegistry &registry, Hive hive, const std::string &keyPath,
                  const std::vector<std::pair<std::string, std::string>> &values);

// Deletes a value; a missing key or value changes nothing. True when deleted.
bool DeleteRegValue(IRegistry &registry, Hive hive, const std::string &keyPath, const std::string &valueName);

// The text after the last separator: C:\Apps\monitor.exe gives monitor.exe.
std::string GetFileName(const std::string &path, PathStyle style);

// Directory and file name with one separator between, none after a root
// (C:\ or /): C:\Apps + monitor.exe gives C:\Apps\monitor.exe.
std::string JoinPath(const std::string &directory, const std::string &fileName, PathStyle style);

// The start-up entry's name: the file name without its ".exe" on Windows.
std::string StartUpEntryName(const std::string &fullPath, PathStyle style);

// Makes the program start at log-on: the machine-wide entry, or the user's
// own when the machine-wide one cannot be written. On Windows a path with a
// blank is written in double quotes, so that C:\Program Files\... never runs
// C:\Program.exe. True when an entry now exists.
bool AddStartUpEntry(IRegistry &registry, const std::string &fullPath, PathStyle style);

// Removes the machine-wide and the user's entry. True when neither remains.
bool RemoveStartUpEntry(IRegistry &registry, const std::string &fullPath, PathStyle style);

// The per-application settings store on the registry, where Windows keeps
// it: HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<app>\<section>.
class RegistrySettingsStore final : public ISettingsStore {
public:
  explicit RegistrySettingsStore(IRegistry &registry) : m_registry(registry) {}
  std::string GetSetting(const std::string &appName, const std::string &section, const std::string &key,
                         const std::string &defaultValue) const override;

private:
  IRegistry &m_registry;
};

} // namespace tallyflow
