// The controls under Wine: the theme sections' loaders, pixel checks of the drawing
// operations on memory DCs, and the message behaviour a parent or a person relies on.
#include <gtest/gtest.h>

#include <string>

#include "ODButton.h"
#include "ODComboBox.h"
#include "ODDialog.h"
#include "ODViews.h"
#include "ODEdit.h"
#include "ODListBox.h"
#include "ODMenuWnd.h"
#include "ODProgressCtrl.h"
#include "ODStatic.h"
#include "ODTheme.h"
#include "ODThemeSections.h"
#include "ODToolTip.h"
#include "ThemeTestEnv.h"

namespace {

// A hidden top-level window to parent the controls.
class Host : public CWnd {
 public:
  Host() { CreateEx(0, AfxRegisterWndClass(0), "host", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr); }
  ~Host() override { DestroyWindow(); }
  std::vector<UINT> commands;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_COMMAND) commands.push_back((UINT)wParam);
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

// A memory DC over a 32-bit bitmap that the test reads back.
struct Canvas {
  HDC dc;
  HBITMAP bmp;
  HGDIOBJ old;
  Canvas(int w, int h) {
    HDC screen = ::GetDC(nullptr);
    dc = ::CreateCompatibleDC(screen);
    bmp = ::CreateCompatibleBitmap(screen, w, h);
    ::ReleaseDC(nullptr, screen);
    old = ::SelectObject(dc, bmp);
    RECT r = {0, 0, w, h};
    ::FillRect(dc, &r, (HBRUSH)::GetStockObject(BLACK_BRUSH));
  }
  ~Canvas() {
    ::SelectObject(dc, old);
    ::DeleteObject(bmp);
    ::DeleteDC(dc);
  }
  COLORREF At(int x, int y) const { return ::GetPixel(dc, x, y); }
};

void Pump() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
}

}  // namespace

TEST(ODThemeSections, LoadersReadTheirKeysAndKeepWhatALaterThemeLacks) {
  const std::string ini = TestFolder() + "controls_skn.ini";
  const std::string longText(300, 'x');
  WriteFileBytes(ini,
                 "[Resource]\r\nResFile=Tessaly.dll\r\n"
                 "[ODButton]\r\nColorBkIn=#1#2#3\r\nSetSizeToContent=0\r\n"
                 "[ODProgress]\r\nBlockFill=7\r\nBlockCount=33\r\n"
                 "[ODEdit]\r\nPwdChar=#x\r\nMenuCut=" +
                     longText +
                     "\r\n"
                     "[ODListBox]\r\nColorHotText=#9#9#9\r\n[ODTxtMov]\r\nTxtMovLinkerColor=#0#0#200\r\n"
                     "[ODWaitDlg]\r\nMode=2\r\n[ODMsgDlg]\r\nMB_OK=ok text\r\n");
  ASSERT_EQ(LoadTheme(ini.c_str(), ODTHEME_MODE_INI), 1);
  EXPECT_EQ(ODButtonValues().crBkIn, RGB(1, 2, 3));
  EXPECT_EQ(ODButtonValues().bSizeToContent, 0);
  EXPECT_EQ(ODProgressValues().nBlockFill, 7) << "read twice with the same result";
  EXPECT_EQ(ODProgressValues().nBlockCount, 33);
  EXPECT_STREQ(ODEditValues().pwdChar, "#") << "one character";
  EXPECT_EQ(strlen(ODEditValues().menuCut), 127u) << "a 128-byte buffer";
  EXPECT_EQ(ODListBoxValues().crHotText, RGB(9, 9, 9));
  EXPECT_EQ(ODTxtMovValues().crLinker, RGB(0, 0, 200)) << "the static's loader runs the text lines' one";
  EXPECT_EQ(ODWaitDlgValues().nMode, 2);
  EXPECT_STREQ(ODMsgDlgValues().captions[9], "ok text");
  // Sections the theme lacks keep their defaults.
  EXPECT_EQ(ODMenuValues().crColumn, RGB(255, 0, 0));
  EXPECT_EQ(ODMsgDlgValues().nBtnID[2], IDYES);
  EXPECT_EQ(ODTabValues().crBorder, 0x143057u);
  EXPECT_STREQ(ODEditValues().menuCopy, "\xB8\xB4\xD6\xC6");
  // A second theme without those keys keeps the values of the first.
  WriteFileBytes(ini, "[Resource]\r\nResFile=Tessaly.dll\r\n[ODButton]\r\nColorFgIn=#4#5#6\r\n");
  ASSERT_EQ(ApplyTheme(), 1);
  EXPECT_EQ(ODButtonValues().crBkIn, RGB(1, 2, 3));
  EXPECT_EQ(ODButtonValues().crFgIn, RGB(4, 5, 6));
  EXPECT_EQ(ODProgressValues().nBlockFill, 7);
  EXPECT_EQ(ODWaitDlgValues().nMode, 2);
}

TEST(ODProgressCtrl, BarFillsUpToThePositionAndGrowModeBounces) {
  Host host;
  CODProgressCtrl bar;
  ASSERT_TRUE(bar.Create(WS_CHILD, CRect(0, 0, 200, 20), &host, 1));
  bar.SetRange(0, 100);
  bar.SetPos(150);
  EXPECT_EQ(bar.GetPos(), 100) << "above the maximum stores the maximum";
  bar.SetPos(50);
  Canvas c(200, 20);
  RECT rc = {0, 0, 200, 20};
  bar.DrawBackground(c.dc, rc);
  bar.DrawBar(c.dc, rc);
  EXPECT_EQ(c.At(150, 10), ODProgressValues().crBkgnd);
  EXPECT_NE(c.At(40, 10), ODProgressValues().crBkgnd);
  CODProgressCtrl grow;
  ASSERT_TRUE(grow.Create(WS_CHILD | vesk::odctrls::kProgressGrow, CRect(0, 0, 200, 20), &host, 2));
  grow.SetRange(0, 100);
  grow.SetStep(40);
  unsigned directions = 0;
  for (int i = 0; i < 6; ++i) {
    grow.StepIt();
    directions |= (grow.Model().m_style & vesk::odctrls::kProgressGrowReversed) ? 2 : 1;
    EXPECT_LE(grow.GetPos(), 100);
    EXPECT_GE(grow.GetPos(), 0);
  }
  EXPECT_EQ(directions, 3u) << "stepping past the end turns the block round";
}

TEST(ODListBox, HotItemIsFilledFirstAndTheMeasuredHeightIsKept) {
  Host host;
  CODListBox list;
  ASSERT_TRUE(list.Create(WS_CHILD, CRect(0, 0, 150, 100), &host, 3));
  for (const char* s : {"zero", "one", "two", "three", "four", "five", "six", "seven"}) list.AddString(s);
  const int h = list.GetItemHeight();
  list.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(20, h + 2));
  EXPECT_EQ(list.GetHotItem(), 1);
  Canvas c(150, 100);
  CDC* dc = CDC::FromHandle(c.dc);
  list.OnDraw(dc);
  EXPECT_EQ(c.At(100, h + h / 2), ODListBoxValues().crSelBk);
  EXPECT_EQ(c.At(100, 3 * h + h / 2), ODListBoxValues().crNormalBk);
  // Keys wrap from the first item to the last and back.
  list.SetCurSel(0);
  list.SendMessage(WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(list.GetCurSel(), 7);
  list.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(list.GetCurSel(), 0);
  EXPECT_EQ(list.SendMessage(LB_GETCOUNT), 8);
}

// A strip of two 8 x 8 frames: a red and a green square on the teal key colour.
HBITMAP TwoFrameStrip() {
  Canvas c(16, 8);
  HBRUSH teal = ::CreateSolidBrush(RGB(0, 128, 128)), red = ::CreateSolidBrush(RGB(255, 0, 0)),
         green = ::CreateSolidBrush(RGB(0, 255, 0));
  RECT all = {0, 0, 16, 8}, a = {2, 2, 6, 6}, b = {10, 2, 14, 6};
  ::FillRect(c.dc, &all, teal);
  ::FillRect(c.dc, &a, red);
  ::FillRect(c.dc, &b, green);
  ::DeleteObject(teal);
  ::DeleteObject(red);
  ::DeleteObject(green);
  ::SelectObject(c.dc, c.old);
  HBITMAP copy = (HBITMAP)::CopyImage(c.bmp, IMAGE_BITMAP, 0, 0, 0);
  ::SelectObject(c.dc, c.bmp);
  return copy;
}

TEST(ODListBox, ItemImagesAreDrawnOverTheFillWithTheSelectedLook) {
  Host host;
  CODListBox list;
  ASSERT_TRUE(list.Create(WS_CHILD, CRect(0, 0, 150, 100), &host, 3));
  for (const char* s : {"red", "green", "plain"}) list.AddString(s);
  HBITMAP strip = TwoFrameStrip();
  EXPECT_FALSE(list.SetImageList(strip, 40));  // frames narrower than a pixel are refused
  ASSERT_TRUE(list.SetImageList(strip, 2));
  ::DeleteObject(strip);  // the list box keeps its own copy
  EXPECT_TRUE(list.SetItemImage(0, 0, 0));
  EXPECT_TRUE(list.SetItemImage(1, 1, 0));
  EXPECT_FALSE(list.SetItemImage(3, 0, 0));
  list.SetCurSel(1);
  Canvas c(150, 100);
  list.OnDraw(CDC::FromHandle(c.dc));
  const int h = list.GetItemHeight(), y0 = (h - 8) / 2;
  const ODListBoxTheme& v = ODListBoxValues();
  EXPECT_EQ(c.At(4 + 4, y0 + 4), RGB(255, 0, 0));
  EXPECT_EQ(c.At(4 + 0, y0), v.crNormalBk);  // the key shows the fill beneath
  const COLORREF tinted = c.At(4 + 4, h + y0 + 4);
  EXPECT_NE(tinted, RGB(0, 255, 0));  // the selected item's image takes the selected look
  EXPECT_GT(GetGValue(tinted), 0);
  EXPECT_EQ(c.At(4 + 0, h + y0), v.crSelBk);
  EXPECT_EQ(c.At(4 + 4, 2 * h + y0 + 4), v.crNormalBk);  // no image on the third item
}

TEST(ODEdit, CharactersPasswordAndSelectionDrawing) {
  Host host;
  CODEdit edit;
  ASSERT_TRUE(edit.Create(WS_CHILD, CRect(0, 0, 200, 24), &host, 4));
  edit.SetWindowText("\r\nhello\n");
  char text[64] = {};
  edit.GetWindowText(text, sizeof(text));
  EXPECT_STREQ(text, "hello");
  // A lead byte of 0x80 or more and its trail byte make one character.
  edit.SendMessage(WM_CHAR, 0x81, 0);
  edit.SendMessage(WM_CHAR, 0x40, 0);
  edit.GetWindowText(text, sizeof(text));
  EXPECT_STREQ(text, "hello\x81\x40");
  edit.SendMessage(WM_KEYDOWN, VK_BACK, 0);
  edit.GetWindowText(text, sizeof(text));
  EXPECT_STREQ(text, "hello");
  EXPECT_EQ(host.commands.back(), MAKEWPARAM(4, EN_CHANGE));
  // The selection is drawn in its colours.
  edit.SetSel(0, -1);
  Canvas c(200, 24);
  RECT inner = {1, 1, 199, 23};
  edit.DrawBackground(c.dc, inner);
  edit.DrawText(c.dc, inner);
  bool selected = false;
  for (int x = 2; x < 30; ++x) selected |= c.At(x, 12) == ODEditValues().crSelBkgnd;
  EXPECT_TRUE(selected);
  EXPECT_EQ(c.At(150, 12), ODEditValues().crBkgnd);
  // The password field hides its text from messages but not from its program.
  CODEdit pwd;
  ASSERT_TRUE(pwd.Create(WS_CHILD | ES_PASSWORD, CRect(0, 30, 200, 54), &host, 5));
  pwd.SetPassword("abc");
  EXPECT_EQ(pwd.SendMessage(WM_GETTEXTLENGTH), 0);
  EXPECT_EQ(pwd.SendMessage(WM_SETTEXT, 0, (LPARAM) "x"), 0);
  EXPECT_STREQ(pwd.GetPassword(), "abc");
  pwd.SetSel(0, -1);
  pwd.SendMessage(WM_COPY);  // copies nothing in the password style
  EXPECT_EQ(pwd.SendMessage(WM_GETDLGCODE), DLGC_WANTARROWS | DLGC_WANTCHARS);
}

TEST(ODButton, CheckStatesAndRadioGroups) {
  Host host;
  CODButton check, r1, r2, other;
  ASSERT_TRUE(check.Create("c", WS_CHILD | WS_VISIBLE | BS_CHECKBOX, CRect(0, 0, 80, 20), &host, 10));
  ASSERT_TRUE(r1.Create("r1", WS_CHILD | WS_VISIBLE | WS_GROUP | BS_RADIOBUTTON, CRect(0, 20, 80, 40), &host, 11));
  ASSERT_TRUE(r2.Create("r2", WS_CHILD | WS_VISIBLE | BS_RADIOBUTTON, CRect(0, 40, 80, 60), &host, 12));
  ASSERT_TRUE(other.Create("o", WS_CHILD | WS_VISIBLE | WS_GROUP | BS_RADIOBUTTON, CRect(0, 60, 80, 80), &host, 13));
  check.SendMessage(BM_SETCHECK, 2);
  EXPECT_EQ(check.SendMessage(BM_GETCHECK), 1) << "state 2 checks a check box";
  EXPECT_EQ(check.GetStyle() & 0x0F, (DWORD)BS_OWNERDRAW);
  r1.SetCheck(1);
  other.SetCheck(1);
  host.SendMessage(WM_COMMAND, MAKEWPARAM(12, BN_CLICKED), (LPARAM)r2.m_hWnd);
  EXPECT_EQ(r2.GetCheck(), 1);
  EXPECT_EQ(r1.GetCheck(), 0);
  EXPECT_EQ(other.GetCheck(), 1) << "another group is left alone";
  EXPECT_TRUE(r2.SendMessage(WM_GETDLGCODE) & DLGC_RADIOBUTTON);
}

namespace {
int g_menusDeleted = 0;
class CountedMenu : public CODMenuWnd {
 public:
  ~CountedMenu() override { ++g_menusDeleted; }
};
}  // namespace

TEST(ODMenuWnd, KeysCommandsAndSelfDeletion) {
  Host host;
  CODMenuWnd menu;
  ASSERT_FALSE(menu.Create(&host, -1, TRUE));
  ASSERT_TRUE(menu.Create(&host, 1, TRUE));
  EXPECT_EQ(menu.GetStyle() & (WS_POPUP | WS_CHILD), (DWORD)WS_POPUP);
  menu.AddItem("one", 201, nullptr, TRUE, 0);
  menu.AddItem("", 0, nullptr, FALSE, 0);
  menu.AddItem("two", 202, nullptr, TRUE, 0);
  EXPECT_EQ(menu.AddItem("x", 1, nullptr, TRUE, 5), -1);
  menu.Track(0, 100, 100, &host);
  menu.SendMessage(WM_KEYDOWN, VK_DOWN);
  EXPECT_EQ(menu.GetHotItem(), 0);
  menu.SendMessage(WM_KEYDOWN, VK_DOWN);
  EXPECT_EQ(menu.GetHotItem(), 2) << "the separator is skipped";
  menu.SendMessage(WM_KEYDOWN, VK_RETURN);
  Pump();
  ASSERT_FALSE(host.commands.empty());
  EXPECT_EQ(host.commands.back(), 202u);
  EXPECT_EQ(menu.m_hWnd, nullptr) << "executing closes the menu";
  // It can be made again, and a menu made to delete itself goes with its window.
  ASSERT_TRUE(menu.Create(&host, 1, FALSE));
  menu.DestroyWindow();
  // A frame image the menu sets itself takes the margin of its width.
  menu.SetEdgeImage(0, "0,121");
  ASSERT_TRUE(menu.Create(&host, 1, FALSE));
  EXPECT_GT(menu.Layout().m.margins.left, 1);
  EXPECT_EQ(menu.Layout().m.margins.right, 1);
  menu.DestroyWindow();
  CountedMenu* own = new CountedMenu;
  own->SetDeleteOnDestroy(TRUE);
  ASSERT_TRUE(own->Create(&host, 1, TRUE));
  own->DestroyWindow();
  EXPECT_EQ(g_menusDeleted, 1);
}

TEST(ODToolTip, PaletteImageAndCopiedHandles) {
  CODPaletteDib dib;
  ASSERT_TRUE(dib.Create(5, 3, 8));
  EXPECT_EQ(dib.GetStride(), 8);
  dib.SetColour(7, 10, 20, 30);
  dib.SetColour(300, 1, 1, 1);  // beyond the table: ignored
  dib.Fill(0);
  dib.SetPixel(2, 0, 7);
  dib.SetPixel(9, 9, 7);  // outside: ignored
  Canvas c(5, 3);
  dib.Draw(c.dc, 0, 0);
  EXPECT_EQ(c.At(2, 0), RGB(10, 20, 30));
  EXPECT_FALSE(dib.Create(0, 3, 8));
  // The tooltip keeps its own copy of a tool's icon.
  Host host;
  CODToolTip tip;
  ASSERT_TRUE(tip.Create(&host, 0));
  HICON icon = ::LoadIconA(nullptr, IDI_APPLICATION);
  OD_TOOL_INFO own = {};
  own.hIcon = ::CopyIcon(icon);
  tip.AddTool(&host, "text", nullptr, 7, &own);
  ::DestroyIcon(own.hIcon);
  OD_TOOL_INFO got = {};
  ASSERT_TRUE(tip.GetTool(0, &got));
  EXPECT_NE(got.hIcon, own.hIcon);
  ICONINFO ii = {};
  EXPECT_TRUE(::GetIconInfo(got.hIcon, &ii)) << "the copy lives on";
  if (ii.hbmColor) ::DeleteObject(ii.hbmColor);
  if (ii.hbmMask) ::DeleteObject(ii.hbmMask);
  EXPECT_FALSE(tip.GetTool(1, &got));
}

namespace {
// An owner that rewrites the record in the show notification, as a menu does for its tips.
class TipOwner : public CWnd {
 public:
  TipOwner() { CreateEx(0, AfxRegisterWndClass(0), "owner", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr); }
  ~TipOwner() override { DestroyWindow(); }
  int shows = 0;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_NOTIFY && ((NMHDR*)lParam)->code == ODTTN_SHOW) {
      NM_ODTOOLTIP* nm = (NM_ODTOOLTIP*)lParam;
      ++shows;
      nm->pTool->strText = "changed by the owner";
      nm->pTool->uMask |= ODTT_MASK_EFFECT;
      nm->pTool->nEffect = 14;
      ::SetRect(&nm->pTool->rc, 1, 2, 3, 4);
      return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
};
}  // namespace

TEST(ODToolTip, WhatTheOwnerChangesStaysWithTheToolButItsRectangle) {
  TipOwner owner;
  CODToolTip tip;
  ASSERT_TRUE(tip.Create(&owner, 0));
  tip.Enable(TRUE);
  RECT hot = {10, 10, 60, 40};
  tip.AddTool(&owner, "original", &hot, 3);
  tip.ShowAt(0, POINT{200, 200});
  EXPECT_EQ(owner.shows, 1);
  OD_TOOL_INFO got = {};
  ASSERT_TRUE(tip.GetTool(0, &got));
  EXPECT_STREQ(got.strText, "changed by the owner");
  EXPECT_EQ(got.nEffect, 14);
  EXPECT_TRUE((got.uMask & ODTT_MASK_EFFECT) != 0);
  EXPECT_TRUE(::EqualRect(&got.rc, &hot)) << got.rc.left << "," << got.rc.top;
  EXPECT_TRUE(tip.IsWindowVisible());
  tip.Hide();
  EXPECT_FALSE(tip.IsWindowVisible());
}

TEST(ODStatic, TextLinesFromTheWindowText) {
  Host host;
  CODStatic st;
  ASSERT_TRUE(st.Create("first\nsecond\n", WS_CHILD | SS_NOTIFY, CRect(0, 0, 200, 60), &host, 20));
  EXPECT_EQ(st.GetTextLines().Store().m_lines.size(), 3u);
  st.SetWindowText("one line");
  EXPECT_EQ(st.GetTextLines().Store().m_lines.size(), 1u);
  char text[32] = {};
  st.GetWindowText(text, sizeof(text));
  EXPECT_STREQ(text, "one line");
}

TEST(ODComboList, SelectionLimitsHoldInBothDirections) {
  Host host;
  CODComboList combo;
  ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, CRect(0, 0, 150, 24), &host, 30));
  combo.GetList().InsertColumn(0, "", 120);
  for (const char* s : {"a", "b", "c"}) combo.GetList().InsertItem(combo.GetList().GetItemCount(), s);
  struct Case {
    int index, expect;
    const char* text;
  } cases[] = {{2, 2, "c"}, {-5, 0, "a"}, {1, 1, "b"}, {99, 0, "a"}};
  for (const Case& c : cases) {
    EXPECT_EQ(combo.SetCurSel(c.index), c.expect) << c.index;
    EXPECT_EQ(combo.GetCurSel(), c.expect) << c.index;
    char text[16] = {};
    combo.SendMessage(WM_GETTEXT, sizeof(text), (LPARAM)text);
    EXPECT_STREQ(text, c.text) << c.index;
  }
  CODComboBox box;
  ASSERT_TRUE(box.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, CRect(0, 30, 150, 54), &host, 31));
  EXPECT_EQ(box.SetCurSel(0), CB_ERR) << "an empty list";
  box.AddString("x");
  box.AddString("y");
  EXPECT_EQ(box.SetCurSel(-1), 0);
  EXPECT_EQ(box.SendMessage(CB_SETCURSEL, 7), 0);
  char text[16] = {};
  box.SendMessage(WM_GETTEXT, sizeof(text), (LPARAM)text);
  EXPECT_STREQ(text, "x");
}

TEST(ODDialog, CaptionButtonsSitWhereTheDefaultsPutThem) {
  Host host;
  CODDialog dlg;
  ASSERT_TRUE(dlg.CreateModeless("caption", WS_POPUP | WS_CAPTION | WS_SYSMENU, 200, 100, &host));
  const CRect cap(0, 0, 200, 24);
  struct Case {
    int x, y, hit;
  } cases[] = {{195, 12, CODDialog::HIT_CLOSE},  // 4 from the right edge, 16 wide
               {197, 12, -1},
               {180, 4, CODDialog::HIT_CLOSE},  // centred: 4 to 19
               {180, 3, -1},
               {100, 12, -1}};
  for (const Case& c : cases) EXPECT_EQ(dlg.CaptionHitTest(cap, CPoint(c.x, c.y)), c.hit) << c.x << "," << c.y;
  EXPECT_EQ(dlg.SetButtonState(0, 2), 0);
  EXPECT_EQ(dlg.GetButtonState(0), 2);
  EXPECT_EQ(dlg.SetButtonState(5, 1), 0);
  EXPECT_EQ(dlg.CaptionRegion(cap), nullptr) << "no caption images";
  // Without a system menu neither button nor menu is hit.
  CODDialog bare;
  ASSERT_TRUE(bare.CreateModeless("bare", WS_POPUP | WS_CAPTION, 200, 100, &host));
  EXPECT_EQ(bare.CaptionHitTest(cap, CPoint(195, 12)), -1);
}

namespace {
// A view that shows a list of its own rather than the embedded one.
class OtherListView : public CODListView {
 public:
  CODListCtrl& GetListCtrl() override { return m_other; }
  CODListCtrl m_other;
};
}  // namespace

TEST(ODListView, EmbedsItsListOnceAndOnlyForItsOwnList) {
  Host host;
  CODListView* view = (CODListView*)RUNTIME_CLASS(CODListView)->CreateObject();
  ASSERT_NE(view, nullptr);
  ASSERT_TRUE(view->Create(nullptr, "", WS_CHILD | WS_VISIBLE | 0x0041, CRect(0, 0, 200, 120), &host, 40));
  view->OnInitialUpdate();
  view->OnInitialUpdate();
  ASSERT_TRUE(view->IsInitialised());
  EXPECT_NE(view->GetListCtrl().m_hWnd, nullptr);
  EXPECT_EQ(view->GetListCtrl().GetStyle() & 0xFFFF, 0x0041u) << "the view's low style bits";
  EXPECT_EQ(view->GetListCtrl().GetParent(), &view->GetContainer());
  // Resizing the view resizes the container over it.
  view->MoveWindow(0, 0, 300, 150);
  CRect rc;
  view->GetContainer().GetClientRect(&rc);
  EXPECT_EQ(rc.Width(), 300);
  view->DestroyWindow();  // the view deletes itself
  OtherListView* other = new OtherListView;
  ASSERT_TRUE(other->Create(nullptr, "", WS_CHILD, CRect(0, 0, 200, 120), &host, 41));
  other->OnInitialUpdate();
  EXPECT_FALSE(other->IsInitialised());
  EXPECT_EQ(other->GetContainer().m_hWnd, nullptr);
  other->DestroyWindow();
}
