// CODMemDC on a DIB section: what is drawn lands on the target only when the object ends,
// only inside its rectangle, in the caller's coordinates; printing DCs are drawn directly.
#include "ODMemDC.h"

#include <gtest/gtest.h>

#include "TestCanvas.h"

namespace {

const COLORREF kWhite = RGB(255, 255, 255), kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255);

TEST(OdMemDc, DrawsOffScreenAndCopiesTheRectangleBackOnEnd) {
  Canvas t(40, 30, kWhite);
  CRect r(10, 5, 30, 25);
  {
    CODMemDC mem(&t.dc, &r);
    EXPECT_TRUE(mem.IsMemDC());
    // Caller coordinates: the rectangle's top-left is (10,5) in the memory DC too.
    mem.FillSolidRect(0, 0, 40, 30, kRed);
    mem.FillSolidRect(12, 7, 2, 2, kBlue);
    EXPECT_EQ(t.At(15, 15), kWhite) << "nothing reaches the target before the object ends";
  }
  EXPECT_EQ(t.At(15, 15), kRed);
  EXPECT_EQ(t.At(12, 7), kBlue);
  EXPECT_EQ(t.At(10, 5), kRed);
  EXPECT_EQ(t.At(29, 24), kRed);
  EXPECT_EQ(t.At(9, 5), kWhite) << "outside the rectangle stays";
  EXPECT_EQ(t.At(30, 24), kWhite);
  EXPECT_EQ(t.At(29, 25), kWhite);
}

TEST(OdMemDc, CopyBackgroundKeepsWhatWasThere) {
  for (BOOL copy : {FALSE, TRUE}) {
    Canvas t(20, 20, kWhite);
    t.dc.FillSolidRect(0, 0, 20, 20, kBlue);
    CRect r(0, 0, 20, 20);
    {
      CODMemDC mem(&t.dc, &r, copy);
      mem.FillSolidRect(0, 0, 10, 20, kRed);  // partial drawing
    }
    EXPECT_EQ(t.At(5, 5), kRed);
    if (copy)
      EXPECT_EQ(t.At(15, 5), kBlue);
    else
      EXPECT_NE(t.At(15, 5), kBlue) << "without the copy the undrawn half is the fresh bitmap";
  }
}

TEST(OdMemDc, NullRectangleUsesTheClipBox) {
  Canvas t(40, 30, kWhite);
  CRgn clip;
  clip.CreateRectRgn(5, 5, 15, 10);
  t.dc.SelectClipRgn(&clip);
  {
    CODMemDC mem(&t.dc);
    EXPECT_EQ(mem.GetRect(), CRect(5, 5, 15, 10));
    mem.FillSolidRect(0, 0, 40, 30, kRed);
  }
  t.dc.SelectClipRgn(nullptr);
  EXPECT_EQ(t.At(6, 6), kRed);
  EXPECT_EQ(t.At(20, 20), kWhite);
}

TEST(OdMemDc, EmptyRectangleCopiesNothing) {
  Canvas t(20, 20, kWhite);
  CRect r(5, 5, 5, 5);
  {
    CODMemDC mem(&t.dc, &r);
    mem.FillSolidRect(0, 0, 20, 20, kRed);
  }
  EXPECT_EQ(t.At(5, 5), kWhite);
  EXPECT_EQ(t.At(4, 4), kWhite);
}

TEST(OdMemDc, PrintingDcIsDrawnDirectly) {
  Canvas t(20, 20, kWhite);
  t.dc.m_bPrinting = TRUE;
  CRect r(0, 0, 20, 20);
  {
    CODMemDC mem(&t.dc, &r);
    EXPECT_FALSE(mem.IsMemDC());
    EXPECT_EQ(mem.GetSafeHdc(), t.dc.GetSafeHdc());
    mem.FillSolidRect(0, 0, 4, 4, kRed);
    EXPECT_EQ(t.At(1, 1), kRed) << "drawn at once";
  }
  t.dc.m_bPrinting = FALSE;
  EXPECT_NE(::GetObjectType(t.dc.GetSafeHdc()), 0u) << "the target's handle survives";
  EXPECT_EQ(t.At(1, 1), kRed);
}

}  // namespace
