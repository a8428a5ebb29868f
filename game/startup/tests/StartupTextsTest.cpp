#include "StartupTexts.h"

#include <gtest/gtest.h>

TEST(StartupTexts, TitlesTimesAndFileNames) {
  EXPECT_EQ(FormatMainWindowTitle("Room 1", "Nick", "user", false), "Trebbin Room 1 Nick[user]");
  EXPECT_EQ(FormatMainWindowTitle("Room 1", "Nick", "user", true),
            "Trebbin Room 1 Nick[user]\xA3\xA8\xC5\xD4\xB9\xDB\xA3\xA9");
  EXPECT_EQ(FormatStartTime(2026, 1, 2, 3, 4, 5), "20260102030405");
  EXPECT_EQ(FormatScreenshotPath("C:\\shots", 2026, 12, 10, 9, 8, 7, 6),
            "C:\\shots\\2026\xC4\xEA"
            "12\xD4\xC2"
            "10\xC8\xD5"
            "09\xCA\xB1"
            "08\xB7\xD6"
            "07\xC3\xEB"
            "006.jpg");
  EXPECT_EQ(FormatEnterChannelFailure(), "can not enter channel,Vesk 581");
}
