// The Linux store on real files in a temporary XDG tree.

#include "platform/linux/settings/LinuxRegistry.h"
#include "platform/linux/settings/DesktopEntry.h"
#include "platform/linux/settings/SafeFile.h"
#include "registry/RegStartUp.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <grp.h>
#include <pwd.h>
#include <random>
#include <sched.h>
#include <sstream>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
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

namespace fs = std::filesystem;
constexpr uid_t kNobody = 65534;

// What a path holds: its kind and, for a file or a link, its bytes or target.
std::string Snapshot(const std::string &path) {
  std::error_code error;
  const auto status = fs::symlink_status(path, error);
  switch (status.type()) {
  case fs::file_type::regular:
    return "file:" + ReadFile(QString::fromStdString(path));
  case fs::file_type::symlink:
    return "link:" + fs::read_symlink(path).string();
  case fs::file_type::not_found:
    return "none";
  default:
    return "other:" + std::to_string(static_cast<int>(status.type()));
  }
}

// The names in a folder, but the save's own lock files.
std::string Listing(const std::string &dir) {
  std::string names;
  std::error_code error;
  for (const auto &e : fs::directory_iterator(dir, error)) {
    const std::string name = e.path().filename().string();
    if (!name.ends_with(".lock")) {
      names += name + " ";
    }
  }
  return names;
}

void WriteText(const std::string &path, const std::string &text) { std::ofstream(path) << text; }

// Drops root for good: permissions apply from here on.
bool BecomeNobody() { return setgroups(0, nullptr) == 0 && setgid(kNobody) == 0 && setuid(kNobody) == 0; }

void GiveToNobody(const std::string &dir) {
  ASSERT_EQ(lchown(dir.c_str(), kNobody, kNobody), 0);
  for (const auto &e : fs::recursive_directory_iterator(dir)) {
    ASSERT_EQ(lchown(e.path().c_str(), kNobody, kNobody), 0);
  }
}

// One save of the window's values, in a child process with mounts of its
// own: the fault is made there, the save must end within a second. `save`
// also sees what the store said meanwhile.
int SaveInChild(const std::string &user, const std::string &machine, const std::function<bool()> &fault,
                bool asNobody,
                const std::function<bool(LinuxRegistry &, const std::vector<std::string> &)> &save) {
  return InChild([&] {
    if (!PrivateMounts() || !fault()) {
      return 77;
    }
    if (asNobody && !BecomeNobody()) {
      return 77;
    }
    alarm(5); // a save that blocks ends the child, and fails the test
    std::vector<std::string> said;
    LinuxRegistry reg(user, machine, [&](const std::string &line) { said.push_back(line); });
    const auto start = std::chrono::steady_clock::now();
    const bool saved = save(reg, said);
    const bool quick = std::chrono::steady_clock::now() - start < std::chrono::seconds(1);
    return (saved ? 1 : 0) + (quick ? 0 : 2);
  });
}

TEST_F(LinuxRegistryTest, ASaveLandsWholeOrLeavesEveryFileAsItWas) {
  const std::string old =
      "[Main]\nLeft=3000\nTop=3000\nUpdateInterval=700\n\n[Other]\nnot an ini line\nkept=yes\n";
  const std::string secret = "root:x:0:0:root:/root:/bin/bash\n";
  struct Fault {
    const char *what;
    bool asNobody;
    bool lands;
    // Changes the settings folder and file; runs in the child, as root.
    std::function<bool(const std::string &dir, const std::string &file, const std::string &outside)> make;
  };
  const auto none = [](const std::string &, const std::string &, const std::string &) { return true; };
  const Fault faults[] = {
      {"a line that is not INI, a group of another program", false, true, none},
      {"the file a link to the settings kept elsewhere", false, true,
       [](auto &, auto &file, auto &outside) {
         return rename(file.c_str(), outside.c_str()) == 0 && symlink(outside.c_str(), file.c_str()) == 0;
       }},
      {"a FIFO in the file's place", false, false,
       [](auto &, auto &file, auto &) {
         return unlink(file.c_str()) == 0 && mkfifo(file.c_str(), 0600) == 0;
       }},
      {"a directory in the file's place", false, false,
       [](auto &, auto &file, auto &) {
         return unlink(file.c_str()) == 0 && mkdir(file.c_str(), 0700) == 0;
       }},
      {"a full disk", false, false,
       [](auto &dir, auto &file, auto &) {
         const std::string text = ReadFile(QString::fromStdString(file));
         if (mount("tmpfs", dir.c_str(), "tmpfs", 0, "size=16k") != 0) {
           return false;
         }
         WriteText(file, text);
         std::ofstream filler(dir + "/filler");
         const std::string block(1024, 'f');
         while (filler.write(block.data(), static_cast<std::streamsize>(block.size())) && filler.flush()) {
         }
         return true;
       }},
      {"a read-only file system", false, false, [](auto &dir, auto &, auto &) { return MakeReadOnly(dir); }},
      {"a folder the user may not write", true, false,
       [](auto &dir, auto &, auto &) { return chmod(dir.c_str(), 0555) == 0; }},
      {"a file its owner made read-only", true, false,
       [](auto &, auto &file, auto &) { return chmod(file.c_str(), 0444) == 0; }},
  };
  int round = 0;
  for (const auto &f : faults) {
    SCOPED_TRACE(f.what);
    const std::string base = tmp.path().toStdString() + "/case" + std::to_string(++round);
    const std::string config = base + "/config";
    const std::string dir = config + "/Quorrin Software";
    const std::string file = dir + "/Tallyflow.conf";
    const std::string outside = base + "/passwd";
    fs::create_directories(dir);
    WriteText(file, old);
    WriteText(outside, secret);
    if (f.asNobody) {
      chmod(tmp.path().toUtf8().constData(), 0755);
      GiveToNobody(base);
    }
    const int status = SaveInChild(
        config, machine, [&] { return f.make(dir, file, outside); }, f.asNobody,
        [&](LinuxRegistry &reg, const std::vector<std::string> &said) {
          // Checked inside the child, where the fault's mounts are.
          const std::string before = Snapshot(file) + "|" + Listing(dir);
          const std::string outsideBefore = Snapshot(outside);
          const bool saved =
              SetRegValues(reg, HKCU, kMain, {{"Left", "15"}, {"Top", "30"}, {"UpdateInterval", "150"}});
          const bool unchanged = Snapshot(file) + "|" + Listing(dir) == before;
          // A dropped save is said once, naming where; one that lands says nothing.
          const bool told = saved ? said.empty() : said.size() == 1 && said[0].find(dir) != std::string::npos;
          return Snapshot(outside) == outsideBefore && (saved ? !unchanged : unchanged) && saved == f.lands &&
                 told;
        });
    if (status == 77) {
      GTEST_SKIP() << "cannot make the fault (needs root and mount namespaces)";
    }
    EXPECT_EQ(status, 1) << "0: a file changed, the save's result was wrong, or a dropped save was not said "
                            "once; 2 or more: it took too long";
    if (f.lands) {
      LinuxRegistry reg(config, machine);
      EXPECT_EQ(GetRegValue(reg, HKCU, kMain, "Left"), "15");
      EXPECT_EQ(GetRegValue(reg, HKCU, kMain, "Top"), "30");
      EXPECT_EQ(GetRegValue(reg, HKCU, kMain, "UpdateInterval"), "150");
      const std::string text = Snapshot(file);
      EXPECT_EQ(text.rfind("file:", 0), 0u) << "a regular file now, not the link";
      EXPECT_NE(text.find("[Other]\nnot an ini line\nkept=yes\n"), std::string::npos) << text;
    }
  }
}

// Two unprivileged users: the folders the program makes are its user's
// alone, and another user who can open an older, open folder can hold no
// lock that stalls a save.
TEST_F(LinuxRegistryTest, AnotherUserCanNeitherOpenTheFoldersNorStallASave) {
  if (geteuid() != 0) {
    GTEST_SKIP() << "two users need root to become them";
  }
  constexpr uid_t kOther = 65533;
  const std::string base = tmp.path().toStdString() + "/home";
  const std::string config = base + "/config";
  const std::string dir = config + "/Quorrin Software";
  fs::create_directories(config);
  chmod(tmp.path().toUtf8().constData(), 0755);
  chmod(base.c_str(), 0755);
  chmod(config.c_str(), 0755);
  GiveToNobody(base);
  auto save = [&] {
    return InChild([&] {
      if (!BecomeNobody()) {
        return 77;
      }
      LinuxRegistry reg(config, machine);
      const auto start = std::chrono::steady_clock::now();
      const bool saved = SetRegValues(reg, HKCU, kMain, {{"Left", "15"}, {"Top", "30"}});
      return saved && std::chrono::steady_clock::now() - start < std::chrono::milliseconds(300) ? 0 : 1;
    });
  };
  ASSERT_EQ(save(), 0);
  struct stat st {};
  ASSERT_EQ(stat(dir.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0700u) << "the folder it made is private";

  // A folder an older version made open to all: the other user can lock the
  // folder itself, but not the lock file, and the save goes through.
  chmod(dir.c_str(), 0755);
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t other = fork();
  if (other == 0) {
    int code = setgroups(0, nullptr) == 0 && setgid(kOther) == 0 && setuid(kOther) == 0 ? 0 : 77;
    const int folder = open(dir.c_str(), O_RDONLY | O_DIRECTORY);
    code |= folder >= 0 && flock(folder, LOCK_EX) == 0 ? 0 : 2;
    code |= open((dir + "/.Tallyflow.conf.lock").c_str(), O_RDONLY) < 0 && errno == EACCES ? 0 : 4;
    (void)!write(ready[1], "x", 1);
    sleep(1); // holding the folder's lock meanwhile
    _exit(code);
  }
  char x;
  ASSERT_EQ(read(ready[0], &x, 1), 1);
  EXPECT_EQ(save(), 0) << "the save neither waits for nor fails on the other user";
  int status = 0;
  waitpid(other, &status, 0);
  EXPECT_EQ(WEXITSTATUS(status), 0) << "2: could not lock the open folder; 4: could open the lock file";
  close(ready[0]);
  close(ready[1]);
}

// Whatever lies where the lock file goes, the save lands at once: the lock
// only keeps two copies of the program apart, so an odd one is replaced by a
// private file of the user's own (a link never followed) or done without.
TEST_F(LinuxRegistryTest, NoLockFileCostsTheSave) {
  if (geteuid() != 0) {
    GTEST_SKIP() << "two users need root to become them";
  }
  constexpr uid_t kOther = 65533;
  struct Odd {
    const char *what;
    std::function<bool(const std::string &lock, const std::string &target)> make; // as root
    bool heldByOther; // another user holds flock on it meanwhile
    bool replaced;    // a private regular file of the user's afterwards
  };
  const auto file = [](mode_t mode, uid_t owner) {
    return [=](const std::string &lock, const std::string &) {
      WriteText(lock, "");
      return chown(lock.c_str(), owner, owner) == 0 && chmod(lock.c_str(), mode) == 0;
    };
  };
  const Odd odds[] = {
      {"a dangling link", [](auto &lock, auto &target) { return symlink(target.c_str(), lock.c_str()) == 0; },
       false, true},
      {"a FIFO",
       [](auto &lock, auto &) {
         return mkfifo(lock.c_str(), 0600) == 0 && chown(lock.c_str(), kNobody, kNobody) == 0;
       },
       false, true},
      {"a directory",
       [](auto &lock, auto &) {
         return mkdir(lock.c_str(), 0700) == 0 && chown(lock.c_str(), kNobody, kNobody) == 0;
       },
       false, false},
      {"another user's file", file(0600, kOther), false, true},
      {"mode 000", file(0000, kNobody), false, true},
      {"mode 400", file(0400, kNobody), false, true},
      {"mode 644, held open by another user", file(0644, kNobody), true, true},
  };
  chmod(tmp.path().toUtf8().constData(), 0755);
  int round = 0;
  for (const auto &odd : odds) {
    SCOPED_TRACE(odd.what);
    const std::string config = tmp.path().toStdString() + "/case" + std::to_string(++round);
    const std::string dir = config + "/Quorrin Software";
    const std::string lock = dir + "/.Tallyflow.conf.lock";
    const std::string target = config + "/not-to-be-made";
    fs::create_directories(dir);
    WriteText(dir + "/Tallyflow.conf", "[Main]\nLeft=3000\n");
    chmod(config.c_str(), 0755);
    chmod(dir.c_str(), 0755); // as an older version left it: others may enter
    GiveToNobody(config);
    ASSERT_TRUE(odd.make(lock, target));
    int go[2] = {-1, -1};
    int ready[2] = {-1, -1};
    pid_t holder = -1;
    if (odd.heldByOther) {
      ASSERT_EQ(pipe(go), 0);
      ASSERT_EQ(pipe(ready), 0);
      holder = fork();
      if (holder == 0) {
        const int fd = setgroups(0, nullptr) == 0 && setgid(kOther) == 0 && setuid(kOther) == 0
                           ? open(lock.c_str(), O_RDONLY)
                           : -1;
        const char held = fd >= 0 && flock(fd, LOCK_EX) == 0 ? 'y' : 'n';
        (void)!write(ready[1], &held, 1);
        char x;
        (void)!read(go[0], &x, 1); // holds the lock until the test lets go
        _exit(0);
      }
      char held = 'n';
      ASSERT_EQ(read(ready[0], &held, 1), 1);
      ASSERT_EQ(held, 'y') << "the other user could not hold the lock file";
    }
    const int status = SaveInChild(
        config, machine, [] { return true; }, true,
        [](LinuxRegistry &reg, auto &said) {
          const auto start = std::chrono::steady_clock::now();
          return SetRegValue(reg, HKCU, kMain, "Left", "15") &&
                 std::chrono::steady_clock::now() - start < std::chrono::milliseconds(300) && said.empty();
        });
    if (holder > 0) {
      (void)!write(go[1], "x", 1);
      waitpid(holder, nullptr, 0);
      for (int fd : {go[0], go[1], ready[0], ready[1]}) {
        close(fd);
      }
    }
    EXPECT_EQ(status, 1) << "0: dropped, waited or complained";
    LinuxRegistry reader(config, machine);
    EXPECT_EQ(GetRegValue(reader, HKCU, kMain, "Left"), "15");
    EXPECT_FALSE(fs::exists(fs::symlink_status(target))) << "a link was followed";
    struct stat st {};
    ASSERT_EQ(lstat(lock.c_str(), &st), 0);
    if (odd.replaced) {
      EXPECT_TRUE(S_ISREG(st.st_mode) && st.st_uid == kNobody && (st.st_mode & 07777) == 0600)
          << std::oct << st.st_mode << " owned by " << std::dec << st.st_uid;
    }
  }
}

// sudo -E: root with the user's home reads the user's settings but writes
// nothing there, and says so once.
TEST_F(LinuxRegistryTest, RootLeavesAnotherUsersHomeAlone) {
  if (geteuid() != 0) {
    GTEST_SKIP() << "needs root";
  }
  const std::string home = tmp.path().toStdString() + "/home";
  for (const bool hasConfig : {false, true}) {
    SCOPED_TRACE(hasConfig ? "with the user's settings" : "without ~/.config");
    fs::remove_all(home);
    fs::create_directories(home);
    if (hasConfig) {
      fs::create_directories(home + "/.config/Quorrin Software");
      WriteText(home + "/.config/Quorrin Software/Tallyflow.conf", "[Main]\nLeft=3000\n");
    }
    GiveToNobody(home);
    const auto everything = [&] {
      std::string all;
      for (const auto &e : fs::recursive_directory_iterator(home)) {
        all += e.path().string() + "=" + Snapshot(e.path().string()) + "\n";
      }
      return all;
    };
    const std::string before = everything();
    std::vector<std::string> said;
    LinuxRegistry asRoot(home + "/.config", machine, [&](const std::string &line) { said.push_back(line); });
    EXPECT_EQ(GetRegValue(asRoot, HKCU, kMain, "Left"),
              hasConfig ? std::optional<std::string>("3000") : std::nullopt);
    EXPECT_FALSE(SetRegValue(asRoot, HKCU, kMain, "Left", "15"));
    EXPECT_FALSE(SetRegValue(asRoot, HKCU, kRunKey, "tallyflow", "/usr/bin/tallyflow"));
    EXPECT_EQ(everything(), before) << "nothing made, changed or locked";
    ASSERT_EQ(said.size(), 1u);
    EXPECT_NE(said[0].find(home + "/.config"), std::string::npos) << said[0];
  }
}

TEST_F(LinuxRegistryTest, StartUpEntryIsWrittenWholeNeverThroughALinkAndReportedHonestly) {
  const std::string exe = "/opt/tallyflow/tallyflow";
  const std::string profile = "export PATH=$HOME/bin:$PATH\n";
  struct Fault {
    const char *what;
    bool add;    // tick the box, or untick it
    bool result; // whether an entry now starts the program (add) or none remains (remove)
    const char *machineAfter, *userAfter; // what the two entries are afterwards
    std::function<bool(const std::string &machineDir, const std::string &userDir, const std::string &outside)>
        make;
  };
  const Fault faults[] = {
      {"a link planted in a folder anyone may write", true, true, "file", "none",
       [](auto &m, auto &, auto &outside) {
         return chmod(m.c_str(), 0777) == 0 &&
                symlink(outside.c_str(), (m + "/tallyflow.desktop").c_str()) == 0;
       }},
      {"the planted link, unticked", false, true, "none", "none",
       [](auto &m, auto &, auto &outside) {
         return chmod(m.c_str(), 0777) == 0 &&
                symlink(outside.c_str(), (m + "/tallyflow.desktop").c_str()) == 0;
       }},
      {"a FIFO in the machine entry's place", true, true, "other", "file",
       [](auto &m, auto &, auto &) { return mkfifo((m + "/tallyflow.desktop").c_str(), 0666) == 0; }},
      {"both folders on a full disk", true, false, "none", "none",
       [](auto &m, auto &u, auto &) {
         for (const auto &dir : {m, u}) {
           if (mount("tmpfs", dir.c_str(), "tmpfs", 0, "size=4k,mode=0777") != 0) {
             return false;
           }
           std::ofstream filler(dir + "/filler");
           while (filler.write("f", 1) && filler.flush()) {
           }
         }
         return true;
       }},
      {"a machine entry the user may not remove", false, false, "file", "none",
       [](auto &m, auto &, auto &) {
         WriteText(m + "/tallyflow.desktop", *AutostartEntry("tallyflow", "/opt/tallyflow/tallyflow"));
         return chown(m.c_str(), 0, 0) == 0 && lchown((m + "/tallyflow.desktop").c_str(), 0, 0) == 0;
       }},
  };
  int round = 0;
  chmod(tmp.path().toUtf8().constData(), 0755);
  for (const auto &f : faults) {
    SCOPED_TRACE(f.what);
    const std::string base = tmp.path().toStdString() + "/entry" + std::to_string(++round);
    const std::string machineDir = base + "/etc-xdg/autostart";
    const std::string userDir = base + "/home-config/autostart";
    const std::string outside = base + "/home-config/profile";
    fs::create_directories(machineDir);
    fs::create_directories(userDir);
    WriteText(outside, profile);
    GiveToNobody(base); // the user's own files; the machine folder is made root's where it matters
    const int status = SaveInChild(
        base + "/home-config", base + "/etc-xdg", [&] { return f.make(machineDir, userDir, outside); }, true,
        [&](LinuxRegistry &reg, const std::vector<std::string> &) {
          const bool result = f.add ? AddStartUpEntry(reg, exe, PathStyle::Posix)
                                    : RemoveStartUpEntry(reg, exe, PathStyle::Posix);
          auto kind = [](const std::string &path) {
            const std::string snap = Snapshot(path);
            return snap.substr(0, snap.find(':'));
          };
          const bool strays = Listing(machineDir).find(".tmp") != std::string::npos ||
                              Listing(userDir).find(".tmp") != std::string::npos;
          const bool written = kind(machineDir + "/tallyflow.desktop") != "file" ||
                               GetRegValue(reg, HKLM, kRunKey, "tallyflow") == exe;
          return result == f.result && kind(machineDir + "/tallyflow.desktop") == f.machineAfter &&
                 kind(userDir + "/tallyflow.desktop") == f.userAfter && !strays && written &&
                 Snapshot(outside) == "file:" + profile;
        });
    if (status == 77) {
      GTEST_SKIP() << "cannot make the fault (needs root and mount namespaces)";
    }
    EXPECT_EQ(status, 1) << "0: wrong result, a file changed or a stray file was left; 2 or more: too slow";
  }
}

TEST(LinuxRegistryHome, FromThePasswordDatabaseWithoutHomeAndNowhereWithoutAnEntry) {
  const int status = InChild([] {
    unsetenv("HOME");
    unsetenv("XDG_CONFIG_HOME");
    const passwd *me = getpwuid(getuid());
    const auto at = LinuxRegistry::FromEnvironment().Resolve(HKCU, kMain);
    if (me == nullptr || !at ||
        at->path != std::string(me->pw_dir) + "/.config/Quorrin Software/Tallyflow.conf") {
      return 1;
    }
    if (setgroups(0, nullptr) != 0 || setgid(54321) != 0 || setuid(54321) != 0) {
      return 77; // a user the password database does not know
    }
    auto nowhere = LinuxRegistry::FromEnvironment();
    return !nowhere.Resolve(HKCU, kMain) && !SetRegValue(nowhere, HKCU, kMain, "Left", "1") ? 0 : 2;
  });
  if (status == 77) {
    GTEST_SKIP() << "needs root to become a user without an entry";
  }
  EXPECT_EQ(status, 0)
      << "1: the home was not the password database's; 2: something was stored without a home";
}

TEST(LinuxRegistryFormat, TextsReadBackThroughQSettingsAndBack) {
  QTemporaryDir dir;
  const std::string texts[] = {"150",
                               "",
                               "  padded  ",
                               "a,b;c=d",
                               "quote\"back\\slash",
                               "tab\tnew\nline",
                               "\x01"
                               "2 after a control",
                               "@at",
                               "@@twice",
                               "\xc3\xbcnicode \xe2\x82\xac",
                               "%percent%20"};
  int round = 0;
  for (const auto &text : texts) {
    SCOPED_TRACE(text);
    const std::string org = "Org" + std::to_string(++round);
    const std::string key = "Software\\" + org + "\\App\\Main";
    const QString file = dir.path() + "/" + QString::fromStdString(org) + "/App.conf";
    LinuxRegistry reg(dir.path().toStdString(), dir.path().toStdString() + "/xdg");
    ASSERT_TRUE(SetRegValue(reg, HKCU, key, "Value Name", text));
    EXPECT_EQ(QSettings(file, QSettings::IniFormat).value("Main/Value Name").toString().toStdString(), text);

    {
      QSettings qt(file, QSettings::IniFormat);
      qt.setValue("Main/Other", QString::fromStdString(text));
    }
    EXPECT_EQ(GetRegValue(reg, HKCU, key, "Other"), text);
  }
}

// Files as other editors leave them: a byte-order mark, CR LF line ends, and
// sizes on both sides of the cap. A save reads back, or changes nothing.
TEST(LinuxRegistryFormat, MarksLineEndsAndSizesAsOtherEditorsLeaveThem) {
  const std::string bom = "\xEF\xBB\xBF";
  struct Case {
    const char *what;
    std::string before;
    std::string after; // the file after Left=1500 is saved; empty: refused, unchanged
  };
  const std::size_t cap = kMaxFileBytes;
  // A file whose saved form (one line more: "Left=1500\n", 10 bytes) is
  // exactly at the cap, and one a byte larger.
  const std::string head = "[Main]\nTop=1200\n";
  auto padded = [&](std::size_t size) {
    std::string text = head + ";";
    text += std::string(size - text.size() - 1, 'p') + "\n";
    return text;
  };
  const Case cases[] = {
      {"a byte-order mark before [Main]", bom + "[Main]\nTop=1200\n", bom + "[Main]\nTop=1200\nLeft=1500\n"},
      {"CR LF lines", "[Main]\r\nLeft=1\r\nTop=1200\r\n", "[Main]\r\nLeft=1500\r\nTop=1200\r\n"},
      {"CR LF, a new line", "[Main]\r\nTop=1200\r\n", "[Main]\r\nTop=1200\r\nLeft=1500\r\n"},
      {"saved at the cap exactly", padded(cap - 10), padded(cap - 10) + "Left=1500\n"},
      {"saved a byte past the cap", padded(cap - 9), ""},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    QTemporaryDir dir;
    const std::string file = dir.path().toStdString() + "/Quorrin Software/Tallyflow.conf";
    std::filesystem::create_directories(DirectoryOf(file));
    std::ofstream(file, std::ios::binary) << c.before;
    LinuxRegistry reg(dir.path().toStdString(), dir.path().toStdString() + "/xdg");
    EXPECT_EQ(GetRegValue(reg, HKCU, kMain, "Top"), "1200") << "read, whatever the shape";
    EXPECT_EQ(SetRegValue(reg, HKCU, kMain, "Left", "1500"), !c.after.empty());
    const std::string now = ReadFile(QString::fromStdString(file));
    EXPECT_EQ(now.size(), c.after.empty() ? c.before.size() : c.after.size());
    EXPECT_TRUE(now == (c.after.empty() ? c.before : c.after)) << "byte for byte";
    LinuxRegistry again(dir.path().toStdString(), dir.path().toStdString() + "/xdg");
    EXPECT_EQ(GetRegValue(again, HKCU, kMain, "Top"), "1200") << "what a save leaves reads back";
  }
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
    const auto entry = AutostartEntry("tallyflow", path);
    ASSERT_TRUE(entry) << path;
    const auto exec = FindExecValue(*entry);
    ASSERT_TRUE(exec) << *entry;
    EXPECT_EQ(ProgramOfExec(*exec), path) << *exec;
  }
  EXPECT_FALSE(AutostartEntry("tallyflow", "/opt/a%b=c/tallyflow")) << "env would take it for a variable";
  EXPECT_FALSE(ParseDesktopExec("\"unterminated"));
  EXPECT_FALSE(ParseDesktopExec("prog %f")) << "field codes are not ours";
}

// The desktop's own launcher (GLib, as GNOME's session and gio launch use it)
// loads each entry and starts the program it names, wherever that lives.
TEST(DesktopEntry, GLibStartsTheProgramWhereverItLives) {
  QTemporaryDir tmp;
  const std::string root = tmp.path().toStdString();
  const std::string folders[] = {"plain", "a%b", "100%", "Net Tools", "$(touch x)", "q\"uote", "back\\slash"};
  int n = 0;
  for (const auto &folder : folders) {
    SCOPED_TRACE(folder);
    const std::string program = root + "/" + folder + "/tallyflow";
    const std::string ran = root + "/ran" + std::to_string(++n);
    fs::create_directories(root + "/" + folder);
    WriteText(program, "#!/bin/sh\nprintf %s \"$0\" > '" + ran + "'\n");
    ASSERT_EQ(chmod(program.c_str(), 0755), 0);
    const std::string entry = root + "/entry" + std::to_string(n) + ".desktop";
    WriteText(entry, AutostartEntry("Tallyflow Manager", program).value_or(""));
    const std::string launch =
        "/usr/bin/python3 -c 'import sys, gi; gi.require_version(\"Gio\", \"2.0\"); "
        "from gi.repository import Gio; i = Gio.DesktopAppInfo.new_from_filename(sys.argv[1]); "
        "sys.exit(0 if i is not None and i.launch([], None) else 1)' '" +
        entry + "'";
    ASSERT_EQ(std::system(launch.c_str()), 0) << "GLib refused " << ReadFile(QString::fromStdString(entry));
    for (int i = 0; i < 200 && !fs::exists(ran); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_EQ(ReadFile(QString::fromStdString(ran)), program);
  }
}

TEST_F(LinuxRegistryTest, StartUpEntryIsAnAutostartFileWithAFallbackToTheUser) {
  const std::string exe = "/opt/Net Tools/$(touch x)/tallyflow";
  ASSERT_TRUE(AddStartUpEntry(reg, exe, PathStyle::Posix));
  const QString machineEntry = QString::fromStdString(machine) + "/autostart/tallyflow.desktop";
  ASSERT_TRUE(QFile::exists(machineEntry));
  const std::string text = ReadFile(machineEntry);
  EXPECT_NE(text.find("Type=Application"), std::string::npos);
  EXPECT_NE(text.find("\nName=Tallyflow Manager\n"), std::string::npos) << "the product, not the file";
  EXPECT_NE(text.find("\nTryExec=" + exe + "\n"), std::string::npos) << "skipped once the program is gone";
  EXPECT_NE(text.find("\nIcon=com.example.Tallyflow\n"), std::string::npos);
  EXPECT_EQ(ProgramOfExec(*FindExecValue(text)), exe);
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
