#include <gtest/gtest.h>

#include "AboutRules.h"

using namespace aboutbox;

TEST(AboutRules, WindowSizes) {
  Size2 framework = AboutWindowSize(4, 20, 85);
  EXPECT_EQ(framework.w, 340);
  EXPECT_EQ(framework.h, 109);
  Size2 game = AboutWindowSize(4, 28, 125);
  EXPECT_EQ(game.w, 340);
  EXPECT_EQ(game.h, 157);
}

TEST(AboutRules, Texts) {
  VersionTexts v{"Vesk", "Vesk game", "1.02.3.4", "77", "(C) 2026", "Vesk Studio"};
  auto t = AboutTexts(v);
  EXPECT_EQ(t.first, "Vesk\nVesk game 1.02.3.4 Build77");
  EXPECT_EQ(t.second, "(C) 2026\nVesk Studio");
  // A name holding a per-cent sign is copied, not interpreted.
  VersionTexts odd{"%s%n", "", "", "", "", ""};
  EXPECT_EQ(AboutTexts(odd).first, "%s%n\n ");
  // Without a build text nothing dangles after the version.
  VersionTexts noBuild{"Vesk", "Vesk", "2.21.6.9", "", "", ""};
  EXPECT_EQ(AboutTexts(noBuild).first, "Vesk\nVesk 2.21.6.9");
}

TEST(AboutRules, FillOneString) {
  struct Case {
    const char* format;
    const char* value;
    const char* want;
  } cases[] = {
      {"\xB9\xD8\xD3\xDA%s", "Vesk", "\xB9\xD8\xD3\xDAVesk"},
      {"%s 100%%", "A", "A 100%"},
      {"no slot", "A", "no slot"},
      {"%d %s", "A", "%d %s"},  // other conversions: left alone
      {"%s %s", "A", "%s %s"},
      {"%s", "%n%s", "%n%s"},  // the value is never a format
      {"end %", "A", "end %"},
  };
  for (const Case& c : cases) EXPECT_EQ(FillOneString(c.format, c.value), c.want) << c.format;
}
