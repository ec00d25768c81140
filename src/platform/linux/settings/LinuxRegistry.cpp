#include "platform/linux/settings/LinuxRegistry.h"

#include "platform/PlatformRegistry.h"
#include "platform/linux/settings/DesktopEntry.h"
#include "platform/linux/settings/SafeFile.h"
#include "platform/linux/settings/UserHome.h"
#include "registry/RegStartUp.h"
#include "services/BuildInfo.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <pwd.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tallyflow {
namespace {

constexpr long kInvalidParameter = 87;
constexpr mode_t kSettingsMode = 0600; // the user's own settings
constexpr mode_t kEntryMode = 0644;    // read by the session at log-on
constexpr mode_t kUserFolderMode = 0700;
constexpr mode_t kMachineFolderMode = 0755;
// Longest wait for another running copy's save, so that Exit always ends quickly.
constexpr int kLockTimeoutMs = 500;

std::vector<std::string> SplitKeyPath(const std::string &keyPath) {
  std::vector<std::string> parts;
  std::string current;
  for (char c : keyPath + "\\") {
    if (c == '\\') {
      if (!current.empty()) {
        parts.push_back(current);
      }
      current.clear();
    } else {
      current += c;
    }
  }
  return parts;
}

bool SameText(const std::string &a, const std::string &b) {
  return a.size() == b.size() && strncasecmp(a.c_str(), b.c_str(), a.size()) == 0;
}

std::string EntryFile(const LinuxRegistry::Location &at, const std::string &valueName) {
  return at.path + "/" + valueName + ".desktop";
}

// A value name is one path component: no separators, not "." or "..".
bool SafeName(const std::string &valueName) {
  return !valueName.empty() && valueName != "." && valueName != ".." &&
         valueName.find_first_of("/\\") == std::string::npos && valueName.find('\0') == std::string::npos;
}

long CopyOut(const std::string &bytes, std::uint32_t *type, std::byte *data, std::uint32_t *size) {
  const auto needed = static_cast<std::uint32_t>(bytes.size());
  if (type != nullptr) {
    *type = kRegSz;
  }
  if (size == nullptr) {
    return kRegSuccess;
  }
  if (data == nullptr) {
    *size = needed;
    return kRegSuccess;
  }
  if (*size < needed) {
    *size = needed;
    return kRegMoreData;
  }
  std::memcpy(data, bytes.data(), needed);
  *size = needed;
  return kRegSuccess;
}

} // namespace

void LinuxRegistry::ReportToStandardError(const std::string &line) {
  std::fprintf(stderr, "tallyflow: %s\n", line.c_str());
  std::fflush(stderr);
}

LinuxRegistry::LinuxRegistry(std::string userConfigDir, std::string machineConfigDir, Reporter report)
    : m_user(std::move(userConfigDir)), m_machine(std::move(machineConfigDir)),
      m_userOwner(ForeignOwner(m_user)), m_report(std::move(report)) {}

void LinuxRegistry::Report(const std::string &line) {
  if (m_report && m_reported.insert(line).second) {
    m_report(line);
  }
}

bool LinuxRegistry::MayWrite(bool user) {
  if (user && !m_userOwner.empty()) {
    Report("settings left alone: " + m_user + " belongs to " + m_userOwner +
           ", and files root made there would shut them out");
    return false;
  }
  return true;
}

LinuxRegistry LinuxRegistry::FromEnvironment() {
  auto env = [](const char *name) -> std::string {
    const char *v = std::getenv(name);
    return v != nullptr ? v : "";
  };
  std::string user = env("XDG_CONFIG_HOME");
  if (user.empty() || user.front() != '/') {
    const std::string home = HomeDirectory();
    user = home.empty() ? "" : home + "/.config";
  }
  std::string machine = env("XDG_CONFIG_DIRS");
  machine = machine.substr(0, machine.find(':'));
  if (machine.empty() || machine.front() != '/') {
    machine = "/etc/xdg";
  }
  return LinuxRegistry(user, machine);
}

std::optional<LinuxRegistry::Location> LinuxRegistry::Resolve(Hive hive, const std::string &keyPath) const {
  const std::string &base = hive == Hive::LocalMachine ? m_machine : m_user;
  if (base.empty()) {
    return std::nullopt; // no place to keep anything
  }
  auto parts = SplitKeyPath(keyPath);
  for (const auto &part : parts) {
    if (part == "." || part == ".." || part.find('/') != std::string::npos) {
      return std::nullopt; // never a way out of the hive's directory
    }
  }
  const auto run = SplitKeyPath(kRunKey);
  if (parts.size() == run.size() && std::equal(parts.begin(), parts.end(), run.begin(), SameText)) {
    return Location{true, base + "/autostart", {}};
  }
  if (!parts.empty() && SameText(parts.front(), "Software")) {
    parts.erase(parts.begin());
  }
  if (parts.empty()) {
    return std::nullopt;
  }
  Location at;
  if (parts.size() == 1) {
    at.path = base + "/" + parts[0] + ".conf";
    return at;
  }
  at.path = base + "/" + parts[0] + "/" + parts[1] + ".conf";
  for (std::size_t i = 2; i < parts.size(); ++i) {
    at.group += (at.group.empty() ? "" : "/") + parts[i];
  }
  return at;
}

std::optional<IniText> LinuxRegistry::Current(const OpenKeyState &key, bool fresh) const {
  std::optional<IniText> ini = key.read;
  if (fresh || !ini) {
    FileRead file = ReadRegularFile(key.at.path);
    if (file.state == FileRead::State::Unusable) {
      return std::nullopt;
    }
    ini.emplace(file.bytes);
  }
  for (const auto &[name, text] : key.pending) {
    if (text) {
      ini->Set(key.at.group, name, *text);
    } else {
      ini->Remove(key.at.group, name);
    }
  }
  return ini;
}

std::optional<IRegistry::Handle> LinuxRegistry::OpenKey(Hive hive, const std::string &keyPath) {
  auto at = Resolve(hive, keyPath);
  if (!at) {
    return std::nullopt;
  }
  std::error_code error;
  std::optional<IniText> read;
  if (at->autostart) {
    if (!std::filesystem::is_directory(at->path, error)) {
      return std::nullopt;
    }
  } else {
    // A key exists while its file can be read and its group holds a value.
    const FileRead file = ReadRegularFile(at->path);
    if (file.state != FileRead::State::Regular) {
      return std::nullopt;
    }
    read.emplace(file.bytes);
    if (!read->HasKeys(at->group)) {
      return std::nullopt;
    }
  }
  m_open.emplace(m_next, OpenKeyState{std::move(*at), hive == Hive::CurrentUser, std::move(read), {}});
  return m_next++;
}

long LinuxRegistry::OpenKeyEx(Hive hive, const std::string &keyPath, std::uint32_t, Handle *result) {
  const auto key = OpenKey(hive, keyPath);
  *result = key.value_or(0);
  return key ? kRegSuccess : kRegFileNotFound;
}

std::optional<IRegistry::Handle> LinuxRegistry::CreateKey(Hive hive, const std::string &keyPath) {
  auto at = Resolve(hive, keyPath);
  if (!at) {
    return std::nullopt;
  }
  const bool user = hive == Hive::CurrentUser;
  if (!MayWrite(user)) {
    return std::nullopt;
  }
  // The user's folders are private (0700); the machine's are read by every
  // session at log-on.
  const std::string dir = at->autostart ? at->path : DirectoryOf(at->path);
  if (!MakeDirectories(dir, user ? kUserFolderMode : kMachineFolderMode)) {
    if (user) {
      Report("settings not saved: cannot make the folder " + dir + ": " + std::strerror(errno));
    }
    return std::nullopt;
  }
  m_open.emplace(m_next, OpenKeyState{std::move(*at), user, std::nullopt, {}});
  return m_next++;
}

long LinuxRegistry::QueryValue(Handle key, const std::string &valueName, std::uint32_t *type, std::byte *data,
                               std::uint32_t *size) {
  const auto it = m_open.find(key);
  if (it == m_open.end()) {
    return kInvalidParameter;
  }
  const Location &at = it->second.at;
  if (at.autostart) {
    if (!SafeName(valueName)) {
      return kRegFileNotFound;
    }
    const FileRead file = ReadRegularFile(EntryFile(at, valueName));
    const auto exec = FindExecValue(file.bytes);
    const auto program = exec ? ProgramOfExec(*exec) : std::nullopt;
    if (file.state != FileRead::State::Regular || !program) {
      return kRegFileNotFound;
    }
    return CopyOut(*program, type, data, size);
  }
  // Read as it was at opening, unless this handle changed it since.
  const OpenKeyState &state = it->second;
  std::optional<IniText> changed;
  const IniText *ini = nullptr;
  if (state.pending.empty() && state.read) {
    ini = &*state.read;
  } else if ((changed = Current(state, false))) {
    ini = &*changed;
  }
  const auto value = ini != nullptr ? ini->Get(at.group, valueName) : std::nullopt;
  if (!value) {
    return kRegFileNotFound;
  }
  if (!value->isText) {
    // Something other than a text (a hand-edited @Variant, a list): not a REG_SZ.
    if (type != nullptr) {
      *type = 3; // REG_BINARY
    }
    return kRegSuccess;
  }
  return CopyOut(value->text, type, data, size);
}

long LinuxRegistry::SetValue(Handle key, const std::string &valueName, std::uint32_t type,
                             const std::byte *data, std::uint32_t size) {
  const auto it = m_open.find(key);
  if (it == m_open.end() || type != kRegSz) {
    return kInvalidParameter; // this store keeps texts only
  }
  const Location &at = it->second.at;
  std::string text(reinterpret_cast<const char *>(data), size);
  if (at.autostart) {
    // One file per value: written whole, or not at all.
    if (!SafeName(valueName)) {
      return kInvalidParameter;
    }
    if (!MayWrite(it->second.user)) {
      return kRegAccessDenied;
    }
    // Named as the program is, not by its file: what a session's list of
    // start-up programs shows.
    const std::string file = EntryFile(at, valueName);
    const auto entry = AutostartEntry(build::kTitle, text);
    const int error = entry ? ReplaceFile(file, *entry, kEntryMode) : EINVAL;
    if (error != 0 && it->second.user) {
      Report("start-up entry not written to " + file + ": " +
             (entry ? std::strerror(error) : "no desktop launcher can run a path with both % and ="));
    }
    return error == 0 ? kRegSuccess : kRegAccessDenied;
  }
  it->second.pending.emplace_back(valueName, std::move(text));
  return kRegSuccess;
}

long LinuxRegistry::DeleteValue(Handle key, const std::string &valueName) {
  const auto it = m_open.find(key);
  if (it == m_open.end()) {
    return kInvalidParameter;
  }
  const Location &at = it->second.at;
  if (at.autostart) {
    // The entry itself goes, also when it is a link; its target stays.
    struct stat st {};
    const std::string entry = EntryFile(at, valueName);
    if (!SafeName(valueName) || ::lstat(entry.c_str(), &st) != 0) {
      return kRegFileNotFound;
    }
    if (!MayWrite(it->second.user)) {
      return kRegAccessDenied;
    }
    return ::unlink(entry.c_str()) == 0 ? kRegSuccess : kRegAccessDenied;
  }
  const auto ini = Current(it->second, false);
  if (!ini || !ini->Get(at.group, valueName)) {
    return kRegFileNotFound;
  }
  it->second.pending.emplace_back(valueName, std::nullopt);
  return kRegSuccess;
}

long LinuxRegistry::FlushKey(Handle key) {
  const auto it = m_open.find(key);
  if (it == m_open.end()) {
    return kInvalidParameter;
  }
  OpenKeyState &state = it->second;
  if (state.pending.empty()) {
    return kRegSuccess;
  }
  if (!MayWrite(state.user)) {
    state.pending.clear();
    return kRegAccessDenied;
  }
  // Read, change and replace under the lock, so that a second running copy
  // neither loses our change nor has its own lost.
  const FileLock lock(state.at.path, kLockTimeoutMs);
  std::string fault;
  if (lock.state() == FileLock::State::Busy) {
    fault = "another running copy kept it locked";
  } else if (const auto ini = Current(state, true); !ini) {
    fault = "what is there is not a settings file that can be read";
  } else if (const int error = ReplaceFile(state.at.path, ini->Text(), kSettingsMode); error != 0) {
    fault = std::strerror(error);
  }
  state.pending.clear(); // landed, or dropped whole: never half
  if (!fault.empty()) {
    Report("settings not saved to " + state.at.path + ": " + fault);
    return kRegAccessDenied;
  }
  return kRegSuccess;
}

long LinuxRegistry::CloseKey(Handle key) {
  if (!m_open.contains(key)) {
    return kInvalidParameter;
  }
  FlushKey(key); // as the registry does, changes not flushed yet are written on close
  m_open.erase(key);
  return kRegSuccess;
}

std::unique_ptr<IRegistry> MakePlatformRegistry() {
  return std::make_unique<LinuxRegistry>(LinuxRegistry::FromEnvironment());
}

// The Run value's program path, as the start-up entry writes it.
PathStyle NativePathStyle() { return PathStyle::Posix; }

} // namespace tallyflow
