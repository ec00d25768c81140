#pragma once

#include "AppFacts.h"
#include "IFileTest.h"
#include "IMessageBox.h"
#include "IProgramStarter.h"
#include "IRegistry.h"

#include <optional>
#include <string>
#include <vector>

namespace tallyflow {

inline constexpr const char *kAboutCaption = "About "; // with its trailing blank
inline constexpr const char *kUnregisteredName = "Unregistered Name";
inline constexpr const char *kUnregisteredCompany = "Unregistered Company";
inline constexpr const char *kSysInfoUnavailable = "System Information Is Unavailable At This Time";
inline constexpr const char *kSupportAddress = "support@example.com";
inline constexpr const char *kHomePage = "https://www.example.com/tallyflow";

// "Tallyflow Manager v3.264": description, " v", major, ".", revision.
std::string ComposeTitle(const VersionInfo &version);

// Every literal backslash-n becomes a line break and every "(c)" a "©"
// ("(C)" stays).
std::string ComposeCopyright(const std::string &legalCopyright);

// The mailto: target of the e-mail link, with the title as shown.
std::string EmailTarget(const std::string &titleCaption);

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

// A program to start, with its arguments.
struct ProgramCall {
  std::string program;
  std::vector<std::string> arguments;
};

// What the About window learns of the machine. Owner and organisation are
// nothing when the read failed; the tool is nothing when there is none.
class ISystemFacts {
public:
  virtual ~ISystemFacts() = default;
  virtual std::optional<std::string> RegisteredOwner() = 0;
  virtual std::optional<std::string> RegisteredOrganization() = 0;
  virtual std::optional<ProgramCall> SystemInfoTool() = 0;
};

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

// The texts the About window shows, as loading composes them.
struct AboutTexts {
  std::string caption = kAboutCaption;
  std::string title;
  std::string copyright;
  std::string owner = kUnregisteredName;           // design text
  std::string organisation = kUnregisteredCompany; // design text
};

// Loading: caption, title, copyright, then owner and organisation, each of
// the last two skipped when its read fails.
AboutTexts LoadAbout(const VersionInfo &version, ISystemFacts &facts);

// Starts the system-information tool, or shows the one message whatever
// went wrong (no tool, or a start that failed).
void StartSysInfo(ISystemFacts &facts, IProgramStarter &starter, IMessageBox &messages);

} // namespace tallyflow
