// The 16-bit image's pixel engine: conversions, clipping, blend arithmetic, strip frames and
// the layouts of the mode-driven drawing, as tables.
#include "DibPixels.h"

#include <gtest/gtest.h>

#include <vector>

using namespace dibimage;

TEST(DibPixels, ColourConversionsKeepTopBitsAndWidenByRepeating) {
  struct {
    uint32_t colorref;
    uint16_t rgb565;
    uint32_t back;
  } cases[] = {
      {0x000000, 0x0000, 0x000000}, {0xFFFFFF, 0xFFFF, 0xFFFFFF}, {0x0000FF, 0xF800, 0x0000FF},
      {0x00FF00, 0x07E0, 0x00FF00}, {0xFF0000, 0x001F, 0xFF0000}, {0x808000, 0x0410, 0x848200},
      {0x070307, 0x0000, 0x000000},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ToRgb565(c.colorref), c.rgb565) << std::hex << c.colorref;
    EXPECT_EQ(FromRgb565(c.rgb565), c.back) << std::hex << c.rgb565;
  }
}

TEST(DibPixels, ImageSizesAreCheckedForOverflow) {
  struct {
    int w, h;
    bool ok;
    size_t stride;
  } cases[] = {{1, 1, true, 4},   {2, 3, true, 4},           {3, 1, true, 8},          {0, 5, false, 0},
               {5, -1, false, 0}, {0x40000000, 2, false, 0}, {70000, 70000, false, 0}, {0x7FFFFFFF, 1, false, 0}};
  for (const auto& c : cases) {
    size_t stride = 99, total = 99;
    EXPECT_EQ(ImageBytes(c.w, c.h, &stride, &total), c.ok) << c.w << "x" << c.h;
    EXPECT_EQ(stride, c.stride);
    if (c.ok) EXPECT_EQ(total, c.stride * c.h);
  }
}

TEST(DibPixels, ClippingShrinksTheSourceByWhatTheDestinationCuts) {
  struct Case {
    const char* what;
    Rect src;
    bool hasSrc;
    int x, y, originX, originY;
    Rect clip;
    bool any;
    Blit b;
  } cases[] = {
      {"whole inside", {}, false, 2, 3, 0, 0, {}, true, {0, 0, 2, 3, 4, 4}},
      {"left and top cut", {}, false, -1, -2, 0, 0, {}, true, {1, 2, 0, 0, 3, 2}},
      {"right and bottom cut", {}, false, 8, 9, 0, 0, {}, true, {0, 0, 8, 9, 2, 1}},
      {"origin offset moves it", {}, false, 0, 0, 3, 1, {}, true, {0, 0, 3, 1, 4, 4}},
      {"clip rectangle", {}, false, 0, 0, 0, 0, {1, 1, 3, 2}, true, {1, 1, 1, 1, 2, 1}},
      {"source rectangle past the source", {2, 2, 9, 9}, true, 0, 0, 0, 0, {}, true, {2, 2, 0, 0, 2, 2}},
      {"nothing left", {}, false, 10, 0, 0, 0, {}, false, {}},
      {"empty source rectangle", {1, 1, 1, 3}, true, 0, 0, 0, 0, {}, false, {}},
      {"huge coordinates", {}, false, 0x7FFFFFF0, 0x7FFFFFF0, 0x7FFFFFF0, 0, {}, false, {}},
  };
  for (const Case& c : cases) {
    Blit b;
    ASSERT_EQ(ClipBlit(4, 4, c.hasSrc ? &c.src : nullptr, c.x, c.y, 10, 10, c.originX, c.originY, c.clip, &b), c.any)
        << c.what;
    if (!c.any) continue;
    EXPECT_EQ(b.sx, c.b.sx) << c.what;
    EXPECT_EQ(b.sy, c.b.sy) << c.what;
    EXPECT_EQ(b.dx, c.b.dx) << c.what;
    EXPECT_EQ(b.dy, c.b.dy) << c.what;
    EXPECT_EQ(b.w, c.b.w) << c.what;
    EXPECT_EQ(b.h, c.b.h) << c.what;
  }
}

TEST(DibPixels, BlendAndTintFollowTheChannelFormula) {
  struct {
    int d, s, alpha, want;
  } cases[] = {{0, 31, 0, 0}, {0, 31, 255, 31}, {31, 0, 128, 15}, {10, 20, 128, 15}, {20, 10, 25, 19}, {5, 5, 200, 5}};
  for (const auto& c : cases) EXPECT_EQ(BlendChannel(c.d, c.s, c.alpha), c.want) << c.d << " " << c.s << " " << c.alpha;

  std::vector<uint16_t> a(4 * 2, 0x0000), b(4 * 2, 0xFFFF);
  Pixels pa{a.data(), 3, 2, 8}, pb{b.data(), 3, 2, 8};
  Blend(pa, pb, Blit{0, 0, 1, 0, 2, 1}, 128);
  EXPECT_EQ(a[0], 0x0000);
  EXPECT_EQ(a[1], (15 << 11) | (31 << 5) | 15);
  EXPECT_EQ(a[4], 0x0000);

  // Tint skips the key, clips to the image and treats a negative origin as 0.
  std::vector<uint16_t> t = {0x1234, 0xF800, 0x1234, 0, 0x1234, 0x1234, 0x1234, 0};
  Pixels pt{t.data(), 3, 2, 8};
  Tint(pt, 0x0000, Rect{-5, -5, 2, 1}, 255, true, 0xF800);
  EXPECT_NE(t[0], 0x1234);
  EXPECT_EQ(t[1], 0xF800);
  EXPECT_EQ(t[2], 0x1234);
  EXPECT_EQ(t[4], 0x1234);
}

TEST(DibPixels, FillIsClippedToTheImage) {
  std::vector<uint16_t> px(4 * 3, 0);  // 3 x 3 with a 4-pixel stride (8 bytes, 2 padding bytes used)
  Pixels p{px.data(), 3, 3, 8};
  Fill(p, 2, -1, 5, 2, 7);
  EXPECT_EQ(px[2], 7);
  EXPECT_EQ(px[3], 0);  // padding untouched
  EXPECT_EQ(px[1], 0);
  EXPECT_EQ(px[4 + 2], 0);
}

TEST(DibPixels, StripFramesAndTheirKeyColumn) {
  Rect r;
  EXPECT_TRUE(FrameRect(4, 10, 8, 3, &r));
  EXPECT_EQ(r.left, 30);
  EXPECT_EQ(r.right, 40);
  EXPECT_EQ(r.bottom, 8);
  EXPECT_FALSE(FrameRect(4, 10, 8, 4, &r));  // index equal to the frame count
  EXPECT_FALSE(FrameRect(4, 10, 8, -1, &r));
  EXPECT_FALSE(FrameRect(4, 0, 8, 0, &r));  // zero-sized frames are refused
  int fw = 0, fh = 0;
  EXPECT_TRUE(StripFrameSize(40, 8, 4, &fw, &fh));
  EXPECT_EQ(fw, 10);
  EXPECT_FALSE(StripFrameSize(3, 8, 4, &fw, &fh));
  EXPECT_FALSE(StripFrameSize(40, 8, 0, &fw, &fh));

  const uint16_t olive = ToRgb565(0x808000);
  EXPECT_TRUE(KeyFromLastColumn(0xFFFF, olive));
  EXPECT_FALSE(KeyFromLastColumn(olive, 0xFFFF));
  EXPECT_FALSE(KeyFromLastColumn(olive, olive));  // ties go to the first column
}

namespace {
struct P {
  int sx, sy, sw, sh, dx, dy, dw, dh;
};
std::vector<P> Flat(const std::vector<ModePiece>& v) {
  std::vector<P> out;
  for (const ModePiece& m : v)
    out.push_back(
        P{m.src.left, m.src.top, m.src.Width(), m.src.Height(), m.dst.left, m.dst.top, m.dst.Width(), m.dst.Height()});
  return out;
}
bool Same(const std::vector<P>& a, const std::vector<P>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (memcmp(&a[i], &b[i], sizeof(P)) != 0) return false;
  return true;
}
}  // namespace

TEST(DibPixels, ModeLayouts) {
  struct Case {
    const char* what;
    int mode;
    Rect dst, src;
    std::vector<P> want;
  } cases[] = {
      {"corner copy is cut to the source", 1, {0, 0, 10, 4}, {0, 0, 6, 6}, {{0, 0, 6, 4, 0, 0, 6, 4}}},
      {"tiles, last cut",
       3,
       {0, 0, 10, 4},
       {0, 0, 6, 3},
       {{0, 0, 6, 3, 0, 0, 6, 3}, {0, 0, 4, 3, 6, 0, 4, 3}, {0, 0, 6, 1, 0, 3, 6, 1}, {0, 0, 4, 1, 6, 3, 4, 1}}},
      {"three columns",
       4,
       {0, 0, 14, 3},
       {0, 0, 6, 3},
       {{0, 0, 2, 3, 0, 0, 2, 3},
        {4, 0, 2, 3, 12, 0, 2, 3},
        {2, 0, 2, 3, 2, 0, 2, 3},
        {2, 0, 2, 3, 4, 0, 2, 3},
        {2, 0, 2, 3, 6, 0, 2, 3},
        {2, 0, 2, 3, 8, 0, 2, 3},
        {2, 0, 2, 3, 10, 0, 2, 3}}},
      {"nine parts, second band short and last",
       5,
       {0, 0, 3, 4},
       {0, 0, 3, 6},
       {{0, 0, 1, 2, 0, 0, 1, 2},
        {2, 0, 1, 2, 2, 0, 1, 2},
        {1, 0, 1, 2, 1, 0, 1, 2},
        {0, 4, 1, 2, 0, 2, 1, 2},
        {2, 4, 1, 2, 2, 2, 1, 2},
        {1, 4, 1, 2, 1, 2, 1, 2}}},
      {"nine parts, a middle band",
       5,
       {0, 0, 3, 7},
       {0, 0, 3, 6},
       {{0, 0, 1, 2, 0, 0, 1, 2},
        {2, 0, 1, 2, 2, 0, 1, 2},
        {1, 0, 1, 2, 1, 0, 1, 2},
        {0, 2, 1, 2, 0, 2, 1, 2},
        {2, 2, 1, 2, 2, 2, 1, 2},
        {1, 2, 1, 2, 1, 2, 1, 2},
        {0, 2, 1, 1, 0, 4, 1, 1},
        {2, 2, 1, 1, 2, 4, 1, 1},
        {1, 2, 1, 1, 1, 4, 1, 1},
        {0, 4, 1, 2, 0, 5, 1, 2},
        {2, 4, 1, 2, 2, 5, 1, 2},
        {1, 4, 1, 2, 1, 5, 1, 2}}},
      {"stretch", 2, {0, 0, 10, 10}, {1, 1, 3, 3}, {{1, 1, 2, 2, 0, 0, 10, 10}}},
      {"zero-sized third is refused", 4, {0, 0, 10, 10}, {0, 0, 2, 5}, {}},
      {"zero-sized rows are refused", 5, {0, 0, 10, 10}, {0, 0, 6, 2}, {}},
      {"empty destination", 3, {0, 0, 0, 10}, {0, 0, 6, 2}, {}},
  };
  for (const Case& c : cases) EXPECT_TRUE(Same(Flat(ModePieces(c.mode, c.dst, c.src)), c.want)) << c.what;
}
