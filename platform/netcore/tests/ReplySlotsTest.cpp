#include <gtest/gtest.h>

#include "NetFrame.h"
#include "ReplySlots.h"

using namespace netcore;

TEST(ReplySlots, KeepZeroIsMarkedAndFrameGoesOn) {
  CReplySlots slots;
  int s = slots.Take(0x80000300, false);
  auto f = BuildFrame(0x80000300, "r", 1, 0);
  EXPECT_FALSE(slots.Offer(0x80000300, &f)) << "the frame still reaches OnMessage";
  EXPECT_FALSE(f.empty());
  EXPECT_TRUE(slots.Arrived(s));
  EXPECT_TRUE(slots.Release(s).empty());
  EXPECT_EQ(slots.BusyCount(), 0);
}

TEST(ReplySlots, TwoSlotsOnOneId) {
  const uint32_t id = 0x80000301;
  {  // first only waits: both marked, the second takes the frame
    CReplySlots slots;
    int a = slots.Take(id, false), b = slots.Take(id, true);
    auto f = BuildFrame(id, "x", 1);
    auto copy = f;
    EXPECT_TRUE(slots.Offer(id, &f));
    EXPECT_TRUE(slots.Arrived(a));
    EXPECT_TRUE(slots.Arrived(b));
    EXPECT_EQ(slots.Release(b), copy);
  }
  {  // first keeps: it alone is marked and takes the frame
    CReplySlots slots;
    int a = slots.Take(id, true), b = slots.Take(id, true);
    auto f = BuildFrame(id, "x", 1);
    EXPECT_TRUE(slots.Offer(id, &f));
    EXPECT_TRUE(slots.Arrived(a));
    EXPECT_FALSE(slots.Arrived(b));
    EXPECT_FALSE(slots.Release(a).empty());
  }
}

TEST(ReplySlots, TenSlotsThenNone) {
  CReplySlots slots;
  for (int i = 0; i < REPLY_SLOT_COUNT; ++i) EXPECT_EQ(slots.Take(0x80000000u + i, true), i);
  EXPECT_EQ(slots.Take(0x80000400, true), -1);
  auto other = BuildFrame(0x80000500, nullptr, 0);
  EXPECT_FALSE(slots.Offer(0x80000500, &other)) << "an id nobody waits for is not taken";
  slots.Release(3);
  EXPECT_EQ(slots.Take(0x80000400, true), 3) << "the first free slot is reused";
  auto f = BuildFrame(0x80000400, "z", 1);
  EXPECT_TRUE(slots.Offer(0x80000400, &f));
  slots.Clear();
  EXPECT_EQ(slots.BusyCount(), 0);
  EXPECT_FALSE(slots.Arrived(3));
}
