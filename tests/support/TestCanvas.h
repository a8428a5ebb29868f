// A 32-bit top-down memory canvas for drawing tests: filled with one colour, read back pixel by pixel,
// saved as PNG for people to look at.
#pragma once
#include <afxwin.h>

#include <algorithm>
#include <string>

#include "WinProbe.h"

struct Canvas {
  CDC dc;
  HBITMAP bmp = nullptr;
  HGDIOBJ old = nullptr;
  int w, h;
  Canvas(int w_, int h_, COLORREF fill) : w(w_), h(h_) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    bmp = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    dc.Attach(::CreateCompatibleDC(nullptr));
    old = ::SelectObject(dc.GetSafeHdc(), bmp);
    Fill(0, 0, w, h, fill);
  }
  ~Canvas() {
    ::SelectObject(dc.GetSafeHdc(), old);
    ::DeleteObject(bmp);
  }
  void Fill(int x, int y, int cx, int cy, COLORREF c) {
    RECT r{x, y, x + cx, y + cy};
    HBRUSH b = ::CreateSolidBrush(c);
    ::FillRect(dc.GetSafeHdc(), &r, b);
    ::DeleteObject(b);
  }
  COLORREF At(int x, int y) { return ::GetPixel(dc.GetSafeHdc(), x, y); }
  // The smallest rectangle around pixels that differ from the fill.
  RECT Drawn(COLORREF fill) {
    RECT r{w, h, -1, -1};
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if (At(x, y) != fill) {
          r.left = std::min<LONG>(r.left, x);
          r.top = std::min<LONG>(r.top, y);
          r.right = std::max<LONG>(r.right, x + 1);
          r.bottom = std::max<LONG>(r.bottom, y + 1);
        }
    return r;
  }
  bool SavePng(const char* name) {
    ::SelectObject(dc.GetSafeHdc(), old);
    std::string n(name);
    bool ok = winprobe::SaveBitmapPng(bmp, std::wstring(n.begin(), n.end()));
    old = ::SelectObject(dc.GetSafeHdc(), bmp);
    return ok;
  }
};
