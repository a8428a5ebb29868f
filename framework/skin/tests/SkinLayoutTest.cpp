// Layout arithmetic of the skinned windows: hit codes, caption rows, titles, message
// boxes, line breaking and link markup.
#include <gtest/gtest.h>

#include "SkinLayout.h"

using namespace skin;

TEST(DialogZones, SizingCodesInOrder) {
  DialogZones z = MakeDialogZones(300, 200, 6, 24);
  struct Case {
    int x, y;
    bool resize, maximized;
    int want;
  } cases[] = {
      {1, 1, true, false, kHitTopLeft},
      {15, 2, true, false, kHitTopLeft},
      {2, 190, true, false, kHitBottomLeft},
      {298, 10, true, false, kHitTopRight},
      {290, 198, true, false, kHitBottomRight},
      {2, 100, true, false, kHitLeft},
      {297, 100, true, false, kHitRight},
      {150, 3, true, false, kHitTop},
      // The top zone is four rows high whatever the border.
      {150, 4, true, false, kHitNone},
      {150, 195, true, false, kHitBottom},
      {8, 8, true, false, kHitSysMenu},
      {1, 1, false, false, kHitNone},
      {1, 1, true, true, kHitNone},
      {150, 100, true, false, kHitNone},
  };
  for (const Case& c : cases)
    EXPECT_EQ(DialogSizingHit(z, c.x, c.y, c.resize, c.maximized), c.want) << c.x << "," << c.y;
  EXPECT_EQ(z.caption, (Box{0, 0, 300, 24}));
}

TEST(DialogZones, CornersLandOnTheWindowEdges) {
  CornerMove m[4];
  DialogCornerMoves(300, 200, 28, 28, m);
  EXPECT_EQ(m[1].cell.right + m[1].dx, 300);
  EXPECT_EQ(m[2].cell.bottom + m[2].dy, 200);
  EXPECT_EQ(m[3].cell.left + m[3].dx, 300 - 28);
  EXPECT_EQ(m[0].dx, 0);
}

TEST(FrameZones, HitCodesByWidthLockMode) {
  FrameZones z = MakeFrameZones(800, 600, 4, 5, 6, 7);
  struct Case {
    int mode, x, y, want;
  } cases[] = {
      {0, 1, 1, kHitTopLeft},
      {0, 2, 595, kHitBottomLeft},
      {0, 797, 5, kHitTopRight},
      {0, 798, 598, kHitBottomRight},
      {0, 1, 300, kHitLeft},
      {0, 797, 300, kHitRight},
      {0, 400, 1, kHitTop},
      {0, 400, 595, kHitBottom},
      {0, 400, 300, kHitNone},
      // Height only: top and bottom edges size, the sides drag.
      {1, 8, 1, kHitTop},
      {1, 400, 1, kHitTop},
      {1, 1, 300, kHitCaption},
      {1, 400, 596, kHitBottom},
      {1, 2, 8, kHitCaption},
      // Width only: the sides size, top and bottom drag.
      {2, 1, 300, kHitLeft},
      {2, 798, 300, kHitRight},
      {2, 400, 1, kHitCaption},
      {2, 400, 597, kHitCaption},
      {2, 2, 8, kHitLeft},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FrameSizingHit(z, c.mode, c.x, c.y), c.want) << c.mode << ":" << c.x << "," << c.y;
}

TEST(FrameTitle, CentredOrCut) {
  TitlePlace p = PlaceFrameTitle(800, 10, 10, 120, 100);
  // Free width 800 - 120 - 10 - 12 = 658; centred: t = 10 + (658 - 118) / 2.
  EXPECT_FALSE(p.cut);
  EXPECT_EQ(p.iconX, 10 + (658 - 118) / 2);
  EXPECT_EQ(p.textX, p.iconX + 18);
  TitlePlace c = PlaceFrameTitle(300, 10, 10, 120, 400);
  EXPECT_TRUE(c.cut);
  EXPECT_EQ(c.cutWidth, 300 - 100 - 10 - 30);
  EXPECT_EQ(c.textX, 28);
}

TEST(SysMenuStyle, FiveNumbersOrTheDefaultEllipse) {
  SysMenuShape a = ParseSysMenuStyle("0,1,2,3,4");
  EXPECT_FALSE(a.ellipse);
  EXPECT_EQ(a.box, (Box{1, 2, 3, 4}));
  for (const char* v : {"1,2,3,4", "2,1,2,3,4", "", "x", "1,2,,3,4"}) {
    SysMenuShape d = ParseSysMenuStyle(v);
    EXPECT_TRUE(d.ellipse) << v;
    EXPECT_EQ(d.box, (Box{10, 5, 39, 34})) << v;
  }
  EXPECT_TRUE(ParseSysMenuStyle(nullptr).ellipse);
}

TEST(ImageName, TextAfterTheFirstComma) {
  bool comma = false;
  EXPECT_EQ(ImageNameOf("a.bmp", &comma), "a.bmp");
  EXPECT_FALSE(comma);
  EXPECT_EQ(ImageNameOf(",  b.bmp", &comma), "b.bmp");
  EXPECT_TRUE(comma);
  EXPECT_EQ(ImageNameOf("x, c.bmp,d"), "c.bmp,d");
  EXPECT_EQ(ImageNameOf("x,  "), "");
}

TEST(CaptionRow, AddLayOutAndHitTest) {
  CaptionRow row;
  for (int i = 0; i < 15; ++i) EXPECT_TRUE(row.Add(100 + i, 10, 8, 200 + i));
  EXPECT_FALSE(row.Add(999, 10, 8, 1));  // a 16th is refused
  row.buttons.resize(3);
  EXPECT_EQ(row.TotalWidth(), 32);  // known before the first layout
  row.LayOut(50, 3);
  EXPECT_EQ(row.Bounds(), (Box{50, 3, 82, 11}));
  EXPECT_EQ(row.TotalWidth(), 32);
  EXPECT_EQ(row.HitTest(61, 4), 201);
  EXPECT_EQ(row.HitTest(60, 4), kHitNone);  // the spacing pixel
  row.buttons[1].visible = false;
  EXPECT_EQ(row.HitTest(61, 4), kHitNone);
  EXPECT_EQ(CaptionRow().Bounds(), Box{});
}

TEST(CaptionRow, PressElsewhereReleaseOnButtonStillCommands) {
  CaptionRow row;
  row.Add(29735, 20, 16, kHitClose);
  row.LayOut(100, 2);
  std::vector<int> changed;
  EXPECT_TRUE(row.MouseMove(105, 5, &changed));
  EXPECT_EQ(row.buttons[0].state, 1);
  EXPECT_EQ(changed.size(), 1u);
  changed.clear();
  EXPECT_TRUE(row.MouseMove(106, 5, &changed));
  EXPECT_TRUE(changed.empty());  // no repaint while the state stays
  EXPECT_FALSE(row.MouseDown(10, 5, &changed));
  EXPECT_FALSE(row.pressed);
  unsigned cmd = 0;
  EXPECT_TRUE(row.MouseUp(105, 5, &changed, &cmd));
  EXPECT_EQ(cmd, 29735u);
  EXPECT_TRUE(row.MouseDown(105, 5, &changed));
  EXPECT_EQ(row.buttons[0].state, 2);
  EXPECT_FALSE(row.MouseMove(5, 5, &changed));
  EXPECT_EQ(row.buttons[0].state, 0);
}

TEST(MsgBoxStyle, ButtonsIconsAndDefault) {
  struct Case {
    uint32_t style;
    int count;
    int r0, r1, r2;
    unsigned icon;
    int def;
    bool makeDef;
  } cases[] = {
      {0x0, 1, 1, 0, 0, 32515, 0, true},          {0x1, 2, 1, 2, 0, 32515, 0, true},
      {0x2, 3, 3, 4, 5, 32515, 0, true},          {0x23, 3, 6, 7, 2, 32514, 0, true},
      {0x124, 2, 6, 7, 0, 32514, 1, true},        {0x15, 2, 4, 2, 0, 32513, 0, true},
      {0x100, 1, 1, 0, 0, 32515, 0, true},        {0x203, 3, 6, 7, 2, 32515, 2, true},
      {0x202 + 0x40, 3, 3, 4, 5, 32516, 2, true}, {0x304, 2, 6, 7, 0, 32515, 0, false},
      {0x7, 1, 1, 0, 0, 32515, 0, true},          {0x30, 1, 1, 0, 0, 32515, 0, true},
  };
  for (const Case& c : cases) {
    MsgBoxButtons b = ButtonsForStyle(c.style);
    EXPECT_EQ(b.count, c.count) << std::hex << c.style;
    EXPECT_EQ(b.result[0], c.r0);
    EXPECT_EQ(b.result[1], c.r1);
    EXPECT_EQ(b.result[2], c.r2);
    EXPECT_EQ(IconForStyle(c.style).systemIcon, c.icon);
    bool makeDef = false;
    EXPECT_EQ(DefaultButtonIndex(c.style, b.count, &makeDef), c.def) << std::hex << c.style;
    EXPECT_EQ(makeDef, c.makeDef);
  }
  EXPECT_STREQ(IconForStyle(0).key, "IDI_EXCLAMATION");
  EXPECT_STREQ(ButtonsForStyle(3).key[2], "IDCANCEL");
}

// The digits follow the time that passed: a thread that missed ticks (merged by the window
// system while it was busy) shows the true seconds left and ends on time.
TEST(MsgBoxCountdown, SecondsLeftFollowTheTimeNotTheTicks) {
  struct Case {
    int seconds;
    uint32_t elapsedMs;
    int left;
  } cases[] = {
      {10, 0, 10},    {10, 990, 9},   {10, 1000, 9}, {10, 1490, 9},  // a tick a little early or late
      {10, 4600, 5},  {10, 8700, 1},  {10, 9700, 1}, {10, 9760, 0},  // the last second, then the end
      {10, 10000, 0}, {10, 45000, 0}, {3, 4000, 0},  {2, 1000, 1},   // starved ticks end it at once
      {0, 0, 0},      {-1, 0, 0},     {1, 0, 1},     {1, 800, 0},   {3600, 0, 3600}, {10, 0xFFFFFFFFu, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CountdownSecondsLeft(c.seconds, c.elapsedMs), c.left) << c.seconds << " s after " << c.elapsedMs << " ms";
}

TEST(MessageLines, BreaksAsTheTextIsDrawn) {
  struct Case {
    const char* text;
    std::vector<std::string> lines;
  } cases[] = {
      {"one", {"one"}},
      {"a\r\nb", {"a", "b"}},
      {"a\n\rb", {"a", "b"}},
      {"a\\nb", {"a", "b"}},
      // Two line feeds are drawn as two breaks, so they are measured as three lines.
      {"a\n\nb", {"a", "", "b"}},
      {"a\r\rb", {"a", "", "b"}},
      {"\xC4\xE3\n\xBA\xC3", {"\xC4\xE3", "\xBA\xC3"}},
      {"end\n", {"end", ""}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitMessageLines(c.text), c.lines) << c.text;
}

TEST(MessageBoxLayout, PlainBoxWithIcon) {
  MsgBoxMetrics m;
  m.textW = 100;
  m.textH = 14;  // one line of 12 + 2
  m.iconW = m.iconH = 32;
  m.buttonW = 80;
  m.buttonH = 24;
  m.buttons = 2;
  MsgBoxPlace p = LayOutMessageBox(m);
  // The text is centred on the taller icon.
  EXPECT_EQ(p.text.left, 48);
  EXPECT_EQ(p.text.top, (32 - 16) / 2 + 8);
  EXPECT_EQ(p.icon, (Box{8, 8, 40, 40}));
  EXPECT_EQ(p.clientW, std::max(48 + 100 + 8, 90 * 2 + 54));
  EXPECT_EQ(p.rowTop, 48);
  EXPECT_EQ(p.clientH, 48 + 24 + 8);
  // The buttons are centred in the box.
  EXPECT_EQ(p.button[0].left - 0, p.clientW - p.button[1].right);
  EXPECT_EQ(p.button[1].left - p.button[0].right, 10);
}

TEST(MessageBoxLayout, TallTextAndInputRow) {
  MsgBoxMetrics m;
  m.textW = 300;
  m.textH = 70;
  m.iconW = m.iconH = 32;
  m.buttonW = 80;
  m.buttonH = 24;
  m.input = true;
  m.skinned = true;
  m.innerLeft = 4;
  m.innerTop = 28;
  MsgBoxPlace p = LayOutMessageBox(m);
  EXPECT_EQ(p.text.top, 36);
  EXPECT_EQ(p.icon.top, 28 + (72 - 32) / 2 + 8);
  EXPECT_EQ(p.entry.top, p.text.bottom + 4);
  EXPECT_EQ(p.entry.Height(), 24);
  EXPECT_EQ(p.rowTop, 28 + 70 + 18 + 32);
  EXPECT_EQ(p.clientH, p.rowTop + 24 + 8 + 4);
  EXPECT_EQ(p.clientW, p.text.right + 8 + 4);
}

TEST(WaitBox, WidthAndHeight) {
  EXPECT_EQ(WaitBoxContent(50, false, false, 24, 30).contentW, 200);
  EXPECT_EQ(WaitBoxContent(300, false, false, 24, 30).contentW, 356);
  EXPECT_EQ(WaitBoxContent(300, false, false, 24, 30).contentH, 48);
  EXPECT_EQ(WaitBoxContent(300, true, false, 24, 30).contentH, 24 + 56 + 30);
  EXPECT_EQ(WaitBoxContent(300, false, true, 24, 30).contentH, 78);
}

TEST(LinkText, AnchorsAddressesAndBreaks) {
  auto p = ParseLinkText("Go <A HREF=\"www.a.com\">here</a>, see http://b.org/x,y \xC4\xE3");
  std::vector<std::string> links, addrs;
  std::string plain;
  for (auto& x : p) {
    if (x.kind == TextPiece::kLink) {
      links.push_back(x.text);
      addrs.push_back(x.address);
    } else if (x.kind == TextPiece::kText) {
      plain += x.text;
    }
  }
  ASSERT_EQ(links.size(), 2u);
  EXPECT_EQ(links[0], "here");
  EXPECT_EQ(addrs[0], "www.a.com");
  EXPECT_EQ(links[1], "http://b.org/x");
  EXPECT_EQ(plain, "Go , see ,y \xC4\xE3");
  // An anchor without its end makes the rest of the text the link.
  auto q = ParseLinkText("<a href=\"http://c\">rest of it");
  ASSERT_EQ(q.size(), 1u);
  EXPECT_EQ(q[0].text, "rest of it");
  // A bare "www." address stops before a comma.
  auto r = ParseLinkText("www.d.com,");
  EXPECT_EQ(r[0].text, "www.d.com");
  // A cut-off anchor never reads past the end.
  auto s = ParseLinkText("<a href=\"www.");
  ASSERT_EQ(s.size(), 1u);
  EXPECT_EQ(s[0].address, "www.");
  // A lone lead byte at the end stays one byte.
  EXPECT_EQ(ParseLinkText("x\xC4").back().text, "\xC4");
}

TEST(LinkText, OnlyWebAddressesOpen) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"http://a.com", "http://a.com"},
      {"HTTPS://a.com/x?y", "HTTPS://a.com/x?y"},
      {"www.a.com", "http://www.a.com"},
      {"www.", ""},
      {"file:///c:/x", ""},
      {"cmd.exe", ""},
      {"http://", ""},
      {"http://a b", ""},
      {"javascript:alert(1)", ""},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(SafeLinkAddress(c.in), c.out) << c.in;
}

TEST(BoundedCopy, NeverSplitsATwoByteCharacter) {
  char buf[4];
  CopyTextBounded(buf, sizeof buf, "ab\xC4\xE3");
  EXPECT_STREQ(buf, "ab");
  CopyTextBounded(buf, sizeof buf, "a\xC4\xE3z");
  EXPECT_STREQ(buf, "a\xC4\xE3");
  CopyTextBounded(buf, sizeof buf, nullptr);
  EXPECT_STREQ(buf, "");
  char big[80];
  std::string longText(200, 'x');
  CopyTextBounded(big, sizeof big, longText.c_str());
  EXPECT_EQ(std::string(big).size(), 79u);
}

TEST(MenuKeys, AccessKeyOfAMenuText) {
  struct Case {
    const char* text;
    char key;
  } cases[] = {
      {"\xB9\xD8\xD3\xDA Vesk(&A)...", 'a'},
      {"\xB9\xD8\xD3\xDA Wine(&a)", 'a'},
      {"&Restore", 'r'},
      {"Fish && &Chips", 'c'},
      {"Fish && Chips", 0},
      {"no key", 0},
      {"ends with &", 0},
      {"\xB9\x26\xD3\xDA(&X)", 'x'},  // a second byte that looks like "&" is part of its character
  };
  for (const Case& c : cases) EXPECT_EQ(MenuAccessKey(c.text), c.key) << c.text;
}

TEST(FrameZoom, MaximisedBoxIsTheWorkAreaBelowTheScreenHeight) {
  EXPECT_EQ(MaximisedBox({0, 0, 1366, 738}, 768), (Box{0, 0, 1366, 738}));
  EXPECT_EQ(MaximisedBox({0, 0, 1366, 768}, 768), (Box{0, 0, 1366, 767}));
  EXPECT_EQ(MaximisedBox({0, 30, 1366, 768}, 768), (Box{0, 30, 1366, 768}));
}
