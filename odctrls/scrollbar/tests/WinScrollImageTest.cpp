// The skinned scroll bar drawing its parts from an image strip, checked on memory DCs, and
// the container handing one strip to both bars. Saves scrollbar_image.png.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "QKBitmap.h"
#include "ScrollBarEx.h"
#include "DibCanvas.h"
#include "WinProbe.h"

namespace {

const COLORREF kArrow1 = RGB(255, 0, 0), kArrow2 = RGB(0, 255, 0), kThumb = RGB(0, 0, 255), kTrack = RGB(255, 255, 0),
               kBox = RGB(255, 0, 255), kBoxLeft = RGB(0, 255, 255), kPressed = RGB(255, 255, 255),
               kHot = RGB(132, 0, 0), kVert = RGB(0, 0, 132);  // exact in 5-6-5

using Canvas = DibCanvas;

// The strip for part sizes 4, 4, 4, 4: four vertical cells (all kVert), then the horizontal
// arrows, thumb and track, then the size box column; row 1 hot, row 2 pressed.
HBITMAP Strip() {
  Canvas c(36, 12, kVert);
  const COLORREF cells[4] = {kArrow1, kArrow2, kThumb, kTrack};
  for (int i = 0; i < 4; ++i) {
    c.Fill(16 + 4 * i, 0, 4, 4, cells[i]);
    c.Fill(16 + 4 * i, 4, 4, 4, kHot);
    c.Fill(16 + 4 * i, 8, 4, 4, kPressed);
  }
  c.Fill(32, 0, 4, 4, kBox);
  c.Fill(32, 4, 4, 4, kBoxLeft);
  return c.Copy();
}

class Host : public CWnd {
 public:
  Host() { CreateEx(0, AfxRegisterWndClass(0), "host", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr); }
  ~Host() override { DestroyWindow(); }
};

}  // namespace

TEST(ScrollBarImage, PartsComeFromTheirCellsByState) {
  Host host;
  ScrollBarEx bar;
  ASSERT_TRUE(bar.Create(WS_CHILD, CRect(0, 0, 120, 13), &host, 1));
  bar.SetScrollRange(0, 100);
  bar.SetPageSize(20);
  bar.SetPartSizes(4, 4, 4, 4);
  EXPECT_FALSE(bar.SetImage(TRUE, nullptr));
  HBITMAP strip = Strip();
  ASSERT_TRUE(bar.SetImage(FALSE, strip));
  EXPECT_TRUE(bar.HasImage());
  Canvas c(140, 60, RGB(200, 200, 200));
  CDC* dc = CDC::FromHandle(c.dc);
  SBEX_DRAWPART parts[] = {
      {dc, CRect(0, 0, 13, 13), 0, 0},     {dc, CRect(13, 0, 26, 13), 0, 1},    {dc, CRect(26, 0, 39, 13), 0, 2},
      {dc, CRect(100, 0, 113, 13), 1, 0},  {dc, CRect(0, 20, 120, 33), 2, 0},   {dc, CRect(30, 40, 70, 53), 5, 0},
      {dc, CRect(120, 40, 133, 53), 6, 0}, {dc, CRect(120, 20, 133, 33), 7, 0},
  };
  for (SBEX_DRAWPART& p : parts) bar.DrawPart(&p);
  c.Save("scrollbar_image.png");
  EXPECT_EQ(c.At(6, 6), kArrow1);
  EXPECT_EQ(c.At(19, 6), kPressed);
  EXPECT_EQ(c.At(32, 6), kHot);
  EXPECT_EQ(c.At(106, 6), kArrow2);
  EXPECT_EQ(c.At(60, 26), kTrack);
  EXPECT_EQ(c.At(31, 46), kThumb);  // start cap
  EXPECT_EQ(c.At(50, 46), kThumb);  // stretched middle
  EXPECT_EQ(c.At(69, 46), kThumb);  // end cap
  EXPECT_EQ(c.At(126, 46), kBox);
  EXPECT_EQ(c.At(126, 26), kBoxLeft);
  ::DeleteObject(strip);
}

TEST(ScrollBarImage, ContainerGivesBothBarsTheStrip) {
  CSBContainerWnd box;
  ScrollBarEx* h = box.GetSkinScrollBar(SB_HORZ);
  ScrollBarEx* v = box.GetSkinScrollBar(SB_VERT);
  box.SetScrollImage(SB_BOTH, Strip());
  EXPECT_TRUE(h->HasImage());
  EXPECT_TRUE(v->HasImage());
  box.SetScrollImage(SB_VERT, nullptr);
  EXPECT_TRUE(h->HasImage());
  EXPECT_FALSE(v->HasImage());
  box.SetScrollImage(SB_BOTH, nullptr);  // a theme without a strip: both draw themselves
  EXPECT_FALSE(h->HasImage());
}
