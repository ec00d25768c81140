#include "registry/RegStartUp.h"

#include "fakes/FakeRegistry.h"

#include <gtest/gtest.h>

namespace tallyflow {
namespace {

using test::FakeRegistry;
constexpr auto HKCU = Hive::CurrentUser;
constexpr auto HKLM = Hive::LocalMachine;
const std::string kMain = "Software\\Quorrin Software\\Tallyflow\\Main";

TEST(RegStartUp, ValuesReadBackAsWrittenAndEmptyIsNotTheEmptyText) {
  FakeRegistry reg;
  ASSERT_TRUE(SetRegValue(reg, HKCU, kMain, "Left", "1200"));
  const auto *stored = reg.Find(HKCU, kMain, "Left");
  ASSERT_NE(stored, nullptr);
  EXPECT_EQ(stored->type, kRegSz);
  EXPECT_EQ(stored->bytes.size(), 4u) << "written without a terminating NUL";
  EXPECT_EQ(GetRegValue(reg, HKCU, kMain, "Left"), "1200");

  ASSERT_TRUE(SetRegValue(reg, HKCU, kMain, "Empty", ""));
  EXPECT_EQ(GetRegValue(reg, HKCU, kMain, "Empty"), std::optional<std::string>(""));

  struct Case {
    const char *what;
    std::string keyPath, name;
    std::optional<std::string> expected;
  };
  reg.Put(HKCU, kMain, "Dword", kRegDword, std::string("\x2a\0\0\0", 4));
  reg.Put(HKCU, kMain, "WithNul", kRegSz, std::string("abc\0def", 7));
  reg.Put(HKCU, kMain, "Spaces", kRegSz, "ab  ");
  const Case cases[] = {
      {"missing key", "Software\\Nobody", "Left", std::nullopt},
      {"missing value", kMain, "Top", std::nullopt},
      {"kRegDword", kMain, "Dword", std::nullopt},
      {"stored with a NUL", kMain, "WithNul", "abc"},
      {"trailing blanks kept", kMain, "Spaces", "ab  "},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(GetRegValue(reg, HKCU, c.keyPath, c.name), c.expected) << c.what;
  }
  reg.failSecondRead = true;
  EXPECT_EQ(GetRegValue(reg, HKCU, kMain, "Left"), std::nullopt) << "a failing second read";
  EXPECT_TRUE(reg.handles.empty()) << "every handle opened is closed";
}

TEST(RegStartUp, WritingCreatesTheWholePathAndDeletingMissingChangesNothing) {
  FakeRegistry reg;
  ASSERT_TRUE(SetRegValue(reg, HKCU, "Software\\A\\B\\C", "x", "1"));
  EXPECT_TRUE(reg.HasKey(HKCU, "Software"));
  EXPECT_TRUE(reg.HasKey(HKCU, "Software\\A\\B"));
  EXPECT_TRUE(reg.HasKey(HKCU, "Software\\A\\B\\C"));

  const auto before = reg.store;
  EXPECT_FALSE(DeleteRegValue(reg, HKCU, "Software\\A\\B\\C", "missing"));
  EXPECT_FALSE(DeleteRegValue(reg, HKCU, "Software\\Nowhere", "x"));
  EXPECT_EQ(reg.store.size(), before.size());
  EXPECT_FALSE(reg.HasKey(HKCU, "Software\\Nowhere"));
  EXPECT_TRUE(DeleteRegValue(reg, HKCU, "Software\\A\\B\\C", "x"));
  EXPECT_EQ(GetRegValue(reg, HKCU, "Software\\A\\B\\C", "x"), std::nullopt);
  EXPECT_TRUE(reg.HasKey(HKCU, "Software\\A\\B\\C")) << "the key stays";

  reg.refused.insert(HKCU);
  EXPECT_FALSE(SetRegValue(reg, HKCU, "Software\\Denied", "x", "1"));
  EXPECT_TRUE(reg.handles.empty());
}

TEST(RegStartUp, PathHelpers) {
  struct Join {
    const char *directory, *file;
    PathStyle style;
    const char *expected;
  };
  const Join joins[] = {
      {"D:\\", "x.exe", PathStyle::Windows, "D:\\x.exe"},
      {"D:\\Tools", "x.exe", PathStyle::Windows, "D:\\Tools\\x.exe"},
      {"D:\\Tools\\", "x.exe", PathStyle::Windows, "D:\\Tools\\\\x.exe"},
      {"C:\\Apps", "monitor.exe", PathStyle::Windows, "C:\\Apps\\monitor.exe"},
      {"/usr/bin", "tallyflow", PathStyle::Posix, "/usr/bin/tallyflow"},
      {"/", "tallyflow", PathStyle::Posix, "/tallyflow"},
  };
  for (const auto &j : joins) {
    EXPECT_EQ(JoinPath(j.directory, j.file, j.style), j.expected);
  }
  struct Name {
    const char *path;
    PathStyle style;
    const char *file, *entry;
  };
  const Name names[] = {
      {"C:\\Apps\\monitor.exe", PathStyle::Windows, "monitor.exe", "monitor"},
      {"C:\\Apps\\MONITOR.EXE", PathStyle::Windows, "MONITOR.EXE", "MONITOR"},
      {"C:\\Apps\\tool", PathStyle::Windows, "tool", "tool"},
      {"/usr/bin/tallyflow", PathStyle::Posix, "tallyflow", "tallyflow"},
      {"/opt/x/monitor.exe", PathStyle::Posix, "monitor.exe", "monitor.exe"},
  };
  for (const auto &n : names) {
    EXPECT_EQ(GetFileName(n.path, n.style), n.file);
    EXPECT_EQ(StartUpEntryName(n.path, n.style), n.entry);
  }
}

TEST(RegStartUp, StartUpEntryIsQuotedAndFallsBackToTheUser) {
  const std::string path = "C:\\Program Files\\Net Tools\\monitor.exe";
  {
    FakeRegistry reg;
    EXPECT_TRUE(AddStartUpEntry(reg, path, PathStyle::Windows));
    EXPECT_EQ(GetRegValue(reg, HKLM, kRunKey, "monitor"), "\"" + path + "\"");
    EXPECT_EQ(GetRegValue(reg, HKCU, kRunKey, "monitor"), std::nullopt);
    EXPECT_TRUE(RemoveStartUpEntry(reg, path, PathStyle::Windows));
    EXPECT_EQ(GetRegValue(reg, HKLM, kRunKey, "monitor"), std::nullopt);
  }
  {
    FakeRegistry reg;
    EXPECT_TRUE(AddStartUpEntry(reg, "C:\\Apps\\monitor.exe", PathStyle::Windows));
    EXPECT_EQ(GetRegValue(reg, HKLM, kRunKey, "monitor"), "C:\\Apps\\monitor.exe") << "no blank, no quotes";
  }
  {
    FakeRegistry reg;
    reg.refused.insert(HKLM);
    EXPECT_TRUE(AddStartUpEntry(reg, path, PathStyle::Windows)) << "the user's entry instead";
    EXPECT_EQ(GetRegValue(reg, HKCU, kRunKey, "monitor"), "\"" + path + "\"");
    EXPECT_TRUE(RemoveStartUpEntry(reg, path, PathStyle::Windows));
    EXPECT_EQ(GetRegValue(reg, HKCU, kRunKey, "monitor"), std::nullopt);
  }
  {
    FakeRegistry reg;
    reg.refused = {HKLM, HKCU};
    EXPECT_FALSE(AddStartUpEntry(reg, path, PathStyle::Windows)) << "no entry anywhere: not a success";
    EXPECT_TRUE(reg.handles.empty());
  }
  {
    FakeRegistry reg;
    AddStartUpEntry(reg, path, PathStyle::Windows);
    reg.refusedDelete = true;
    EXPECT_FALSE(RemoveStartUpEntry(reg, path, PathStyle::Windows)) << "the entry is still there";
  }
}

TEST(RegStartUp, SettingsStoreReadsWhereWindowsKeepsIt) {
  FakeRegistry reg;
  const RegistrySettingsStore store(reg);
  EXPECT_EQ(store.GetSetting("Tallyflow Manager", "Setting", "Connection", "0"), "0");
  reg.Put(HKCU, "Software\\VB and VBA Program Settings\\Tallyflow Manager\\Setting", "Connection", kRegSz,
          "2");
  EXPECT_EQ(store.GetSetting("Tallyflow Manager", "Setting", "Connection", "0"), "2");
}

} // namespace
} // namespace tallyflow
