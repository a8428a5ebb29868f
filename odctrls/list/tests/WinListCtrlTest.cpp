// The owner-drawn list, its header and the skinned bars on real windows: what the list
// paints (checked on a memory DC), how it scrolls with its own bars or inside a container,
// the bar's wheel and drag, and the list-view text messages a prober uses.
#include "ODListCtrl.h"

#include <gtest/gtest.h>

#include <cstring>

#include "ODMemDC.h"
#include "ODNcMgrWnd.h"
#include "ODTheme.h"
#include "ScrollBarEx.h"

namespace {

struct Dib {
  CDC dc;
  HBITMAP bmp;
  HGDIOBJ old;
  Dib(int w, int h) {
    dc.Attach(::CreateCompatibleDC(nullptr));
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    bmp = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    old = ::SelectObject(dc.GetSafeHdc(), bmp);
  }
  ~Dib() {
    ::SelectObject(dc.GetSafeHdc(), old);
    ::DeleteObject(bmp);
  }
  COLORREF At(int x, int y) { return ::GetPixel(dc.GetSafeHdc(), x, y); }
  int Count(const CRect& r, COLORREF c) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) n += At(x, y) == c;
    return n;
  }
};

// A list that lets the test paint it into any DC.
class CTestList : public CODListCtrl {
 public:
  using CODListCtrl::OnDrawList;
  CRect ListArea() const { return m_rcList; }
};

class ListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    parent.CreateEx(0, AfxRegisterWndClass(0), "list test", WS_POPUP | WS_VISIBLE, CRect(0, 0, 400, 300), nullptr, 0);
  }
  void TearDown() override {
    if (parent.GetSafeHwnd()) parent.DestroyWindow();
  }
  void Fill(CODListCtrl& list, int rows) {
    list.InsertColumn(0, "name", 100);
    list.InsertColumn(1, "score", 80, HDF_RIGHT);
    for (int r = 0; r < rows; ++r) {
      list.InsertItem(r, ("row " + std::to_string(r)).c_str());
      list.SetItemText(r, 1, std::to_string(r * 10).c_str());
    }
  }
  CWnd parent;
};

const COLORREF kBk = RGB(10, 200, 30), kSel = RGB(200, 10, 30), kText = RGB(255, 255, 255);

TEST_F(ListTest, PaintsRowsInItsColoursAndTheSelectedRowInTheSelectionColour) {
  CTestList list;
  ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), &parent, 1));
  Fill(list, 3);
  list.SetColor(CODListCtrl::CLR_BK, kBk);
  list.SetColor(CODListCtrl::CLR_BKSEL, kSel);
  list.SetColor(CODListCtrl::CLR_TEXT, kText);
  list.SetFocus();
  list.SendMessage(WM_KEYDOWN, VK_DOWN, 0);  // the first row gets the focus and the selection
  Dib dib(300, 200);
  list.OnDrawList(&dib.dc);
  const CRect area = list.ListArea();
  const int h = list.GetRowHeight();
  EXPECT_GT(h, 8);
  // Row 0 selected (the focus colour), rows 1 and 2 and the empty area in the background colour.
  EXPECT_GT(dib.Count(CRect(150, area.top + 1, 175, area.top + h - 1), kSel), 20);
  EXPECT_EQ(dib.At(290, area.top + h + h / 2), kBk);
  EXPECT_EQ(dib.At(150, area.bottom - 2), kBk);
  // Text is drawn in the row: some pixels of the text colour in row 1's first cell.
  EXPECT_GT(dib.Count(CRect(area.left, area.top + h, area.left + 100, area.top + 2 * h), kText), 5);
}

TEST_F(ListTest, EmptyListShowsItsTextAndKeptColoursSurviveATheme) {
  CTestList list;
  ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), &parent, 1));
  list.InsertColumn(0, "name", 100);
  list.SetColor(CODListCtrl::CLR_BK, kBk, FALSE);
  list.SetColor(CODListCtrl::CLR_TEXT, kText, TRUE);
  EXPECT_EQ(list.SetOption(odlist::OPT_EMPTY_TEXT, (LPARAM) "nothing here"), 1);
  EXPECT_EQ(list.SetOption(odlist::OPT_GRID_PEN, 3), 0);
  Dib dib(300, 200);
  list.OnDrawList(&dib.dc);
  const CRect area = list.ListArea();
  EXPECT_GT(dib.Count(CRect(0, area.top, 300, area.top + list.GetRowHeight() + 2), kText), 5);
  list.LoadColors();  // what a theme change does
  EXPECT_EQ(list.GetColor(CODListCtrl::CLR_TEXT), kText) << "kept";
  EXPECT_EQ(list.GetColor(CODListCtrl::CLR_BK), CODListCtrl::s_colors[CODListCtrl::CLR_BK]) << "follows the theme";
}

TEST_F(ListTest, TextMessagesAlwaysEndInsideTheCallersBuffer) {
  CODListCtrl list;
  ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), &parent, 1));
  Fill(list, 2);
  list.SetItemText(1, 0, std::string(300, 'x').c_str());
  EXPECT_EQ(list.SendMessage(LVM_GETITEMCOUNT), 2);
  char buf[8];
  std::memset(buf, '#', sizeof buf);
  LVITEMA item{};
  item.iSubItem = 0;
  item.pszText = buf;
  item.cchTextMax = sizeof buf;
  EXPECT_EQ(list.SendMessage(LVM_GETITEMTEXTA, 1, (LPARAM)&item), 7);
  EXPECT_EQ(std::string(buf), "xxxxxxx");
  item.iSubItem = 1;
  item.cchTextMax = 0;
  EXPECT_EQ(list.SendMessage(LVM_GETITEMTEXTA, 1, (LPARAM)&item), 0);
  item.cchTextMax = sizeof buf;
  item.iSubItem = -1;
  EXPECT_EQ(list.SendMessage(LVM_GETITEMTEXTA, 0, (LPARAM)&item), 0);
  item.iSubItem = 1;
  EXPECT_EQ(list.SendMessage(LVM_GETITEMTEXTA, 0, (LPARAM)&item), 1);
  EXPECT_EQ(std::string(buf), "0");
  EXPECT_EQ(list.SendMessage(LVM_GETITEMTEXTA, 5, (LPARAM)&item), 0);
  EXPECT_EQ(list.GetItemText(1, 0).GetLength(), 255) << "cells keep 255 bytes";
}

// A list whose wheel setting the test chooses (read again on a setting change).
class CWheelList : public CODListCtrl {
 public:
  int lines = 3;
  int GetWheelScrollLines() override { return lines; }
};

TEST_F(ListTest, WheelScrollsInProportionToTheTurnAndPagesByWholeNotches) {
  struct Case {
    int lines, from, delta, first;
  } cases[] = {
      {4, 10, -60, 12},                                  // half a notch of a fine wheel: half the lines
      {4, 10, WHEEL_DELTA, 6},                           // forward: up
      {3, 10, -2 * WHEEL_DELTA, 16},                     // two notches
      {3, 10, 30, 10},                                   // less than a line: nothing
      {(int)WHEEL_PAGESCROLL, 0, -2 * WHEEL_DELTA, -1},  // page mode: one page per notch
  };
  for (const Case& c : cases) {
    CWheelList list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), &parent, 1));
    Fill(list, 60);
    list.lines = c.lines;
    list.SendMessage(WM_SETTINGCHANGE, 0, 0);
    list.EnsureVisible(0, TRUE);
    for (int i = 0; i < c.from; ++i) list.SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
    ASSERT_EQ(list.GetFirstVisible(), c.from);
    list.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)(short)c.delta), 0);
    MSG msg;
    while (::PeekMessageA(&msg, list.GetSafeHwnd(), 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
    if (c.first >= 0) {
      EXPECT_EQ(list.GetFirstVisible(), c.first) << "lines " << c.lines << " delta " << c.delta;
    } else {
      // Two pages: the same as two page-down messages.
      CWheelList ref;
      ASSERT_TRUE(ref.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), &parent, 2));
      Fill(ref, 60);
      ref.SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
      ref.SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
      EXPECT_GT(ref.GetFirstVisible(), 2);
      EXPECT_EQ(list.GetFirstVisible(), ref.GetFirstVisible());
    }
  }
}

TEST_F(ListTest, RightClickSelectsAnUnselectedRowAndKeepsASelectedRange) {
  CODListCtrl list;
  ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), &parent, 1));
  Fill(list, 6);
  const CRect area = [&] {
    CRect r;
    list.GetClientRect(&r);
    return r;
  }();
  const int h = list.GetRowHeight();
  auto rowY = [&](int row) {
    for (int y = area.top; y < area.bottom; ++y)
      if (list.HitTestRow(CPoint(20, y)) == row) return y + h / 2;
    return -1;
  };
  auto selected = [&](int row) { return (list.GetRowState(row) & odlist::RS_SELECTED) != 0; };
  ASSERT_GT(rowY(4), 0);
  // Rows 1 to 3 selected by a click and a shift-click.
  list.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(20, rowY(1)));
  list.SendMessage(WM_LBUTTONDOWN, MK_SHIFT, MAKELPARAM(20, rowY(3)));
  ASSERT_TRUE(selected(1) && selected(2) && selected(3));
  // Inside the selection: the range stays.
  list.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, rowY(2)));
  EXPECT_TRUE(selected(1) && selected(2) && selected(3));
  // With Ctrl: nothing changes either.
  list.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON | MK_CONTROL, MAKELPARAM(20, rowY(5)));
  EXPECT_FALSE(selected(5));
  // On a row outside it: that row alone.
  list.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, rowY(4)));
  EXPECT_TRUE(selected(4));
  EXPECT_FALSE(selected(1) || selected(2) || selected(3));
  // Below the rows: the selection is left as it is.
  list.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, area.bottom - 2));
  EXPECT_TRUE(selected(4));
}

TEST_F(ListTest, HostedListScrollsWithTheContainersSkinnedBars) {
  CSBContainerWnd box;
  ASSERT_TRUE(box.Create(CRect(0, 0, 300, 120), &parent, 2, WS_CHILD | WS_VISIBLE | WS_BORDER));
  CRect inside;
  box.GetClientRect(&inside);
  CODListCtrl list;
  ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE, inside, &box, 0));
  box.SetHostedControl(&list);
  EXPECT_TRUE(list.IsHosted());
  Fill(list, 3);
  ScrollBarEx* vert = box.GetSkinScrollBar(SB_VERT);
  EXPECT_FALSE(vert->IsBarVisible()) << "three rows fit";
  for (int r = 3; r < 30; ++r) list.InsertItem(r, "more");
  EXPECT_TRUE(vert->IsBarVisible());
  CRect listRect, barRect;
  list.GetWindowRect(&listRect);
  vert->GetWindowRect(&barRect);
  EXPECT_LE(listRect.right, barRect.left) << "the container gives the list the room left of the bar";
  // The wheel over the bar scrolls the list (one notch: three rows down, through posted lines).
  vert->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
  EXPECT_GT(list.GetFirstVisible(), 0);
  box.SendMessage(WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(list.GetFirstVisible(), 0);
  list.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
  EXPECT_EQ(list.GetFirstVisible(), 3);
  SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, 0, 0};
  vert->GetScrollInfo(&si, SIF_POS);
  EXPECT_EQ(si.nPos, 3) << "the skinned bar follows";
  // Rows removed: the bar goes through the container again.
  list.DeleteAllItems();
  EXPECT_FALSE(vert->IsBarVisible());
}

TEST_F(ListTest, BarPaintsItsPartsAndDragsWithinItsRange) {
  ScrollBarEx bar;
  ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE | SBS_VERT, CRect(0, 0, 15, 200), &parent, 3));
  bar.SetArrowLength(15);
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 100, 10, 0, 0};
  bar.SetScrollInfo(&si, TRUE);
  bar.SetThumbColor(RGB(1, 2, 250));
  Dib dib(15, 200);
  SBEX_DRAWPART thumb{&dib.dc, CRect(0, 20, 15, 60), 5, 0};
  bar.DrawPart(&thumb);
  EXPECT_GT(dib.Count(CRect(3, 22, 12, 58), RGB(1, 2, 250)), 100);
  // A drag far past the end stops at the last position.
  const odscroll::Layout l = bar.CurrentLayout();
  bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(7, l.thumb.start + 1));
  bar.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(7, 5000));
  EXPECT_EQ(bar.GetTrackPos(), 91);
  bar.SendMessage(WM_CANCELMODE);  // an interrupted drag ends cleanly
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_EQ(bar.GetScrollPos(), 91);
}

TEST_F(ListTest, HeaderPaintsItsColoursAndTheSortArrow) {
  CODListCtrl list;
  ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), &parent, 1));
  Fill(list, 3);
  CODHeaderCtrl* header = list.GetHeaderCtrl();
  ASSERT_NE(header, nullptr);
  list.SortItems(1, FALSE);
  EXPECT_EQ(list.GetItemText(list.Model().RowAt(0), 1), "20");
  int dir = -1;
  EXPECT_EQ(header->GetSortColumn(&dir), 1);
  EXPECT_EQ(dir, 0);
  CRect rc;
  header->GetClientRect(&rc);
  ASSERT_GT(rc.Height(), 0);
  Dib dib(rc.Width(), rc.Height());
  header->SendMessage(WM_PRINTCLIENT, (WPARAM)dib.dc.GetSafeHdc(), PRF_CLIENT);
  header->SendMessage(WM_PAINT);
  // The dividers: the dark colour one pixel left of each item's right edge.
  CRect item;
  header->GetItemRect(0, &item);
  CClientDC screen(header);
  EXPECT_EQ(screen.GetPixel(item.right - 1, rc.Height() / 2), CODHeaderCtrl::s_crDividerDark);
  EXPECT_EQ(screen.GetPixel(item.right, rc.Height() / 2), CODHeaderCtrl::s_crDividerLight);
}

// A solid 32-bit picture of w x h.
HBITMAP SolidPicture(int w, int h, COLORREF c) {
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bmp = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  auto* px = static_cast<uint32_t*>(bits);
  for (int i = 0; i < w * h; ++i) px[i] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
  return bmp;
}

TEST_F(ListTest, HeaderDrawsItsBackgroundPictureAndTheLeftShadowAtTheCorner) {
  CODListCtrl list;
  ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), &parent, 1));
  Fill(list, 1);
  CODHeaderCtrl* header = list.GetHeaderCtrl();
  ASSERT_NE(header, nullptr);
  const COLORREF kPicture = RGB(20, 180, 40), kShadow = RGB(230, 20, 20);
  header->SetBackgroundImage(TRUE, SolidPicture(3, 3, kPicture), ODTILE_REPEAT, FALSE);
  header->SetShadowImage(TRUE, SolidPicture(5, 4, kShadow));
  header->UpdateWindow();
  CRect rc, item;
  header->GetClientRect(&rc);
  header->GetItemRect(0, &item);
  CClientDC screen(header);
  EXPECT_EQ(screen.GetPixel(1, 1), kShadow);
  EXPECT_EQ(screen.GetPixel(4, 3), kShadow);
  EXPECT_EQ(screen.GetPixel(6, 1), kPicture) << "the shadow keeps its own size";
  EXPECT_EQ(screen.GetPixel(item.right - 4, rc.bottom - 1), kPicture);
  EXPECT_EQ(screen.GetPixel(rc.right - 2, rc.bottom - 1), kPicture) << "tiled across the whole header";
  // Removed: the theme's colour again.
  header->SetBackgroundImage(FALSE, nullptr, ODTILE_REPEAT);
  header->SetShadowImage(FALSE, nullptr);
  header->UpdateWindow();
  EXPECT_NE(screen.GetPixel(1, 1), kShadow);
  EXPECT_NE(screen.GetPixel(rc.right - 2, rc.bottom - 1), kPicture);
}

TEST_F(ListTest, HeaderItemsShowTheirImageListImageAndBitmap) {
  CODListCtrl list;
  ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), &parent, 1));
  Fill(list, 1);
  CODHeaderCtrl* header = list.GetHeaderCtrl();
  ASSERT_NE(header, nullptr);
  const COLORREF kImage = RGB(10, 40, 230), kBitmap = RGB(240, 30, 30);
  HIMAGELIST images = ::ImageList_Create(8, 8, ILC_COLOR32, 1, 1);
  HBITMAP cell = SolidPicture(8, 8, kImage);
  ASSERT_EQ(::ImageList_Add(images, cell, nullptr), 0);
  ::DeleteObject(cell);
  header->SendMessage(HDM_SETIMAGELIST, 0, (LPARAM)images);
  HDITEMA hdi{};
  hdi.mask = HDI_FORMAT | HDI_IMAGE;
  hdi.fmt = HDF_LEFT | HDF_STRING | HDF_IMAGE;
  hdi.iImage = 0;
  header->SetItem(0, &hdi);
  HBITMAP bitmap = SolidPicture(6, 6, kBitmap);
  hdi = HDITEMA{};
  hdi.mask = HDI_FORMAT | HDI_BITMAP;
  hdi.fmt = HDF_RIGHT | HDF_STRING | HDF_BITMAP;
  hdi.hbm = bitmap;
  header->SetItem(1, &hdi);
  header->Invalidate(FALSE);
  header->UpdateWindow();
  CRect rc, first, second;
  header->GetClientRect(&rc);
  header->GetItemRect(0, &first);
  header->GetItemRect(1, &second);
  CClientDC screen(header);
  const int mid = rc.Height() / 2, margin = 6;
  EXPECT_EQ(screen.GetPixel(first.left + margin + 3, mid), kImage) << "the image at the left of a left item";
  EXPECT_EQ(screen.GetPixel(second.left + margin + 2, mid), kBitmap) << "the bitmap at the left of a right item";
  // The content width counts the image: margin, image, margin, text, margin.
  char text[80] = "";
  HDITEMA item{};
  item.mask = HDI_FORMAT | HDI_TEXT;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  header->GetItem(0, &item);
  const int withImage = header->MeasureItem(item, FALSE);
  item.fmt &= ~HDF_IMAGE;
  EXPECT_EQ(withImage - header->MeasureItem(item, FALSE), 8 + margin);
  header->SendMessage(HDM_SETIMAGELIST, 0, 0);
  ::ImageList_Destroy(images);
  hdi.hbm = nullptr;
  header->SetItem(1, &hdi);
  ::DeleteObject(bitmap);
}

TEST_F(ListTest, ColumnsAskingForATipShowItOverTheirHeaderItem) {
  CODListCtrl list;
  ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), &parent, 1));
  auto column = [](const char* title, UINT flags) {
    OD_COLUMN c;
    c.nFlags = 0x4000 | flags;
    c.nWidth = 80;
    c.strTitle = title;
    return c;
  };
  list.InsertColumn(0, column("name", 0));
  list.InsertColumn(1, column("score", HDF_RIGHT | 0x80000));
  EXPECT_EQ(list.SetOption(odlist::OPT_HEADER_TIP, (LPARAM) "%s %n!"), 1);
  list.InsertColumn(2, column("seat", 0x80000));
  CODHeaderCtrl* header = list.GetHeaderCtrl();
  ASSERT_NE(header, nullptr);
  // What the tip window asks for over each item.
  auto tipAt = [&](int item) -> std::string {
    CRect r;
    header->GetItemRect(item, &r);
    TOOLINFOA ti{};
    ti.cbSize = sizeof ti;
    if (header->OnToolHitTest(r.CenterPoint(), &ti) < 0) return "(no tool)";
    EXPECT_EQ(ti.uId, CODHeaderCtrl::kTipToolId);
    EXPECT_EQ(CRect(ti.rect), r);
    NMTTDISPINFOA info{};
    info.hdr = {header->m_hWnd, CODHeaderCtrl::kTipToolId, TTN_NEEDTEXTA};
    header->SendMessage(WM_NOTIFY, 0, (LPARAM)&info);
    return info.lpszText ? info.lpszText : "(none)";
  };
  EXPECT_EQ(tipAt(0), "");
  EXPECT_EQ(tipAt(1), "Sort by: score");
  EXPECT_EQ(tipAt(2), "seat %n!");
  OD_HEADER_ITEM rec;
  ASSERT_TRUE(header->GetItemEx(1, &rec));
  EXPECT_EQ(rec.nFlags, 0x8) << "the header flags come from bits 16-23";
  // A column with a header image (flag 0x800) hands the header its image index.
  OD_COLUMN pictured = column("pic", HDF_IMAGE);
  pictured.nImage = 2;
  const int at = list.InsertColumn(3, pictured);
  ASSERT_EQ(at, 3);
  HDITEMA hdi{};
  hdi.mask = HDI_IMAGE | HDI_FORMAT;
  ASSERT_TRUE(header->GetItem(3, &hdi));
  EXPECT_TRUE(hdi.fmt & HDF_IMAGE);
  EXPECT_EQ(hdi.iImage, 2);
}

TEST_F(ListTest, ThemeChangeReachesEveryOwnerDrawnWindowOfTheProcess) {
  CSBContainerWnd box;
  ASSERT_TRUE(box.Create(CRect(0, 0, 300, 120), &parent, 2, WS_CHILD | WS_VISIBLE));
  CODListCtrl list;
  ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 280, 100), &box, 0));
  box.SetHostedControl(&list);
  list.SetColor(CODListCtrl::CLR_TEXT, kText, TRUE);
  const COLORREF before = CODListCtrl::s_colors[CODListCtrl::CLR_BK];
  // A new class value (as a reloaded theme gives) reaches the nested list through the notice.
  CODListCtrl::s_colors[CODListCtrl::CLR_BK] = RGB(1, 99, 7);
  NotifyOwnerDrawnWindows(nullptr, GetChangeThemeMsg(), 0, 0);
  EXPECT_EQ(list.GetColor(CODListCtrl::CLR_BK), RGB(1, 99, 7));
  EXPECT_EQ(list.GetColor(CODListCtrl::CLR_TEXT), kText) << "a kept colour stays";
  CODListCtrl::s_colors[CODListCtrl::CLR_BK] = before;
}

}  // namespace
