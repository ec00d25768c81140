// The tick on the real Linux interface table under stress, each test in a
// private network namespace of its own: interfaces that come and go, and
// 32-bit counters that wrap while traffic flows.

#include "monitor/MonitorTick.h"
#include "platform/linux/iftable/LinuxIfTable.h"

#include "fakes/FakeMonitorWindow.h"
#include "fakes/FakeSettings.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <netinet/in.h>
#include <sched.h>
#include <set>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace tallyflow {
namespace {

using namespace std::chrono;
using L = MonitorLabel;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kUnderAsan = true; // ASan's quarantine makes resident size meaningless
#else
constexpr bool kUnderAsan = false;
#endif

long ResidentKiB() {
  std::ifstream statm("/proc/self/statm");
  long size = 0, resident = 0;
  statm >> size >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

int Seconds(const char *variable, int fallback) {
  const char *v = std::getenv(variable);
  return v != nullptr ? std::atoi(v) : fallback;
}

// The rate a speed label shows, in bytes per second: "512 BS " or "1.50 KBS ".
double ShownRate(const std::string &caption) {
  const double number = std::strtod(caption.c_str(), nullptr);
  return caption.find("KBS") != std::string::npos ? number * 1024 : number;
}

void Quiet(const std::string &command) {
  ASSERT_EQ(std::system((command + " >/dev/null 2>&1").c_str()), 0) << command;
}

class HardeningTest : public ::testing::Test {
protected:
  void SetUp() override {
    if (::unshare(CLONE_NEWNET) != 0) {
      GTEST_SKIP() << "cannot make a private network namespace (" << std::strerror(errno) << ")";
    }
    std::ofstream("/proc/sys/net/ipv6/conf/default/disable_ipv6") << "1";
    std::ofstream("/proc/sys/net/ipv6/conf/all/disable_ipv6") << "1";
    Quiet("ip link set lo up");
    ip = std::make_shared<CIpHelper>(std::make_shared<LinuxIfTable>());
    graph.DataCollection(&samples);
    samples.assign(100, 0.0);
    view.update.interval = 100;
    view.update.enabled = true;
    tick = std::make_unique<MonitorTick>(view, nullptr, settings, ip, graph, samples, clock,
                                         NumberLocale{",", "."}, "Tallyflow Manager");
  }

  test::FakeMonitorWindow view;
  test::FakeSettings settings;
  std::shared_ptr<CIpHelper> ip;
  clsLineGraph graph;
  SampleSeries samples;
  SteadyClock clock;
  std::unique_ptr<MonitorTick> tick;
};

TEST_F(HardeningTest, InterfacesComingAndGoingNeverGiveAPhantomRate) {
  const int seconds = Seconds("TALLYFLOW_CHURN_SECONDS", 60);
  std::atomic<bool> stop{false};
  std::atomic<int> changes{0};
  std::thread churn([&] {
    for (int k = 0; !stop; ++k) {
      const std::string add =
          "ip link add c" + std::to_string(k) + " type veth peer name d" + std::to_string(k);
      const std::string del = "ip link del c" + std::to_string(k - 3);
      std::system((add + " >/dev/null 2>&1").c_str());
      if (k >= 3) {
        std::system((del + " >/dev/null 2>&1").c_str());
      }
      ++changes;
      std::this_thread::sleep_for(50ms);
    }
  });

  const auto start = steady_clock::now();
  long warmResident = 0;
  int ticks = 0;
  while (steady_clock::now() - start < seconds * 1s) {
    tick->tmrUpdate_Timer();
    ++ticks;
    // No traffic moves in this namespace: any rate but 0 is a phantom.
    ASSERT_EQ(view.Caption(L::lblDSpeed), "0 BS ") << "tick " << ticks;
    ASSERT_EQ(view.Caption(L::lblUSpeed), "0 BS ") << "tick " << ticks;
    ASSERT_EQ(tick->TopDownload(), 0.0);
    const std::set<std::string> distinct(view.list.begin(), view.list.end());
    ASSERT_EQ(distinct.size(), view.list.size()) << "the list is one snapshot's";
    ASSERT_TRUE(distinct.count("Loopback (lo) "));
    if (warmResident == 0 && steady_clock::now() - start > seconds * 1s / 6) {
      warmResident = ResidentKiB();
    }
    std::this_thread::sleep_for(100ms);
  }
  stop = true;
  churn.join();
  const long growth = ResidentKiB() - warmResident;
  RecordProperty("ticks", ticks);
  RecordProperty("link_changes", changes.load());
  RecordProperty("resident_growth_kib", static_cast<int>(growth));
  std::printf("churn: %d ticks, %d link changes, resident growth after warm-up %ld KiB\n", ticks,
              changes.load(), growth);
  // How much churn a busy machine manages is its own affair; a run without
  // any would have proved nothing.
  EXPECT_GE(changes.load(), 20) << "too few link changes to test anything";
  if (!kUnderAsan) {
    EXPECT_LT(growth, 1024) << "resident memory grew by " << growth << " KiB";
  }
}

TEST_F(HardeningTest, CountersThatWrapPast32BitsStayInvisible) {
  // A TCP stream over loopback moves more than 4 GiB: lo's 32-bit counters
  // in the table wrap at least once.
  const int listener = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr *>(&addr), sizeof addr), 0);
  socklen_t len = sizeof addr;
  getsockname(listener, reinterpret_cast<sockaddr *>(&addr), &len);
  ASSERT_EQ(listen(listener, 1), 0);
  constexpr std::uint64_t kTotal = 4'700'000'000ull; // bytes
  std::atomic<bool> done{false};
  std::thread receiver([&] {
    const int s = accept(listener, nullptr, nullptr);
    std::vector<char> buf(1 << 20);
    while (recv(s, buf.data(), buf.size(), 0) > 0) {
    }
    close(s);
  });
  std::thread sender([&] {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    connect(s, reinterpret_cast<sockaddr *>(&addr), sizeof addr);
    std::vector<char> buf(1 << 20, 'x');
    std::uint64_t sent = 0;
    while (sent < kTotal) {
      const ssize_t n = send(s, buf.data(), buf.size(), 0);
      if (n <= 0) {
        break;
      }
      sent += static_cast<std::uint64_t>(n);
    }
    close(s);
    done = true;
  });

  auto loReceived = [] {
    // The kernel's own 64-bit count, read apart from the table under test.
    FILE *p = popen("ip -s -j link show lo", "r");
    char buf[8192] = {};
    const std::size_t n = std::fread(buf, 1, sizeof buf - 1, p);
    pclose(p);
    const std::string json(buf, n);
    const auto at = json.find("\"rx\":{\"bytes\":");
    return std::strtoull(json.c_str() + at + 14, nullptr, 10);
  };
  tick->tmrUpdate_Timer();
  const auto first = loReceived();
  double integrated = 0; // bytes, from the rates shown
  auto last = steady_clock::now();
  int ticks = 0;
  while (!done) {
    std::this_thread::sleep_for(200ms);
    tick->tmrUpdate_Timer();
    const auto now = steady_clock::now();
    const double rate = ShownRate(view.Caption(L::lblDSpeed));
    ASSERT_GE(rate, 0) << view.Caption(L::lblDSpeed);
    integrated += rate * duration<double>(now - last).count();
    last = now;
    ++ticks;
  }
  sender.join();
  receiver.join();
  close(listener);
  std::this_thread::sleep_for(200ms);
  tick->tmrUpdate_Timer();
  integrated += ShownRate(view.Caption(L::lblDSpeed)) * duration<double>(steady_clock::now() - last).count();
  const auto moved = static_cast<double>(loReceived() - first);
  ASSERT_GT(moved, 4294967296.0) << "the counter must wrap";
  const double error = std::fabs(integrated - moved) / moved;
  RecordProperty("rate_error_percent", std::to_string(error * 100));
  std::printf("wrap: %.0f bytes through lo in %d ticks, rates integrate to %.0f (%.2f %% off)\n", moved,
              ticks, integrated, error * 100);
  EXPECT_LT(error, 0.03);
}

} // namespace
} // namespace tallyflow
