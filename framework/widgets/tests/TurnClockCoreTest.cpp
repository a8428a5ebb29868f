// The turn clock's counting, stepped by hand as its thread would step it.
#include "TurnClockCore.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

using namespace widgets;

namespace {

// Steps until the clock stops changing; the events by remaining milliseconds.
std::map<int, ClockEvent> RunClock(TurnClockCore& c, int maxSteps = 1000) {
  std::map<int, ClockEvent> events;
  for (int i = 0; i < maxSteps; ++i) {
    bool changed = false;
    ClockEvent e = c.Tick(false, &changed);
    if (!changed) break;
    if (e != CLOCK_NONE) events[c.RemainingMs()] = e;
  }
  return events;
}

}  // namespace

TEST(TurnClockCore, IntervalSoundsThenZero) {
  TurnClockCore c;
  c.Configure(5, true);
  c.Start(15);
  const auto events = RunClock(c);
  const std::map<int, ClockEvent> expected = {{10000, CLOCK_TICK_SOUND}, {5000, CLOCK_TICK_SOUND}, {0, CLOCK_ZERO}};
  EXPECT_EQ(events, expected);
  EXPECT_TRUE(c.Expired());
  bool changed = true;
  EXPECT_EQ(c.Tick(false, &changed), CLOCK_NONE) << "after zero nothing more";
  EXPECT_FALSE(changed);
}

TEST(TurnClockCore, QuietClockStillReachesZero) {
  TurnClockCore c;
  c.Configure(5, false);
  c.Start(10);
  const auto events = RunClock(c);
  EXPECT_EQ(events, (std::map<int, ClockEvent>{{0, CLOCK_ZERO}}));
  c.Configure(0, true);
  c.Start(3);
  EXPECT_EQ(RunClock(c), (std::map<int, ClockEvent>{{0, CLOCK_ZERO}})) << "no interval, no tick sound";
}

TEST(TurnClockCore, StartAtZeroNeverExpires) {
  TurnClockCore c;
  c.Start(0);
  EXPECT_TRUE(c.Running());
  EXPECT_TRUE(RunClock(c).empty());
  EXPECT_FALSE(c.Expired());
  EXPECT_EQ(c.RemainingMs(), 0);
}

TEST(TurnClockCore, PauseFreezesAndStopCancels) {
  TurnClockCore c;
  c.Start(2);
  bool changed = false;
  c.Tick(false, &changed);
  EXPECT_EQ(c.RemainingMs(), 1750);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(c.Tick(true, &changed), CLOCK_NONE);
  EXPECT_FALSE(changed);
  EXPECT_EQ(c.RemainingMs(), 1750) << "paused";
  c.Tick(false, &changed);
  EXPECT_EQ(c.RemainingMs(), 1500) << "goes on from the same time";
  c.Stop();
  c.Tick(false, &changed);
  EXPECT_EQ(c.RemainingMs(), 1500);
  c.Resume();
  c.Tick(false, &changed);
  EXPECT_EQ(c.RemainingMs(), 1250) << "resumed with the time kept";
  EXPECT_EQ(c.ElapsedMs(), 750);
  while (c.RemainingMs() > 0) c.Tick(false, &changed);
  EXPECT_TRUE(c.Expired());
  c.Stop();
  EXPECT_FALSE(c.Expired()) << "a stop between zero and the command cancels it";
}

TEST(TurnClockCore, GlyphsOfEveryMode) {
  const int C = CLOCK_COLON;
  struct {
    int mode, seconds;
    std::vector<int> glyphs;
  } cases[] = {
      {5, 754, {1, 2, C, 3, 4}},
      {5, 59, {0, 0, C, 5, 9}},
      {7, 754, {1, 2, C, 3, 4}},  // unknown modes show as 5
      {2, 47, {4, 7}},
      {2, 123, {2, 3}},
      {3, 123, {1, 2, 3}},
      {3, 1234, {2, 3, 4}},
      {8, 3 * 3600 + 25 * 60 + 7, {0, 3, C, 2, 5, C, 0, 7}},
      {8, 12 * 3600, {1, 2, C, 0, 0, C, 0, 0}},
      {5, -3, {0, 0, C, 0, 0}},
  };
  for (const auto& c : cases) EXPECT_EQ(ClockGlyphs(c.mode, c.seconds), c.glyphs) << c.mode << " " << c.seconds;
}
