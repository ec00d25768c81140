#pragma once

#include "registry/IRegistry.h"
#include "services/IFileTest.h"
#include "services/ISystemFacts.h"

#include <optional>
#include <string>

namespace tallyflow {

// The text of a REG_SZ value up to its first NUL; empty (not nothing) for a
// missing value or another type. Nothing when the read itself fails: the
// position of the first NUL is a 16-bit number, so one beyond 32,767 fails.
std::optional<std::string> GetString(IRegistry &registry, Hive hKey, const std::string &strPath,
                                     const std::string &strValue);

// Reads a value of at most 1,024 bytes into KeyVal, the key opened with all
// access: the text for REG_SZ, hexadecimal digits for REG_DWORD, KeyVal
// unchanged for other types. False (and KeyVal empty) when the key or value
// cannot be read. Nothing when a value was read but stored with size 0: its
// last character cannot be looked at, an error that ends the caller's steps.
std::optional<bool> GetKeyValue(IRegistry &registry, Hive KeyRoot, const std::string &KeyName,
                                const std::string &SubKeyRef, std::string &KeyVal);

// Windows keeps them in the registry: the owner and organisation under
// "Software\Microsoft\Windows NT\CurrentVersion"; the system-information
// tool's "PATH", or its "MSINFO" folder with MSINFO32.EXE in it.
class RegistrySystemFacts final : public ISystemFacts {
public:
  RegistrySystemFacts(IRegistry &registry, const IFileTest &files) : m_registry(registry), m_files(files) {}
  std::optional<std::string> RegisteredOwner() override;
  std::optional<std::string> RegisteredOrganization() override;
  std::optional<ProgramCall> SystemInfoTool() override;

private:
  IRegistry &m_registry;
  const IFileTest &m_files;
};

} // namespace tallyflow
