#include "PageText.h"

#include <gtest/gtest.h>

using namespace vcef;

TEST(CefUrl, SplitsSchemeAndHost) {
  struct Case {
    const char* url;
    bool valid;
    const char* scheme;
    const char* host;
  } cases[] = {
      {"http://Example.COM:8080/a?b", true, "http", "example.com"},
      {"https://user:pw@live.example.com/x", true, "https", "live.example.com"},
      {"file:///C:/x.htm", true, "file", ""},
      {"data:text/plain,hi", true, "data", ""},
      {"C:\\dir\\a.htm", false, "", ""},
      {"no scheme here", false, "", ""},
      {":nothing", false, "", ""},
      {"1http://x", false, "", ""},
  };
  for (const Case& c : cases) {
    UrlParts p = SplitUrl(c.url);
    EXPECT_EQ(p.valid, c.valid) << c.url;
    EXPECT_EQ(p.scheme, c.scheme) << c.url;
    EXPECT_EQ(p.host, c.host) << c.url;
  }
}

TEST(CefUrl, DataAddresses) {
  std::string mime, body;
  ASSERT_TRUE(DecodeDataUrl("data:text/html,<b>Hi%20there</b>", &mime, &body));
  EXPECT_EQ(mime, "text/html");
  EXPECT_EQ(body, "<b>Hi there</b>");
  ASSERT_TRUE(DecodeDataUrl("data:;base64,SGVsbG8=", &mime, &body));
  EXPECT_EQ(mime, "text/plain");
  EXPECT_EQ(body, "Hello");
  ASSERT_TRUE(DecodeDataUrl("DATA:text/plain;charset=utf-8;base64,5Lit#frag", &mime, &body));
  EXPECT_EQ(body, "\xE4\xB8\xAD");
  EXPECT_FALSE(DecodeDataUrl("data:text/plain", &mime, &body));         // no comma
  EXPECT_FALSE(DecodeDataUrl("data:;base64,SGV*", &mime, &body));       // not base64
  EXPECT_FALSE(DecodeDataUrl("data:;base64,SG==VsbG8", &mime, &body));  // data after padding
  EXPECT_FALSE(DecodeDataUrl("http://x/,y", &mime, &body));
}

TEST(CefUrl, PercentDecodeKeepsMalformed) {
  EXPECT_EQ(PercentDecode("a%41%4g%"), "aA%4g%");
  EXPECT_EQ(PercentDecode("%E4%B8%AD"), "\xE4\xB8\xAD");
  EXPECT_EQ(PercentDecode("%4"), "%4");
}

TEST(CefUrl, FileAddressesToPaths) {
  struct Case {
    const char* url;
    bool ok;
    const char* path;
  } cases[] = {
      {"file:///C:/games/Help/Help.htm", true, "C:\\games\\Help\\Help.htm"},
      {"file://localhost/C:/a%20b.txt", true, "C:\\a b.txt"},
      {"file:///C|/x.htm", true, "C:\\x.htm"},
      {"file://server/share/x.htm", true, "\\\\server\\share\\x.htm"},
      {"file:///tmp/x.htm?q#f", true, "\\tmp\\x.htm"},
      {"file://", false, ""},
      {"http://x/", false, ""},
  };
  for (const Case& c : cases) {
    std::string path;
    EXPECT_EQ(FileUrlToPath(c.url, &path), c.ok) << c.url;
    if (c.ok) {
      EXPECT_EQ(path, c.path) << c.url;
    }
  }
}

TEST(CefUrl, TitleFromAddress) {
  EXPECT_EQ(TitleFromUrl("http://live.example.com/panel?u=1"), "live.example.com");
  EXPECT_EQ(TitleFromUrl("file:///C:/games/Help/Help.htm"), "Help.htm");
  EXPECT_EQ(TitleFromUrl("about:blank"), "about:blank");
  EXPECT_EQ(TitleFromUrl("not an address"), "not an address");
}

TEST(CefUrl, ResolvesLinksAgainstThePage) {
  struct Case {
    const char* base;
    const char* href;
    const char* want;
  } cases[] = {
      {"http://h.example/a/b.htm?x=1#top", "c.htm", "http://h.example/a/c.htm"},
      {"http://h.example/a/b.htm", "/root.htm", "http://h.example/root.htm"},
      {"http://h.example/a/b.htm", "?page=2", "http://h.example/a/b.htm?page=2"},
      {"http://h.example/a/b.htm#x", "#rules", "http://h.example/a/b.htm#rules"},
      {"https://h.example", "x", "https://h.example/x"},
      {"https://h.example/a", "//cdn.example/y", "https://cdn.example/y"},
      {"http://h.example/a", "  https://other.example/", "https://other.example/"},
      {"file:///C:/games/Help/Help.htm", "page2.htm", "file:///C:/games/Help/page2.htm"},
      {"data:text/html,<a href=x>", "x", "x"},
      {"not a url", "x.htm", "x.htm"},
  };
  for (const Case& c : cases) EXPECT_EQ(ResolveUrl(c.base, c.href), c.want) << c.base << " + " << c.href;
}

TEST(CefHtml, TextTitleAndLinks) {
  PageText p = HtmlToText(
      "<html><head><title> Live  panel </title><style>b{color:red}</style>"
      "<script>if (a < b) document.write('x');</script></head>"
      "<body><h2>Scores</h2><p>Alice&nbsp;&amp; Bob\n\n  &lt;3</p><!-- hidden <p>no</p> -->"
      "<a href=\"http://x/more?a=1&amp;b=2\" target=_blank>More</a><br>&#20013;&#x6587;</body></html>");
  EXPECT_EQ(p.title, "Live panel");
  EXPECT_EQ(p.text, "Scores\nAlice & Bob <3\nMore\n\xE4\xB8\xAD\xE6\x96\x87");
  ASSERT_EQ(p.links.size(), 1u);
  EXPECT_EQ(p.links[0].href, "http://x/more?a=1&b=2");
  EXPECT_EQ(p.links[0].target, "_blank");
  EXPECT_EQ(p.links[0].text, "More");
}

TEST(CefHtml, HostileInputStaysBounded) {
  std::string many;
  for (int i = 0; i < 1000; ++i) many += "<a href=x>y</a>";
  EXPECT_EQ(HtmlToText(many).links.size(), 64u);
  EXPECT_LE(HtmlToText(std::string(10000, 'x'), 100).text.size(), 100u);
  EXPECT_EQ(HtmlToText("text <unclosed").text, "text");
  EXPECT_EQ(HtmlToText("&#99999999; &#; &bogus;").text, "\xEF\xBF\xBD &#; &bogus;");
  EXPECT_EQ(HtmlToText("<script>never closed").text, "");
}

TEST(CefHtml, DetectsHtml) {
  EXPECT_TRUE(IsHtml("text/html", "plain"));
  EXPECT_FALSE(IsHtml("text/plain", "<b>x</b>"));
  EXPECT_TRUE(IsHtml("", "  <html>"));
  EXPECT_FALSE(IsHtml("", "hello"));
}

// The reply's type wins, then the page's meta tag (either form, near the start), then GBK.
TEST(CefHtml, ChoosesTheCharset) {
  const struct {
    const char* type;
    std::string body;
    PageCharset expected;
  } cases[] = {
      {"text/html; charset=UTF-8", "<meta charset=gbk>", PageCharset::kUtf8},
      {"text/html;charset=\"utf8\"", "", PageCharset::kUtf8},
      {"text/html; charset=gb2312", "<meta charset=\"utf-8\">", PageCharset::kGbk},
      {"text/html; charset=GB18030", "", PageCharset::kGbk},
      {"text/html; charset=iso-8859-1", "<META CHARSET='Utf-8'>", PageCharset::kUtf8},
      {"text/html", "<head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">",
       PageCharset::kUtf8},
      {"text/html", "<meta http-equiv=Content-Type content='text/html; charset=gb2312'>\xD6\xD0", PageCharset::kGbk},
      {"text/html", "<meta name=x><meta charset=utf-8>", PageCharset::kUtf8},
      {"text/html", "<meta charset=koi8-r>\xD6\xD0", PageCharset::kGbk},
      {"text/html", "<p>\xD6\xD0</p>", PageCharset::kGbk},
      {"", "", PageCharset::kGbk},
      {"text/html", "<meta charset=utf-8", PageCharset::kGbk},  // the tag never closes
      {"text/html", std::string(5000, ' ') + "<meta charset=utf-8>", PageCharset::kGbk},
  };
  for (const auto& c : cases) EXPECT_EQ(CharsetOf(c.type, c.body), c.expected) << c.type << " | " << c.body;
  EXPECT_EQ(BareMime(" Text/HTML ; charset=x"), "text/html");
  EXPECT_EQ(BareMime(""), "");
}
