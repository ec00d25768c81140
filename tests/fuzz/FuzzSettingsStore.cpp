// The Linux settings store fed arbitrary file contents.
#include "LinuxRegistry.h"
#include "RegStartUp.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  static QTemporaryDir root;
  static int round = 0;
  // A file of its own each round: QSettings keeps files it has read cached.
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
  for (const char *name : {"Left", "Top", "UpdateInterval", "StartUp", ""}) {
    (void)tallyflow::GetRegValue(reg, tallyflow::Hive::CurrentUser, key, name);
  }
  // A write either lands and reads back, or changes nothing.
  const auto before = tallyflow::GetRegValue(reg, tallyflow::Hive::CurrentUser, key, "Left");
  const bool wrote = tallyflow::SetRegValue(reg, tallyflow::Hive::CurrentUser, key, "Left", "1234");
  const auto after = tallyflow::GetRegValue(reg, tallyflow::Hive::CurrentUser, key, "Left");
  if (wrote ? after != std::optional<std::string>("1234") : after != before) {
    std::abort();
  }
  QFile::remove(dir + "/" + app + ".conf");
  return 0;
}
