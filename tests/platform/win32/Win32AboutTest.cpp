// The About window's Windows calls: its registry reader on the real registry
// (Wine's, in CI), and what it hands to ShellExecuteA.

#include "platform/win32/Win32About.h"
#include "platform/win32/Win32Registry.h"
#include "registry/RegistrySystemFacts.h"

#include <gtest/gtest.h>

#include <windows.h> // after our headers: its macros (REG_SZ ...) would meet theirs

#include <string>
#include <vector>

namespace tallyflow {
namespace {

TEST(Win32About, GetKeyValueOpensWithAllAccessAndAZeroSizeValueIsAnError) {
  const std::string path = "Software\\Tallyflow Tests\\About" + std::to_string(GetCurrentProcessId());
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, path.c_str(), &key), ERROR_SUCCESS);
  const char tool[] = "C:\\Tools\\msinfo32.exe";
  RegSetValueExA(key, "PATH", 0, REG_SZ, reinterpret_cast<const BYTE *>(tool), sizeof tool);
  RegSetValueExA(key, "Empty", 0, REG_SZ, reinterpret_cast<const BYTE *>(""), 0);
  RegCloseKey(key);

  Win32Registry reg;
  std::string value;
  EXPECT_EQ(GetKeyValue(reg, Hive::CurrentUser, path, "PATH", value), true);
  EXPECT_EQ(value, tool) << "the terminating NUL trimmed";
  EXPECT_EQ(GetKeyValue(reg, Hive::CurrentUser, path, "Missing", value), false);
  EXPECT_EQ(value, "");
  EXPECT_EQ(GetKeyValue(reg, Hive::CurrentUser, path + "\\Nowhere", "PATH", value), false);
  EXPECT_EQ(GetKeyValue(reg, Hive::CurrentUser, path, "Empty", value), std::nullopt) << "stored with size 0";
  RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Tallyflow Tests");
}

TEST(Win32About, LinksGoToShellExecuteWithTheAboutWindowAsOwner) {
  struct ShellCall {
    std::uintptr_t owner;
    std::string verb, target;
    bool nullParameters;
    std::string parameters, directory;
    int show;
  };
  std::vector<ShellCall> calls;
  Win32ShellOpener shell([&](std::uintptr_t owner, const char *verb, const char *target,
                             const char *parameters, const char *directory, int show) {
    calls.push_back(
        {owner, verb, target, parameters == nullptr, parameters ? parameters : "", directory, show});
  });
  const std::uintptr_t about = 0x1234; // the About window's handle, as passed through
  shell.Open("mailto:support@example.com?subject=I have question on Tallyflow Manager v3.264", about);
  shell.Open("https://www.example.com/tallyflow", about);
  ASSERT_EQ(calls.size(), 2u);
  for (const auto &c : calls) {
    EXPECT_EQ(c.owner, about);
    EXPECT_EQ(c.verb, "open");
    EXPECT_EQ(c.show, 5); // SW_SHOW
  }
  EXPECT_TRUE(calls[0].nullParameters) << "no parameters for the e-mail";
  EXPECT_EQ(calls[0].directory, "C:\\");
  EXPECT_FALSE(calls[1].nullParameters) << "empty texts for the home page";
  EXPECT_EQ(calls[1].parameters, "");
  EXPECT_EQ(calls[1].directory, "");
}

} // namespace
} // namespace tallyflow
