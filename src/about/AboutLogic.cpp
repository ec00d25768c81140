#include "about/AboutLogic.h"

#include "pictures/OutsideText.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

namespace tallyflow {
namespace {

std::string ReplaceAll(std::string text, const std::string &from, const std::string &to) {
  std::size_t at = 0;
  while ((at = text.find(from, at)) != std::string::npos) {
    text.replace(at, from.size(), to);
    at += to.size();
  }
  return text;
}

} // namespace

std::string ComposeTitle(const VersionInfo &version) {
  return version.fileDescription + " v" + std::to_string(version.major) + "." +
         std::to_string(version.revision);
}

std::string ComposeCopyright(const std::string &legalCopyright) {
  return ReplaceAll(ReplaceAll(legalCopyright, "\\n", "\n"), "(c)", "\xC2\xA9");
}

std::string EmailTarget(const std::string &titleCaption) {
  return std::string("mailto:") + kSupportAddress + "?subject=" + "I have question on " + titleCaption;
}

AboutTexts LoadAbout(const VersionInfo &version, ISystemFacts &facts) {
  AboutTexts texts;
  texts.title = ComposeTitle(version);
  texts.copyright = ComposeCopyright(version.legalCopyright);
  if (const auto owner = facts.RegisteredOwner()) {
    texts.owner = owner->empty() ? kUnregisteredName : ShownAsOutsideText(*owner);
  }
  if (const auto organisation = facts.RegisteredOrganization()) {
    texts.organisation = organisation->empty() ? kUnregisteredCompany : ShownAsOutsideText(*organisation);
  }
  return texts;
}

void StartSysInfo(ISystemFacts &facts, IProgramStarter &starter, IMessageBox &messages) {
  const auto tool = facts.SystemInfoTool();
  if (tool && !tool->program.empty() && starter.Start(tool->program, tool->arguments)) {
    return;
  }
  messages.Show(kSysInfoUnavailable);
}

} // namespace tallyflow
