#include "registry/RegistrySystemFacts.h"

#include "fakes/FakeRegistry.h"

#include <gtest/gtest.h>

namespace tallyflow {
namespace {

using test::FakeRegistry;
constexpr auto HKLM = Hive::LocalMachine;
const std::string kMsinfo = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";

TEST(RegistrySystemFacts, GetKeyValueByType) {
  FakeRegistry reg;
  reg.Put(HKLM, kMsinfo, "Sz", kRegSz, std::string("C:\\x.exe\0", 9));
  reg.Put(HKLM, kMsinfo, "SzNoNul", kRegSz, "C:\\y.exe");
  reg.Put(HKLM, kMsinfo, "Dword", kRegDword, std::string("\x02\x01\0\0", 4));
  reg.Put(HKLM, kMsinfo, "Binary", 3, "zz");
  reg.Put(HKLM, kMsinfo, "Long", kRegSz, std::string(1025, 'p'));
  reg.Put(HKLM, kMsinfo, "Zero", kRegSz, "");
  struct Case {
    const char *name;
    std::optional<bool> ok; // nothing: the error of a value stored with size 0
    const char *value;
  };
  const Case cases[] = {{"Sz", true, "C:\\x.exe"}, {"SzNoNul", true, "C:\\y.exe"},
                        {"Dword", true, "18"},     {"Binary", true, "kept"},
                        {"Long", false, ""},       {"Zero", std::nullopt, "kept"},
                        {"Missing", false, ""}};
  for (const auto &c : cases) {
    std::string value = "kept";
    EXPECT_EQ(GetKeyValue(reg, HKLM, kMsinfo, c.name, value), c.ok) << c.name;
    EXPECT_EQ(value, c.value) << c.name << " (DWORD 02 01 00 00 gives the digits 012, &h012 = 18)";
  }
  std::string value = "kept";
  EXPECT_EQ(GetKeyValue(reg, HKLM, "SOFTWARE\\Nowhere", "PATH", value), false);
  EXPECT_EQ(value, "");
  EXPECT_TRUE(reg.handles.empty());
  EXPECT_EQ(reg.accessMasks, std::vector<std::uint32_t>(std::size(cases) + 1, 0x2003F)) << "all access";
}

} // namespace
} // namespace tallyflow
