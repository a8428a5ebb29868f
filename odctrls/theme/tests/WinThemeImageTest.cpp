// Theme images from specs, their cells, shapes and drawing; the tiled blit and the flat
// border of the non-client border manager. Pictures are saved beside the test program.
#include <gtest/gtest.h>

#include "ODNcMgrWnd.h"
#include "ODTheme.h"
#include "ODThemeImage.h"
#include "ThemeTestEnv.h"
#include "WinProbe.h"

namespace {

COLORREF CornerKeyed(int x, int y) {
  if (x == 39 && y == 0) return RGB(1, 2, 3);
  return (x < 20) ? RGB(1, 2, 3) : RGB(200, 100, 0);
}

COLORREF Quadrants(int x, int y) { return RGB(x < 5 ? 255 : 0, y < 5 ? 255 : 0, 128); }

HBITMAP BitmapFrom(int w, int h, COLORREF (*pixel)(int, int)) {
  std::string bytes = MakeBmp(w, h, pixel);
  return DecodeThemePicture((const BYTE*)bytes.data(), bytes.size());
}

// A 32-bit top-down DIB section filled white, selected into a memory DC.
struct Canvas {
  Canvas(int w, int h) : width(w), height(h) {
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    dc = ::CreateCompatibleDC(nullptr);
    bmp = ::CreateDIBSection(dc, &bi, DIB_RGB_COLORS, (void**)&bits, nullptr, 0);
    old = ::SelectObject(dc, bmp);
    RECT r = {0, 0, w, h};
    ::FillRect(dc, &r, (HBRUSH)::GetStockObject(WHITE_BRUSH));
  }
  ~Canvas() {
    ::SelectObject(dc, old);
    ::DeleteObject(bmp);
    ::DeleteDC(dc);
  }
  COLORREF At(int x, int y) const {
    ::GdiFlush();
    DWORD p = bits[y * width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  void Save(const char* name) const { winprobe::SaveBitmapPng(bmp, std::wstring(name, name + strlen(name))); }
  int width, height;
  HDC dc;
  HBITMAP bmp;
  HGDIOBJ old;
  DWORD* bits = nullptr;
};

class ThemeImage : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::string ini = TestFolder() + "image.ini";
    WriteFileBytes(ini, "[ODNcMgrWnd]\r\nColorBorder=#0#160#0\r\n");
    ASSERT_EQ(1, LoadTheme(ini.c_str(), ODTHEME_MODE_INI));
  }
  static void TearDownTestSuite() { UnloadTheme(); }
};

TEST_F(ThemeImage, SpecsLoadCellsStatesAndKeyColour) {
  CODThemeImage img;
  LoadThemeImageSpec("0,120,0,4,4,1", &img);
  ASSERT_FALSE(img.IsEmpty());
  EXPECT_EQ(CODThemeImage::KIND_BITMAP, img.GetKind());
  EXPECT_EQ(16, img.GetCellWidth());
  EXPECT_EQ(16, img.GetCellHeight());
  EXPECT_EQ(4, img.GetStateCount());
  EXPECT_EQ(1, img.GetFramesPerState());
  EXPECT_TRUE(img.HasShape());
  EXPECT_EQ(RGB(255, 0, 255), img.GetKeyColour());
  RECT r;
  img.GetFrameRect(2, &r);
  EXPECT_EQ(32, r.left);
  EXPECT_EQ(48, r.right);
  img.GetFrameRect(4, &r);  // equal to the state count: state 0
  EXPECT_EQ(0, r.left);

  CODThemeImage plain;
  LoadThemeImageSpec("0,120", &plain);
  EXPECT_EQ(64, plain.GetCellWidth());
  EXPECT_FALSE(plain.HasShape());
  EXPECT_EQ(1, plain.GetStateCount());

  // Specs that load nothing leave the image as it was.
  for (const char* spec : {"", "0", "2,120", "0,120,0,4,0,1", "0,120,0,4,1,0", "0,120,0,1,1,1,-1", "0,999"}) {
    CODThemeImage keep;
    LoadThemeImageSpec("0,120,-1,2", &keep);
    LoadThemeImageSpec(spec, &keep);
    EXPECT_EQ(32, keep.GetCellWidth()) << spec;
  }
  CODThemeImage none;
  LoadThemeImageSpec("1,  missing.gif ", &none);
  EXPECT_TRUE(none.IsEmpty());
}

TEST_F(ThemeImage, GifSpecReadsEveryFrame) {
  // Two 1 x 1 frames; the path in the spec is trimmed of blanks.
  const unsigned char frame[] = {0x21, 0xF9, 0x04, 0x00, 0x0A, 0x00, 0x00, 0x00, 0x2C, 0x00, 0x00, 0x00,
                                 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x02, 0x02, 0x44, 0x01, 0x00};
  const unsigned char head[] = {'G',  'I',  'F',  '8',  '9',  'a',  0x01, 0x00, 0x01, 0x00,
                                0x80, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF};
  std::string gif((const char*)head, sizeof(head));
  gif.append((const char*)frame, sizeof(frame));
  gif.append((const char*)frame, sizeof(frame));
  gif += ';';
  WriteFileBytes(TestFolder() + "anim.gif", gif);
  CODThemeImage img;
  LoadThemeImageSpec("1,  anim.gif ", &img);
  ASSERT_EQ(CODThemeImage::KIND_GIF, img.GetKind());
  EXPECT_EQ(2, img.GetFramesPerState());
  EXPECT_EQ(1, img.GetStateCount());
  EXPECT_EQ(1, img.GetCellWidth());
  EXPECT_EQ(2u, img.GetGifFrames().size());
  EXPECT_NE(0u, img.StartAnimation());
  img.OnAnimationTimer();
  EXPECT_EQ(1, img.GetCurrentFrame());
  img.StopAnimation(TRUE);
  img.Clear();
  EXPECT_TRUE(img.IsEmpty());
  EXPECT_TRUE(img.GetGifFrames().empty());
}

TEST_F(ThemeImage, KeySelectorsAndShape) {
  HBITMAP b = BitmapFrom(40, 10, &CornerKeyed);
  ASSERT_NE(nullptr, b);
  CODThemeImage img;
  ASSERT_EQ(1, img.LoadFromBitmap(b, 2, 1, 1, 1, 0, FALSE));
  EXPECT_EQ(RGB(1, 2, 3), img.GetKeyColour());  // pixel (39, 0)
  ASSERT_EQ(1, img.LoadFromBitmap(b, RGB(200, 100, 0), 1, 1, 1, 0, FALSE));
  EXPECT_EQ(RGB(200, 100, 0), img.GetKeyColour());
  EXPECT_EQ(0, img.LoadFromBitmap(nullptr, -1, 1, 1, 1, 0, FALSE));
  EXPECT_EQ(RGB(200, 100, 0), img.GetKeyColour());  // unchanged

  // Key = the left half's colour: the see-through part is the left half.
  ASSERT_EQ(1, img.LoadFromBitmap(b, 0, 1, 1, 1, 0, FALSE));
  RECT rc = {100, 50, 140, 60};
  HRGN see = img.GetShapeRegion(rc, 0);
  ASSERT_NE(nullptr, see);
  EXPECT_TRUE(::PtInRegion(see, 105, 55));
  EXPECT_FALSE(::PtInRegion(see, 130, 55));
  EXPECT_TRUE(::PtInRegion(see, 139, 50));  // the key pixel at (39, 0)
  ::DeleteObject(see);
  img.SetDrawMode(CODThemeImage::DRAW_STRETCH);
  EXPECT_EQ(nullptr, img.GetShapeRegion(rc, 0));
  img.SetDrawMode(CODThemeImage::DRAW_TILED);
  RECT wide = {0, 0, 80, 10};
  see = img.GetShapeRegion(wide, 0);
  ASSERT_NE(nullptr, see);
  EXPECT_TRUE(::PtInRegion(see, 45, 5));  // second copy's key half
  EXPECT_FALSE(::PtInRegion(see, 70, 5));
  ::DeleteObject(see);
  ::DeleteObject(b);
}

TEST_F(ThemeImage, AnimationAdvancesFramesOfAState) {
  HBITMAP b = BitmapFrom(40, 10, &CornerKeyed);
  CODThemeImage img;
  ASSERT_EQ(1, img.LoadFromBitmap(b, -1, 4, 2, 2, 3, FALSE));
  EXPECT_EQ(3, img.GetExtraValue());
  EXPECT_NE(0u, img.StartAnimation());
  EXPECT_EQ(0, img.LoadFromBitmap(b, -1, 1, 1, 1, 0, FALSE));  // refused while running
  img.OnAnimationTimer();
  RECT r;
  img.GetFrameRect(1, &r);
  EXPECT_EQ(30, r.left);  // frame 1 of state 1: cell 3
  EXPECT_TRUE(img.StopAnimation(TRUE));
  EXPECT_EQ(0, img.GetCurrentFrame());
  CODThemeImage single;
  single.LoadFromBitmap(b, -1, 1, 1, 1, 0, FALSE);
  EXPECT_EQ(0u, single.StartAnimation());
  ::DeleteObject(b);
}

TEST_F(ThemeImage, DrawsStatesAndTiles) {
  CODThemeImage img;
  LoadThemeImageSpec("0,120,0,4,4,1", &img);
  Canvas c(200, 40);
  for (int s = 0; s < 4; ++s) {
    RECT r = {4 + s * 20, 4, 24 + s * 20, 24};
    img.Draw(c.dc, r, s);
  }
  EXPECT_EQ(RGB(255, 255, 255), c.At(4, 4));  // key corner left see-through
  EXPECT_NE(RGB(255, 255, 255), c.At(12, 12));
  EXPECT_NE(c.At(12, 12), c.At(32, 12));  // states differ
  img.SetDrawMode(CODThemeImage::DRAW_TILED);
  RECT strip = {90, 4, 196, 36};
  img.Draw(c.dc, strip, 1);
  EXPECT_EQ(c.At(98, 12), c.At(114, 12));
  c.Save("theme_image_states.png");
}

TEST(ThemeTiledBlit, ModesCoverTheRectangle) {
  HBITMAP b = BitmapFrom(10, 10, &Quadrants);
  ASSERT_NE(nullptr, b);
  Canvas c(60, 30);
  DrawBitmapTiled(c.dc, RECT{0, 0, 25, 12}, b, ODTILE_REPEAT);
  // Copies at x 0, 10, 20 and y 0, 10.
  for (int x : {0, 10, 20}) {
    for (int y : {0, 10}) {
      EXPECT_EQ(RGB(255, 255, 128), c.At(x, y)) << x << "," << y;
      if (x < 20) {
        EXPECT_EQ(RGB(0, 255, 128), c.At(x + 6, y));
      }
    }
  }
  EXPECT_EQ(RGB(255, 255, 255), c.At(25, 5));  // nothing beyond the rectangle
  EXPECT_EQ(RGB(255, 255, 255), c.At(5, 12));

  DrawBitmapTiled(c.dc, RECT{30, 0, 36, 30}, b, ODTILE_CORNER);
  EXPECT_EQ(RGB(0, 255, 128), c.At(35, 2));
  EXPECT_EQ(RGB(255, 255, 255), c.At(36, 2));
  EXPECT_EQ(RGB(255, 255, 255), c.At(31, 12));

  DrawBitmapTiled(c.dc, RECT{40, 0, 60, 20}, b, 0);  // stretched
  EXPECT_EQ(RGB(255, 255, 128), c.At(48, 8));
  EXPECT_EQ(RGB(0, 0, 128), c.At(52, 12));
  DrawBitmapTiled(c.dc, RECT{0, 20, 10, 30}, nullptr, 0);
  c.Save("theme_tiled_blit.png");
  ::DeleteObject(b);
}

TEST_F(ThemeImage, BorderManagerDrawsAFlatFrame) {
  EXPECT_EQ(RGB(0, 160, 0), CODNcMgrWnd::s_crBorder);
  LPCSTR cls = AfxRegisterWndClass(0, nullptr, (HBRUSH)::GetStockObject(WHITE_BRUSH));
  CODNcMgrWnd framed, plain, shaped;
  ASSERT_TRUE(framed.CreateEx(0, cls, "", WS_POPUP | WS_VISIBLE | WS_BORDER, 40, 40, 120, 80, nullptr, nullptr));
  ASSERT_TRUE(plain.CreateEx(0, cls, "", WS_POPUP | WS_VISIBLE, 200, 40, 120, 80, nullptr, nullptr));
  ASSERT_TRUE(shaped.CreateEx(0, cls, "", WS_POPUP | WS_VISIBLE | WS_BORDER, 360, 40, 120, 80, nullptr, nullptr));
  ::SetWindowRgn(shaped.GetSafeHwnd(), ::CreateRectRgn(0, 0, 120, 80), TRUE);
  EXPECT_EQ((HANDLE)0x1007, ::GetPropA(framed.GetSafeHwnd(), "ODNcMgrWnd"));
  EXPECT_EQ((HANDLE)0x1000, ::GetPropA(framed.GetSafeHwnd(), "ODCtrl"));
  EXPECT_EQ(RGB(0, 160, 0), framed.GetBorderColour());
  MSG msg;
  for (int i = 0; i < 20; ++i) {
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
    ::Sleep(20);
  }
  for (CODNcMgrWnd* w : {&framed, &plain, &shaped}) ::SendMessageA(w->GetSafeHwnd(), WM_NCPAINT, 1, 0);
  HDC screen = ::GetDC(nullptr);
  EXPECT_EQ(RGB(0, 160, 0), ::GetPixel(screen, 40, 40));
  EXPECT_EQ(RGB(0, 160, 0), ::GetPixel(screen, 159, 119));
  EXPECT_NE(RGB(0, 160, 0), ::GetPixel(screen, 200, 40));
  EXPECT_NE(RGB(0, 160, 0), ::GetPixel(screen, 360, 40));
  Canvas shot(460, 100);
  ::BitBlt(shot.dc, 0, 0, 460, 100, screen, 30, 30, SRCCOPY);
  shot.Save("theme_ncmgr_border.png");  // framed, plain, shaped from left to right
  ::ReleaseDC(nullptr, screen);

  // An own colour survives a theme change; the class colour follows it.
  plain.SetBorderColour(RGB(9, 9, 9));
  ::SendMessageA(framed.GetSafeHwnd(), GetChangeThemeMsg(), 0, 0);
  ::SendMessageA(plain.GetSafeHwnd(), GetChangeThemeMsg(), 0, 0);
  EXPECT_EQ(RGB(0, 160, 0), framed.GetBorderColour());
  EXPECT_EQ(RGB(9, 9, 9), plain.GetBorderColour());
  framed.DestroyWindow();
  plain.DestroyWindow();
  shaped.DestroyWindow();
}

// Stands in for the scroll-bar container: the border manager finds it by class name.
class CSBContainerWnd : public CWnd {
  DECLARE_DYNAMIC(CSBContainerWnd)
 public:
  CScrollBar* GetScrollBarCtrl(int nBar) const override {
    return const_cast<CScrollBar*>(nBar == SB_HORZ ? &m_horz : &m_vert);
  }
  CScrollBar m_horz, m_vert;
};
IMPLEMENT_DYNAMIC(CSBContainerWnd, CWnd)

TEST_F(ThemeImage, RedrawSwitchReachesTheContainersScrollBars) {
  LPCSTR cls = AfxRegisterWndClass(0, nullptr, (HBRUSH)::GetStockObject(WHITE_BRUSH));
  CSBContainerWnd box;
  ASSERT_TRUE(box.CreateEx(0, cls, "", WS_POPUP | WS_VISIBLE, 40, 200, 200, 120, nullptr, nullptr));
  ASSERT_TRUE(box.m_horz.Create(WS_CHILD | WS_VISIBLE | SBS_HORZ, CRect(0, 100, 180, 120), &box, 1));
  ASSERT_TRUE(box.m_vert.Create(WS_CHILD | WS_VISIBLE | SBS_VERT, CRect(180, 0, 200, 100), &box, 2));
  CODNcMgrWnd inner;
  ASSERT_TRUE(
      inner.CreateEx(0, cls, "", WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 0, 180, 100, box.GetSafeHwnd(), (HMENU)3));
  // WM_SETREDRAW FALSE takes the visible bit away without hiding the window.
  inner.SetRedraw(FALSE);
  EXPECT_FALSE(::GetWindowLongPtrA(box.m_horz.GetSafeHwnd(), GWL_STYLE) & WS_VISIBLE);
  EXPECT_FALSE(::GetWindowLongPtrA(box.m_vert.GetSafeHwnd(), GWL_STYLE) & WS_VISIBLE);
  EXPECT_FALSE(::GetWindowLongPtrA(inner.GetSafeHwnd(), GWL_STYLE) & WS_VISIBLE);
  inner.SetRedraw(TRUE);
  EXPECT_TRUE(::GetWindowLongPtrA(box.m_horz.GetSafeHwnd(), GWL_STYLE) & WS_VISIBLE);
  EXPECT_TRUE(::GetWindowLongPtrA(box.m_vert.GetSafeHwnd(), GWL_STYLE) & WS_VISIBLE);

  // Outside a container only the window itself is switched.
  CWnd other;
  ASSERT_TRUE(other.CreateEx(0, cls, "", WS_POPUP | WS_VISIBLE, 300, 200, 100, 100, nullptr, nullptr));
  CScrollBar bar;
  ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE | SBS_HORZ, CRect(0, 80, 100, 100), &other, 1));
  CODNcMgrWnd lone;
  ASSERT_TRUE(lone.CreateEx(0, cls, "", WS_CHILD | WS_VISIBLE, 0, 0, 100, 80, other.GetSafeHwnd(), (HMENU)2));
  lone.SetRedraw(FALSE);
  EXPECT_TRUE(::GetWindowLongPtrA(bar.GetSafeHwnd(), GWL_STYLE) & WS_VISIBLE);
  lone.SetRedraw(TRUE);

  // The background picture is drawn only once one is set.
  Canvas c(30, 30);
  inner.DrawBackground(c.dc, RECT{0, 0, 30, 30});
  EXPECT_EQ(RGB(255, 255, 255), c.At(5, 5));
  HBITMAP b = BitmapFrom(10, 10, &Quadrants);
  ASSERT_TRUE(inner.SetBackgroundImage(b, ODTILE_REPEAT));
  ::DeleteObject(b);  // the window keeps its own copy
  inner.DrawBackground(c.dc, RECT{0, 0, 30, 30});
  EXPECT_EQ(RGB(255, 255, 128), c.At(20, 20));
  EXPECT_EQ(RGB(0, 0, 128), c.At(27, 27));

  lone.DestroyWindow();
  other.DestroyWindow();
  inner.DestroyWindow();
  box.DestroyWindow();
}

}  // namespace
