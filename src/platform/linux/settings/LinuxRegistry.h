#pragma once

#include "platform/linux/settings/IniText.h"
#include "registry/IRegistry.h"

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace tallyflow {

// The registry's two hives as files a Linux user can find, following the
// XDG base-directory conventions. A key path maps to an INI file in the
// dialect QSettings writes: "Software\Quorrin Software\Tallyflow\Main" is
// the group [Main] of "Quorrin Software/Tallyflow.conf" under the hive's
// directory (a leading "Software\" dropped, then the organisation folder, the
// application file, the group path). The Run key maps to the XDG autostart
// directory: a value is a desktop entry "<name>.desktop" whose Exec runs the
// value's data.
//
// Changes to a settings key wait under its handle until FlushKey (or
// CloseKey) and then land together in one atomic replace of the file, made
// under a lock on its directory; other groups and keys in the file are kept.
// Only regular files are read; nothing is ever written through a link.
//
// A save of the user's that is dropped (a settings file, the user's own
// start-up entry) is said once, with the file and the reason, through
// `report`: by default one line on standard error, which a desktop session
// keeps in the user's journal. Run as root with a user folder that belongs
// to someone else (sudo -E), the user's files are read but never written:
// what root made there would shut their owner out.
class LinuxRegistry final : public IRegistry {
public:
  using Reporter = std::function<void(const std::string &line)>;
  static void ReportToStandardError(const std::string &line);

  // userConfigDir: $XDG_CONFIG_HOME; machineConfigDir: the first directory
  // of $XDG_CONFIG_DIRS.
  LinuxRegistry(std::string userConfigDir, std::string machineConfigDir,
                Reporter report = ReportToStandardError);

  // The directories from the environment: $XDG_CONFIG_HOME (default
  // ~/.config, the home from $HOME or else the password database; no user
  // hive at all without one) and the first of $XDG_CONFIG_DIRS (default
  // /etc/xdg).
  static LinuxRegistry FromEnvironment();

  std::optional<Handle> OpenKey(Hive hive, const std::string &keyPath) override;
  // The files know no access rights of their own: the key opens as by OpenKey.
  long OpenKeyEx(Hive hive, const std::string &keyPath, std::uint32_t samDesired, Handle *result) override;
  std::optional<Handle> CreateKey(Hive hive, const std::string &keyPath) override;
  long QueryValue(Handle key, const std::string &valueName, std::uint32_t *type, std::byte *data,
                  std::uint32_t *size) override;
  long SetValue(Handle key, const std::string &valueName, std::uint32_t type, const std::byte *data,
                std::uint32_t size) override;
  long DeleteValue(Handle key, const std::string &valueName) override;
  long FlushKey(Handle key) override;
  long CloseKey(Handle key) override;

  // Where a key lives: the INI file and group, or the autostart directory.
  struct Location {
    bool autostart = false;
    std::string path;  // file (settings) or directory (autostart)
    std::string group; // "Main", "a/b"; empty for the file's top level
  };
  std::optional<Location> Resolve(Hive hive, const std::string &keyPath) const;

private:
  struct OpenKeyState {
    Location at;
    bool user = false; // in the user's hive
    // The settings file as it was read when the key opened: what the key's
    // values read, however many are queried.
    std::optional<IniText> read;
    // Settings changes not yet on disk, in order: a text to set, or nothing to delete.
    std::vector<std::pair<std::string, std::optional<std::string>>> pending;
  };
  // The key's file with the pending changes: as read at opening, or
  // `fresh` from the disk; nothing when the file cannot be used.
  std::optional<IniText> Current(const OpenKeyState &key, bool fresh) const;
  // False, and said once, when the user's files are not ours to write.
  bool MayWrite(bool user);
  // One line per distinct fault, however often it recurs.
  void Report(const std::string &line);

  std::string m_user; // empty: no user hive
  std::string m_machine;
  std::string m_userOwner; // who owns the user hive, when that is not us under root
  Reporter m_report;
  std::set<std::string> m_reported;
  std::map<Handle, OpenKeyState> m_open;
  Handle m_next = 1;
};

} // namespace tallyflow
