// GDI object wrappers, device contexts and menus.
#include <afxwin.h>

#include <map>
#include <mutex>
#include <unordered_map>
#include <utility>
#include <vector>

IMPLEMENT_DYNCREATE(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)
IMPLEMENT_DYNAMIC(CPalette, CGdiObject)
IMPLEMENT_DYNAMIC(CRgn, CGdiObject)
IMPLEMENT_DYNCREATE(CDC, CObject)
IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)
IMPLEMENT_DYNAMIC(CWindowDC, CDC)
IMPLEMENT_DYNCREATE(CMenu, CObject)

namespace {
std::recursive_mutex& GdiLock() {
  static std::recursive_mutex m;
  return m;
}
// Temporary wrappers keyed by handle and wrapper class.
std::map<std::pair<HGDIOBJ, const void*>, CGdiObject*>& GdiTemp() {
  static std::map<std::pair<HGDIOBJ, const void*>, CGdiObject*> m;
  return m;
}
std::unordered_map<HDC, CDC*>& DcTemp() {
  static std::unordered_map<HDC, CDC*> m;
  return m;
}
std::unordered_map<HMENU, CMenu*>& MenuTemp() {
  static std::unordered_map<HMENU, CMenu*> m;
  return m;
}
std::unordered_map<HMENU, CMenu*>& MenuPermanent() {
  static std::unordered_map<HMENU, CMenu*> m;
  return m;
}

template <class T>
const void* TypeKey() {
  static char key;
  return &key;
}

template <class T>
T* TempGdi(HGDIOBJ h) {
  if (h == nullptr) return nullptr;
  std::lock_guard<std::recursive_mutex> lock(GdiLock());
  auto key = std::make_pair(h, TypeKey<T>());
  auto it = GdiTemp().find(key);
  if (it != GdiTemp().end()) return static_cast<T*>(it->second);
  T* p = new T;
  p->m_hObject = h;
  GdiTemp()[key] = p;
  return p;
}
}  // namespace

CGdiObject::~CGdiObject() { DeleteObject(); }

CGdiObject* PASCAL CGdiObject::FromHandle(HGDIOBJ hObject) { return TempGdi<CGdiObject>(hObject); }
CPen* PASCAL CPen::FromHandle(HPEN hPen) { return TempGdi<CPen>(hPen); }
CBrush* PASCAL CBrush::FromHandle(HBRUSH hBrush) { return TempGdi<CBrush>(hBrush); }
CFont* PASCAL CFont::FromHandle(HFONT hFont) { return TempGdi<CFont>(hFont); }
CBitmap* PASCAL CBitmap::FromHandle(HBITMAP hBitmap) { return TempGdi<CBitmap>(hBitmap); }
CPalette* PASCAL CPalette::FromHandle(HPALETTE hPalette) { return TempGdi<CPalette>(hPalette); }
CRgn* PASCAL CRgn::FromHandle(HRGN hRgn) { return TempGdi<CRgn>(hRgn); }

void PASCAL CGdiObject::DeleteTempMap() {
  std::vector<CGdiObject*> doomed;
  {
    std::lock_guard<std::recursive_mutex> lock(GdiLock());
    for (auto& kv : GdiTemp()) doomed.push_back(kv.second);
    GdiTemp().clear();
  }
  for (CGdiObject* p : doomed) {
    p->m_hObject = nullptr;  // wrappers never own the handle
    delete p;
  }
}

BOOL CGdiObject::Attach(HGDIOBJ hObject) {
  if (hObject == nullptr) return FALSE;
  m_hObject = hObject;
  return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
  HGDIOBJ h = m_hObject;
  m_hObject = nullptr;
  return h;
}

BOOL CGdiObject::DeleteObject() {
  if (m_hObject == nullptr) return FALSE;
  return ::DeleteObject(Detach());
}

CPen::CPen(int nPenStyle, int nWidth, COLORREF crColor) {
  if (!Attach(::CreatePen(nPenStyle, nWidth, crColor))) AfxThrowResourceException();
}
CBrush::CBrush(COLORREF crColor) {
  if (!Attach(::CreateSolidBrush(crColor))) AfxThrowResourceException();
}
CBrush::CBrush(int nIndex, COLORREF crColor) {
  if (!Attach(::CreateHatchBrush(nIndex, crColor))) AfxThrowResourceException();
}
CBrush::CBrush(CBitmap* pBitmap) {
  if (!Attach(::CreatePatternBrush((HBITMAP)pBitmap->GetSafeHandle()))) AfxThrowResourceException();
}
BOOL CBrush::CreatePatternBrush(CBitmap* pBitmap) {
  return Attach(::CreatePatternBrush((HBITMAP)pBitmap->GetSafeHandle()));
}

BOOL CFont::CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
                       BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision, BYTE nClipPrecision,
                       BYTE nQuality, BYTE nPitchAndFamily, LPCSTR lpszFacename) {
  return Attach(::CreateFontA(nHeight, nWidth, nEscapement, nOrientation, nWeight, bItalic, bUnderline, cStrikeOut,
                              nCharSet, nOutPrecision, nClipPrecision, nQuality, nPitchAndFamily, lpszFacename));
}

BOOL CFont::CreatePointFont(int nPointSize, LPCSTR lpszFaceName, CDC* pDC) {
  LOGFONTA lf = {};
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfHeight = nPointSize;
  lstrcpynA(lf.lfFaceName, lpszFaceName ? lpszFaceName : "", LF_FACESIZE);
  return CreatePointFontIndirect(&lf, pDC);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONTA* lpLogFont, CDC* pDC) {
  HDC hDC = pDC ? pDC->m_hDC : ::GetDC(nullptr);
  LOGFONTA lf = *lpLogFont;
  // lfHeight is in tenths of a point: convert to device units, then to logical ones.
  POINT pt = {0, ::MulDiv(::GetDeviceCaps(hDC, LOGPIXELSY), lf.lfHeight, 720)};
  ::DPtoLP(hDC, &pt, 1);
  POINT ptOrg = {0, 0};
  ::DPtoLP(hDC, &ptOrg, 1);
  lf.lfHeight = -abs(pt.y - ptOrg.y);
  if (!pDC) ::ReleaseDC(nullptr, hDC);
  return CreateFontIndirect(&lf);
}

BOOL CBitmap::LoadBitmap(LPCSTR lpszResourceName) {
  HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, (LPCSTR)RT_BITMAP);
  return Attach(::LoadBitmapA(hInst, lpszResourceName));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) {
  return Attach(::CreateCompatibleBitmap(pDC->m_hDC, nWidth, nHeight));
}

CSize CBitmap::SetBitmapDimension(int nWidth, int nHeight) {
  SIZE size = {0, 0};
  ::SetBitmapDimensionEx((HBITMAP)m_hObject, nWidth, nHeight, &size);
  return size;
}

CSize CBitmap::GetBitmapDimension() const {
  SIZE size = {0, 0};
  ::GetBitmapDimensionEx((HBITMAP)m_hObject, &size);
  return size;
}

BOOL CPalette::CreateHalftonePalette(CDC* pDC) { return Attach(::CreateHalftonePalette(pDC->GetSafeHdc())); }

int CPalette::GetEntryCount() {
  WORD nEntries = 0;
  ::GetObjectA(m_hObject, sizeof(WORD), &nEntries);
  return nEntries;
}

///////////////////////////////////////////////////////////////////////////////
// CDC

CDC::CDC() : m_hDC(nullptr), m_hAttribDC(nullptr), m_bPrinting(FALSE) {}

CDC::~CDC() {
  if (m_hDC != nullptr) ::DeleteDC(Detach());
}

CDC* PASCAL CDC::FromHandle(HDC hDC) {
  if (hDC == nullptr) return nullptr;
  std::lock_guard<std::recursive_mutex> lock(GdiLock());
  auto it = DcTemp().find(hDC);
  if (it != DcTemp().end()) return it->second;
  CDC* p = new CDC;
  p->m_hDC = p->m_hAttribDC = hDC;
  DcTemp()[hDC] = p;
  return p;
}

void PASCAL CDC::DeleteTempMap() {
  std::vector<CDC*> doomed;
  {
    std::lock_guard<std::recursive_mutex> lock(GdiLock());
    for (auto& kv : DcTemp()) doomed.push_back(kv.second);
    DcTemp().clear();
  }
  for (CDC* p : doomed) {
    p->m_hDC = p->m_hAttribDC = nullptr;
    delete p;
  }
}

BOOL CDC::Attach(HDC hDC) {
  if (hDC == nullptr) return FALSE;
  m_hDC = m_hAttribDC = hDC;
  return TRUE;
}

HDC CDC::Detach() {
  HDC hDC = m_hDC;
  m_hDC = m_hAttribDC = nullptr;
  return hDC;
}

CWnd* CDC::GetWindow() const { return CWnd::FromHandle(::WindowFromDC(m_hDC)); }

BOOL CDC::CreateDC(LPCSTR lpszDriverName, LPCSTR lpszDeviceName, LPCSTR lpszOutput, const void* lpInitData) {
  return Attach(::CreateDCA(lpszDriverName, lpszDeviceName, lpszOutput, (const DEVMODEA*)lpInitData));
}
BOOL CDC::CreateIC(LPCSTR lpszDriverName, LPCSTR lpszDeviceName, LPCSTR lpszOutput, const void* lpInitData) {
  return Attach(::CreateICA(lpszDriverName, lpszDeviceName, lpszOutput, (const DEVMODEA*)lpInitData));
}
BOOL CDC::CreateCompatibleDC(CDC* pDC) { return Attach(::CreateCompatibleDC(pDC->GetSafeHdc())); }

BOOL CDC::DeleteDC() {
  if (m_hDC == nullptr) return FALSE;
  return ::DeleteDC(Detach());
}

CGdiObject* PASCAL CDC::SelectGdiObject(HDC hDC, HGDIOBJ h) {
  return CGdiObject::FromHandle(h ? ::SelectObject(hDC, h) : nullptr);
}

CPen* CDC::SelectObject(CPen* pPen) { return CPen::FromHandle((HPEN)::SelectObject(m_hDC, pPen->GetSafeHandle())); }
CBrush* CDC::SelectObject(CBrush* pBrush) {
  return CBrush::FromHandle((HBRUSH)::SelectObject(m_hDC, pBrush->GetSafeHandle()));
}
CFont* CDC::SelectObject(CFont* pFont) {
  return CFont::FromHandle((HFONT)::SelectObject(m_hDC, pFont->GetSafeHandle()));
}
CBitmap* CDC::SelectObject(CBitmap* pBitmap) {
  return CBitmap::FromHandle((HBITMAP)::SelectObject(m_hDC, pBitmap->GetSafeHandle()));
}
int CDC::SelectObject(CRgn* pRgn) { return (int)(INT_PTR)::SelectObject(m_hDC, pRgn->GetSafeHandle()); }
CGdiObject* CDC::SelectObject(CGdiObject* pObject) { return SelectGdiObject(m_hDC, pObject->GetSafeHandle()); }
HGDIOBJ CDC::SelectObject(HGDIOBJ hObject) { return ::SelectObject(m_hDC, hObject); }
CGdiObject* CDC::SelectStockObject(int nIndex) { return SelectGdiObject(m_hDC, ::GetStockObject(nIndex)); }

CPalette* CDC::SelectPalette(CPalette* pPalette, BOOL bForceBackground) {
  return CPalette::FromHandle(::SelectPalette(m_hDC, (HPALETTE)pPalette->GetSafeHandle(), bForceBackground));
}

CPoint CDC::GetViewportOrg() const {
  POINT pt;
  ::GetViewportOrgEx(m_hDC, &pt);
  return pt;
}
CPoint CDC::SetViewportOrg(int x, int y) {
  POINT pt = {0, 0};
  ::SetViewportOrgEx(m_hDC, x, y, &pt);
  return pt;
}
CPoint CDC::OffsetViewportOrg(int nWidth, int nHeight) {
  POINT pt = {0, 0};
  ::OffsetViewportOrgEx(m_hDC, nWidth, nHeight, &pt);
  return pt;
}
CPoint CDC::GetWindowOrg() const {
  POINT pt;
  ::GetWindowOrgEx(m_hDC, &pt);
  return pt;
}
CPoint CDC::SetWindowOrg(int x, int y) {
  POINT pt = {0, 0};
  ::SetWindowOrgEx(m_hDC, x, y, &pt);
  return pt;
}
CPoint CDC::OffsetWindowOrg(int nWidth, int nHeight) {
  POINT pt = {0, 0};
  ::OffsetWindowOrgEx(m_hDC, nWidth, nHeight, &pt);
  return pt;
}
CSize CDC::GetViewportExt() const {
  SIZE s;
  ::GetViewportExtEx(m_hDC, &s);
  return s;
}
CSize CDC::SetViewportExt(int cx, int cy) {
  SIZE s = {0, 0};
  ::SetViewportExtEx(m_hDC, cx, cy, &s);
  return s;
}
CSize CDC::GetWindowExt() const {
  SIZE s;
  ::GetWindowExtEx(m_hDC, &s);
  return s;
}
CSize CDC::SetWindowExt(int cx, int cy) {
  SIZE s = {0, 0};
  ::SetWindowExtEx(m_hDC, cx, cy, &s);
  return s;
}

int CDC::ExcludeUpdateRgn(CWnd* pWnd) { return ::ExcludeUpdateRgn(m_hDC, pWnd->GetSafeHwnd()); }

CPoint CDC::GetCurrentPosition() const {
  POINT pt;
  ::GetCurrentPositionEx(m_hDC, &pt);
  return pt;
}

CPoint CDC::MoveTo(int x, int y) {
  POINT pt = {0, 0};
  ::MoveToEx(m_hDC, x, y, &pt);
  return pt;
}

BOOL CDC::DrawState(CPoint pt, CSize size, HICON hIcon, UINT nFlags, CBrush* pBrush) {
  return ::DrawStateA(m_hDC, (HBRUSH)pBrush->GetSafeHandle(), nullptr, (LPARAM)hIcon, 0, pt.x, pt.y, size.cx, size.cy,
                      nFlags | DST_ICON);
}

BOOL CDC::DrawState(CPoint pt, CSize size, CBitmap* pBitmap, UINT nFlags, CBrush* pBrush) {
  return ::DrawStateA(m_hDC, (HBRUSH)pBrush->GetSafeHandle(), nullptr, (LPARAM)pBitmap->GetSafeHandle(), 0, pt.x, pt.y,
                      size.cx, size.cy, nFlags | DST_BITMAP);
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr) {
  COLORREF old = ::SetBkColor(m_hDC, clr);
  ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, lpRect, nullptr, 0, nullptr);
  ::SetBkColor(m_hDC, old);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr) {
  RECT rect = {x, y, x + cx, y + cy};
  FillSolidRect(&rect, clr);
}

void CDC::Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight) {
  Draw3dRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top, clrTopLeft,
             clrBottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight) {
  FillSolidRect(x, y, cx - 1, 1, clrTopLeft);
  FillSolidRect(x, y, 1, cy - 1, clrTopLeft);
  FillSolidRect(x + cx, y, -1, cy, clrBottomRight);
  FillSolidRect(x, y + cy, cx, -1, clrBottomRight);
}

BOOL CDC::TransparentBlt(int xDest, int yDest, int nDestWidth, int nDestHeight, CDC* pSrcDC, int xSrc, int ySrc,
                         int nSrcWidth, int nSrcHeight, UINT clrTransparent) {
  return ::TransparentBlt(m_hDC, xDest, yDest, nDestWidth, nDestHeight, pSrcDC->GetSafeHdc(), xSrc, ySrc, nSrcWidth,
                          nSrcHeight, clrTransparent);
}

BOOL CDC::AlphaBlend(int xDest, int yDest, int nDestWidth, int nDestHeight, CDC* pSrcDC, int xSrc, int ySrc,
                     int nSrcWidth, int nSrcHeight, BLENDFUNCTION blend) {
  return ::AlphaBlend(m_hDC, xDest, yDest, nDestWidth, nDestHeight, pSrcDC->GetSafeHdc(), xSrc, ySrc, nSrcWidth,
                      nSrcHeight, blend);
}

CSize CDC::GetTextExtent(LPCSTR lpszString, int nCount) const {
  SIZE size = {0, 0};
  if (lpszString && nCount > 0) ::GetTextExtentPoint32A(m_hAttribDC ? m_hAttribDC : m_hDC, lpszString, nCount, &size);
  return size;
}

CSize CDC::GetTabbedTextExtent(LPCSTR lpszString, int nCount, int nTabPositions, LPINT lpnTabStopPositions) const {
  DWORD d = ::GetTabbedTextExtentA(m_hDC, lpszString, nCount, nTabPositions, lpnTabStopPositions);
  return CSize(LOWORD(d), HIWORD(d));
}

int CDC::GetTextFace(CString& rString) const {
  int n = ::GetTextFaceA(m_hDC, LF_FACESIZE, rString.GetBuffer(LF_FACESIZE));
  rString.ReleaseBuffer();
  return n;
}

CSize CDC::TabbedTextOut(int x, int y, LPCSTR lpszString, int nCount, int nTabPositions, LPINT lpnTabStopPositions,
                         int nTabOrigin) {
  LONG l = ::TabbedTextOutA(m_hDC, x, y, lpszString, nCount, nTabPositions, lpnTabStopPositions, nTabOrigin);
  return CSize(LOWORD(l), HIWORD(l));
}

BOOL CDC::DPtoHIMETRIC(LPSIZE lpSize) const {
  int cxPerInch = GetDeviceCaps(LOGPIXELSX);
  int cyPerInch = GetDeviceCaps(LOGPIXELSY);
  if (cxPerInch <= 0 || cyPerInch <= 0) return FALSE;
  lpSize->cx = ::MulDiv(lpSize->cx, 2540, cxPerInch);
  lpSize->cy = ::MulDiv(lpSize->cy, 2540, cyPerInch);
  return TRUE;
}

CBrush* PASCAL CDC::GetHalftoneBrush() {
  // A checkerboard pattern, kept for the life of the process.
  static CBrush* s_pBrush = nullptr;
  if (s_pBrush == nullptr) {
    WORD grayPattern[8];
    for (int i = 0; i < 8; i++) grayPattern[i] = (WORD)(0x5555 << (i & 1));
    HBITMAP hBitmap = ::CreateBitmap(8, 8, 1, 1, grayPattern);
    if (hBitmap == nullptr) return nullptr;
    s_pBrush = new CBrush;
    s_pBrush->Attach(::CreatePatternBrush(hBitmap));
    ::DeleteObject(hBitmap);
  }
  return s_pBrush;
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->GetSafeHwnd()) {
  if (!Attach(::BeginPaint(m_hWnd, &m_ps))) AfxThrowResourceException();
}
CPaintDC::~CPaintDC() {
  ::EndPaint(m_hWnd, &m_ps);
  Detach();
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd->GetSafeHwnd()) {
  if (!Attach(::GetDC(m_hWnd))) AfxThrowResourceException();
}
CClientDC::~CClientDC() { ::ReleaseDC(m_hWnd, Detach()); }

CWindowDC::CWindowDC(CWnd* pWnd) : m_hWnd(pWnd->GetSafeHwnd()) {
  if (!Attach(::GetWindowDC(m_hWnd))) AfxThrowResourceException();
}
CWindowDC::~CWindowDC() { ::ReleaseDC(m_hWnd, Detach()); }

///////////////////////////////////////////////////////////////////////////////
// CMenu

CMenu::~CMenu() { DestroyMenu(); }

CMenu* PASCAL CMenu::FromHandle(HMENU hMenu) {
  if (hMenu == nullptr) return nullptr;
  std::lock_guard<std::recursive_mutex> lock(GdiLock());
  auto it = MenuPermanent().find(hMenu);
  if (it != MenuPermanent().end()) return it->second;
  auto jt = MenuTemp().find(hMenu);
  if (jt != MenuTemp().end()) return jt->second;
  CMenu* p = new CMenu;
  p->m_hMenu = hMenu;
  MenuTemp()[hMenu] = p;
  return p;
}

CMenu* PASCAL CMenu::FromHandlePermanent(HMENU hMenu) {
  std::lock_guard<std::recursive_mutex> lock(GdiLock());
  auto it = MenuPermanent().find(hMenu);
  return it == MenuPermanent().end() ? nullptr : it->second;
}

void PASCAL CMenu::DeleteTempMap() {
  std::vector<CMenu*> doomed;
  {
    std::lock_guard<std::recursive_mutex> lock(GdiLock());
    for (auto& kv : MenuTemp()) doomed.push_back(kv.second);
    MenuTemp().clear();
  }
  for (CMenu* p : doomed) {
    p->m_hMenu = nullptr;
    delete p;
  }
}

BOOL CMenu::Attach(HMENU hMenu) {
  if (hMenu == nullptr) return FALSE;
  std::lock_guard<std::recursive_mutex> lock(GdiLock());
  m_hMenu = hMenu;
  MenuPermanent()[hMenu] = this;
  return TRUE;
}

HMENU CMenu::Detach() {
  HMENU h = m_hMenu;
  if (h) {
    std::lock_guard<std::recursive_mutex> lock(GdiLock());
    auto it = MenuPermanent().find(h);
    if (it != MenuPermanent().end() && it->second == this) MenuPermanent().erase(it);
  }
  m_hMenu = nullptr;
  return h;
}

BOOL CMenu::DestroyMenu() {
  if (m_hMenu == nullptr) return FALSE;
  return ::DestroyMenu(Detach());
}

BOOL CMenu::LoadMenu(LPCSTR lpszResourceName) {
  HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, (LPCSTR)RT_MENU);
  return Attach(::LoadMenuA(hInst, lpszResourceName));
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const {
  char buf[256];
  int n = ::GetMenuStringA(m_hMenu, nIDItem, buf, sizeof(buf), nFlags);
  rString = CString(buf, n > 0 ? n : 0);
  return n;
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect) {
  return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, pWnd->GetSafeHwnd(), lpRect);
}
