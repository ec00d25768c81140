// The Linux settings store fed arbitrary file contents.
#include "platform/linux/settings/LinuxRegistry.h"
#include "registry/RegStartUp.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdlib.h> // mkdtemp
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  static const std::string root = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "fuzz-settings-XXXXXX").string();
    return std::string(::mkdtemp(pattern.data()));
  }();
  static int round = 0;
  // A file of its own each round, so no round sees another's leftovers.
  const std::string app = "App" + std::to_string(++round);
  const std::string dir = root + "/config/Org";
  std::filesystem::create_directories(dir);
  const std::string file = dir + "/" + app + ".conf";
  std::ofstream(file, std::ios::binary)
      .write(reinterpret_cast<const char *>(data), static_cast<std::streamsize>(size));
  tallyflow::LinuxRegistry reg(root + "/config", root + "/xdg");
  const std::string key = "Software\\Org\\" + app + "\\Main";
  using tallyflow::GetRegValue;
  constexpr auto HKCU = tallyflow::Hive::CurrentUser;
  const char *const others[] = {"Top", "UpdateInterval", "StartUp", ""};
  std::vector<std::optional<std::string>> kept;
  for (const char *name : others) {
    kept.push_back(GetRegValue(reg, HKCU, key, name));
  }
  // A write either lands and reads back, or changes nothing; either way it
  // changes no other value.
  const auto before = GetRegValue(reg, HKCU, key, "Left");
  const bool wrote = tallyflow::SetRegValue(reg, HKCU, key, "Left", "1234");
  const auto after = GetRegValue(reg, HKCU, key, "Left");
  if (wrote ? after != std::optional<std::string>("1234") : after != before) {
    std::abort();
  }
  for (std::size_t i = 0; i < kept.size(); ++i) {
    if (GetRegValue(reg, HKCU, key, others[i]) != kept[i]) {
      std::abort();
    }
  }
  std::filesystem::remove(file);
  return 0;
}
