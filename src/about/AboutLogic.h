#pragma once

#include "services/AppFacts.h"
#include "services/IFileTest.h"
#include "services/IMessageBox.h"
#include "services/IProgramStarter.h"
#include "services/ISystemFacts.h"

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
