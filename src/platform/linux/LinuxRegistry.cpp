#include "LinuxRegistry.h"

#include "DesktopEntry.h"
#include "PlatformRegistry.h"
#include "RegStartUp.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace tallyflow {
namespace {

constexpr long kInvalidParameter = 87;

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

QString Q(const std::string &s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

QString SettingsKey(const LinuxRegistry::Location &at, const std::string &valueName) {
  return at.group.empty() ? Q(valueName) : Q(at.group) + "/" + Q(valueName);
}

QString EntryFile(const LinuxRegistry::Location &at, const std::string &valueName) {
  return Q(at.path) + "/" + Q(valueName) + ".desktop";
}

// A value name is one path component: no separators, not "." or "..".
bool SafeName(const std::string &valueName) {
  return !valueName.empty() && valueName != "." && valueName != ".." &&
         valueName.find_first_of("/\\") == std::string::npos && valueName.find('\0') == std::string::npos;
}

long CopyOut(const QByteArray &bytes, std::uint32_t *type, std::byte *data, std::uint32_t *size) {
  const auto needed = static_cast<std::uint32_t>(bytes.size());
  if (type != nullptr) {
    *type = REG_SZ;
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
  std::memcpy(data, bytes.constData(), needed);
  *size = needed;
  return kRegSuccess;
}

// Writes the change to disk. QSettings keeps an unsaved change in its
// in-process cache and would read it back; when the file cannot be written,
// the change is undone there too, so a failed write changes nothing at all.
long Commit(QSettings &s, const QString &name, const QVariant &old) {
  s.sync();
  if (s.status() == QSettings::NoError) {
    return kRegSuccess;
  }
  if (old.isValid()) {
    s.setValue(name, old);
  } else {
    s.remove(name);
  }
  return kRegAccessDenied;
}

} // namespace

LinuxRegistry::LinuxRegistry(std::string userConfigDir, std::string machineConfigDir)
    : m_user(std::move(userConfigDir)), m_machine(std::move(machineConfigDir)) {}

LinuxRegistry LinuxRegistry::FromEnvironment() {
  auto env = [](const char *name) -> std::string {
    const char *v = std::getenv(name);
    return v != nullptr ? v : "";
  };
  std::string user = env("XDG_CONFIG_HOME");
  if (user.empty() || user.front() != '/') {
    user = QDir::homePath().toStdString() + "/.config";
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

std::optional<IRegistry::Handle> LinuxRegistry::OpenKey(Hive hive, const std::string &keyPath) {
  const auto at = Resolve(hive, keyPath);
  if (!at) {
    return std::nullopt;
  }
  if (at->autostart) {
    if (!QFileInfo(Q(at->path)).isDir()) {
      return std::nullopt;
    }
  } else {
    if (!QFileInfo(Q(at->path)).isFile()) {
      return std::nullopt;
    }
    QSettings s(Q(at->path), QSettings::IniFormat);
    // A corrupt file reads as empty. (An access error only says that an
    // earlier change could not be saved; reading is unaffected.)
    if (s.status() == QSettings::FormatError) {
      return std::nullopt;
    }
    if (!at->group.empty()) {
      s.beginGroup(Q(at->group));
      if (s.allKeys().isEmpty()) {
        return std::nullopt; // the group holds no value: the key is missing
      }
    }
  }
  m_open.emplace(m_next, *at);
  return m_next++;
}

std::optional<IRegistry::Handle> LinuxRegistry::CreateKey(Hive hive, const std::string &keyPath) {
  const auto at = Resolve(hive, keyPath);
  if (!at) {
    return std::nullopt;
  }
  const QString dir = at->autostart ? Q(at->path) : QFileInfo(Q(at->path)).absolutePath();
  if (!QDir().mkpath(dir)) {
    return std::nullopt;
  }
  m_open.emplace(m_next, *at);
  return m_next++;
}

long LinuxRegistry::QueryValue(Handle key, const std::string &valueName, std::uint32_t *type, std::byte *data,
                               std::uint32_t *size) {
  const auto it = m_open.find(key);
  if (it == m_open.end()) {
    return kInvalidParameter;
  }
  const Location &at = it->second;
  if (at.autostart) {
    if (!SafeName(valueName)) {
      return kRegFileNotFound;
    }
    QFile file(EntryFile(at, valueName));
    if (!file.open(QIODevice::ReadOnly)) {
      return kRegFileNotFound;
    }
    const auto exec = FindExecValue(file.readAll().toStdString());
    const auto args = exec ? ParseDesktopExec(*exec) : std::nullopt;
    if (!args || args->size() != 1) {
      return kRegFileNotFound;
    }
    return CopyOut(QByteArray::fromStdString(args->front()), type, data, size);
  }
  QSettings s(Q(at.path), QSettings::IniFormat);
  if (s.status() == QSettings::FormatError) {
    return kRegFileNotFound;
  }
  const QVariant value = s.value(SettingsKey(at, valueName));
  if (!value.isValid()) {
    return kRegFileNotFound;
  }
  if (value.typeId() != QMetaType::QString) {
    // Something other than a text (a hand-edited @Variant, a list): not a REG_SZ.
    if (type != nullptr) {
      *type = 3; // REG_BINARY
    }
    return kRegSuccess;
  }
  return CopyOut(value.toString().toUtf8(), type, data, size);
}

long LinuxRegistry::SetValue(Handle key, const std::string &valueName, std::uint32_t type,
                             const std::byte *data, std::uint32_t size) {
  const auto it = m_open.find(key);
  if (it == m_open.end() || type != REG_SZ) {
    return kInvalidParameter; // this store keeps texts only
  }
  const Location &at = it->second;
  const std::string text(reinterpret_cast<const char *>(data), size);
  if (at.autostart) {
    if (!SafeName(valueName)) {
      return kInvalidParameter;
    }
    QSaveFile file(EntryFile(at, valueName));
    const std::string entry = AutostartEntry(valueName, text);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(entry.data(), static_cast<qint64>(entry.size())) != static_cast<qint64>(entry.size()) ||
        !file.commit()) {
      return kRegAccessDenied;
    }
    return kRegSuccess;
  }
  QSettings s(Q(at.path), QSettings::IniFormat);
  const QString name = SettingsKey(at, valueName);
  const QVariant old = s.value(name);
  s.setValue(name, Q(text));
  return Commit(s, name, old);
}

long LinuxRegistry::DeleteValue(Handle key, const std::string &valueName) {
  const auto it = m_open.find(key);
  if (it == m_open.end()) {
    return kInvalidParameter;
  }
  const Location &at = it->second;
  if (at.autostart) {
    if (!SafeName(valueName) || !QFile::exists(EntryFile(at, valueName))) {
      return kRegFileNotFound;
    }
    return QFile::remove(EntryFile(at, valueName)) ? kRegSuccess : kRegAccessDenied;
  }
  QSettings s(Q(at.path), QSettings::IniFormat);
  const QString name = SettingsKey(at, valueName);
  if (s.status() == QSettings::FormatError || !s.contains(name)) {
    return kRegFileNotFound;
  }
  const QVariant old = s.value(name);
  s.remove(name);
  return Commit(s, name, old);
}

long LinuxRegistry::CloseKey(Handle key) { return m_open.erase(key) == 1 ? kRegSuccess : kInvalidParameter; }

std::unique_ptr<IRegistry> MakePlatformRegistry() {
  return std::make_unique<LinuxRegistry>(LinuxRegistry::FromEnvironment());
}

} // namespace tallyflow

namespace tallyflow {
PathStyle NativePathStyle() { return PathStyle::Posix; }
} // namespace tallyflow
