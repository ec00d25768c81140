#include "registry/RegistrySystemFacts.h"

#include "registry/RegStartUp.h"
#include "services/HexDigits.h"

#include <cstdint>
#include <limits>
#include <string_view>
#include <vector>

namespace tallyflow {
namespace {

const char *const kVersionKey = "Software\\Microsoft\\Windows NT\\CurrentVersion";
const char *const kMsinfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const char *const kToolsLocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
constexpr std::uint32_t kMaxKeyValue = 1024; // bytes

} // namespace

std::optional<std::string> GetString(IRegistry &registry, Hive hKey, const std::string &strPath,
                                     const std::string &strValue) {
  const auto bytes = ReadRegStringBytes(registry, hKey, strPath, strValue);
  if (!bytes) {
    return std::string(); // the queries on no handle fail: the empty result
  }
  const std::size_t nul = bytes->find('\0');
  if (nul != std::string::npos &&
      nul + 1 > static_cast<std::size_t>(std::numeric_limits<std::int16_t>::max())) {
    return std::nullopt; // the NUL's position overflows its 16-bit counter
  }
  return bytes->substr(0, nul);
}

std::optional<bool> GetKeyValue(IRegistry &registry, Hive KeyRoot, const std::string &KeyName,
                                const std::string &SubKeyRef, std::string &KeyVal) {
  IRegistry::Handle handle = 0;
  const bool opened = registry.OpenKeyEx(KeyRoot, KeyName, kKeyAllAccess, &handle) == kRegSuccess;
  const RegKey key(registry, opened ? std::optional(handle) : std::nullopt);
  std::vector<std::byte> buffer(kMaxKeyValue, std::byte{0});
  std::uint32_t size = kMaxKeyValue;
  std::uint32_t type = 0;
  if (!key || registry.QueryValue(key.get(), SubKeyRef, &type, buffer.data(), &size) != kRegSuccess ||
      size > kMaxKeyValue) {
    KeyVal.clear();
    return false;
  }
  if (size == 0) {
    return std::nullopt; // no last character to look at
  }
  const auto *bytes = reinterpret_cast<const char *>(buffer.data());
  const std::string kept(bytes, bytes[size - 1] == '\0' ? size - 1 : size);
  if (type == kRegSz) {
    KeyVal = kept;
  } else if (type == kRegDword) {
    std::string digits = KeyVal;
    for (std::size_t i = kept.size(); i >= 1; --i) {
      const auto b = static_cast<unsigned char>(kept[i - 1]);
      if (b >= 16) {
        digits += kHexDigits[b >> 4];
      }
      digits += kHexDigits[b & 0x0F];
    }
    // "&h" + digits read as a number, written in decimal.
    unsigned long long value = 0;
    for (char c : digits) {
      const auto at = std::string_view(kHexDigits).find(c);
      value = value * 16 + (at == std::string_view::npos ? 0 : at);
    }
    KeyVal = std::to_string(value);
  }
  return true;
}

std::optional<std::string> RegistrySystemFacts::RegisteredOwner() {
  return GetString(m_registry, Hive::LocalMachine, kVersionKey, "RegisteredOwner");
}

std::optional<std::string> RegistrySystemFacts::RegisteredOrganization() {
  return GetString(m_registry, Hive::LocalMachine, kVersionKey, "RegisteredOrganization");
}

std::optional<ProgramCall> RegistrySystemFacts::SystemInfoTool() {
  std::string path;
  const auto found = GetKeyValue(m_registry, Hive::LocalMachine, kMsinfoKey, "PATH", path);
  if (!found) {
    return std::nullopt; // an error: straight to the message
  }
  if (*found) {
    return ProgramCall{path, {}}; // taken as read, without a file test
  }
  if (GetKeyValue(m_registry, Hive::LocalMachine, kToolsLocationKey, "MSINFO", path) != true) {
    return std::nullopt;
  }
  if (!m_files.FileExists(path + "\\MSINFO32.EXE")) {
    return std::nullopt;
  }
  return ProgramCall{path + "\\MSINFO32.EXE", {}};
}

} // namespace tallyflow
