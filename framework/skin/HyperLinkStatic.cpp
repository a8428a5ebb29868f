#include "HyperLinkStatic.h"

#include <cstring>

#include "OpenWebAddress.h"
#include "SkinLayout.h"
#include "resource.h"

namespace {
void OpenWithShell(const char* address) { weburl::OpenWebAddress(address); }
}  // namespace

void (*CHyperLinkStatic::s_pfnOpen)(const char* address) = OpenWithShell;

BEGIN_MESSAGE_MAP(CHyperLinkStatic, CStatic)
  ON_WM_PAINT()
  ON_WM_NCHITTEST()
  ON_WM_LBUTTONDOWN()
  ON_WM_MOUSEMOVE()
  ON_WM_CAPTURECHANGED()
  ON_WM_SETCURSOR()
  ON_MESSAGE(WM_SETTEXT, &CHyperLinkStatic::OnSetText)
  ON_MESSAGE(WM_PRINTCLIENT, &CHyperLinkStatic::OnPrintClient)
END_MESSAGE_MAP()

CHyperLinkStatic::CHyperLinkStatic()
    : m_crText(0),
      m_crLink(RGB(0, 0, 255)),
      m_bFirstPaint(TRUE),
      m_hHand(nullptr),
      m_bOwnHand(FALSE),
      m_hPrevCursor(nullptr),
      m_bHovering(FALSE),
      m_nHover(-1) {}

CHyperLinkStatic::~CHyperLinkStatic() {
  if (m_hHand && m_bOwnHand) ::DestroyCursor(m_hHand);
}

HCURSOR CHyperLinkStatic::LoadHandCursor() {
  // 32 x 32 monochrome: 128 bytes of XOR plane, then 128 bytes of AND plane.
  HINSTANCE res = AfxGetResourceHandle();
  HRSRC r = res ? ::FindResourceA(res, MAKEINTRESOURCEA(IDC_HANDCURSOR), "HANDCURSOR") : nullptr;
  if (r && ::SizeofResource(res, r) >= 256) {
    HGLOBAL g = ::LoadResource(res, r);
    const BYTE* p = g ? static_cast<const BYTE*>(::LockResource(g)) : nullptr;
    if (p) {
      HCURSOR c = ::CreateCursor(AfxGetInstanceHandle(), 6, 0, 32, 32, p + 128, p);
      if (c) {
        m_bOwnHand = TRUE;
        return c;
      }
    }
  }
  m_bOwnHand = FALSE;
  return ::LoadCursor(nullptr, IDC_HAND);
}

std::string CHyperLinkStatic::GetOpenAddress(int i) const {
  const LinkRecord* r = GetLink(i);
  return r ? skin::SafeLinkAddress(r->address) : std::string();
}

LRESULT CHyperLinkStatic::OnSetText(WPARAM wParam, LPARAM lParam) {
  LRESULT result = DefWindowProc(WM_SETTEXT, wParam, lParam);
  // New text, new links: the records are made again on the next paint.
  if (m_bHovering) Leave(true);
  m_links.clear();
  m_bFirstPaint = TRUE;
  if (HWND parent = ::GetParent(m_hWnd)) {
    RECT rc;
    ::GetWindowRect(m_hWnd, &rc);
    ::MapWindowPoints(nullptr, parent, (LPPOINT)&rc, 2);
    ::RedrawWindow(parent, &rc, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  }
  Invalidate(TRUE);
  return result;
}

void CHyperLinkStatic::LayOutAndDraw(HDC dc, bool draw) {
  char text[1025] = "";
  ::GetWindowTextA(m_hWnd, text, sizeof text);
  RECT client;
  ::GetClientRect(m_hWnd, &client);
  HWND parent = ::GetParent(m_hWnd);
  HFONT font = (HFONT)::SendMessageA(parent ? parent : m_hWnd, WM_GETFONT, 0, 0);
  HGDIOBJ oldFont = font ? ::SelectObject(dc, font) : nullptr;
  ::SetBkMode(dc, TRANSPARENT);
  int x = 0, y = 0, lineH = 0;
  size_t link = 0;
  TEXTMETRICA tm;
  ::GetTextMetricsA(dc, &tm);
  for (const skin::TextPiece& p : skin::ParseLinkText(text)) {
    if (p.kind == skin::TextPiece::kNewLine) {
      x = 0;
      y += (lineH ? lineH : tm.tmHeight) + 2;
      continue;
    }
    SIZE size = {0, 0};
    ::GetTextExtentPoint32A(dc, p.text.c_str(), (int)p.text.size(), &size);
    if (y + size.cy + 2 > client.bottom) break;
    if (x > 0 && x + size.cx > client.right) {
      x = 0;
      y += (lineH ? lineH : size.cy) + 2;
      if (y + size.cy + 2 > client.bottom) break;
    }
    lineH = size.cy;
    if (p.kind == skin::TextPiece::kLink) {
      RECT r = {x, y, x + size.cx, y + size.cy + 2};
      if (link < m_links.size()) {
        m_links[link].rect = r;
      } else if (m_bFirstPaint) {
        LinkRecord rec;
        rec.rect = r;
        skin::CopyTextBounded(rec.address, sizeof rec.address, p.address.c_str());
        m_links.push_back(rec);
      }
      ++link;
      if (draw) {
        ::SetTextColor(dc, m_crLink);
        ::TextOutA(dc, x, y, p.text.c_str(), (int)p.text.size());
        HPEN pen = ::CreatePen(PS_SOLID, 1, m_crLink);
        HGDIOBJ oldPen = ::SelectObject(dc, pen);
        ::MoveToEx(dc, x, y + size.cy, nullptr);
        ::LineTo(dc, x + size.cx, y + size.cy);
        ::SelectObject(dc, oldPen);
        ::DeleteObject(pen);
      }
    } else if (draw) {
      ::SetTextColor(dc, m_crText);
      ::TextOutA(dc, x, y, p.text.c_str(), (int)p.text.size());
    }
    x += size.cx;
  }
  if (oldFont) ::SelectObject(dc, oldFont);
  m_bFirstPaint = FALSE;
}

void CHyperLinkStatic::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(m_hWnd, &ps);
  if (m_bFirstPaint && !m_hHand) m_hHand = LoadHandCursor();
  // A plain dialog gives its background brush; a skinned one the null brush (its skin shows).
  if (HWND parent = ::GetParent(m_hWnd)) {
    HBRUSH br = (HBRUSH)::SendMessageA(parent, WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)m_hWnd);
    if (br && br != (HBRUSH)::GetStockObject(NULL_BRUSH) && br != (HBRUSH)::GetStockObject(HOLLOW_BRUSH)) {
      RECT rc;
      ::GetClientRect(m_hWnd, &rc);
      ::FillRect(dc, &rc, br);
    }
  }
  LayOutAndDraw(dc, true);
  ::EndPaint(m_hWnd, &ps);
}

LRESULT CHyperLinkStatic::OnPrintClient(WPARAM wParam, LPARAM) {
  LayOutAndDraw((HDC)wParam, true);
  return 0;
}

LRESULT CHyperLinkStatic::OnNcHitTest(CPoint point) {
  LRESULT result = CStatic::OnNcHitTest(point);
  if (m_bHovering) return HTCLIENT;
  POINT p = point;
  ::ScreenToClient(m_hWnd, &p);
  for (size_t i = 0; i < m_links.size(); ++i) {
    if (::PtInRect(&m_links[i].rect, p)) {
      m_bHovering = TRUE;
      m_nHover = (int)i;
      if (!m_hHand) m_hHand = LoadHandCursor();
      m_hPrevCursor = ::SetCursor(m_hHand);
      SetCapture();
      return HTCLIENT;
    }
  }
  return result;
}

BOOL CHyperLinkStatic::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  if (m_bHovering && m_hHand) {
    ::SetCursor(m_hHand);
    return TRUE;
  }
  return CStatic::OnSetCursor(pWnd, nHitTest, message);
}

void CHyperLinkStatic::Leave(bool release) {
  m_bHovering = FALSE;
  m_nHover = -1;
  if (m_hPrevCursor) ::SetCursor(m_hPrevCursor);
  if (release && ::GetCapture() == m_hWnd) ::ReleaseCapture();
}

void CHyperLinkStatic::OnMouseMove(UINT nFlags, CPoint point) {
  if (m_bHovering && (m_nHover < 0 || m_nHover >= (int)m_links.size() || !::PtInRect(&m_links[m_nHover].rect, point)))
    Leave(true);
  CStatic::OnMouseMove(nFlags, point);
}

void CHyperLinkStatic::OnCaptureChanged(CWnd* pWnd) {
  if (m_bHovering) Leave(false);
  CStatic::OnCaptureChanged(pWnd);
}

void CHyperLinkStatic::OnLButtonDown(UINT nFlags, CPoint point) {
  if (m_bHovering) {
    std::string address = GetOpenAddress(m_nHover);
    if (!address.empty() && s_pfnOpen) s_pfnOpen(address.c_str());
  }
  CStatic::OnLButtonDown(nFlags, point);
}
