// The Linux store on real files in a temporary XDG tree.

#include "LinuxRegistry.h"
#include "DesktopEntry.h"
#include "RegStartUp.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fstream>
#include <random>
#include <sched.h>
#include <sstream>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tallyflow {
namespace {

constexpr auto HKCU = Hive::CurrentUser;
constexpr auto HKLM = Hive::LocalMachine;
const std::string kMain = "Software\\Quorrin Software\\Tallyflow\\Main";

std::string ReadFile(const QString &path) {
  std::ifstream f(path.toStdString());
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

// Runs `body` in a child process; returns its exit status (or -signal).
template <typename F> int InChild(F body) {
  const pid_t pid = fork();
  if (pid == 0) {
    _exit(body());
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

// In a child process: mounts of its own, so that what it mounts is never seen
// outside it.
bool PrivateMounts() {
  return unshare(CLONE_NEWNS) == 0 && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

// Read-only even for root: a read-only bind mount of the directory on itself.
bool MakeReadOnly(const std::string &dir) {
  return PrivateMounts() && mount(dir.c_str(), dir.c_str(), nullptr, MS_BIND, nullptr) == 0 &&
         mount(nullptr, dir.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

class LinuxRegistryTest : public ::testing::Test {
protected:
  QTemporaryDir tmp;
  std::string user = tmp.path().toStdString() + "/home-config";
  std::string machine = tmp.path().toStdString() + "/etc-xdg";
  LinuxRegistry reg{user, machine};
};

TEST_F(LinuxRegistryTest, ValuesLiveInFilesAPersonCanFind) {
  ASSERT_TRUE(SetRegValue(reg, HKCU, kMain, "Left", "1200"));
  ASSERT_TRUE(SetRegValue(reg, HKCU, kMain, "UpdateInterval", "150"));
  ASSERT_TRUE(SetRegValue(reg, HKCU, kMain, "Empty", ""));
  const QString file = QString::fromStdString(user) + "/Quorrin Software/Tallyflow.conf";
  const std::string text = ReadFile(file);
  EXPECT_NE(text.find("[Main]"), std::string::npos) << text;
  EXPECT_NE(text.find("Left=1200"), std::string::npos) << text;
  EXPECT_NE(text.find("UpdateInterval=150"), std::string::npos) << text;

  // Read back by a second process.
  const int status = InChild([&] {
    LinuxRegistry other(user, machine);
    const bool ok = GetRegValue(other, HKCU, kMain, "Left") == "1200" &&
                    GetRegValue(other, HKCU, kMain, "Empty") == std::optional<std::string>("") &&
                    !GetRegValue(other, HKCU, kMain, "Top") &&
                    !GetRegValue(other, HKCU, "Software\\Quorrin Software\\Tallyflow\\Other", "Left");
    return ok ? 0 : 1;
  });
  EXPECT_EQ(status, 0);

  EXPECT_TRUE(DeleteRegValue(reg, HKCU, kMain, "Left"));
  EXPECT_FALSE(GetRegValue(reg, HKCU, kMain, "Left"));
  EXPECT_FALSE(DeleteRegValue(reg, HKCU, kMain, "Left"));
  EXPECT_FALSE(DeleteRegValue(reg, HKCU, "Software\\Missing\\App\\Main", "Left"));

  const auto at = reg.Resolve(HKCU, "Software\\VB and VBA Program Settings\\Tallyflow Manager\\Setting");
  ASSERT_TRUE(at);
  EXPECT_EQ(at->path, user + "/VB and VBA Program Settings/Tallyflow Manager.conf");
  EXPECT_EQ(at->group, "Setting");
  EXPECT_FALSE(reg.Resolve(HKCU, "Software\\..\\..\\etc\\passwd")) << "no way out of the hive";
}

TEST_F(LinuxRegistryTest, CorruptOrUnwritableFilesChangeNothingAndCrashNothing) {
  const QString dir = QString::fromStdString(user) + "/Quorrin Software";
  QDir().mkpath(dir);
  {
    QFile f(dir + "/Tallyflow.conf");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Main\nLeft=\x01\x02\xff\xfe\n=\n[[[\n");
  }
  EXPECT_FALSE(GetRegValue(reg, HKCU, kMain, "Left")) << "a corrupt file reads as empty";

  // A read-only location, made so even for root by a read-only bind mount in
  // a private mount namespace of a child process.
  ASSERT_TRUE(SetRegValue(reg, HKCU, "Software\\RO\\App\\Main", "Left", "5"));
  const std::string roDir = user + "/RO";
  const int status = InChild([&] {
    if (!MakeReadOnly(roDir)) {
      return 77;
    }
    LinuxRegistry child(user, machine);
    const bool refused = !SetRegValue(child, HKCU, "Software\\RO\\App\\Main", "Left", "9") &&
                         !DeleteRegValue(child, HKCU, "Software\\RO\\App\\Main", "Left");
    const auto got = GetRegValue(child, HKCU, "Software\\RO\\App\\Main", "Left");
    const bool kept = got == "5";
    return (refused ? 0 : 2) + (kept ? 0 : 4); // 2: a write succeeded; 4: the value changed
  });
  if (status == 77) {
    GTEST_SKIP() << "cannot make a private mount namespace (needs root)";
  }
  EXPECT_EQ(status, 0);
  EXPECT_EQ(GetRegValue(reg, HKCU, "Software\\RO\\App\\Main", "Left"), "5");
}

TEST_F(LinuxRegistryTest, AWriterKilledMidWriteLeavesAFileThatReads) {
  ASSERT_TRUE(SetRegValue(reg, HKCU, kMain, "Left", "0"));
  std::mt19937 random(12345);
  for (int run = 0; run < 100; ++run) {
    const pid_t pid = fork();
    if (pid == 0) {
      LinuxRegistry writer(user, machine);
      for (int i = 1;; ++i) {
        SetRegValue(writer, HKCU, kMain, "Left", std::to_string(i));
        SetRegValue(writer, HKCU, kMain, "Top", std::string(static_cast<std::size_t>(i % 500), 'x'));
      }
    }
    usleep(std::uniform_int_distribution<useconds_t>(1'000, 30'000)(random));
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    LinuxRegistry reader(user, machine);
    const auto left = GetRegValue(reader, HKCU, kMain, "Left");
    ASSERT_TRUE(left) << "run " << run;
    EXPECT_EQ(left->find_first_not_of("0123456789"), std::string::npos) << *left;
  }
}

TEST_F(LinuxRegistryTest, AFullDiskChangesNothing) {
  const std::string small = user + "/small";
  QDir().mkpath(QString::fromStdString(small));
  const int status = InChild([&] {
    if (!PrivateMounts() || mount("tmpfs", small.c_str(), "tmpfs", 0, "size=64k") != 0) {
      return 77;
    }
    LinuxRegistry child(small, machine);
    const std::string key = "Software\\Full\\App\\Main";
    if (!SetRegValue(child, HKCU, key, "Left", "5")) {
      return 1;
    }
    {
      std::ofstream filler(small + "/filler");
      const std::string block(4096, 'f');
      while (filler.write(block.data(), static_cast<std::streamsize>(block.size())) && filler.flush()) {
      }
    }
    const bool refused = !SetRegValue(child, HKCU, key, "Left", std::string(8192, '9'));
    const bool kept = GetRegValue(child, HKCU, key, "Left") == "5";
    LinuxRegistry fresh(small, machine);
    const bool onDisk = GetRegValue(fresh, HKCU, key, "Left") == "5";
    return (refused ? 0 : 2) + (kept ? 0 : 4) + (onDisk ? 0 : 8);
  });
  if (status == 77) {
    GTEST_SKIP() << "cannot mount a small tmpfs in a private mount namespace (needs root)";
  }
  EXPECT_EQ(status, 0) << "2: the write claimed success; 4: the value changed; 8: the file changed";
}

TEST(DesktopEntry, HostilePathsComeBackAsOneArgument) {
  const std::string paths[] = {
      "/usr/bin/tallyflow",
      "/opt/Net Tools/tallyflow",
      "/tmp/a\"b/tally'flow",
      "/tmp/100%/x%f",
      "/tmp/$(touch /tmp/x)/tallyflow",
      "/tmp/`id`/tally\\flow",
      "/tmp/tab\there/new\nline",
  };
  for (const auto &path : paths) {
    const std::string entry = AutostartEntry("tallyflow", path);
    const auto exec = FindExecValue(entry);
    ASSERT_TRUE(exec) << entry;
    const auto args = ParseDesktopExec(*exec);
    ASSERT_TRUE(args) << *exec;
    EXPECT_EQ(*args, std::vector<std::string>{path}) << *exec;
  }
  EXPECT_FALSE(ParseDesktopExec("\"unterminated"));
  EXPECT_FALSE(ParseDesktopExec("prog %f")) << "field codes are not ours";
}

TEST_F(LinuxRegistryTest, StartUpEntryIsAnAutostartFileWithAFallbackToTheUser) {
  const std::string exe = "/opt/Net Tools/$(touch x)/tallyflow";
  ASSERT_TRUE(AddStartUpEntry(reg, exe, PathStyle::Posix));
  const QString machineEntry = QString::fromStdString(machine) + "/autostart/tallyflow.desktop";
  ASSERT_TRUE(QFile::exists(machineEntry));
  const std::string text = ReadFile(machineEntry);
  EXPECT_NE(text.find("Type=Application"), std::string::npos);
  EXPECT_EQ(ParseDesktopExec(*FindExecValue(text)), std::vector<std::string>{exe});
  EXPECT_EQ(GetRegValue(reg, HKLM, kRunKey, "tallyflow"), exe);
  if (std::system("command -v desktop-file-validate >/dev/null") == 0) {
    EXPECT_EQ(std::system(("desktop-file-validate '" + machineEntry.toStdString() + "'").c_str()), 0) << text;
  }
  ASSERT_TRUE(RemoveStartUpEntry(reg, exe, PathStyle::Posix));
  EXPECT_FALSE(QFile::exists(machineEntry));

  // The machine directory read-only: the user's autostart entry instead.
  QDir().mkpath(QString::fromStdString(machine) + "/autostart");
  const std::string autostart = machine + "/autostart";
  const int status = InChild([&] {
    if (!MakeReadOnly(autostart)) {
      return 77;
    }
    LinuxRegistry child(user, machine);
    return AddStartUpEntry(child, exe, PathStyle::Posix) ? 0 : 1;
  });
  if (status == 77) {
    GTEST_SKIP() << "cannot make a private mount namespace (needs root)";
  }
  EXPECT_EQ(status, 0);
  EXPECT_FALSE(QFile::exists(machineEntry));
  const QString userEntry = QString::fromStdString(user) + "/autostart/tallyflow.desktop";
  EXPECT_TRUE(QFile::exists(userEntry));
  EXPECT_EQ(GetRegValue(reg, HKCU, kRunKey, "tallyflow"), exe);
  EXPECT_TRUE(RemoveStartUpEntry(reg, exe, PathStyle::Posix));
  EXPECT_FALSE(QFile::exists(userEntry));
}

} // namespace
} // namespace tallyflow
