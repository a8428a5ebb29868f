#include "ResCore.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

struct VersionCase {
  const char* text;
  uint16_t w[4];
};

TEST(ParseVersionTest, Table) {
  const VersionCase cases[] = {
      {"2.21.6.9", {2, 21, 6, 9}},
      {"2,21,6,9", {2, 21, 6, 9}},
      {"1.2", {1, 2, 0, 0}},
      {"", {0, 0, 0, 0}},
      {"7", {7, 0, 0, 0}},
      {"1.2.3.4.5", {1, 2, 3, 4}},
      {"2, 5, 1, 29", {2, 5, 1, 29}},
      {"1,2.3", {1, 3, 0, 0}},
      {"a.b", {0, 0, 0, 0}},
      {"65536.1", {0, 1, 0, 0}},
      {"99999999999999.2", {0xFFFF, 2, 0, 0}},
  };
  for (const auto& c : cases) {
    uint16_t w[4] = {9, 9, 9, 9};
    ASSERT_TRUE(ParseVersion(c.text, w)) << c.text;
    for (int i = 0; i < 4; ++i) EXPECT_EQ(w[i], c.w[i]) << c.text << " part " << i;
  }
  uint16_t w[4] = {1, 1, 1, 1};
  EXPECT_FALSE(ParseVersion(nullptr, w));
  EXPECT_EQ(w[0], 0);
}

TEST(ParseVersionTest, LooksAtSixtyThreeCharactersOnly) {
  // A dot beyond character 63 is not seen, so commas separate the parts.
  std::string text = "1,2,3" + std::string(60, ' ') + ".";
  uint16_t w[4];
  ParseVersion(text.c_str(), w);
  EXPECT_EQ(w[1], 2);
  EXPECT_EQ(w[2], 3);
}

TEST(CompareVersionTest, FirstDifferenceDecides) {
  struct Case {
    const char* a;
    const char* b;
    int want;
  };
  const Case cases[] = {
      {"2.5.1.29", "2.5.1.29", 0},  {"2.5.1.29", "2.5.2.0", -1},  {"2.5.1.29", "2.4.9.99", 1},
      {"3.0.0.0", "2.99.99.99", 1}, {"2.5.1.29", "2.5.1.30", -1}, {"1", "1.0.0.0", 0},
  };
  for (const auto& c : cases) {
    uint16_t a[4], b[4];
    ParseVersion(c.a, a);
    ParseVersion(c.b, b);
    EXPECT_EQ(CompareVersionWords(a, b), c.want) << c.a << " vs " << c.b;
  }
}

TEST(VersionTextTest, PackedIntoOneBytePerPart) {
  struct Case {
    const char* text;
    uint32_t want;
  };
  const Case cases[] = {{"1.2.3.4", 0x01020304u}, {"1.2", 0x01020000u},       {"", 0u},  {"255.0.0.1", 0xFF000001u},
                        {"256.1", 0x00010000u},   {"1.2.3.4.5", 0x01020304u}, {"v2", 0u}};
  for (const auto& c : cases) EXPECT_EQ(VersionTextToNumber(c.text), c.want) << c.text;
  EXPECT_EQ(VersionTextToNumber(nullptr), 0u);
}

TEST(VersionTextTest, LongAndShortForms) {
  const uint32_t ms = (2u << 16) | 21u, ls = (6u << 16) | 9u;
  EXPECT_EQ(FormatVersionText(ms, ls), "2.21.6.9");
  EXPECT_EQ(FormatShortVersion(ms, ls), "2.21 Beta9");
  EXPECT_EQ(FormatVersionText((2u << 16) | 5u, 0), "2.05.0.0");
  EXPECT_EQ(FormatShortVersion((2u << 16) | 5u, (1u << 16) | 255u), "2.05");
  const uint16_t w[4] = {2, 5, 1, 29};
  EXPECT_EQ(FormatDottedVersion(w), "2.5.1.29");
}

TEST(ResourceCheckTest, PassAndFailCases) {
  const ModuleVersionFacts program{1, (2u << 16) | 21u, (6u << 16) | 9u, "Vesk"};
  ModuleVersionFacts library{2, (2u << 16) | 21u, (6u << 16) | 9u, "Vesk_936_Resource"};
  EXPECT_EQ(CheckResourceLibrary(program, library), RESLIB_OK);

  struct Case {
    const char* what;
    ModuleVersionFacts prog, lib;
    ResLibCheck want;
  };
  auto lib = library;
  const Case cases[] = {
      {"fourth part differs",
       program,
       {2, library.versionMS, library.versionLS + 1, lib.internalName},
       RESLIB_WRONG_VERSION},
      {"major differs",
       program,
       {2, library.versionMS + 0x10000, library.versionLS, lib.internalName},
       RESLIB_WRONG_VERSION},
      {"letter behind Resource",
       program,
       {2, lib.versionMS, lib.versionLS, "Vesk_936_Resources"},
       RESLIB_WRONG_VERSION},
      {"other program", program, {2, lib.versionMS, lib.versionLS, "Trebbin_936_Resource"}, RESLIB_WRONG_VERSION},
      {"case of name", program, {2, lib.versionMS, lib.versionLS, "vesk_936_Resource"}, RESLIB_WRONG_VERSION},
      {"library is an application", program, {1, lib.versionMS, lib.versionLS, lib.internalName}, RESLIB_NOT_VALID},
      {"program is a DLL", {2, program.versionMS, program.versionLS, "Vesk"}, library, RESLIB_NOT_VALID},
      {"type wins over version", program, {3, 0, 0, ""}, RESLIB_NOT_VALID},
  };
  for (const auto& c : cases) EXPECT_EQ(CheckResourceLibrary(c.prog, c.lib), c.want) << c.what;
  EXPECT_TRUE(IsResourceInternalName("Vesk", "VeskResource"));
  EXPECT_FALSE(IsResourceInternalName("Vesk", "Vesk"));
}

TEST(ResourceCheckTest, FailureTextsAreExact) {
  EXPECT_EQ(ResLibFailureText(RESLIB_NOT_FOUND, "Vesk"), "Vesk_Res.dll not found !");
  EXPECT_EQ(ResLibFailureText(RESLIB_NOT_VALID, "Vesk"), "Vesk_Res.dll is not a valid resource file !");
  EXPECT_EQ(ResLibFailureText(RESLIB_WRONG_VERSION, "Vesk"), "Incorrect version of Vesk_Res.dll !");
  EXPECT_EQ(ResLibFailureText(RESLIB_OUT_OF_MEMORY, "Vesk"), "Out off memory when version compare!");
  EXPECT_EQ(ResLibFailureText(RESLIB_OK, "Vesk"), "");
}

TEST(RuleTextTest, ParseTable) {
  struct Case {
    const char* text;
    bool byRounds;
    int rounds, seconds, record, chat;
  };
  const Case cases[] = {
      {"", false, 0, 100, 1, 0},          {nullptr, false, 0, 100, 1, 0},
      {"1 8 30 0 2", true, 8, 30, 0, 2},  {"1 0 600 1 3", false, 0, 600, 1, 3},
      {"   1   12", true, 12, 100, 1, 0}, {"9 4 15 1 1 77 88", true, 4, 15, 1, 1},
      {"x 5", true, 5, 100, 1, 0},        {"1 -3 20", true, -3, 20, 1, 0},
  };
  for (const auto& c : cases) {
    RuleSettings r = ParseRuleText(c.text);
    const char* t = c.text ? c.text : "(null)";
    EXPECT_EQ(r.scoreByRounds, c.byRounds) << t;
    EXPECT_EQ(r.rounds, c.rounds) << t;
    EXPECT_EQ(r.secondsPerCard, c.seconds) << t;
    EXPECT_EQ(r.recordScore, c.record) << t;
    EXPECT_EQ(r.chatMode, c.chat) << t;
  }
}

TEST(RuleTextTest, OverlongTextIsCutAt1023) {
  std::string text = "1 5" + std::string(1020, ' ') + "42";  // the 42 lies past the buffer
  RuleSettings r = ParseRuleText(text.c_str());
  EXPECT_EQ(r.rounds, 5);
  EXPECT_EQ(r.secondsPerCard, 100);
}

TEST(RuleTextTest, FormatWritesZeroRoundsWhenOff) {
  RuleSettings r;
  r.rounds = 12;
  r.scoreByRounds = false;
  r.secondsPerCard = 45;
  r.recordScore = 0;
  r.chatMode = 3;
  EXPECT_EQ(FormatRuleText(r), "1 0 45 0 3");
  r.scoreByRounds = true;
  EXPECT_EQ(FormatRuleText(r), "1 12 45 0 3");
  EXPECT_EQ(FormatRuleText(ParseRuleText(FormatRuleText(r).c_str())), "1 12 45 0 3");
}

TEST(RuleTextTest, RangeChecks) {
  EXPECT_FALSE(RuleRoundsValid(3));
  EXPECT_TRUE(RuleRoundsValid(4));
  EXPECT_TRUE(RuleRoundsValid(100));
  EXPECT_FALSE(RuleRoundsValid(101));
  EXPECT_FALSE(RuleSecondsValid(9));
  EXPECT_TRUE(RuleSecondsValid(10));
  EXPECT_TRUE(RuleSecondsValid(600));
  EXPECT_FALSE(RuleSecondsValid(601));
}

TEST(NumberTest, ParseNumberAndNextInt) {
  EXPECT_EQ(ParseNumber("0xFF0000"), 0xFF0000);
  EXPECT_EQ(ParseNumber("0Xff"), 255);
  EXPECT_EQ(ParseNumber("123"), 123);
  EXPECT_EQ(ParseNumber("-7"), -7);
  EXPECT_EQ(ParseNumber("0x"), 0);
  EXPECT_EQ(ParseNumber(nullptr), 0);
  EXPECT_EQ(SafeAtoi("99999999999"), 2147483647);
  EXPECT_EQ(SafeAtoi("-99999999999"), -2147483647 - 1);

  int v = 0;
  const char* rest = ParseNextInt(" ,12, 34 ,", &v);
  ASSERT_NE(rest, nullptr);
  EXPECT_EQ(v, 12);
  EXPECT_STREQ(rest, "34 ,");
  rest = ParseNextInt(rest, &v);
  EXPECT_EQ(v, 34);
  EXPECT_STREQ(rest, "");
  EXPECT_EQ(ParseNextInt(rest, &v), nullptr);
  EXPECT_EQ(ParseNextInt(nullptr, &v), nullptr);
}

TEST(IniValueTest, Colors) {
  struct Case {
    const char* text;
    uint32_t want;
  };
  const Case cases[] = {
      {"0xFF0000", 0x0000FF}, {"255,0,0", 0x0000FF},  {"255, 0, 0", 0x0000FF},
      {"0x00FF00", 0x00FF00}, {"0,0,255", 0xFF0000},  {"7", 7},
      {"", 0x123456},         {"16711680", 0x0000FF}, {"1,2", 0x000201},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseIniColorText(c.text, 0x123456), c.want) << c.text;
  EXPECT_EQ(ParseIniColorText(nullptr, 5), 5u);
}

TEST(IniValueTest, Pairs) {
  int a = -1, b = -1;
  ParseIniPairText("", &a, &b);
  EXPECT_EQ(a, -1);
  EXPECT_EQ(b, -1);
  ParseIniPairText("12", &a, &b);
  EXPECT_EQ(a, 12);
  EXPECT_EQ(b, -1);
  ParseIniPairText("3,4", &a, &b);
  EXPECT_EQ(a, 3);
  EXPECT_EQ(b, 4);
}

TEST(PathTest, CutAtLastSeparator) {
  struct Case {
    const char* in;
    const char* out;
    bool cut;
  };
  const Case cases[] = {
      {"C:\\Games\\Vesk.exe", "C:\\Games", true},
      {"C:Vesk.exe", "C", true},
      {"Vesk.exe", "Vesk.exe", false},
      // 0x5C as the second byte of a GBK character is not a separator.
      {"C:\\\xD3\x5C\\x.exe", "C:\\\xD3\x5C", true},
  };
  for (const auto& c : cases) {
    char buf[64];
    std::strcpy(buf, c.in);
    EXPECT_EQ(CutAtLastSeparator(buf), c.cut) << c.in;
    EXPECT_STREQ(buf, c.out);
  }
}

TEST(PathTest, PlatformShareFolder) {
  EXPECT_EQ(PlatformShareFolder("C:\\Orvane\\Game\\Vesk\\", "Vesk"), "C:\\Orvane\\Game\\Share\\");
  EXPECT_EQ(PlatformShareFolder("C:\\ORVANE\\GAME\\VESK", "Vesk"), "C:\\ORVANE\\Game\\Share\\");
  EXPECT_EQ(PlatformShareFolder("C:\\Tools\\Vesk", "Vesk"), "");
  EXPECT_EQ(PlatformShareFolder("C:\\Game\\Other", "Vesk"), "");
}

TEST(TextSearchTest, ReverseFindAndStrStrNoCase) {
  struct Case {
    const char* text;
    const char* pat;
    int pos;
    int want;
  };
  const Case cases[] = {
      {"a\\b\\c", "\\", -1, 3},
      {"a\\b\\c", "\\", 2, 1},
      {"a\\b\\c", "\\", 0, -1},
      {"abc", "x", -1, -1},
      {"abcabc", "abc", -1, 3},
      {"abcabc", "abc", 2, 0},
      {"", "a", -1, -1},
      // the pattern "\\" inside a GBK character (second byte 0x5C) is skipped
      {"\xD3\x5C"
       "x",
       "\\", -1, -1},
  };
  for (const auto& c : cases) EXPECT_EQ(ReverseFind(c.text, c.pat, c.pos), c.want) << c.text << " " << c.pos;
  EXPECT_EQ(ReverseFind("abc", "", -1), -1);

  const char* text = "Hello World";
  EXPECT_EQ(StrStrNoCase(text, "WORLD"), text + 6);
  EXPECT_EQ(StrStrNoCase(text, "xyz"), nullptr);
  EXPECT_EQ(StrStrNoCase(nullptr, "a"), nullptr);
}

TEST(TextCutterTest, InPlaceCutters) {
  char line[64];
  std::strcpy(line, "   key = value  ");
  EXPECT_STREQ(SkipLeadingChar(line, ' '), "key = value  ");
  TrimTrailingChar(line, ' ');
  EXPECT_STREQ(line, "   key = value");
  EXPECT_TRUE(CharInSet('=', " =\t"));
  EXPECT_FALSE(CharInSet('k', " =\t"));
  EXPECT_FALSE(CharInSet('\0', " ="));
  std::strcpy(line, " \t=x");
  EXPECT_STREQ(SkipLeadingSet(line, " \t="), "x");

  std::strcpy(line, "[Section] tail");
  EXPECT_STREQ(CutBetween(line, '[', ']'), "Section");
  std::strcpy(line, "[Open");
  EXPECT_STREQ(CutBetween(line, '[', ']'), "Open");
  std::strcpy(line, "[Open");
  EXPECT_EQ(CutBetweenStrict(line, '[', ']'), nullptr);
  std::strcpy(line, "no bracket]");
  EXPECT_EQ(CutBetween(line, '[', ']'), nullptr);
  std::strcpy(line, "end[");
  EXPECT_EQ(CutBetween(line, '[', ']'), nullptr);
  std::strcpy(line, "a;comment");
  CutAtChar(line, ';');
  EXPECT_STREQ(line, "a");
}

// One unit per byte, so the cut positions are easy to read.
int ByteExtent(const char*, size_t n) { return int(n) * 10; }

TEST(EllipsizeTest, FitsOrCutsOnCharacterBoundaries) {
  struct Case {
    std::string text;
    int width;
    int margin;
    std::string want;
  };
  const std::string gbk = "\xC4\xE3\xBA\xC3\xC5\xF3\xD3\xD1";  // four two-byte characters
  const Case cases[] = {
      {"abcdef", 60, 0, "abcdef"},
      {"abcdef", 59, 0, "ab..."},
      {"abcdef", 60, 1, "ab..."},
      {"abcdef", 10, 0, "..."},
      {"", 0, 0, ""},
      {gbk, 80, 0, gbk},
      {gbk, 79, 0, std::string(gbk, 0, 4) + "..."},  // 4 bytes + dots = 70 fits
      {gbk, 60, 0, std::string(gbk, 0, 2) + "..."},  // 3 bytes would fit but would split
      {"a" + gbk, 60, 0, "a" + std::string(gbk, 0, 2) + "..."},
      // a trail byte below 0x80 ("\x5C") must not be taken for a character of its own
      {std::string("ab\xD3\x5C"
                   "cd"),
       55, 0, "ab..."},
  };
  for (const auto& c : cases) EXPECT_EQ(EllipsizeBytes(c.text, c.width, c.margin, ByteExtent), c.want) << c.width;
}

TEST(EllipsizeTest, GbkPrefixLength) {
  const char t[] =
      "a\xB0\xA1"
      "b\xFE";  // a, one character, b, a lone lead byte at the end
  const size_t n = sizeof t - 1;
  const size_t want[] = {0, 1, 1, 3, 4, 5};
  for (size_t limit = 0; limit <= n; ++limit) EXPECT_EQ(GbkPrefixLength(t, n, limit), want[limit]) << limit;
}

}  // namespace
