#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "AdRecord.h"

using namespace adrecord;

namespace {
std::vector<uint8_t> Record(uint32_t pos, uint32_t id, uint16_t kind, uint16_t h, uint16_t w,
                            const std::vector<std::string>& s) {
  std::vector<uint8_t> f(36, 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) f[at + i] = uint8_t(v >> (8 * i));
  };
  auto put16 = [&](size_t at, uint16_t v) {
    f[at] = uint8_t(v);
    f[at + 1] = uint8_t(v >> 8);
  };
  put32(8, pos);
  put32(12, id);
  put16(16, 11);
  put16(18, 22);
  put16(20, 3);
  put16(22, kind);
  put16(28, h);
  put16(30, w);
  for (int i = 0; i < 4; ++i) {
    f[32 + i] = uint8_t(s[i].size());
    f.insert(f.end(), s[i].begin(), s[i].end());
  }
  return f;
}
}  // namespace

TEST(AdRecord, FieldsAndBounds) {
  auto f = Record(1003, 7, 2, 80, 100, {"a.htm", "", "p.htm", "text"});
  AdRecord r;
  ASSERT_TRUE(Parse(f.data(), f.size(), &r));
  EXPECT_EQ(r.position, 1003u);
  EXPECT_EQ(r.id, 7u);
  EXPECT_EQ(r.valueA, 11);
  EXPECT_EQ(r.valueB, 22);
  EXPECT_EQ(r.seconds, 3);
  EXPECT_EQ(r.height, 80);
  EXPECT_EQ(r.width, 100);
  EXPECT_EQ(r.link1, "a.htm");
  EXPECT_EQ(r.page, "p.htm");
  EXPECT_EQ(r.text, "text");
  // Lengths beyond the frame, or a frame shorter than the fixed part, are refused.
  EXPECT_FALSE(Parse(f.data(), f.size() - 1, &r));
  EXPECT_FALSE(Parse(f.data(), 35, &r));
  f[35] = 255;
  EXPECT_FALSE(Parse(f.data(), f.size(), &r));
}

TEST(AdRecord, PagesOfTheAdvertFolder) {
  std::set<std::string> files = {"S\\Advert\\7\\a.htm", "S\\Advert\\7\\b.htm"};
  auto exists = [&](const std::string& p) { return files.count(p) > 0; };
  AdRecord r;
  r.position = 1003;
  r.id = 7;
  r.link1 = "a.htm?u=%1";      // looked up without its query, passed on with it
  r.link2 = "HTTPS://web/%2";  // a web address in capitals stays
  r.page = "gone.htm";         // missing: the default page of the position kind
  r.text = "hi %1";
  ResolvePages(r, "S", exists, nullptr, "alice", "bob");
  EXPECT_EQ(r.link1, "file://S\\Advert\\7\\a.htm?u=alice");
  EXPECT_EQ(r.link2, "HTTPS://web/bob");
  EXPECT_EQ(r.page, "file://S\\default_hzh.htm");
  EXPECT_EQ(r.text, "hi alice");
  // A name that would leave the folder is never looked up.
  AdRecord up;
  up.position = 5;
  up.page = "..\\..\\secret.htm";
  std::string empty;
  ResolvePages(up, "S", exists, &empty, nullptr, nullptr);
  EXPECT_EQ(up.page, "");
  // An empty first link at position kind 1 gets the fallback.
  AdRecord one;
  one.position = 1;
  ResolvePages(one, "S", exists, nullptr, nullptr, nullptr);
  EXPECT_EQ(one.link1, "file://S\\gg.htm");
}

TEST(AdRecord, OnlyAWebAddressPassesAsItStands) {
  // A page that merely mentions a web address is a name like any other: it may not name
  // another scheme or leave the folder, so it gets the default page.
  struct Case {
    const char* page;
    const char* resolved;
  } cases[] = {
      {"http://web/a.htm", "http://web/a.htm"},
      {"hTTps://web/", "hTTps://web/"},
      {"javascript:open('http://web/')", "file://S\\gg.htm"},
      {"file:///C:/x.htm?u=http://web/", "file://S\\gg.htm"},
      {" http://web/", "file://S\\gg.htm"},
      {"http://", "file://S\\gg.htm"},
      {"a.htm", "file://S\\Advert\\7\\a.htm"},
  };
  auto exists = [](const std::string& p) { return p == "S\\Advert\\7\\a.htm"; };
  for (const auto& c : cases) {
    AdRecord r;
    r.position = 5;
    r.id = 7;
    r.page = c.page;
    ResolvePages(r, "S", exists, nullptr, nullptr, nullptr);
    EXPECT_EQ(r.page, c.resolved) << c.page;
  }
}

TEST(AdRecord, DefaultPages) {
  struct Case {
    uint32_t kind;
    const char* page;
  } cases[] = {{1003, "default_hzh.htm"}, {1009, "default_hzh.htm"}, {1004, "warning60.htm"},
               {1006, "exitad.htm"},      {1007, "exdlgad.htm"},     {42, "gg.htm"}};
  for (const auto& c : cases) EXPECT_EQ(DefaultPage(c.kind, "S"), std::string("file://S\\") + c.page);
}

TEST(AdRecord, CallByPositionAndKind) {
  struct Case {
    uint32_t position;
    uint16_t kind, w, h;
    std::string page;
    int dispid;
    bool second;
  } cases[] = {
      {1003, 3, 0, 0, "p", 9, false},      {0x100000, 1, 10, 10, "p", 11, false}, {0x100000, 2, 0, 0, "p", 11, true},
      {0x100000, 3, 0, 0, "p", 10, false}, {0x100000, 4, 100, 80, "p", 12, true}, {0x100000, 5, 0, 0, "p", 0, false},
      {0x100000, 3, 0, 0, "", 0, false},
  };
  for (const auto& c : cases) {
    AdRecord r;
    r.position = c.position;
    r.kind = c.kind;
    r.width = c.w;
    r.height = c.h;
    r.page = c.page;
    r.seconds = 4;
    ShowCall call = ChooseCall(r);
    EXPECT_EQ(call.dispid, c.dispid) << c.position << " " << c.kind;
    EXPECT_EQ(call.secondKind, c.second);
    EXPECT_EQ(call.timeMs, 4000);
  }
}
