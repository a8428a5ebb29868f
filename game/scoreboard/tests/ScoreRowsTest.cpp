// The score board's row forms: column order by player count, score form, titles.
#include "ScoreRows.h"

#include <gtest/gtest.h>

using namespace scoreboard;

namespace {

TEST(ScoreRows, ColumnsFollowTheSeatOrder) {
  EXPECT_EQ(SeatColumnOrder(3), (std::vector<int>{2, 0, 1}));
  EXPECT_EQ(SeatColumnOrder(4), (std::vector<int>{3, 0, 1, 2}));
  EXPECT_TRUE(SeatColumnOrder(0).empty());
  EXPECT_TRUE(SeatColumnOrder(5).empty());
}

TEST(ScoreRows, ScoresAndTitles) {
  EXPECT_EQ(FormatScore(-12), "     -12");
  EXPECT_EQ(FormatScore(123456789), "123456789");
  struct Case {
    std::string format;
    int a, b;
    std::string expected;
  } cases[] = {
      {"Hand %d", 3, 0, "Hand 3"},
      {"Hands %d-%d", 1, 4, "Hands 1-4"},
      {"%d%%", 5, 0, "5%"},
      {"%s %n %d %d %d", 1, 2, "%s %n 1 2 %d"},  // only two numbers, nothing else converted
      {"", 1, 2, ""},
      {"end %", 1, 0, "end %"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatRowTitle(c.format, c.a, c.b), c.expected) << c.format;
}

// Hand and series counts come from the server as 32-bit words: their 1-based titles never wrap.
TEST(ScoreRows, TitlesOfTheLargestCountsStayPositive) {
  EXPECT_EQ(FormatRowTitle("Hand %d", OneBased(0)), "Hand 1");
  EXPECT_EQ(FormatRowTitle("Hand %d", OneBased(0x7FFFFFFFu)), "Hand 2147483648");
  EXPECT_EQ(FormatRowTitle("Hands %d-%d", 1, OneBased(0xFFFFFFFFu)), "Hands 1-4294967296");
  EXPECT_EQ(FormatScore(INT32_MIN), "-2147483648");
}

}  // namespace
