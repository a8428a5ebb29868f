#include "WebUrl.h"

#include <gtest/gtest.h>

namespace {

TEST(WebUrl, OnlyWebAddressesMayBeOpened) {
  struct Case {
    const char* url;
    bool open;
  } cases[] = {
      {"http://example.test/", true},
      {"https://example.test/a?b=c", true},
      {"HTTPS://EXAMPLE.TEST/", true},
      {"Http://x", true},
      {"hTtPs://x", true},
      {"http://", false},  // nothing after the scheme
      {"https://", false},
      {"http:/x", false},
      {"https:x", false},
      {"www.example.test", false},  // only where a caller adds the scheme itself
      {"file:///C:/Windows/system32/calc.exe", false},
      {"C:\\Windows\\notepad.exe", false},
      {"javascript:alert(1)", false},
      {"mailto:a@b", false},
      {" http://x", false},  // leading space: not a web address as it stands
      {"ftp://x", false},
      {"", false},
      {"h", false},
  };
  for (const auto& c : cases) EXPECT_EQ(weburl::IsWebUrl(c.url), c.open) << c.url;
}

TEST(WebUrl, SchemeLengthAtAPosition) {
  const std::string text = "see HTTP://a and https://b";
  EXPECT_EQ(weburl::SchemeLength(text, 4), 7u);
  EXPECT_EQ(weburl::SchemeLength(text, 17), 8u);
  EXPECT_EQ(weburl::SchemeLength(text, 0), 0u);
  EXPECT_EQ(weburl::SchemeLength(text, text.size()), 0u);
  EXPECT_EQ(weburl::SchemeLength(text, text.size() + 5), 0u);
  EXPECT_EQ(weburl::SchemeLength("http:/", 0), 0u);
}

}  // namespace
