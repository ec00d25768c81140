#include "monitor/TrafficDelta.h"

#include <gtest/gtest.h>

namespace tallyflow {
namespace {

using namespace std::chrono_literals;

TEST(CounterDelta, WrapsAreTrueDeltasAndResetsContributeNothing) {
  struct Case {
    const char *what;
    std::uint32_t previous, current, speed;
    std::chrono::nanoseconds elapsed;
    std::uint32_t expected;
  };
  const Case cases[] = {
      {"growth", 1000, 5000, 0, 1s, 4000},
      {"no change", 7, 7, 0, 1s, 0},
      {"wrap past 2^32", 0xFFFFF000u, 0x1000u, 0, 1s, 0x2000u},
      {"wrap on a known 1 Gbit/s link", 0xFFFFFF00u, 0x100u, 1'000'000'000u, 200ms, 0x200u},
      {"reset: wrapped delta of 2^31 or more", 0x10000000u, 5u, 0, 1s, 0},
      {"reset: more than the 10 Mbit/s link carries", 3'000'000'000u, 1000u, 10'000'000u, 1s, 0},
      // 10 Mbit/s for 1 s is 1.25 MB, four times that 5 MB.
      {"wrap within four times the link", 0xFFFFFFFFu - 4'000'000u, 0u, 10'000'000u, 1s, 4'000'001u},
      {"wrap beyond four times the link", 0xFFFFFFFFu - 6'000'000u, 0u, 10'000'000u, 1s, 0},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(CounterDelta(c.previous, c.current, c.speed, c.elapsed), c.expected) << c.what;
  }
}

std::shared_ptr<CInterfaces> Snapshot(std::initializer_list<std::array<std::uint32_t, 3>> rows) {
  auto col = std::make_shared<CInterfaces>();
  for (const auto &[index, in, out] : rows) {
    auto rec = std::make_shared<CInterface>();
    rec->InterfaceIndex(index);
    rec->OctetsReceived(in);
    rec->OctetsSent(out);
    col->Add(rec);
  }
  return col;
}

TEST(TrafficDelta, MatchesInterfacesByIndexWhereverTheyStand) {
  TrafficDelta delta;
  const auto before = Snapshot({{1, 100, 10}, {2, 200, 20}, {3, 300, 30}});
  // 2 vanished, 4 appeared with a large counter, 1 and 3 swapped places.
  const auto after = Snapshot({{3, 350, 35}, {4, 999'999, 9}, {1, 110, 11}});
  const auto d = delta.Between(*before, *after, 1s);
  EXPECT_EQ(d.received, 60u);
  EXPECT_EQ(d.sent, 6u);
  const auto none = delta.Between(*before, *Snapshot({}), 1s);
  EXPECT_EQ(none.received, 0u);
}

} // namespace
} // namespace tallyflow
