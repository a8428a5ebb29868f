#include "FloatingText.h"

#include <algorithm>

namespace {
const char kKaiFace[] = "\xBF\xAC\xCC\xE5_GB2312";  // 楷体_GB2312
const int kOverlayDurationMs = 7000;
}  // namespace

// ---- one item ----------------------------------------------------------------------------

CFloatingTextItem::~CFloatingTextItem() { Free(); }

void CFloatingTextItem::Free() {
  if (m_hdc) {
    ::SelectObject(m_hdc, m_hOldBitmap);
    ::DeleteDC(m_hdc);
  }
  for (HGDIOBJ o : {(HGDIOBJ)m_hBitmap, (HGDIOBJ)m_hFont, (HGDIOBJ)m_hPen, (HGDIOBJ)m_hBrush})
    if (o) ::DeleteObject(o);
  m_hdc = nullptr;
  m_hBitmap = nullptr;
  m_hOldBitmap = nullptr;
  m_hFont = nullptr;
  m_hPen = nullptr;
  m_hBrush = nullptr;
}

int CFloatingTextItem::HeldObjects() const {
  int n = 0;
  for (const void* o :
       {(const void*)m_hdc, (const void*)m_hBitmap, (const void*)m_hFont, (const void*)m_hPen, (const void*)m_hBrush})
    n += o != nullptr;
  return n;
}

bool CFloatingTextItem::Prepare(HWND hParent, const std::string& text, HFONT font, COLORREF crText, COLORREF crBox,
                                SIZE* pSize) {
  Free();
  if (text.empty() || !::IsWindow(hParent)) return false;
  m_text = text;
  m_crText = crText;
  m_crBox = crBox;
  LOGFONTA lf;
  if (font && ::GetObjectA(font, sizeof lf, &lf)) m_hFont = ::CreateFontIndirectA(&lf);
  m_hPen = ::CreatePen(PS_SOLID, 1, crBox);
  m_hBrush = ::CreateSolidBrush(crBox);
  HDC parentDc = ::GetDC(hParent);
  m_hdc = ::CreateCompatibleDC(parentDc);
  HGDIOBJ oldFont = ::SelectObject(m_hdc, m_hFont ? (HGDIOBJ)m_hFont : ::GetStockObject(DEFAULT_GUI_FONT));
  // The box is the outline of the text, 6 pixels wider and higher.
  RECT box{0, 0, 0, 0};
  ::SetBkMode(m_hdc, TRANSPARENT);
  if (::BeginPath(m_hdc)) {
    ::TextOutA(m_hdc, 0, 0, text.c_str(), (int)text.size());
    ::EndPath(m_hdc);
    if (HRGN rgn = ::PathToRegion(m_hdc)) {
      ::GetRgnBox(rgn, &box);
      ::DeleteObject(rgn);
    }
  }
  if (box.right <= box.left) {
    // No outline from the path (some drivers give none for text): the text's extent.
    SIZE ext{0, 0};
    ::GetTextExtentPoint32A(m_hdc, text.c_str(), (int)text.size(), &ext);
    box = RECT{0, 0, ext.cx, ext.cy};
  }
  ::SelectObject(m_hdc, oldFont);
  const int w = box.right + 6, h = box.bottom + 6;
  if (box.right <= 0 || box.bottom <= 0) {
    ::ReleaseDC(hParent, parentDc);
    Free();
    return false;
  }
  m_hBitmap = ::CreateCompatibleBitmap(parentDc, w, h);
  ::ReleaseDC(hParent, parentDc);
  if (!m_hBitmap) {
    Free();
    return false;
  }
  m_hOldBitmap = ::SelectObject(m_hdc, m_hBitmap);
  pSize->cx = w;
  pSize->cy = h;
  return true;
}

void CFloatingTextItem::Draw(HDC dc, const widgets::FloatRect& at, int opacity) {
  if (!m_hdc || !dc || at.IsEmpty()) return;
  const int w = at.Width(), h = at.Height();
  // The parent's picture under the box, the rounded box and the text, then blended.
  ::BitBlt(m_hdc, 0, 0, w, h, dc, at.left, at.top, SRCCOPY);
  HGDIOBJ op = ::SelectObject(m_hdc, m_hPen), ob = ::SelectObject(m_hdc, m_hBrush);
  ::RoundRect(m_hdc, 0, 0, w, h, 14, 14);
  ::SelectObject(m_hdc, op);
  ::SelectObject(m_hdc, ob);
  HGDIOBJ of = ::SelectObject(m_hdc, m_hFont ? (HGDIOBJ)m_hFont : ::GetStockObject(DEFAULT_GUI_FONT));
  ::SetBkMode(m_hdc, OPAQUE);
  ::SetBkColor(m_hdc, m_crBox);
  ::SetTextColor(m_hdc, m_crText);
  ::TextOutA(m_hdc, 3, 3, m_text.c_str(), (int)m_text.size());
  ::SelectObject(m_hdc, of);
  BLENDFUNCTION bf{AC_SRC_OVER, 0, (BYTE)std::max(0, std::min(255, opacity)), 0};
  ::AlphaBlend(dc, at.left, at.top, w, h, m_hdc, 0, 0, w, h, bf);
}

// ---- the overlay --------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CFloatingText, CStatic)

BEGIN_MESSAGE_MAP(CFloatingText, CStatic)
  ON_WM_TIMER()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

CFloatingText::CFloatingText() : m_crText(RGB(255, 255, 0)), m_crBox(RGB(0, 0, 0)), m_hFont(nullptr) {
  m_params.durationMs = kOverlayDurationMs;
}

CFloatingText::~CFloatingText() {
  if (m_hFont) ::DeleteObject(m_hFont);
}

BOOL CFloatingText::Create(CWnd* pParent, UINT nID) {
  return CStatic::Create("", WS_CHILD, CRect(0, 0, 0, 0), pParent, nID);
}

void CFloatingText::SetParams(int startPercent, int endPercent, int centreX) {
  m_params.startPercent = startPercent;
  m_params.endPercent = endPercent;
  m_params.centreX = centreX;
}

void CFloatingText::SetColors(COLORREF text, COLORREF box) {
  m_crText = text == (COLORREF)-1 ? RGB(255, 255, 0) : text;
  m_crBox = box == (COLORREF)-1 ? RGB(0, 0, 0) : box;
}

HFONT CFloatingText::Font() {
  if (!m_hFont) {
    LOGFONTA lf{};
    HFONT parentFont = GetParent() ? (HFONT)GetParent()->SendMessage(WM_GETFONT) : nullptr;
    if (!parentFont || !::GetObjectA(parentFont, sizeof lf, &lf)) lf.lfCharSet = GB2312_CHARSET;
    lf.lfHeight = -20;
    lf.lfWidth = 0;
    lf.lfWeight = 1000;
    lstrcpynA(lf.lfFaceName, kKaiFace, LF_FACESIZE);
    m_hFont = ::CreateFontIndirectA(&lf);
  }
  return m_hFont;
}

BOOL CFloatingText::AddText(const char* text) {
  if (!text || !m_queue.AddText(text)) return FALSE;
  StartWaiting();
  if (m_hWnd) SetTimer(IDT_FLOATINGTEXT, widgets::FLOAT_FRAME_MS, nullptr);
  return TRUE;
}

void CFloatingText::StartWaiting() {
  CWnd* parent = GetParent();
  if (!parent || !parent->GetSafeHwnd()) return;
  const int i = m_queue.StartableItem();
  if (i < 0) return;
  SIZE box{0, 0};
  if (!m_items[i].Prepare(parent->GetSafeHwnd(), *m_queue.NextText(), Font(), m_crText, m_crBox, &box)) {
    m_queue.DropWaiting();
    return;
  }
  CRect rc;
  parent->GetClientRect(&rc);
  m_queue.StartItem(i, box.cx, box.cy, rc.Width(), rc.Height(), m_params);
  InvalidateParent(m_queue.Item(i).current);
  if (m_hWnd) SetTimer(IDT_FLOATINGTEXT, widgets::FLOAT_FRAME_MS, nullptr);
}

void CFloatingText::InvalidateParent(const widgets::FloatRect& r) {
  CWnd* parent = GetParent();
  if (r.IsEmpty() || !parent || !parent->GetSafeHwnd()) return;
  RECT rr{r.left, r.top, r.right, r.bottom};
  ::InvalidateRect(parent->GetSafeHwnd(), &rr, TRUE);
}

void CFloatingText::Tick() {
  StartWaiting();
  const widgets::FloatRect dirty = m_queue.Advance();
  if (!m_queue.IsAnimating() && !m_queue.HasWaiting()) {
    if (m_hWnd) KillTimer(IDT_FLOATINGTEXT);
  }
  InvalidateParent(dirty);
}

void CFloatingText::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == IDT_FLOATINGTEXT) Tick();
  Default();
}

void CFloatingText::Draw(CDC* pDC) {
  if (!pDC) return;
  for (int i = 0; i < widgets::FLOAT_SLOTS; ++i) {
    const widgets::FloatItem& it = m_queue.Item(i);
    if (!it.idle) m_items[i].Draw(pDC->GetSafeHdc(), it.current, it.Opacity());
  }
}

void CFloatingText::OnDestroy() {
  KillTimer(IDT_FLOATINGTEXT);
  CStatic::OnDestroy();
}
