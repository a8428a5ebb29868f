// The avatar control stand-in: a generated picture of the player (colours from the name)
// with the status mark the client sets, drawn in its window or into any device context.
#include <windows.h>

#include <cstring>
#include <string>

#include "Controls.h"
#include "CtrlBase.h"

namespace {

const int kW = 150, kH = 190;
const size_t kRecordSize = 116;

class CAvatarControl : public CCtrlBase {
 public:
  CAvatarControl() : CCtrlBase(CLSID_QKAvatar) {}
  ~CAvatarControl() override {
    if (m_hMark) ::DeleteObject(m_hMark);
  }

 protected:
  const char* ClassName() const override { return "QKAvatarCtrl"; }
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  HRESULT Call(DISPID id, WORD wFlags, const CArgs& a, VARIANT* r) override;

 private:
  void Render(HDC hdc);
  void DrawTo(HDC hdc, int x, int y, int sx, int sy, int w, int h);

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

LRESULT CAvatarControl::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
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
