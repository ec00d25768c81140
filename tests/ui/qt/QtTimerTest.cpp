#include "ui/qt/QtTimer.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTest>

namespace tallyflow {
namespace {

struct Counted {
  Counted() {
    timer.OnTick([this] {
      ++ticks;
      if (!first.isValid() || firstAt < 0) {
        firstAt = clock.elapsed();
      }
    });
    clock.start();
  }
  QtTimer timer;
  int ticks = 0;
  QElapsedTimer clock;
  QElapsedTimer first;
  qint64 firstAt = -1;
};

TEST(QtTimer, RefusesIntervalsOutsideTheRangeAndKeepsTheOldOne) {
  QtTimer timer;
  EXPECT_TRUE(timer.Interval(250));
  for (std::int64_t bad : {std::int64_t{70'000}, std::int64_t{-1}, std::int64_t{65'536}}) {
    EXPECT_FALSE(timer.Interval(bad)) << bad;
    EXPECT_EQ(timer.Interval(), 250) << bad;
  }
  EXPECT_TRUE(timer.Interval(65'535));
  EXPECT_TRUE(timer.Interval(0));
  EXPECT_EQ(timer.Interval(), 0);
}

TEST(QtTimer, ZeroNeverFires) {
  Counted c;
  c.timer.Interval(0);
  c.timer.Enabled(true);
  QTest::qWait(150);
  EXPECT_EQ(c.ticks, 0);
}

TEST(QtTimer, DisablingStopsAndEnablingWaitsAFullInterval) {
  Counted c;
  c.timer.Interval(40);
  c.timer.Enabled(true);
  EXPECT_TRUE(QTest::qWaitFor([&] { return c.ticks >= 2; }, 5000))
      << "a busy machine may be slow, never silent";
  c.timer.Enabled(false);
  const int stopped = c.ticks;
  QTest::qWait(150);
  EXPECT_EQ(c.ticks, stopped) << "a disabled timer does not fire";

  c.timer.Interval(200);
  c.ticks = 0;
  c.firstAt = -1;
  c.clock.restart();
  c.timer.Enabled(true);
  EXPECT_TRUE(QTest::qWaitFor([&] { return c.ticks > 0; }, 2000));
  EXPECT_GE(c.firstAt, 195) << "enabling starts a full interval";
}

} // namespace
} // namespace tallyflow
