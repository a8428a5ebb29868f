#include "SplitterEx.h"

#include <algorithm>

#include "SkinTheme.h"

BEGIN_MESSAGE_MAP(CSplitterEx, CSplitterWnd)
  ON_WM_SETCURSOR()
  ON_WM_MOUSEMOVE()
  ON_MESSAGE(WM_MOUSELEAVE, &CSplitterEx::OnMouseLeave)
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

namespace {
const char kSection[] = "QKSPLITTER";

bool FileThere(const std::string& path) {
  DWORD a = ::GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ReadKey(const std::string& netSkinFolder, const char* key) {
  char value[MAX_PATH] = "";
  if (!netSkinFolder.empty()) {
    std::string thm = netSkinFolder + "\\vesk.thm";
    ::GetPrivateProfileStringA(kSection, key, "", value, sizeof value, thm.c_str());
    if (value[0]) return value;
  }
  return SkinThemeString(kSection, key, "");
}

HBITMAP LoadPicture(const std::string& netSkinFolder, const std::string& profilePath, const char* key) {
  std::string name = ReadKey(netSkinFolder, key);
  // A name is a plain file of the theme folder; nothing climbs out of it.
  if (name.empty() || name.find("..") != std::string::npos || name.find(':') != std::string::npos) return nullptr;
  std::string path = netSkinFolder.empty() ? std::string() : netSkinFolder + "\\theme\\" + name;
  if (path.empty() || !FileThere(path)) path = profilePath + "\\theme\\" + name;
  return (HBITMAP)::LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
}

CSize BitmapSize(HBITMAP h) {
  BITMAP bm = {};
  if (!h || !::GetObjectA(h, sizeof bm, &bm)) return CSize(0, 0);
  return CSize(bm.bmWidth, bm.bmHeight);
}

void StretchPicture(CDC* pDC, HBITMAP h, const CRect& to, const CRect& from) {
  HDC mem = ::CreateCompatibleDC(pDC->GetSafeHdc());
  HGDIOBJ old = ::SelectObject(mem, h);
  ::SetStretchBltMode(pDC->GetSafeHdc(), COLORONCOLOR);
  ::StretchBlt(pDC->GetSafeHdc(), to.left, to.top, to.Width(), to.Height(), mem, from.left, from.top, from.Width(),
               from.Height(), SRCCOPY);
  ::SelectObject(mem, old);
  ::DeleteDC(mem);
}
}  // namespace

CSplitterEx::CSplitterEx() {
  m_cxSplitter = m_cySplitter = 4;
  m_cxSplitterGap = m_cySplitterGap = 4;
  m_cxBorder = m_cyBorder = 0;
}

CSplitterEx::~CSplitterEx() {
  if (m_hBar) ::DeleteObject(m_hBar);
  for (HBITMAP h : m_hArrow)
    if (h) ::DeleteObject(h);
}

void CSplitterEx::LoadImages(const std::string& netSkinFolder, const std::string& profilePath) {
  m_hBar = LoadPicture(netSkinFolder, profilePath, "SPLITTER");
  m_hArrow[0] = LoadPicture(netSkinFolder, profilePath, "LARROW");
  m_hArrow[1] = LoadPicture(netSkinFolder, profilePath, "RARROW");
  int w = BitmapSize(m_hBar).cx;
  if (w > 0) m_cxSplitter = m_cxSplitterGap = w;
}

void CSplitterEx::RecalcColumns() {
  if (m_bPlain || !m_hWnd || m_nCols < 2) return;
  CRect rc;
  GetClientRect(&rc);
  // Hidden, the pane gives up its width but the bar stays, so its arrow can bring it back.
  int left = rc.Width() - m_cxSplitter - (m_bRightVisible ? m_nRightWidth : 0);
  int cur = 0, minimum = 0;
  GetColumnInfo(0, cur, minimum);
  SetColumnInfo(0, std::max(left, minimum), minimum);
  RecalcLayout();
}

void CSplitterEx::SetRightPaneWidth(int nWidth) {
  if (!m_hWnd || m_nCols < 2) return;
  CRect rc;
  GetClientRect(&rc);
  int left = rc.Width() - 2 * m_cxBorder - m_cxSplitter - nWidth;
  if (left < 0) return;
  SetColumnInfo(0, left, 0);
  RecalcLayout();
}

void CSplitterEx::ToggleRightPane() {
  m_bRightVisible = !m_bRightVisible;
  RecalcColumns();
  Invalidate();
}

void CSplitterEx::OnDrawSplitter(CDC* pDC, ESplitType nType, const CRect& rect) {
  if (m_bPlain || pDC == nullptr || nType != splitBar) {
    CSplitterWnd::OnDrawSplitter(pDC, nType, rect);
    return;
  }
  CSize size = BitmapSize(m_hBar);
  if (size.cx > 0) {
    CRect from(0, 0, size.cx, size.cy);
    // A horizontal bar takes the picture's second cell.
    if (rect.Width() > rect.Height() && size.cx >= 2) from = CRect(size.cx / 2, 0, size.cx, size.cy);
    StretchPicture(pDC, m_hBar, rect, from);
  } else {
    CSplitterWnd::OnDrawSplitter(pDC, nType, rect);
  }
  DrawArrow(pDC, rect);
}

void CSplitterEx::DrawArrow(CDC* pDC, const CRect& bar) {
  HBITMAP arrow = m_hArrow[m_bRightVisible ? 1 : 0];
  CSize size = BitmapSize(arrow);
  if (size.cx < 4) return;
  int cell = size.cx / 4;
  int index = m_nArrowState == ARROW_HOVER     ? 1
              : m_nArrowState == ARROW_PRESSED ? 2
              : m_nArrowState == ARROW_FOURTH  ? 3
                                               : 0;
  int top = bar.top + (bar.Height() - size.cy) / 2;
  m_rcArrow = CRect(bar.left, top, bar.left + cell, top + size.cy);
  StretchPicture(pDC, arrow, m_rcArrow, CRect(index * cell, 0, index * cell + cell, size.cy));
}

void CSplitterEx::StartTracking(int ht) {
  // Themed: the bar is not dragged.
  if (m_bPlain) CSplitterWnd::StartTracking(ht);
}

BOOL CSplitterEx::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  if (m_bPlain) return CSplitterWnd::OnSetCursor(pWnd, nHitTest, message);
  ::SetCursor(::LoadCursorA(nullptr, (LPCSTR)IDC_ARROW));
  return TRUE;
}

void CSplitterEx::SetArrowState(int nState) {
  if (nState == m_nArrowState) return;
  m_nArrowState = nState;
  InvalidateRect(&m_rcArrow, FALSE);
}

void CSplitterEx::OnMouseMove(UINT nFlags, CPoint pt) {
  if (m_bPlain) {
    CSplitterWnd::OnMouseMove(nFlags, pt);
    return;
  }
  if (m_bTrackMouse) {
    TRACKMOUSEEVENT tme = {sizeof tme, TME_LEAVE, m_hWnd, 1};
    ::TrackMouseEvent(&tme);
  }
  SetArrowState(m_bPressing ? ARROW_PRESSED : m_rcArrow.PtInRect(pt) ? ARROW_HOVER : ARROW_NORMAL);
}

LRESULT CSplitterEx::OnMouseLeave(WPARAM, LPARAM) {
  if (!m_bPlain) SetArrowState(ARROW_NORMAL);
  return 0;
}

void CSplitterEx::OnLButtonDown(UINT nFlags, CPoint pt) {
  CSplitterWnd::OnLButtonDown(nFlags, pt);
  if (m_bPlain || !m_rcArrow.PtInRect(pt)) return;
  m_bPressing = TRUE;
  SetCapture();
  SetArrowState(ARROW_PRESSED);
}

void CSplitterEx::OnLButtonUp(UINT nFlags, CPoint pt) {
  if (m_bPlain || !m_bPressing) {
    CSplitterWnd::OnLButtonUp(nFlags, pt);
    return;
  }
  ::ReleaseCapture();
  m_bPressing = FALSE;
  if (m_rcArrow.PtInRect(pt)) ToggleRightPane();
  SetArrowState(ARROW_NORMAL);
}
