// The avatar control stand-in: a generated picture of the player (colours from the name)
// with the status mark the client sets, drawn in its window or into any device context.
// The table's clicks on an avatar (messages 1235 and 1236) open the player's card: a small
// popup with the picture and the name, closed by a click or when it loses the focus.
#include <windows.h>

#include <cstring>
#include <string>

#include "Controls.h"
#include "CtrlBase.h"

namespace {

const int kW = 150, kH = 190;
const size_t kRecordSize = 116;
const UINT kMsgPlayerClick = 1235, kMsgWatcherClick = 1236;
const int kCardPad = 8, kCardTextH = 22;
const char kCardClass[] = "QKAvatarCard";

class CAvatarControl : public CCtrlBase {
 public:
  CAvatarControl() : CCtrlBase(CLSID_QKAvatar) {}
  ~CAvatarControl() override {
    CloseCard();
    if (m_hMark) ::DeleteObject(m_hMark);
  }

 protected:
  const char* ClassName() const override { return "QKAvatarCtrl"; }
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  HRESULT Call(DISPID id, WORD wFlags, const CArgs& a, VARIANT* r) override;

 private:
  void Render(HDC hdc);
  void DrawTo(HDC hdc, int x, int y, int sx, int sy, int w, int h);
  void ShowCard();
  void CloseCard();
  void PaintCard(HDC hdc);
  static LRESULT CALLBACK CardProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

  HWND m_hCard = nullptr;

  std::string m_name;
  long m_value = 0;
  HBITMAP m_hMark = nullptr;
  RECT m_mark = {0, 0, 0, 0};
};

// Face, hair and shirt colours from the name, so every player looks alike on every client.
void CAvatarControl::Render(HDC hdc) {
  unsigned h = 2166136261u;
  for (unsigned char c : m_name) h = (h ^ c) * 16777619u;
  COLORREF bg = RGB(200 + (h & 0x1F), 220 + (h >> 5 & 0x1F), 235);
  COLORREF shirt = RGB(60 + (h >> 10 & 0x7F), 60 + (h >> 17 & 0x7F), 120 + (h >> 24 & 0x7F));
  COLORREF hair = RGB(40 + (h >> 3 & 0x3F), 25 + (h >> 9 & 0x1F), 10);
  RECT all = {0, 0, kW, kH};
  HBRUSH b = ::CreateSolidBrush(bg);
  ::FillRect(hdc, &all, b);
  ::DeleteObject(b);
  HGDIOBJ oldPen = ::SelectObject(hdc, ::GetStockObject(NULL_PEN));
  auto ellipse = [&](COLORREF c, int l, int t, int r, int btm) {
    HBRUSH br = ::CreateSolidBrush(c);
    HGDIOBJ o = ::SelectObject(hdc, br);
    ::Ellipse(hdc, l, t, r, btm);
    ::SelectObject(hdc, o);
    ::DeleteObject(br);
  };
  ellipse(shirt, 20, 120, 130, 240);              // shoulders
  ellipse(RGB(245, 205, 170), 40, 40, 110, 125);  // face
  ellipse(hair, 38, 30, 112, 70);                 // hair
  ellipse(RGB(40, 40, 40), 57, 75, 67, 85);       // eyes
  ellipse(RGB(40, 40, 40), 83, 75, 93, 85);
  ellipse(RGB(200, 80, 80), 65, 100, 85, 110);  // mouth
  ::SelectObject(hdc, oldPen);
  if (m_hMark) {
    HDC mem = ::CreateCompatibleDC(hdc);
    HGDIOBJ o = ::SelectObject(mem, m_hMark);
    ::BitBlt(hdc, m_mark.left, m_mark.top, m_mark.right, m_mark.bottom, mem, 0, 0, SRCCOPY);
    ::SelectObject(mem, o);
    ::DeleteDC(mem);
  }
}

void CAvatarControl::DrawTo(HDC hdc, int x, int y, int sx, int sy, int w, int h) {
  HDC mem = ::CreateCompatibleDC(hdc);
  HBITMAP bmp = ::CreateCompatibleBitmap(hdc, kW, kH);
  HGDIOBJ o = ::SelectObject(mem, bmp);
  Render(mem);
  ::BitBlt(hdc, x, y, w, h, mem, sx, sy, SRCCOPY);
  ::SelectObject(mem, o);
  ::DeleteObject(bmp);
  ::DeleteDC(mem);
}

// The card sits beside the avatar, kept on the work area, owned by the table's window.
void CAvatarControl::ShowCard() {
  static bool registered = false;
  if (!registered) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = CardProc;
    wc.hInstance = g_hCtrlModule;
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kCardClass;
    registered = ::RegisterClassA(&wc) != 0;
  }
  CloseCard();
  const int w = kW + 2 * kCardPad + 2, h = kH + kCardTextH + 2 * kCardPad + 2;
  RECT at = {0, 0, 0, 0}, work = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  ::GetWindowRect(m_hWnd, &at);
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  int x = at.right + 4, y = at.top;
  if (x + w > work.right) x = at.left - 4 - w;
  if (x < work.left) x = work.left;
  if (y + h > work.bottom) y = work.bottom - h;
  if (y < work.top) y = work.top;
  m_hCard = ::CreateWindowExA(WS_EX_TOOLWINDOW, kCardClass, m_name.c_str(), WS_POPUP | WS_BORDER, x, y, w, h,
                              ::GetAncestor(m_hWnd, GA_ROOT), nullptr, g_hCtrlModule, this);
  if (m_hCard) ::ShowWindow(m_hCard, SW_SHOW);
}

void CAvatarControl::CloseCard() {
  HWND card = m_hCard;
  m_hCard = nullptr;
  if (card && ::IsWindow(card)) ::DestroyWindow(card);
}

void CAvatarControl::PaintCard(HDC hdc) {
  RECT rc;
  ::GetClientRect(m_hCard, &rc);
  ::FillRect(hdc, &rc, (HBRUSH)::GetStockObject(WHITE_BRUSH));
  DrawTo(hdc, kCardPad, kCardPad, 0, 0, kW, kH);
  RECT text = {kCardPad, kCardPad + kH, rc.right - kCardPad, rc.bottom - kCardPad};
  ::SetBkMode(hdc, TRANSPARENT);
  HGDIOBJ old = ::SelectObject(hdc, ::GetStockObject(DEFAULT_GUI_FONT));
  ::DrawTextA(hdc, m_name.c_str(), (int)m_name.size(), &text,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  ::SelectObject(hdc, old);
}

LRESULT CALLBACK CAvatarControl::CardProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, (LONG_PTR)((CREATESTRUCTA*)lParam)->lpCreateParams);
  auto* self = (CAvatarControl*)::GetWindowLongPtrA(hwnd, GWLP_USERDATA);
  if (!self || self->m_hCard != hwnd) return ::DefWindowProcA(hwnd, msg, wParam, lParam);
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC hdc = ::BeginPaint(hwnd, &ps);
      self->PaintCard(hdc);
      ::EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      self->CloseCard();
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) self->CloseCard();
      return 0;
  }
  return ::DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT CAvatarControl::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == kMsgPlayerClick || msg == kMsgWatcherClick) {
    ShowCard();
    return 0;
  }
  if (msg == WM_ERASEBKGND) return 1;
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(m_hWnd, &ps);
    DrawTo(hdc, 0, 0, 0, 0, kW, kH);
    ::EndPaint(m_hWnd, &ps);
    return 0;
  }
  return CCtrlBase::WndProc(msg, wParam, lParam);
}

HRESULT CAvatarControl::Call(DISPID id, WORD, const CArgs& a, VARIANT* r) {
  switch (id) {
    case 1:
    case 12:
    case 20:
      SetLong(r, 0);
      return S_OK;
    case 17:  // the window that takes the table's clicks on this avatar
      SetLong(r, (long)(LONG_PTR)m_hWnd);
      return S_OK;
    case 8: {  // the player record: the name at its start
      const char* p = (const char*)a.Ptr(0);
      long size = a.Long(1);
      if (p && size > 0) m_name.assign(p, strnlen(p, size < (long)kRecordSize ? size : kRecordSize));
      if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, FALSE);
      SetLong(r, p ? 1 : 0);
      return S_OK;
    }
    case 10: {  // status mark: x, y, width, height, pointer to the bitmap handle (null clears)
      if (m_hMark) ::DeleteObject(m_hMark);
      m_hMark = nullptr;
      LONG_PTR* ph = (LONG_PTR*)a.Ptr(4);
      m_mark = {a.Long(0), a.Long(1), a.Long(2), a.Long(3)};
      if (ph && *ph) m_hMark = (HBITMAP)::CopyImage((HBITMAP)*ph, IMAGE_BITMAP, 0, 0, 0);
      if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, FALSE);
      SetLong(r, 1);
      return S_OK;
    }
    case 14:
      m_value = a.Long(0);
      SetLong(r, 1);
      return S_OK;
    case 23: {  // draw into a device context
      HDC hdc = (HDC)a.Ptr(0);
      if (hdc) DrawTo(hdc, a.Long(1), a.Long(2), a.Long(3), a.Long(4), a.Long(5), a.Long(6));
      SetLong(r, hdc ? 1 : 0);
      return S_OK;
    }
    case DISPID_AVATARNAME:
      SetStr(r, m_name);
      return S_OK;
  }
  return DISP_E_MEMBERNOTFOUND;
}

}  // namespace

IUnknown* NewAvatarControl() { return static_cast<IOleObject*>(new CAvatarControl); }
