// The Linux settings store fed arbitrary file contents.
#include "LinuxRegistry.h"
#include "RegStartUp.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  static QTemporaryDir root;
  static int round = 0;
  // A file of its own each round, so no round sees another's leftovers.
  const QString app = QStringLiteral("App%1").arg(++round);
  const QString dir = root.path() + "/config/Org";
  QDir().mkpath(dir);
  {
    QFile f(dir + "/" + app + ".conf");
    f.open(QIODevice::WriteOnly);
    f.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size));
  }
  tallyflow::LinuxRegistry reg(root.path().toStdString() + "/config", root.path().toStdString() + "/xdg");
  const std::string key = "Software\\Org\\" + app.toStdString() + "\\Main";
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
  QFile::remove(dir + "/" + app + ".conf");
  return 0;
}
