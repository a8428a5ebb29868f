// Formatted text lines, the tooltip markup and the edit buffer, as tables of cases.
#include <gtest/gtest.h>

#include "EditBuffer.h"
#include "TipMarkup.h"
#include "TxtMovLines.h"

using namespace vesk::odctrls;

namespace {
const int32_t kVals[5] = {0, -1, -1, -1, 0};

TxtSize Fixed(const std::string& s) { return TxtSize{static_cast<int>(s.size()) * 6, 12}; }
}  // namespace

TEST(TxtMovLines, SetTextSplitsIntoLines) {
  struct Case {
    const char* text;
    std::vector<std::string> lines;
  } cases[] = {
      {"", {" "}}, {"abc", {"abc"}}, {"a\nb", {"a", "b"}}, {"a\n", {"a", " "}}, {"\n\n", {" ", " ", " "}},
  };
  for (const Case& c : cases) {
    TxtMovLines t;
    t.SetText(c.text);
    ASSERT_EQ(t.m_lines.size(), c.lines.size()) << c.text;
    ASSERT_EQ(t.m_lineWidth.size(), c.lines.size());
    for (size_t i = 0; i < c.lines.size(); ++i) {
      ASSERT_EQ(t.m_lines[i].items.size(), 1u);
      EXPECT_EQ(t.m_lines[i].items[0].text, c.lines[i]);
      EXPECT_EQ(t.m_lines[i].items[0].kind, kTxtItemPlain);
      EXPECT_EQ(t.m_lines[i].items[0].values[1], -1);
    }
  }
}

TEST(TxtMovLines, LineAndItemCountsAndTextsAreBounded) {
  TxtMovLines t;
  t.SetText(std::string(5000, '\n'));
  EXPECT_EQ(t.m_lines.size(), TxtMovLines::kMaxLines);
  EXPECT_EQ(t.AddLine(0, 0, 0, 0), -1);
  t.DestroyLines();
  int line = t.AddLine(0, 0, 0, 0);
  for (int i = 0; i < 100; ++i) t.AddItem(line, "x", "", "", kVals);
  EXPECT_EQ(t.m_lines[0].items.size(), TxtMovLines::kMaxItemsPerLine);
  // A long text of two-byte characters is cut on a character boundary.
  std::string wide;
  for (int i = 0; i < 3000; ++i) wide += "\xD6\xD0";
  wide = "a" + wide;
  t.SetText(wide);
  const std::string& kept = t.m_lines[0].items[0].text;
  EXPECT_LE(kept.size(), TxtMovLines::kMaxTextBytes);
  EXPECT_EQ(kept.size() % 2, 1u) << "one ASCII byte then whole pairs";
}

TEST(TxtMovLines, SafeCutKeepsPairsWhole) {
  struct Case {
    const char* text;
    size_t max, expect;
  } cases[] = {{"abc", 2, 2},
               {"\xD6\xD0"
                "a",
                1, 0},
               {"\xD6\xD0"
                "a",
                2, 2},
               {"a\xD6\xD0", 2, 1},
               {"\xD6", 5, 1}};
  for (const Case& c : cases) EXPECT_EQ(SafeCut(c.text, strlen(c.text), c.max), c.expect) << c.text;
}

TEST(TxtMovLines, LinksHoverVisitAndPlainAgain) {
  TxtMovLines t;
  int line = t.AddLine(0, 0, 0, 0);
  t.AddItem(line, "plain ", "", "", kVals);
  t.AddItem(line, "link", "http://x/", "tip", kVals);
  t.Layout(0, 0, Fixed);
  EXPECT_EQ(t.m_lines[0].items[1].kind, kTxtItemLink);
  std::string s;
  t.SetHover(true, 40, 5);  // over "link" (x 36..60)
  ASSERT_TRUE(t.GetHoverString(1, &s));
  EXPECT_EQ(s, "http://x/");
  ASSERT_TRUE(t.GetHoverString(2, &s));
  EXPECT_EQ(s, "tip");
  t.MarkVisited();
  EXPECT_EQ(t.m_lines[0].items[1].kind, kTxtItemVisited);
  // Plain items never become visited; without tracking nothing is hovered.
  t.SetHover(true, 2, 5);
  t.MarkVisited();
  EXPECT_EQ(t.m_lines[0].items[0].kind, kTxtItemPlain);
  t.SetHover(false, 40, 5);
  EXPECT_FALSE(t.GetHoverString(0, &s));
  // An emptied link makes the item plain again, also after a visit.
  TxtItem item;
  ASSERT_TRUE(t.GetItem(0, 1, &item));
  item.link.clear();
  ASSERT_TRUE(t.SetItem(0, 1, item));
  EXPECT_EQ(t.m_lines[0].items[1].kind, kTxtItemPlain);
  EXPECT_FALSE(t.SetItem(0, 7, item));
  EXPECT_FALSE(t.GetItem(3, 0, &item));
  EXPECT_FALSE(t.AddItem(9, "x", "", "", kVals));
}

namespace {
// A canvas with fixed metrics that records what the drawing pass does.
struct FakeCanvas : TipCanvas {
  std::vector<std::string> drawn;
  std::vector<int> lines;
  void MeasureText(const std::string& t, const TipFont& f, int* cx, int* cy) override {
    *cx = static_cast<int>(t.size()) * (f.weight > 400 ? 8 : 6);
    *cy = FontHeight(f);
  }
  int FontHeight(const TipFont& f) override { return f.weight > 400 ? 14 : 12; }
  int AverageCharWidth(const TipFont&) override { return 6; }
  void ImageSize(const TipToken& t, int* cx, int* cy) override {
    *cx = static_cast<int>(TipNumber(t.Attr("cx") ? *t.Attr("cx") : "", 16));
    *cy = static_cast<int>(TipNumber(t.Attr("cy") ? *t.Attr("cy") : "", 16));
  }
  void DrawText(int x, int y, const std::string& t, const TipFont& f, uint32_t c, bool, uint32_t) override {
    drawn.push_back(t + "@" + std::to_string(x) + "," + std::to_string(y) + "/" + std::to_string(f.weight) + "/" +
                    std::to_string(c));
  }
  void DrawLine(int x1, int x2, int, uint32_t) override { lines.push_back(x2 - x1); }
  void DrawImage(const TipToken&, int, int, int, int) override {}
};

std::string Texts(const std::vector<TipToken>& toks) {
  std::string out;
  for (const auto& t : toks) out += t.kind == TipToken::kText ? "[" + t.text + "]" : "<" + t.text + ">";
  return out;
}
}  // namespace

TEST(TipMarkup, Tokenizes) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"<<b>", "[<b>]"},
      {"a<B>b</b>", "[a]<b>[b]<b>"},
      {"x\ny\tz\r", "[x]<br>[y]<t>[z]"},
      {"<img=Face cx=10 cy=20>", "<img>"},
      {"<unterminated", "<unterminated>"},
      {"\xD6<b>", "[\xD6<b>]"},  // the pair travels whole, so its trail byte opens no tag
  };
  for (const Case& c : cases) EXPECT_EQ(Texts(TokenizeTip(c.in)), c.out) << c.in;
  auto img = TokenizeTip("<img=Face cx=10 cy=0x20>");
  ASSERT_EQ(img.size(), 1u);
  EXPECT_EQ(img[0].value, "Face");
  ASSERT_TRUE(img[0].Attr("cy"));
  EXPECT_EQ(TipNumber(*img[0].Attr("cy"), 0), 32);
  EXPECT_EQ(TipNumber("010", 0), 8);
  EXPECT_EQ(TipNumber("", 7), 7);
  EXPECT_TRUE(TokenizeTip("</b>")[0].closing);
}

TEST(TipMarkup, MeasuresAndDraws) {
  FakeCanvas canvas;
  TipLayout layout;
  for (int i = 0; i < 25; ++i) layout.m_colours[i] = 1000 + i;
  int cx, cy;
  auto toks = TokenizeTip("ab<b>cd</b><br=2>e<cti=30>f<cti=20>g");
  layout.Measure(toks, canvas, &cx, &cy);
  ASSERT_EQ(layout.m_lineWidths.size(), 2u);
  EXPECT_EQ(layout.m_lineWidths[0], 12u + 16u);
  EXPECT_EQ(layout.m_lineHeights[0], 14u);
  EXPECT_EQ(cx, 28);
  EXPECT_EQ(cy, 14 * 2 + 12);
  layout.Draw(toks, canvas, 0, 0, 100);
  ASSERT_EQ(canvas.drawn.size(), 5u);
  EXPECT_EQ(canvas.drawn[0], "ab@0,2/400/1016") << "runs share the line's bottom";
  EXPECT_EQ(canvas.drawn[1], "cd@12,0/800/1016");
  EXPECT_EQ(canvas.drawn[3], "f@6,28/400/1016") << "cti 30 leaves the colour";
  EXPECT_EQ(canvas.drawn[4], "g@12,28/400/1020");
  // Bold on a base weight of 700 is 900, not 1400.
  layout.m_baseFont.weight = 700;
  canvas.drawn.clear();
  toks = TokenizeTip("<b>x");
  layout.Measure(toks, canvas, &cx, &cy);
  layout.Draw(toks, canvas, 0, 0, 100);
  EXPECT_NE(canvas.drawn[0].find("/900/"), std::string::npos);
}

TEST(TipMarkup, RulesTabsAlignmentAndBounds) {
  FakeCanvas canvas;
  TipLayout layout;
  int cx, cy;
  struct Case {
    const char* in;
    int width, rule;
  } rules[] = {{"<hr=50%>", 300, 150}, {"<hr>", 300, 100}, {"<hr=999%>", 300, 300}, {"<hr=99999>", 10, 4096}};
  for (const Case& c : rules) {
    canvas.lines.clear();
    auto toks = TokenizeTip(c.in);
    layout.Measure(toks, canvas, &cx, &cy);
    layout.Draw(toks, canvas, 0, 0, c.width);
    ASSERT_EQ(canvas.lines.size(), 1u) << c.in;
    EXPECT_EQ(canvas.lines[0], c.rule) << c.in;
  }
  auto toks = TokenizeTip("a<t=2>b");  // stops every 24 px: a ends at 6, two tabs to 48
  layout.Measure(toks, canvas, &cx, &cy);
  EXPECT_EQ(cx, 48 + 6);
  canvas.drawn.clear();
  toks = TokenizeTip("<al_r>ab");
  layout.Measure(toks, canvas, &cx, &cy);
  layout.Draw(toks, canvas, 0, 0, 100);
  EXPECT_EQ(canvas.drawn[0].substr(0, 6), "ab@88,");
  // Counts and line numbers stay bounded whatever the text asks for.
  toks = TokenizeTip("<br=100000000>" + std::string(20000, '\n'));
  layout.Measure(toks, canvas, &cx, &cy);
  EXPECT_LE(layout.m_lineWidths.size(), kTipMaxLines);
  EXPECT_LE(cy, static_cast<int>(kTipMaxLines + kTipMaxRepeat) * 12);
}

TEST(EditBuffer, CharactersAndMaximum) {
  EditBuffer e;
  e.m_maxLength = 10;
  e.SetText("123456789");
  // A two-byte character does not fit in the last byte, and its trail byte goes with it.
  EXPECT_FALSE(e.Char(0xD6));
  EXPECT_FALSE(e.Char(0x41));
  EXPECT_EQ(e.Text(), "123456789");
  EXPECT_TRUE(e.Char('x'));
  EXPECT_EQ(e.Text(), "123456789x");
  EXPECT_FALSE(e.Char('y'));
  // Lead bytes of 0x80 and above pair with any trail byte, including one below 0x80.
  EditBuffer w;
  EXPECT_FALSE(w.Char(0x81));
  EXPECT_TRUE(w.Char(0x40));
  EXPECT_EQ(w.Text(), "\x81\x40");
  EXPECT_EQ(w.m_caret, 2);
  EditBuffer n;
  n.m_style = kEditNumber;
  for (char c : std::string("1a-2")) n.Char(static_cast<unsigned char>(c));
  EXPECT_EQ(n.Text(), "1-2");
  EditBuffer ro;
  ro.m_style = kEditReadOnly;
  EXPECT_FALSE(ro.Char('a'));
}

TEST(EditBuffer, KeysMoveByWholeCharacters) {
  EditBuffer e;
  e.SetText(
      "\r\na\xD6\xD0"
      "b\n");
  EXPECT_EQ(e.Text(),
            "a\xD6\xD0"
            "b");
  bool changed;
  e.Key(0x25, false, false, &changed);  // Left over "b"
  EXPECT_EQ(e.m_caret, 3);
  e.Key(0x25, false, false, &changed);  // Left over the pair
  EXPECT_EQ(e.m_caret, 1);
  e.Key(0x27, true, false, &changed);  // Shift+Right selects the pair
  EXPECT_EQ(e.SelText(), "\xD6\xD0");
  e.Key(0x2E, false, false, &changed);  // Delete removes the selection
  EXPECT_TRUE(changed);
  EXPECT_EQ(e.Text(), "ab");
  e.SetText("a\xD6\xD0");
  e.Key(0x08, false, false, &changed);  // Backspace after a pair removes both bytes
  EXPECT_EQ(e.Text(), "a");
  EXPECT_EQ(e.Key('C', false, true, &changed), kEditCopy);
  EXPECT_EQ(e.Key(0x2D, true, false, &changed), kEditPaste);
  EXPECT_EQ(e.Key(0x2E, true, false, &changed), kEditCut);
  e.Key('A', false, true, &changed);
  EXPECT_EQ(e.SelText(), "a");
}

TEST(EditBuffer, SelectionPasteAndHitTest) {
  EditBuffer e;
  e.SetText("hello");
  e.SetSel(1, 2);
  EXPECT_EQ(e.SelText(), "el");
  EXPECT_EQ(e.m_caret, 3);
  e.SetSel(3, -1);
  EXPECT_EQ(e.SelText(), "lo");
  e.SetSel(-1, 0);
  EXPECT_FALSE(e.HasSel());
  e.m_maxLength = 8;
  e.m_caret = 5;
  EXPECT_TRUE(
      e.Paste("ab\xD6\xD0"
              "c"));
  EXPECT_EQ(e.Text(), "helloab") << "the pair does not fit, pasting stops there";
  EditBuffer p;
  p.m_style = kEditPassword;
  p.SetText(
      "\xD6\xD0"
      "ab");
  EXPECT_EQ(p.Display(), "***");
  EXPECT_FALSE(p.Paste("x"));
  auto width = [](int bytes) { return bytes * 10; };
  EditBuffer h;
  h.SetText("abcd");
  EXPECT_EQ(h.HitTest(15, width), 1);
  EXPECT_EQ(h.HitTest(500, width), 4);
  h.ScrollToCaret(200, 100, 300);
  EXPECT_EQ(h.m_scroll, 100);
  h.ScrollToCaret(0, 100, 50);
  EXPECT_EQ(h.m_scroll, 0);
}

TEST(TipMarkup, NulBytesInsideATagEnd) {
  // Found by the fuzz target: a NUL inside a tag once stopped the tag reader without moving it.
  const std::string text("<a\0b=\0>x<b c\0", 14);
  auto tokens = TokenizeTip(text);
  EXPECT_LE(tokens.size(), text.size());
}

TEST(EditBuffer, ThemeFontText) {
  struct Case {
    const char* text;
    bool ok;
    const char* face;
    int height, weight;
    bool italic;
  } cases[] = {
      {"\xCB\xCE\xCC\xE5,12", true, "\xCB\xCE\xCC\xE5", 12, 400, false},
      {" Tahoma , -14 , 700 , 1 ", true, "Tahoma", 14, 700, true},
      {"Tahoma,500,5000", true, "Tahoma", 96, 900, false},  // cut to the limits
      {"Tahoma,12,x,1", true, "Tahoma", 12, 400, true},     // an unreadable weight keeps its default
      {"Tahoma", false, "", 0, 0, false},                   // no height
      {",12", false, "", 0, 0, false},                      // no face
      {"Tahoma,0", false, "", 0, 0, false},
      {"Tahoma,1e3", false, "", 0, 0, false},
      {"", false, "", 0, 0, false},
  };
  for (const Case& c : cases) {
    EditFontSpec spec;
    ASSERT_EQ(ParseEditFont(c.text, &spec), c.ok) << c.text;
    if (!c.ok) continue;
    EXPECT_EQ(spec.face, c.face) << c.text;
    EXPECT_EQ(spec.height, c.height) << c.text;
    EXPECT_EQ(spec.weight, c.weight) << c.text;
    EXPECT_EQ(spec.italic, c.italic) << c.text;
  }
  // A long face is cut to 31 bytes without splitting a two-byte character.
  std::string face(30, 'a');
  face += "\xCB\xCE";
  EditFontSpec spec;
  ASSERT_TRUE(ParseEditFont(face + ",12", &spec));
  EXPECT_EQ(spec.face, std::string(30, 'a'));
}
