#include "ODToolTip.h"

#include <windowsx.h>

#include <cstdlib>

#include "ListBoxModel.h"
#include "ODMemDC.h"
#include "ODPaint.h"
#include "ODTheme.h"
#include "ODThemeSections.h"

// The class's theme values are read on every theme load.
namespace {
const bool g_tooltipLoader = (SetThemeClassLoader("ODToolTip", &LoadODToolTipTheme), true);
}  // namespace

using vesk::odctrls::TipFont;
using vesk::odctrls::TipToken;

// ---- CODPaletteDib ---------------------------------------------------------------------

CODPaletteDib::CODPaletteDib()
    : m_nWidth(0),
      m_nHeight(0),
      m_nBits(0),
      m_nStride(0),
      m_nColours(0),
      m_pBlock(nullptr),
      m_hSection(nullptr),
      m_hDC(nullptr),
      m_hOld(nullptr) {}

CODPaletteDib::~CODPaletteDib() { Free(); }

BOOL CODPaletteDib::Create(int nWidth, int nHeight, int nBits) {
  Free();
  if (nWidth <= 0 || nHeight <= 0 || nWidth > 4096 || nHeight > 4096) return FALSE;
  m_nColours = nBits == 1 ? 2 : nBits == 4 ? 16 : nBits == 8 ? 256 : 0;
  m_nStride = ((nWidth * nBits + 31) / 32) * 4;
  size_t size = sizeof(BITMAPINFOHEADER) + m_nColours * sizeof(RGBQUAD) + (size_t)m_nStride * nHeight;
  m_pBlock = (BYTE*)calloc(1, size);
  if (!m_pBlock) return FALSE;
  BITMAPINFOHEADER* bih = (BITMAPINFOHEADER*)m_pBlock;
  bih->biSize = sizeof(BITMAPINFOHEADER);
  bih->biWidth = nWidth;
  bih->biHeight = nHeight;
  bih->biPlanes = 1;
  bih->biBitCount = (WORD)nBits;
  bih->biCompression = BI_RGB;
  bih->biSizeImage = m_nStride * nHeight;
  m_nWidth = nWidth;
  m_nHeight = nHeight;
  m_nBits = nBits;
  return TRUE;
}

void CODPaletteDib::Free() {
  if (m_hDC) {
    ::SelectObject(m_hDC, m_hOld);
    ::DeleteDC(m_hDC);
  }
  if (m_hSection) ::DeleteObject(m_hSection);
  free(m_pBlock);
  m_pBlock = nullptr;
  m_hSection = nullptr;
  m_hDC = nullptr;
  m_nWidth = m_nHeight = m_nStride = m_nColours = 0;
}

BYTE* CODPaletteDib::GetPixels() const {
  return m_pBlock ? m_pBlock + sizeof(BITMAPINFOHEADER) + m_nColours * sizeof(RGBQUAD) : nullptr;
}

void CODPaletteDib::SetColour(int nIndex, BYTE r, BYTE g, BYTE b) {
  if (!m_pBlock || nIndex < 0 || nIndex >= m_nColours) return;
  RGBQUAD* q = (RGBQUAD*)(m_pBlock + sizeof(BITMAPINFOHEADER)) + nIndex;
  q->rgbRed = r;
  q->rgbGreen = g;
  q->rgbBlue = b;
}

void CODPaletteDib::BlendColours(COLORREF cr, int nPercent) {
  if (!m_pBlock) return;
  int p = nPercent < 0 ? 0 : nPercent > 100 ? 100 : nPercent;
  RGBQUAD* q = (RGBQUAD*)(m_pBlock + sizeof(BITMAPINFOHEADER));
  for (int i = 0; i < m_nColours; ++i) {
    q[i].rgbRed = (BYTE)((GetRValue(cr) * p + q[i].rgbRed * (100 - p)) / 100);
    q[i].rgbGreen = (BYTE)((GetGValue(cr) * p + q[i].rgbGreen * (100 - p)) / 100);
    q[i].rgbBlue = (BYTE)((GetBValue(cr) * p + q[i].rgbBlue * (100 - p)) / 100);
  }
}

void CODPaletteDib::Fill(BYTE value) {
  if (BYTE* p = GetPixels()) memset(p, value, (size_t)m_nStride * m_nHeight);
}

void CODPaletteDib::SetPixel(int x, int y, BYTE value) {
  if (!m_pBlock || m_nBits != 8 || x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight) return;
  GetPixels()[(size_t)(m_nHeight - 1 - y) * m_nStride + x] = value;
}

BYTE CODPaletteDib::GetPixel(int x, int y) const {
  if (!m_pBlock || m_nBits != 8 || x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight) return 0;
  return GetPixels()[(size_t)(m_nHeight - 1 - y) * m_nStride + x];
}

void CODPaletteDib::Draw(HDC hDC, int x, int y) {
  if (!m_pBlock) return;
  if (!m_hSection) {
    void* bits = nullptr;
    m_hSection = ::CreateDIBSection(hDC, (BITMAPINFO*)m_pBlock, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!m_hSection) return;
    m_hDC = ::CreateCompatibleDC(hDC);
    m_hOld = ::SelectObject(m_hDC, m_hSection);
  }
  ::SetDIBColorTable(m_hDC, 0, m_nColours, (RGBQUAD*)(m_pBlock + sizeof(BITMAPINFOHEADER)));
  ::SetDIBits(m_hDC, m_hSection, 0, m_nHeight, GetPixels(), (BITMAPINFO*)m_pBlock, DIB_RGB_COLORS);
  ::BitBlt(hDC, x, y, m_nWidth, m_nHeight, m_hDC, 0, 0, SRCCOPY);
}

// ---- drawing the markup through GDI ------------------------------------------------------

namespace {

// Where the markup's images come from.
struct TipImageSource {
  const std::vector<OD_TIP_IMAGE>* named;
  HIMAGELIST list;
  int cxList, cyList;
};

class GdiCanvas : public vesk::odctrls::TipCanvas {
 public:
  GdiCanvas(HDC hDC, const LOGFONTA& base, const TipImageSource& images) : m_hDC(hDC), m_base(base), m_images(images) {}
  ~GdiCanvas() override {
    if (m_hFont) ::DeleteObject(m_hFont);
  }
  void MeasureText(const std::string& text, const TipFont& font, int* cx, int* cy) override {
    Select(font);
    SIZE sz = {};
    ::GetTextExtentPoint32A(m_hDC, text.c_str(), (int)text.size(), &sz);
    *cx = sz.cx;
    *cy = sz.cy;
  }
  int FontHeight(const TipFont& font) override {
    Select(font);
    TEXTMETRICA tm = {};
    ::GetTextMetricsA(m_hDC, &tm);
    return tm.tmHeight;
  }
  int AverageCharWidth(const TipFont& font) override {
    Select(font);
    TEXTMETRICA tm = {};
    ::GetTextMetricsA(m_hDC, &tm);
    return tm.tmAveCharWidth;
  }
  void ImageSize(const TipToken& tag, int* cx, int* cy) override {
    *cx = *cy = 0;
    Picture p = Load(tag);
    *cx = p.cx;
    *cy = p.cy;
    p.Free();
  }
  void DrawText(int x, int y, const std::string& text, const TipFont& font, uint32_t colour, bool opaque,
                uint32_t background) override {
    Select(font);
    ::SetTextColor(m_hDC, colour);
    ::SetBkMode(m_hDC, opaque ? OPAQUE : TRANSPARENT);
    ::SetBkColor(m_hDC, background);
    ::TextOutA(m_hDC, x, y, text.c_str(), (int)text.size());
    ::SetBkMode(m_hDC, TRANSPARENT);
  }
  void DrawLine(int x1, int x2, int y, uint32_t colour) override {
    HPEN pen = ::CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ old = ::SelectObject(m_hDC, pen);
    ::MoveToEx(m_hDC, x1, y, nullptr);
    ::LineTo(m_hDC, x2, y);
    ::SelectObject(m_hDC, old);
    ::DeleteObject(pen);
  }
  void DrawImage(const TipToken& tag, int x, int y, int cx, int cy) override {
    Picture p = Load(tag);
    if (p.icon) {
      ::DrawIconEx(m_hDC, x, y, p.icon, cx, cy, 0, nullptr, DI_NORMAL);
    } else if (p.bitmap) {
      BITMAP bm = {};
      ::GetObjectA(p.bitmap, sizeof(bm), &bm);
      HDC mem = ::CreateCompatibleDC(m_hDC);
      HGDIOBJ old = ::SelectObject(mem, p.bitmap);
      if (p.masked)
        ::TransparentBlt(m_hDC, x, y, cx, cy, mem, 0, 0, bm.bmWidth, bm.bmHeight, p.mask);
      else
        ::StretchBlt(m_hDC, x, y, cx, cy, mem, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
      ::SelectObject(mem, old);
      ::DeleteDC(mem);
    } else if (p.listIndex >= 0) {
      ImageList_Draw(m_images.list, p.listIndex, m_hDC, x, y, ILD_TRANSPARENT);
    }
    p.Free();
  }

 private:
  struct Picture {
    HICON icon = nullptr;
    HBITMAP bitmap = nullptr;
    bool masked = false;
    COLORREF mask = 0;
    int listIndex = -1;
    int cx = 0, cy = 0;
    void Free() {
      if (icon) ::DestroyIcon(icon);
      if (bitmap) ::DeleteObject(bitmap);
    }
  };

  static int Attr(const TipToken& tag, const char* name) {
    const std::string* a = tag.Attr(name);
    return a ? (int)vesk::odctrls::TipNumber(*a, 0) : 0;
  }

  // The picture a tag names, from the theme's resource library; sizes 0 take its own.
  Picture Load(const TipToken& tag) {
    Picture p;
    HMODULE lib = GetODThemeManager().GetLibrary();
    int want_cx = Attr(tag, "cx"), want_cy = Attr(tag, "cy");
    long id = vesk::odctrls::TipNumber(tag.value, 0);
    int kind = -1;
    if (tag.text == "icon") {
      kind = 0;
    } else if (tag.text == "bmp") {
      kind = 1;
      if (const std::string* m = tag.Attr("mask")) {
        kind = 2;
        p.mask = m->empty() ? RGB(255, 0, 255) : (COLORREF)vesk::odctrls::TipNumber(*m, RGB(255, 0, 255));
      }
    } else if (tag.text == "img" && m_images.named) {
      for (const OD_TIP_IMAGE& img : *m_images.named)
        if (lstrcmpiA(img.strName, tag.value.c_str()) == 0) {
          id = img.nID;
          kind = img.nKind;
          p.mask = img.crMask;
          break;
        }
    } else if (tag.text == "ilst" && m_images.list) {
      int count = ImageList_GetImageCount(m_images.list);
      int index = (int)vesk::odctrls::TipNumber(tag.value, 0);
      if (index >= 0 && index < count) {
        p.listIndex = index;
        p.cx = m_images.cxList;
        p.cy = m_images.cyList;
      }
      return p;
    }
    if (kind < 0 || !lib || id <= 0 || id > 0xFFFF) return p;
    if (kind == 0) {
      p.icon = (HICON)::LoadImageA(lib, MAKEINTRESOURCEA(id), IMAGE_ICON, want_cx, want_cy, 0);
    } else {
      p.bitmap = (HBITMAP)::LoadImageA(lib, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
      p.masked = kind == 2;
    }
    if (p.icon) {
      ICONINFO ii = {};
      if (::GetIconInfo(p.icon, &ii)) {
        BITMAP bm = {};
        ::GetObjectA(ii.hbmColor ? ii.hbmColor : ii.hbmMask, sizeof(bm), &bm);
        p.cx = bm.bmWidth;
        p.cy = ii.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
        if (ii.hbmColor) ::DeleteObject(ii.hbmColor);
        if (ii.hbmMask) ::DeleteObject(ii.hbmMask);
      }
    } else if (p.bitmap) {
      BITMAP bm = {};
      ::GetObjectA(p.bitmap, sizeof(bm), &bm);
      p.cx = bm.bmWidth;
      p.cy = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
    }
    if (want_cx > 0) p.cx = want_cx;
    if (want_cy > 0) p.cy = want_cy;
    return p;
  }
  void Select(const TipFont& f) {
    if (m_hFont && f.weight == m_cur.weight && f.italic == m_cur.italic && f.underline == m_cur.underline &&
        f.strike == m_cur.strike)
      return;
    LOGFONTA lf = m_base;
    lf.lfWeight = f.weight;
    lf.lfItalic = f.italic;
    lf.lfUnderline = f.underline;
    lf.lfStrikeOut = f.strike;
    HFONT font = ::CreateFontIndirectA(&lf);
    ::SelectObject(m_hDC, font);
    if (m_hFont) ::DeleteObject(m_hFont);
    m_hFont = font;
    m_cur = f;
  }

  HDC m_hDC;
  LOGFONTA m_base;
  TipImageSource m_images;
  HFONT m_hFont = nullptr;
  TipFont m_cur;
};

const UINT_PTR kShowTimer = 256, kHideTimer = 257;

}  // namespace

// ---- CODToolTip -------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CODToolTip, CWnd)

CODToolTip::CODToolTip()
    : CODPaintedWnd<CWnd>("ODToolTip", 0x100A),
      m_hOwner(nullptr),
      m_hHost(nullptr),
      m_nPending(-1),
      m_nShown(-1),
      m_cxEllipse(12),
      m_cyEllipse(12),
      m_cxMargin(6),
      m_cyMargin(4),
      m_cxShadow(4),
      m_cyShadow(4),
      m_cxPointer(12),
      m_cyPointer(12),
      m_nPointerOffset(16),
      m_cxBorder(1),
      m_cyBorder(1),
      m_uStyle(ODTT_STYLE_POINTER | ODTT_STYLE_SHADOW | ODTT_STYLE_ROUNDED),
      m_nDirection(3),
      m_nEffect(2),
      m_nGranularity(10),
      m_uBehaviour(0),
      m_nAutoHide(5000),
      m_nShowDelay(400),
      m_hBody(nullptr),
      m_hShadow(nullptr),
      m_shown(),
      m_bEnabled(FALSE),
      m_hImageList(nullptr),
      m_cxImage(0),
      m_cyImage(0) {
  m_ptArmed = {-1, -1};
  m_szIcon = m_szText = {0, 0};
  memset(&m_font, 0, sizeof(m_font));
  m_font.lfHeight = -12;
  m_font.lfWeight = FW_NORMAL;
  m_font.lfCharSet = GB2312_CHARSET;
  lstrcpyA(m_font.lfFaceName, VESK_FACE_SONG);
  static const COLORREF kTable[16] = {RGB(0, 0, 0),       RGB(128, 0, 0),   RGB(0, 128, 0),   RGB(128, 128, 0),
                                      RGB(0, 0, 128),     RGB(128, 0, 128), RGB(0, 128, 128), RGB(192, 192, 192),
                                      RGB(128, 128, 128), RGB(255, 0, 0),   RGB(0, 255, 0),   RGB(255, 255, 0),
                                      RGB(0, 0, 255),     RGB(255, 0, 255), RGB(0, 255, 255), RGB(255, 255, 255)};
  memcpy(m_colours, kTable, sizeof(kTable));
  ApplyThemeColours();
}

// Entries 16 to 24 of the colour table are the theme's nine colours.
void CODToolTip::ApplyThemeColours() {
  const ODToolTipTheme& t = ODToolTipValues();
  const COLORREF theme[9] = {t.crFg,      t.crBkBegin, t.crBkMid,  t.crBkEnd, t.crLink,
                             t.crVisited, t.crHover,   t.crShadow, t.crBorder};
  memcpy(m_colours + 16, theme, sizeof(theme));
}

CODToolTip::~CODToolTip() {
  if (m_hWnd) DestroyWindow();
  for (OD_TOOL_INFO& t : m_tools) {
    if (t.hIcon) ::DestroyIcon(t.hIcon);
    if (t.hBitmap) ::DeleteObject(t.hBitmap);
  }
  FreeShown();
  if (m_hBody) ::DeleteObject(m_hBody);
  if (m_hShadow) ::DeleteObject(m_hShadow);
}

BOOL CODToolTip::Create(CWnd* pOwner, DWORD) {
  m_hOwner = pOwner ? pOwner->GetSafeHwnd() : nullptr;
  m_hHost = m_hOwner;
  LPCSTR cls = AfxRegisterWndClass(CS_SAVEBITS, ::LoadCursorA(nullptr, IDC_ARROW));
  return CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, cls, "", WS_POPUP, 0, 0, 10, 10, m_hOwner, nullptr);
}

void CODToolTip::AddNamedImage(LPCSTR lpszName, UINT nID, int nKind, COLORREF crMask) {
  m_images.push_back(OD_TIP_IMAGE{lpszName ? lpszName : "", nID, nKind, crMask});
}

void CODToolTip::AddTool(CWnd* pWnd, LPCSTR lpszText, const RECT* pRect, UINT uId, const OD_TOOL_INFO* pOwn) {
  OD_TOOL_INFO info = pOwn ? *pOwn : OD_TOOL_INFO{};
  info.hWnd = (UINT)(UINT_PTR)(pWnd ? pWnd->GetSafeHwnd() : nullptr);
  info.uId = uId;
  info.strText = lpszText ? lpszText : "";
  if (pRect)
    info.rc = *pRect;
  else
    ::SetRectEmpty(&info.rc);
  // The tooltip keeps its own copies, so a caller may release its handles at once.
  info.hIcon = pOwn && pOwn->hIcon ? ::CopyIcon(pOwn->hIcon) : nullptr;
  info.hBitmap = pOwn && pOwn->hBitmap ? (HBITMAP)::CopyImage(pOwn->hBitmap, IMAGE_BITMAP, 0, 0, 0) : nullptr;
  int i = FindTool((HWND)(UINT_PTR)info.hWnd);
  if (i >= 0) {
    if (m_tools[i].hIcon) ::DestroyIcon(m_tools[i].hIcon);
    if (m_tools[i].hBitmap) ::DeleteObject(m_tools[i].hBitmap);
    m_tools[i] = info;
  } else {
    m_tools.push_back(info);
  }
}

BOOL CODToolTip::SetToolText(LPCSTR lpszText, CWnd*, UINT uId) {
  for (OD_TOOL_INFO& t : m_tools)
    if (t.uId == uId) {
      t.strText = lpszText ? lpszText : "";
      return TRUE;
    }
  return FALSE;
}

int CODToolTip::FindTool(HWND hWnd) const {
  for (size_t i = 0; i < m_tools.size(); ++i)
    if ((HWND)(UINT_PTR)m_tools[i].hWnd == hWnd) return (int)i;
  return -1;
}

BOOL CODToolTip::GetTool(int nIndex, OD_TOOL_INFO* pInfo) const {
  if (nIndex < 0 || nIndex >= (int)m_tools.size()) return FALSE;
  *pInfo = m_tools[nIndex];
  return TRUE;
}

void CODToolTip::KillTimers() {
  if (!m_hWnd) return;
  KillTimer(kShowTimer);
  KillTimer(kHideTimer);
}

void CODToolTip::Hide() {
  if (m_nShown == -2) m_nShown = -1;
  KillTimers();
  if (m_hWnd) ShowWindow(SW_HIDE);
}

int CODToolTip::HitTest(POINT pt) const {
  if (!::IsWindow(m_hHost)) return -1;
  POINT screen = pt;
  ::ClientToScreen(m_hHost, &screen);
  HWND under = ::WindowFromPoint(screen);
  if (under == m_hHost) {
    POINT local = pt;
    HWND child =
        ::ChildWindowFromPointEx(m_hHost, local, (m_uStyle & ODTT_STYLE_DISABLED) ? CWP_ALL : CWP_SKIPDISABLED);
    if (child) under = child;
  }
  for (size_t i = 0; i < m_tools.size(); ++i) {
    const OD_TOOL_INFO& t = m_tools[i];
    if ((HWND)(UINT_PTR)t.hWnd != under) continue;
    POINT local = screen;
    ::ScreenToClient(under, &local);
    if (::IsRectEmpty(&t.rc) || ::PtInRect(&t.rc, local)) return (int)i;
  }
  return -1;
}

void CODToolTip::RelayEvent(const MSG* pMsg) {
  if (!m_hWnd || !pMsg || pMsg->message != WM_MOUSEMOVE || !m_bEnabled) return;
  POINT pt;
  ::GetCursorPos(&pt);
  if (pt.x == m_ptArmed.x && pt.y == m_ptArmed.y) return;
  POINT client = pt;
  ::ScreenToClient(m_hHost, &client);
  int tool = HitTest(client);
  if (tool == m_nShown && IsWindowVisible()) return;
  if (IsWindowVisible()) Hide();
  m_ptArmed = pt;
  m_nPending = tool;
  KillTimer(kShowTimer);
  if (tool >= 0) SetTimer(kShowTimer, m_nShowDelay, nullptr);
}

void CODToolTip::OnThemeChanged() { ApplyThemeColours(); }

LRESULT CODToolTip::OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      OnTimer(wParam);
      return 0;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_DESTROY:
      KillTimers();
      FreeShown();
      break;
    case WM_KILLFOCUS: {
      LRESULT r = DefaultProc(message, wParam, lParam);
      Hide();
      return r;
    }
  }
  return DefaultProc(message, wParam, lParam);
}

void CODToolTip::OnTimer(UINT_PTR nID) {
  if (nID == kShowTimer) {
    int pending = m_nPending;
    Hide();
    POINT pt;
    ::GetCursorPos(&pt);
    if (pending != -2) {
      POINT client = pt;
      ::ScreenToClient(m_hHost, &client);
      if (HitTest(client) != pending) return;
    }
    if (pt.x != m_ptArmed.x || pt.y != m_ptArmed.y) return;
    if (pending < 0 && pending != -2) return;
    int dir =
        pending >= 0 && (m_tools[pending].uMask & ODTT_MASK_DIRECTION) ? m_tools[pending].nDirection : m_nDirection;
    if (dir == 2 || dir == 3) pt.y += 20;
    m_nPending = pending;
    ShowAt(pending, pt);
    UINT behaviour =
        pending >= 0 && (m_tools[pending].uMask & ODTT_MASK_BEHAVIOUR) ? m_tools[pending].uBehaviour : m_uBehaviour;
    if (m_nAutoHide && !(behaviour & ODTT_BEHAVE_NOHIDE)) SetTimer(kHideTimer, m_nAutoHide, nullptr);
  } else if (nID == kHideTimer) {
    POINT pt;
    ::GetCursorPos(&pt);
    if (IsWindowVisible() && ::WindowFromPoint(pt) == m_hWnd && (m_shown.uBehaviour & ODTT_BEHAVE_STAY)) return;
    Hide();
  }
}

void CODToolTip::FreeShown() {
  if (m_shown.hIcon) ::DestroyIcon(m_shown.hIcon);
  if (m_shown.hBitmap) ::DeleteObject(m_shown.hBitmap);
  m_shown.hIcon = nullptr;
  m_shown.hBitmap = nullptr;
}

void CODToolTip::ShowAt(int nTool, POINT ptAnchor) {
  if (!m_bEnabled || !m_hWnd || !::IsWindow(m_hHost)) return;
  OD_TOOL_INFO rec = nTool >= 0 && nTool < (int)m_tools.size() ? m_tools[nTool] : OD_TOOL_INFO{};
  if (!(rec.uMask & ODTT_MASK_STYLE)) rec.uStyle = m_uStyle;
  if (!(rec.uMask & ODTT_MASK_EFFECT)) {
    rec.nEffect = m_nEffect;
    rec.nGranularity = m_nGranularity;
  }
  if (!(rec.uMask & ODTT_MASK_COLOURS)) {
    rec.crBegin = m_colours[17];
    rec.crMid = m_colours[18];
    rec.crEnd = m_colours[19];
  }
  if (!(rec.uMask & ODTT_MASK_DIRECTION)) rec.nDirection = m_nDirection;
  if (!(rec.uMask & ODTT_MASK_BEHAVIOUR)) rec.uBehaviour = m_uBehaviour;
  rec.nDirection &= 3;
  rec.nGranularity &= 0xFF;
  // The owner may change the record; its hot rectangle stays.
  // The owner sees the hot rectangle in the host's client coordinates.
  if (rec.hWnd && !::IsRectEmpty(&rec.rc)) ::MapWindowPoints((HWND)(UINT_PTR)rec.hWnd, m_hHost, (POINT*)&rec.rc, 2);
  NM_ODTOOLTIP nm = {};
  nm.hdr.hwndFrom = m_hWnd;
  nm.hdr.idFrom = GetDlgCtrlID();
  nm.hdr.code = ODTTN_SHOW;
  nm.pPoint = &ptAnchor;
  nm.pTool = &rec;
  if (::IsWindow(m_hOwner)) ::SendMessageA(m_hOwner, WM_NOTIFY, nm.hdr.idFrom, (LPARAM)&nm);
  // What the owner changed (text, icon, bitmap, own values) stays with the tool, except its
  // hot rectangle; a handle the owner put in is copied, the owner keeps its own.
  if (nTool >= 0 && nTool < (int)m_tools.size()) {
    OD_TOOL_INFO& tool = m_tools[nTool];
    const RECT keep = tool.rc;
    HICON icon = tool.hIcon;
    HBITMAP bitmap = tool.hBitmap;
    if (rec.hIcon != icon) {
      if (icon) ::DestroyIcon(icon);
      icon = rec.hIcon ? ::CopyIcon(rec.hIcon) : nullptr;
    }
    if (rec.hBitmap != bitmap) {
      if (bitmap) ::DeleteObject(bitmap);
      bitmap = rec.hBitmap ? (HBITMAP)::CopyImage(rec.hBitmap, IMAGE_BITMAP, 0, 0, 0) : nullptr;
    }
    tool = rec;
    tool.rc = keep;
    tool.hIcon = icon;
    tool.hBitmap = bitmap;
    rec.hIcon = icon;
    rec.hBitmap = bitmap;
  }
  if (!rec.hIcon && rec.strText.IsEmpty()) return;
  FreeShown();
  m_shown = rec;
  m_shown.hIcon = rec.hIcon ? ::CopyIcon(rec.hIcon) : nullptr;
  m_shown.hBitmap = rec.hBitmap ? (HBITMAP)::CopyImage(rec.hBitmap, IMAGE_BITMAP, 0, 0, 0) : nullptr;
  m_nShown = nTool;

  HDC screen = ::GetDC(nullptr);
  HDC mem = ::CreateCompatibleDC(screen);
  m_tokens = vesk::odctrls::TokenizeTip((LPCSTR)rec.strText);
  m_layout.m_baseFont.weight = m_font.lfWeight;
  for (int i = 0; i < 25; ++i) m_layout.m_colours[i] = m_colours[i];
  {
    GdiCanvas canvas(mem, m_font, TipImageSource{&m_images, m_hImageList, m_cxImage, m_cyImage});
    int cx = 0, cy = 0;
    m_layout.Measure(m_tokens, canvas, &cx, &cy);
    m_szText = {cx, cy};
  }
  ::DeleteDC(mem);
  int horz = ::GetDeviceCaps(screen, HORZRES), vert = ::GetDeviceCaps(screen, VERTRES);
  ::ReleaseDC(nullptr, screen);
  m_szIcon = {0, 0};
  if (m_shown.hIcon) {
    ICONINFO ii = {};
    if (::GetIconInfo(m_shown.hIcon, &ii)) {
      m_szIcon = {(LONG)ii.xHotspot * 2, (LONG)ii.yHotspot * 2};
      if (ii.hbmColor) ::DeleteObject(ii.hbmColor);
      if (ii.hbmMask) ::DeleteObject(ii.hbmMask);
    }
  }
  int width = m_szText.cx + m_szIcon.cx + (m_szIcon.cx && m_szText.cx ? m_cxMargin : 0);
  int height = m_szText.cy > m_szIcon.cy ? m_szText.cy : m_szIcon.cy;
  width += 2 * m_cxMargin;
  height += m_cyPointer + 2 * m_cyMargin;
  if (rec.uStyle & ODTT_STYLE_SHADOW) {
    width += m_cxShadow;
    height += m_cyShadow;
  }
  if (rec.nEffect >= 7 && rec.nEffect <= 15) BuildEffect(width, height);

  int dir = rec.nDirection;
  auto placeX = [&](int d, int* l, int* r) {
    if (d == 1 || d == 3) {
      *l = ptAnchor.x - m_nPointerOffset;
      if (ptAnchor.x < m_nPointerOffset) *l = 0;
      *r = *l + width;
    } else {
      *r = ptAnchor.x + m_nPointerOffset < horz ? ptAnchor.x + m_nPointerOffset : horz;
      *l = *r - width;
    }
  };
  auto placeY = [&](int d, int* t, int* b) {
    if (d == 2 || d == 3) {
      *t = ptAnchor.y > 0 ? ptAnchor.y : 0;
      *b = *t + height;
    } else {
      *b = ptAnchor.y < vert ? ptAnchor.y : vert;
      *t = *b - height;
    }
  };
  int l, r, t, b;
  placeX(dir, &l, &r);
  if (l < 0 || r > horz) {
    dir ^= 1;
    placeX(dir, &l, &r);
  }
  placeY(dir, &t, &b);
  if (t < 0 || b > vert) {
    dir ^= 2;
    placeY(dir, &t, &b);
  }
  if ((rec.uStyle & ODTT_STYLE_SHADOW) && (dir == 0 || dir == 2)) {
    l += m_cxShadow;
    r += m_cxShadow;
  }
  m_shown.nDirection = dir;
  ::SetWindowPos(m_hWnd, nullptr, l, t, width + 2, height + 2,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOCOPYBITS);
  MakeRegion(CRect(0, 0, width, height), POINT{ptAnchor.x - l, ptAnchor.y - t});
  Invalidate(FALSE);
}

void CODToolTip::MakeRegion(const CRect& rcWindow, POINT tip) {
  if (m_hBody) ::DeleteObject(m_hBody);
  if (m_hShadow) ::DeleteObject(m_hShadow);
  m_hBody = m_hShadow = nullptr;
  CRect body = rcWindow;
  const BOOL shadow = (m_shown.uStyle & ODTT_STYLE_SHADOW) != 0;
  if (shadow) {
    body.right -= m_cxShadow;
    body.bottom -= m_cyShadow;
  }
  const int dir = m_shown.nDirection;
  if (dir == 2 || dir == 3)
    body.top += m_cyPointer;
  else
    body.bottom -= m_cyPointer;
  m_hBody = (m_shown.uStyle & ODTT_STYLE_ROUNDED)
                ? ::CreateRoundRectRgn(body.left, body.top, body.right, body.bottom, m_cxEllipse, m_cyEllipse)
                : ::CreateRectRgn(body.left, body.top, body.right + 1, body.bottom + 1);
  if (m_shown.uStyle & ODTT_STYLE_POINTER) {
    int x1 = (dir == 1 || dir == 3) ? body.left + m_nPointerOffset : body.right - m_nPointerOffset;
    int x2 = (dir == 1 || dir == 3) ? x1 + m_cxPointer : x1 - m_cxPointer;
    int edge = (dir == 2 || dir == 3) ? body.top + 1 : body.bottom - 1;
    POINT tri[3] = {{tip.x, tip.y}, {x1, edge}, {x2, edge}};
    // The tip never leaves the window.
    tri[0].x = tri[0].x < 0 ? 0 : tri[0].x > rcWindow.right ? rcWindow.right : tri[0].x;
    tri[0].y = (dir == 2 || dir == 3) ? 0 : rcWindow.bottom - (shadow ? m_cyShadow : 0);
    HRGN triangle = ::CreatePolygonRgn(tri, 3, ALTERNATE);
    ::CombineRgn(m_hBody, m_hBody, triangle, RGN_OR);
    ::DeleteObject(triangle);
  }
  HRGN window = ::CreateRectRgn(0, 0, 0, 0);
  ::CombineRgn(window, m_hBody, nullptr, RGN_COPY);
  if (shadow) {
    m_hShadow = ::CreateRectRgn(0, 0, 0, 0);
    ::CombineRgn(m_hShadow, m_hBody, nullptr, RGN_COPY);
    ::OffsetRgn(m_hShadow, m_cxShadow, m_cyShadow);
    ::CombineRgn(window, window, m_hShadow, RGN_OR);
  }
  ::SetWindowRgn(m_hWnd, window, FALSE);
}

void CODToolTip::BuildEffect(int cx, int cy) {
  const int w = cx > 0 ? cx : 1, h = cy > 0 ? cy : 1;
  const int g = m_shown.nGranularity;
  m_effect.Create(w, h, 8);
  m_row.Create(w, 1, 8);
  m_column.Create(1, h, 8);
  const COLORREF B = m_shown.crBegin, M = m_shown.crMid, E = m_shown.crEnd;
  for (CODPaletteDib* d : {&m_effect, &m_row, &m_column}) {
    for (int i = 0; i <= 128; ++i)
      d->SetColour(i, (BYTE)(GetRValue(E) + i * (GetRValue(M) - GetRValue(E)) / 128),
                   (BYTE)(GetGValue(E) + i * (GetGValue(M) - GetGValue(E)) / 128),
                   (BYTE)(GetBValue(E) + i * (GetBValue(M) - GetBValue(E)) / 128));
    for (int j = 1; j <= 128; ++j)
      d->SetColour(127 + j, (BYTE)((GetRValue(B) * j + GetRValue(M) * (128 - j)) / 128),
                   (BYTE)((GetGValue(B) * j + GetGValue(M) * (128 - j)) / 128),
                   (BYTE)((GetBValue(B) * j + GetBValue(M) * (128 - j)) / 128));
  }
  m_effect.BlendColours(B, 5);
  for (int x = 0; x < w; ++x) m_row.SetPixel(x, 0, (BYTE)((x & 1) ? 255 : 0));
  for (int y = 0; y < h; ++y) m_column.SetPixel(0, y, (BYTE)((y & 1) ? 255 : 0));
  const std::vector<unsigned char> px = vesk::odctrls::EffectImage(m_shown.nEffect, w, h, g, [] { return rand(); });
  if (px.empty()) return;
  for (int row = 0; row < h; ++row)
    for (int x = 0; x < w; ++x) m_effect.SetPixel(x, h - 1 - row, px[size_t(row) * w + x]);
}

void CODToolTip::PaintWindow() {
  PAINTSTRUCT ps;
  HDC hdc = ::BeginPaint(m_hWnd, &ps);
  if (m_nPending >= 0 || m_nPending == -2) {
    m_nShown = m_nPending;
    m_nPending = -1;
  }
  CRect rc;
  GetClientRect(&rc);
  rc.right -= 1;
  rc.bottom -= 1;
  {
    CRect bufRect(rc);
    CODMemDC buf(CDC::FromHandle(hdc), &bufRect, TRUE);
    Draw(buf.m_hDC, rc);
  }
  ::EndPaint(m_hWnd, &ps);
}

void CODToolTip::FillBackground(HDC hDC, const CRect& rc) {
  const int e = m_shown.nEffect;
  if (m_shown.hBitmap) {
    if (e == 18) {
      HBRUSH br = ::CreatePatternBrush(m_shown.hBitmap);
      ::FillRect(hDC, &rc, br);
      ::DeleteObject(br);
    } else {
      BITMAP bm = {};
      ::GetObjectA(m_shown.hBitmap, sizeof(bm), &bm);
      HDC mem = ::CreateCompatibleDC(hDC);
      HGDIOBJ old = ::SelectObject(mem, m_shown.hBitmap);
      if (e == 16)
        ::BitBlt(hDC, rc.left, rc.top, rc.Width(), rc.Height(), mem, 0, 0, SRCCOPY);
      else
        ::StretchBlt(hDC, rc.left, rc.top, rc.Width(), rc.Height(), mem, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
      ::SelectObject(mem, old);
      ::DeleteDC(mem);
    }
    return;
  }
  const COLORREF b = m_colours[17], m = m_colours[18], en = m_colours[19];
  CRect a = rc, z = rc;
  switch (e) {
    case 1:
      ODFillGradient(hDC, rc, b, en, FALSE);
      break;
    case 2:
      ODFillGradient(hDC, rc, b, en, TRUE);
      break;
    case 3:
    case 5:
      a.right = z.left = rc.left + rc.Width() / 2;
      ODFillGradient(hDC, a, b, e == 3 ? en : m, FALSE);
      ODFillGradient(hDC, z, e == 3 ? en : m, e == 3 ? b : en, FALSE);
      break;
    case 4:
    case 6:
      a.bottom = z.top = rc.top + rc.Height() / 2;
      ODFillGradient(hDC, a, b, e == 4 ? en : m, TRUE);
      ODFillGradient(hDC, z, e == 4 ? en : m, e == 4 ? b : en, TRUE);
      break;
    default:
      if (e >= 7 && e <= 15)
        m_effect.Draw(hDC, 0, 0);
      else
        ODFillSolid(hDC, rc, b);
  }
}

void CODToolTip::Draw(HDC hDC, const CRect& rcClient) {
  ::SetBkMode(hDC, TRANSPARENT);
  CRect rc = rcClient;
  if ((m_shown.uStyle & ODTT_STYLE_SHADOW) && m_hShadow) {
    HBRUSH br = ::CreateSolidBrush(m_colours[23]);
    int old = ::SetROP2(hDC, R2_MASKPEN);
    ::FillRgn(hDC, m_hShadow, br);
    ::SetROP2(hDC, old);
    ::DeleteObject(br);
    rc.right -= m_cxShadow;
    rc.bottom -= m_cyShadow;
  }
  if (m_hBody) ::SelectClipRgn(hDC, m_hBody);
  FillBackground(hDC, rc);
  ::SelectClipRgn(hDC, nullptr);
  if (m_hBody) {
    HBRUSH br = ::CreateSolidBrush(m_colours[24]);
    ::FrameRgn(hDC, m_hBody, br, m_cxBorder, m_cyBorder);
    ::DeleteObject(br);
  }
  rc.DeflateRect(m_cxMargin, m_cyMargin);
  if (m_shown.nDirection == 2 || m_shown.nDirection == 3)
    rc.top += m_cyPointer;
  else
    rc.bottom -= m_cyPointer;
  int textLeft = rc.left;
  if (m_shown.hIcon) {
    int y = rc.top;
    if (m_shown.uStyle & ODTT_STYLE_ICON_VCENTER)
      y = rc.top + (rc.Height() - m_szIcon.cy) / 2;
    else if (m_shown.uStyle & ODTT_STYLE_ICON_BOTTOM)
      y = rc.bottom - m_szIcon.cy;
    ::DrawState(hDC, nullptr, nullptr, (LPARAM)m_shown.hIcon, 0, rc.left, y, 0, 0, DST_ICON);
    textLeft = rc.left + m_cxMargin + m_szIcon.cx;
  }
  int top = rc.top;
  if (m_shown.uStyle & ODTT_STYLE_BOTTOM)
    top = rc.bottom - m_szText.cy;
  else if (m_shown.uStyle & ODTT_STYLE_VCENTER)
    top = rc.top + (rc.Height() - m_szText.cy) / 2;
  ::SetTextColor(hDC, m_colours[16]);
  GdiCanvas canvas(hDC, m_font, TipImageSource{&m_images, m_hImageList, m_cxImage, m_cyImage});
  m_layout.Draw(m_tokens, canvas, textLeft, top, rc.right - textLeft);
}
