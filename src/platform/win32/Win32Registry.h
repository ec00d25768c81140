#pragma once

#include "registry/IRegistry.h"

namespace tallyflow {

// The real registry through advapi32's ...A calls; a handle is an HKEY.
class Win32Registry final : public IRegistry {
public:
  std::optional<Handle> OpenKey(Hive hive, const std::string &keyPath) override;
  long OpenKeyEx(Hive hive, const std::string &keyPath, std::uint32_t samDesired, Handle *result) override;
  std::optional<Handle> CreateKey(Hive hive, const std::string &keyPath) override;
  long QueryValue(Handle key, const std::string &valueName, std::uint32_t *type, std::byte *data,
                  std::uint32_t *size) override;
  long SetValue(Handle key, const std::string &valueName, std::uint32_t type, const std::byte *data,
                std::uint32_t size) override;
  long DeleteValue(Handle key, const std::string &valueName) override;
  long FlushKey(Handle key) override;
  long CloseKey(Handle key) override;
};

} // namespace tallyflow
