// Which addresses the web-browser stand-in opens.
#include <gtest/gtest.h>

#include "WebAddress.h"

using webctl::Classify;
using webctl::Target;

TEST(WebAddress, EachAddressGetsItsTarget) {
  const struct {
    const char* url;
    Target want;
  } cases[] = {
      {"", Target::kBlank},
      {"about:blank", Target::kBlank},
      {"ABOUT:Blank", Target::kBlank},
      {"http://127.0.0.1:8080/notice", Target::kWeb},
      {"HTTPS://example.test/", Target::kWeb},
      {"C:\\Games\\Vesk\\Help\\Help.htm", Target::kLocalPage},
      {"d:\\help\\index.HTML", Target::kLocalPage},
      {"http://", Target::kRefused},
      {"about:config", Target::kRefused},
      {"file:///c:/windows/win.ini", Target::kRefused},
      {"javascript:alert(1)", Target::kRefused},
      {"ftp://example.test/a.htm", Target::kRefused},
      {"C:\\Windows\\notepad.exe", Target::kRefused},
      {"C:\\Games\\..\\Windows\\x.htm", Target::kRefused},
      {"\\\\server\\share\\a.htm", Target::kRefused},
      {"C:\\a.htm:stream.htm", Target::kRefused},
      {"C:/a.htm", Target::kRefused},
      {"Help\\Help.htm", Target::kRefused},
  };
  for (const auto& c : cases) EXPECT_EQ(Classify(c.url), c.want) << c.url;
}

TEST(WebAddress, LinksReachLocalPagesOnlyFromLocalPages) {
  const char* local = "C:\\Vesk\\Help\\Help.htm";
  const char* web = "http://127.0.0.1/notice";
  EXPECT_TRUE(webctl::MayFollow(local, "C:\\Vesk\\Help\\Rules.htm"));
  EXPECT_TRUE(webctl::MayFollow(local, web));
  EXPECT_TRUE(webctl::MayFollow(web, "https://example.test/"));
  EXPECT_TRUE(webctl::MayFollow(web, "about:blank"));
  EXPECT_FALSE(webctl::MayFollow(web, local));
  EXPECT_FALSE(webctl::MayFollow("", local));
  EXPECT_FALSE(webctl::MayFollow(local, "file:///c:/x.htm"));
}
