// The floating text's queue and motion, stepped frame by frame.
#include "FloatingTextCore.h"

#include <gtest/gtest.h>

#include <string>

using namespace widgets;

namespace {

FloatParams Lasting(int ms) {
  FloatParams p;
  p.durationMs = ms;
  return p;
}

// Starts whatever can start, as the overlay's timer does, with boxes of 100 by h.
void StartReady(FloatingTextQueue& q, int h, const FloatParams& p, int clientH = 500) {
  int i;
  while ((i = q.StartableItem()) >= 0) q.StartItem(i, 100, h, 800, clientH, p);
}

}  // namespace

TEST(FloatingTextQueue, TheEleventhTextIsRefused) {
  FloatingTextQueue q;
  for (int i = 0; i < 10; ++i) EXPECT_TRUE(q.AddText("t" + std::to_string(i))) << i;
  EXPECT_FALSE(q.AddText("eleventh"));
  EXPECT_FALSE(q.AddText("")) << "an empty text never queues";
  // Once the first one started its slot is free again.
  StartReady(q, 20, Lasting(7000));
  EXPECT_TRUE(q.AddText("now"));
}

TEST(FloatingTextQueue, LongTextsAreCutBetweenCharacters) {
  FloatingTextQueue q;
  std::string gbk;
  for (int i = 0; i < 200; ++i) gbk += "\xB2\xBB";  // 400 bytes of 不
  ASSERT_TRUE(q.AddText("a" + gbk));
  const std::string* t = q.NextText();
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->size(), 255u) << "one byte, then 127 whole characters";
  EXPECT_EQ(t->substr(253), "\xB2\xBB");
}

TEST(FloatingTextQueue, SecondTextWaitsUntilTheFirstRoseOutOfItsWay) {
  FloatingTextQueue q;
  const int h = 20;
  ASSERT_TRUE(q.AddText("first"));
  ASSERT_TRUE(q.AddText("second"));
  StartReady(q, h, Lasting(7000));
  EXPECT_TRUE(q.HasWaiting());
  // Room: more than (h + 5) / 5 + h = 25 pixels.
  int frames = 0;
  while (q.HasWaiting() && frames < 100) {
    q.Advance();
    ++frames;
    const FloatItem& first = q.Item(0);
    const int risen = first.start.top - first.current.top;
    StartReady(q, h, Lasting(7000));
    if (q.HasWaiting()) {
      EXPECT_LE(risen, 25) << frames;
    } else {
      EXPECT_GT(risen, 25) << frames;
    }
  }
  EXPECT_FALSE(q.HasWaiting());
  EXPECT_EQ(q.Item(1).text, "second");
}

TEST(FloatingTextQueue, ItemLifeRiseAndFade) {
  struct {
    int durationMs, clientH, frames, totalRise;
  } cases[] = {
      {7000, 500, 71, 250},  // the overlay's default
      {3000, 500, 31, 250},
      {50, 400, 1, 200},
  };
  for (const auto& c : cases) {
    FloatingTextQueue q;
    ASSERT_TRUE(q.AddText("x"));
    StartReady(q, 20, Lasting(c.durationMs), c.clientH);
    const FloatItem& it = q.Item(0);
    EXPECT_EQ(it.start.top, c.clientH * 70 / 100);
    EXPECT_EQ(it.start.left, 400 - 50) << "centred on half the width";
    EXPECT_EQ(it.frames, c.frames);
    EXPECT_EQ(it.Opacity(), 128);
    int ticks = 0, lastRise = 0;
    while (q.IsAnimating() && ticks < 1000) {
      const FloatRect dirty = q.Advance();
      EXPECT_FALSE(dirty.IsEmpty());
      ++ticks;
      if (!it.idle) lastRise = it.start.top - it.current.top;
    }
    EXPECT_EQ(ticks, c.frames + 1) << "lives its frames, idle on the tick after";
    EXPECT_EQ(lastRise, c.totalRise);
    EXPECT_EQ(it.Opacity(), 0);
    EXPECT_TRUE(q.Advance().IsEmpty()) << "nothing moves any more";
  }
}
