// The registry helpers on the real Windows registry (Wine's, in CI).

#include "platform/win32/Win32Registry.h"
#include "registry/RegStartUp.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace tallyflow {
namespace {

const std::string kBase = "Software\\Tallyflow Tests";

class Win32RegistryTest : public ::testing::Test {
protected:
  void SetUp() override { key = kBase + "\\" + std::to_string(GetCurrentProcessId()); }
  void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, kBase.c_str()); }

  // The raw type and size of a value, as the registry keeps it.
  static std::pair<DWORD, DWORD> Raw(HKEY root, const std::string &path, const char *name) {
    HKEY k = nullptr;
    DWORD type = 0, size = 0;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &k) == ERROR_SUCCESS) {
      RegQueryValueExA(k, name, nullptr, &type, nullptr, &size);
      RegCloseKey(k);
    }
    return {type, size};
  }

  Win32Registry reg;
  std::string key;
};

TEST_F(Win32RegistryTest, TextValuesRoundTripWithoutATerminatingNul) {
  const std::string nested = key + "\\Quorrin Software\\Tallyflow\\Main";
  ASSERT_TRUE(SetRegValue(reg, Hive::CurrentUser, nested, "Left", "1200"));
  // Windows stores exactly the 4 characters given; Wine adds the terminator
  // itself. Any more would be a NUL the helper wrote.
  const auto [type, size] = Raw(HKEY_CURRENT_USER, nested, "Left");
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_TRUE(size == 4 || size == 5) << "stored size " << size;
  EXPECT_EQ(GetRegValue(reg, Hive::CurrentUser, nested, "Left"), "1200");
  ASSERT_TRUE(SetRegValue(reg, Hive::CurrentUser, nested, "Empty", ""));
  EXPECT_EQ(GetRegValue(reg, Hive::CurrentUser, nested, "Empty"), std::optional<std::string>(""));

  HKEY k = nullptr;
  ASSERT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, nested.c_str(), &k), ERROR_SUCCESS);
  const DWORD number = 42;
  RegSetValueExA(k, "Dword", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&number), sizeof number);
  RegCloseKey(k);
  EXPECT_FALSE(GetRegValue(reg, Hive::CurrentUser, nested, "Dword")) << "only REG_SZ reads back";
  EXPECT_FALSE(GetRegValue(reg, Hive::CurrentUser, nested, "Missing"));
  EXPECT_FALSE(GetRegValue(reg, Hive::CurrentUser, key + "\\No\\Such\\Key", "Left"));
  EXPECT_FALSE(DeleteRegValue(reg, Hive::CurrentUser, key + "\\No\\Such\\Key", "Left"));
  EXPECT_TRUE(DeleteRegValue(reg, Hive::CurrentUser, nested, "Left"));
  EXPECT_FALSE(GetRegValue(reg, Hive::CurrentUser, nested, "Left"));
}

TEST_F(Win32RegistryTest, StartUpEntryIsTheQuotedRunValue) {
  const std::string path =
      "C:\\Program Files\\Net Tools\\tallyflow-test-" + std::to_string(GetCurrentProcessId()) + ".exe";
  const std::string name = StartUpEntryName(path, PathStyle::Windows);
  ASSERT_TRUE(AddStartUpEntry(reg, path, PathStyle::Windows));
  // Wine grants the machine-wide write to every user, so the entry lands there.
  const auto machine = GetRegValue(reg, Hive::LocalMachine, kRunKey, name);
  const auto user = GetRegValue(reg, Hive::CurrentUser, kRunKey, name);
  ASSERT_TRUE(machine || user);
  EXPECT_EQ(machine.value_or(user.value_or("")), "\"" + path + "\"");
  EXPECT_TRUE(RemoveStartUpEntry(reg, path, PathStyle::Windows));
  EXPECT_FALSE(GetRegValue(reg, Hive::LocalMachine, kRunKey, name));
  EXPECT_FALSE(GetRegValue(reg, Hive::CurrentUser, kRunKey, name));
}

TEST_F(Win32RegistryTest, PathsOfTheRunningProgram) {
  char buffer[MAX_PATH] = {};
  ASSERT_GT(GetModuleFileNameA(nullptr, buffer, MAX_PATH), 0u);
  const std::string exe = buffer;
  const std::string file = GetFileName(exe, PathStyle::Windows);
  EXPECT_EQ(file, "win32_platform_tests.exe");
  EXPECT_EQ(StartUpEntryName(exe, PathStyle::Windows), "win32_platform_tests");
  const std::string dir = exe.substr(0, exe.size() - file.size() - 1);
  EXPECT_EQ(JoinPath(dir, file, PathStyle::Windows), exe);
  EXPECT_EQ(JoinPath("C:\\", "x.exe", PathStyle::Windows), "C:\\x.exe");
}

} // namespace
} // namespace tallyflow
