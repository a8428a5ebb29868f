#include "BrowserList.h"
#include "BrowserRules.h"

#include <gtest/gtest.h>

#include <functional>
#include <thread>

using namespace brellin;

TEST(BrowserPopup, SizeFollowsScreenWidth) {
  EXPECT_EQ(PopupSizeForScreen(1024).width, 820);
  EXPECT_EQ(PopupSizeForScreen(1366).width, 820);
  EXPECT_EQ(PopupSizeForScreen(1367).width, 1000);
  EXPECT_EQ(PopupSizeForScreen(1920).width, 1000);
  EXPECT_EQ(PopupSizeForScreen(1366).height, 619);
}

TEST(BrowserPopup, OpensLeftOfPanelThenRefusesSecond) {
  PopupRequest req;
  req.screenWidth = 1366;
  req.hasBrowser = true;
  req.anchorLeft = 786;
  req.anchorTop = 40;
  PopupDecision d = DecidePopup(req);
  EXPECT_FALSE(d.cancel);
  ASSERT_TRUE(d.positioned);
  EXPECT_EQ(d.x, 786 - 820);
  EXPECT_EQ(d.y, 40 + 309);
  EXPECT_EQ(d.width, 820);
  EXPECT_EQ(d.height, 619);
  EXPECT_TRUE(d.markOpen);

  req.popupOpen = true;
  d = DecidePopup(req);
  EXPECT_TRUE(d.cancel);
  EXPECT_FALSE(d.markOpen);
}

TEST(BrowserPopup, WithoutPanelAllowedUnplaced) {
  PopupRequest req;
  req.screenWidth = 1920;
  req.popupOpen = true;  // the flag only matters once a panel browser exists
  PopupDecision d = DecidePopup(req);
  EXPECT_FALSE(d.cancel);
  EXPECT_FALSE(d.positioned);
  EXPECT_FALSE(d.markOpen);
}

TEST(BrowserNavigation, CancelRules) {
  struct Case {
    const char* url;
    unsigned transition;
    bool cancel;
  } cases[] = {
      {"http://example.com/", 0, false},
      {"https://live.example.com/?t=1", 1, false},
      {"http://example.com/", kTransitionForwardBack, true},
      {"http://example.com/", kTransitionForwardBack | 7, true},
      {"http://example.com/", 0x2000000, false},
      {"lobbyprotocol://join?room=3", 0, true},
      {"LobbyProtocol://join", 0, true},
      {"  lobbyprotocol://x", 0, true},
      {"lobbyprotocol:/x", 0, false},
      {"lobbyprotocol", 0, false},
      {"http://x/?u=lobbyprotocol://", 0, false},
      {"", 0, false},
  };
  for (const Case& c : cases) EXPECT_EQ(ShouldCancelBrowse(c.url, c.transition), c.cancel) << c.url;
}

TEST(BrowserNavigation, OsGetsOnlyWebAndMailAddresses) {
  struct Case {
    const char* url;
    bool allowed;
  } cases[] = {
      {"mailto:someone@example.com", true},
      {"MAILTO:someone@example.com", true},
      {"http://example.com/", true},
      {" https://example.com/", true},
      {"lobbyprotocol://join", false},
      {"LOBBYPROTOCOL://join", false},
      {"file:///C:/windows/system32/calc.exe", false},
      {"ms-settings:network", false},
      {"javascript:alert(1)", false},
      {"steam://run/1", false},
      {"httpx://example.com/", false},
      {"http:example.com", false},
      {"mailto", false},
      {"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(AllowOsProtocol(c.url), c.allowed) << c.url;
}

TEST(BrowserErrorPage, ExactTextAndAbortedKeepsPage) {
  std::string html;
  ASSERT_TRUE(BuildErrorPage("http://a.invalid/", "ERR_NAME_NOT_RESOLVED", -105, &html));
  EXPECT_EQ(html,
            "<html><body bgcolor=\"white\"><h2>Failed to load URL http://a.invalid/ with error "
            "ERR_NAME_NOT_RESOLVED (-105).</h2></body></html>");
  html = "unchanged";
  EXPECT_FALSE(BuildErrorPage("http://a/", "ERR_ABORTED", -3, &html));
  EXPECT_EQ(html, "unchanged");
}

TEST(BrowserErrorPage, MarkupFromTheAddressIsShownAsText) {
  std::string html;
  ASSERT_TRUE(BuildErrorPage("http://x/<script>alert(1)</script>&\"'", "E<", -6, &html));
  EXPECT_EQ(html.find("<script>"), std::string::npos);
  EXPECT_NE(html.find("http://x/&lt;script&gt;alert(1)&lt;/script&gt;&amp;&quot;&#39; with error E&lt; (-6)."),
            std::string::npos);
}

TEST(BrowserHandlerFlags, DoCloseClearsPopupAndMarksLastClose) {
  HandlerFlags f;
  f.popupOpen = true;
  OnDoClose(f, 2);  // the popup closes, the panel stays
  EXPECT_FALSE(f.popupOpen);
  EXPECT_FALSE(f.isClosing);
  OnDoClose(f, 1);
  EXPECT_TRUE(f.isClosing);
}

using IntList = BrowserList<int, std::equal_to<int>>;

TEST(BrowserListTest, KeepsCreationOrderAndRemovesFirstMatch) {
  IntList list;
  int first = 0;
  EXPECT_FALSE(list.First(&first));
  list.Add(7);
  list.Add(9);
  list.Add(7);
  ASSERT_TRUE(list.First(&first));
  EXPECT_EQ(first, 7);
  EXPECT_FALSE(list.Remove(7));
  ASSERT_TRUE(list.First(&first));
  EXPECT_EQ(first, 9);
  EXPECT_FALSE(list.Remove(42));  // unknown browser: nothing removed
  EXPECT_EQ(list.Size(), 2u);
  EXPECT_FALSE(list.Remove(9));
  EXPECT_TRUE(list.Remove(7));
  EXPECT_EQ(list.Size(), 0u);
}

TEST(BrowserListTest, ReadsWhileAnotherThreadChangesIt) {
  IntList list;
  std::thread ui([&] {
    for (int i = 0; i < 2000; ++i) {
      list.Add(i);
      list.Remove(i);
    }
  });
  int seen = 0;
  for (int i = 0; i < 2000; ++i) {
    int v;
    if (list.First(&v)) ++seen;
  }
  ui.join();
  EXPECT_EQ(list.Size(), 0u);
  EXPECT_GE(seen, 0);
}
