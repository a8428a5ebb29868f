// Net-skin usage periods and entry lines as tables: inside, outside, overlapping, malformed.
#include "PeriodList.h"

#include <gtest/gtest.h>

using namespace netskin;

namespace {

DateTime At(int y, int mo, int d, int h = 12, int mi = 0, int s = 0) { return DateTime{y, mo, d, h, mi, s}; }

TEST(NetSkinPeriods, TimesAgainstPeriods) {
  struct Case {
    const char* text;
    DateTime t;
    int expected;  // -1 before, 0 inside, 1 after
  } cases[] = {
      {"2025/1/1-2025/1/31", At(2025, 1, 15), 0},
      {"2025/1/1-2025/1/31", At(2024, 12, 31, 23, 59, 59), -1},
      {"2025/1/1-2025/1/31", At(2025, 1, 31, 23, 59, 59), 0},
      {"2025/1/1-2025/1/31", At(2025, 2, 1, 0, 0, 0), 1},
      {"25.1.1-25.1.31", At(2025, 1, 15), 0},  // two-digit years are 2000+
      {"2025/1/1 20:00-2025/1/2 08:30", At(2025, 1, 2, 8, 30, 0), 0},
      {"2025/1/1 20:00-2025/1/2 08:30", At(2025, 1, 1, 19, 59, 59), -1},
      {"2025/1/1-2025/1/31&20:00-22:00", At(2025, 1, 15, 21, 0, 0), 0},
      {"2025/1/1-2025/1/31&20:00-22:00", At(2025, 1, 15, 23, 0, 0), -1},  // the next evening
      {"2025/1/1-2025/1/31&20:00-22:00", At(2025, 1, 31, 23, 0, 0), 1},
      {"2025/1/1-2025/1/31&20:00-22:00", At(2025, 1, 15, 19, 0, 0), -1},
      {"2025-2025", At(2025, 6, 1), 0},  // missing month and day: the whole year
  };
  for (const auto& c : cases) {
    Period p;
    ASSERT_TRUE(CPeriodList::Parse(c.text, "-", "&", &p)) << c.text;
    EXPECT_EQ(CPeriodList::Compare(p, c.t), c.expected) << c.text;
  }
}

TEST(NetSkinPeriods, MalformedAndPastPeriodsAreRefused) {
  for (const char* bad : {"", "-", "2025/13/1-2025/1/2", "2025/1/32-2025/2/1", "20000/1/1-2025/1/1", "2025/1/1", "x-y",
                          "2025/1/1 25:00-2025/1/2", "2025/1/1-2025/1/31&20:00"}) {
    Period p;
    EXPECT_FALSE(CPeriodList::Parse(bad, "-", "&", &p)) << bad;
  }
  CPeriodList list("-", "&");
  const DateTime today = At(2025, 3, 1);
  EXPECT_FALSE(list.Add("2025/1/1-2025/2/1", 1, true, today)) << "over";
  EXPECT_FALSE(list.Add("2025/5/1-2025/4/1", 1, true, today)) << "backwards";
  EXPECT_TRUE(list.Add("2025/1/1-2025/2/1", 1, false, today));
  EXPECT_TRUE(list.Add("2025/2/15-2025/3/15", 7, true, today));
  EXPECT_TRUE(list.Add("2025/3/1-2025/4/1", 9, true, today));  // overlaps the one before
  int value = 0;
  EXPECT_TRUE(list.Find(At(2025, 3, 10), &value));
  EXPECT_EQ(value, 7) << "the first period that holds the time";
  EXPECT_TRUE(list.Find(At(2025, 3, 20), &value));
  EXPECT_EQ(value, 9);
  EXPECT_FALSE(list.Find(At(2025, 5, 1), &value));
  EXPECT_FALSE(list.AllOver(At(2025, 3, 20)));
  EXPECT_TRUE(list.AllOver(At(2025, 5, 1)));
  EXPECT_TRUE(CPeriodList().AllOver(today));
}

TEST(NetSkinEntries, LinesFoldersAndVersions) {
  SkinEntry e;
  ASSERT_TRUE(ParseSkinEntry("3,Spring,spring2025,2025/1/1-2025/1/31,pkg,1.2.3.4,15", &e));
  EXPECT_EQ(e.id, 3);
  EXPECT_EQ(e.folder, "spring2025");
  EXPECT_EQ(e.flags, 0xB);
  EXPECT_FALSE(ParseSkinEntry("3,Spring,spring2025,2025/1/1-2025/1/31,pkg,1.2", &e)) << "six fields";
  for (const char* folder : {"..", "a\\b", "../x", "c:", "a/b", ""}) {
    std::string line = std::string("1,S,") + folder + ",2025/1/1-2025/1/31,p,1,1";
    EXPECT_FALSE(ParseSkinEntry(line, &e)) << folder;
  }
  ASSERT_TRUE(ParseSkinEntry("1,S," + std::string(80, 'f') + ",p,p,1,1", &e));
  EXPECT_EQ(e.folder.size(), 31u);
  EXPECT_EQ(PackVersion("1.2.3.4"), 0x01020304u);
  EXPECT_EQ(PackVersion("1.2"), 0x01020000u);
  EXPECT_EQ(PackVersion("999.1"), 0xFF010000u) << "parts clamped";
  EXPECT_EQ(PackVersion(""), 0u);
}

}  // namespace
