#include "platform/linux/desktop/LinuxSystemFacts.h"

#include "about/AboutLogic.h"
#include "fakes/FakeServices.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace tallyflow {
namespace {

TEST(LinuxSystemFacts, OwnerFromThePasswordDatabaseAndOrganisationFromTheEnvironment) {
  EXPECT_EQ(LinuxSystemFacts::FullNameFromGecos("Ada Lovelace,Room 1,555,"), "Ada Lovelace");
  EXPECT_EQ(LinuxSystemFacts::FullNameFromGecos(",,,"), "");
  EXPECT_EQ(LinuxSystemFacts::FullNameFromGecos("Plain"), "Plain");

  LinuxSystemFacts facts("/nonexistent");
  const passwd *pw = getpwuid(getuid());
  ASSERT_NE(pw, nullptr);
  const std::string full = LinuxSystemFacts::FullNameFromGecos(pw->pw_gecos ? pw->pw_gecos : "");
  EXPECT_EQ(facts.RegisteredOwner(), full.empty() ? std::string(pw->pw_name) : full);

  setenv("ORGANIZATION", "Analytical Engines", 1);
  EXPECT_EQ(facts.RegisteredOrganization(), "Analytical Engines");
  unsetenv("ORGANIZATION");
  const auto texts = LoadAbout(VersionInfo{}, facts);
  EXPECT_EQ(texts.organisation, kUnregisteredCompany);
}

TEST(LinuxSystemFacts, FirstKnownToolOnTheSearchPathOrTheMessage) {
  QTemporaryDir a, b;
  auto tool = [](const QTemporaryDir &dir, const char *name, bool executable) {
    QFile f(dir.filePath(name));
    f.open(QIODevice::WriteOnly);
    f.write("#!/bin/sh\n");
    f.close();
    f.setPermissions(executable ? QFile::ReadOwner | QFile::ExeOwner : QFile::ReadOwner);
    return dir.filePath(name).toStdString();
  };
  tool(a, "hardinfo", false); // not executable: skipped
  const std::string gnome = tool(a, "gnome-control-center", true);
  const std::string hardinfo = tool(b, "hardinfo", true);
  const std::string path = "relative:" + a.path().toStdString() + ":" + b.path().toStdString();

  LinuxSystemFacts facts(path);
  const auto found = facts.SystemInfoTool();
  ASSERT_TRUE(found);
  EXPECT_EQ(found->program, hardinfo) << "hardinfo ranks before gnome-control-center";

  LinuxSystemFacts onlyGnome(a.path().toStdString());
  test::FakeStarter starter;
  test::FakeMessages messages;
  StartSysInfo(onlyGnome, starter, messages);
  EXPECT_EQ(starter.started, std::vector<std::string>{gnome});
  EXPECT_EQ(starter.lastArguments, std::vector<std::string>{"about"});
  EXPECT_TRUE(messages.shown.empty());

  LinuxSystemFacts none("/nonexistent:" + std::string(""));
  test::FakeStarter idle;
  StartSysInfo(none, idle, messages);
  EXPECT_TRUE(idle.started.empty());
  EXPECT_EQ(messages.shown, std::vector<std::string>{kSysInfoUnavailable});
}

} // namespace
} // namespace tallyflow
