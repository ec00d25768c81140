#include "platform/win32/Win32Registry.h"

#include "platform/PlatformRegistry.h"

#include <windows.h>

namespace tallyflow {
namespace {
HKEY Root(Hive hive) { return hive == Hive::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }
HKEY Key(IRegistry::Handle h) { return reinterpret_cast<HKEY>(h); }
} // namespace

std::optional<IRegistry::Handle> Win32Registry::OpenKey(Hive hive, const std::string &keyPath) {
  HKEY key = nullptr;
  if (::RegOpenKeyA(Root(hive), keyPath.c_str(), &key) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return reinterpret_cast<Handle>(key);
}

long Win32Registry::OpenKeyEx(Hive hive, const std::string &keyPath, std::uint32_t samDesired,
                              Handle *result) {
  HKEY key = nullptr;
  const LONG status = ::RegOpenKeyExA(Root(hive), keyPath.c_str(), 0, samDesired, &key);
  *result = status == ERROR_SUCCESS ? reinterpret_cast<Handle>(key) : 0;
  return status;
}

std::optional<IRegistry::Handle> Win32Registry::CreateKey(Hive hive, const std::string &keyPath) {
  HKEY key = nullptr;
  if (::RegCreateKeyA(Root(hive), keyPath.c_str(), &key) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return reinterpret_cast<Handle>(key);
}

long Win32Registry::QueryValue(Handle key, const std::string &valueName, std::uint32_t *type, std::byte *data,
                               std::uint32_t *size) {
  DWORD t = 0;
  DWORD s = size != nullptr ? *size : 0;
  const LONG status = ::RegQueryValueExA(Key(key), valueName.c_str(), nullptr, &t,
                                         reinterpret_cast<BYTE *>(data), size != nullptr ? &s : nullptr);
  if (type != nullptr) {
    *type = t;
  }
  if (size != nullptr) {
    *size = s;
  }
  return status;
}

long Win32Registry::SetValue(Handle key, const std::string &valueName, std::uint32_t type,
                             const std::byte *data, std::uint32_t size) {
  return ::RegSetValueExA(Key(key), valueName.c_str(), 0, type, reinterpret_cast<const BYTE *>(data), size);
}

long Win32Registry::DeleteValue(Handle key, const std::string &valueName) {
  return ::RegDeleteValueA(Key(key), valueName.c_str());
}

long Win32Registry::FlushKey(Handle key) { return ::RegFlushKey(Key(key)); }

long Win32Registry::CloseKey(Handle key) { return ::RegCloseKey(Key(key)); }

std::unique_ptr<IRegistry> MakePlatformRegistry() { return std::make_unique<Win32Registry>(); }

PathStyle NativePathStyle() { return PathStyle::Windows; }

} // namespace tallyflow
