// A 32-, 24- or 16-bit top-down DIB section in its own memory DC, for pixel checks of
// drawing code and PNG pictures of it.
#pragma once
#include <windows.h>

#include <cstring>
#include <string>

#include "QKBitmap.h"
#include "WinProbe.h"

struct DibCanvas {
  HDC dc;
  HBITMAP bmp;
  HGDIOBJ old;
  int w, h;
  DibCanvas(int w_, int h_, COLORREF fill, int bits = 32) : w(w_), h(h_) {
    dc = ::CreateCompatibleDC(nullptr);
    bmp = MakeDib16(w, h, bits, nullptr);
    old = ::SelectObject(dc, bmp);
    Fill(0, 0, w, h, fill);
  }
  ~DibCanvas() {
    ::SelectObject(dc, old);
    ::DeleteObject(bmp);
    ::DeleteDC(dc);
  }
  DibCanvas(const DibCanvas&) = delete;
  DibCanvas& operator=(const DibCanvas&) = delete;
  void Fill(int x, int y, int cx, int cy, COLORREF c) {
    HBRUSH b = ::CreateSolidBrush(c);
    RECT r{x, y, x + cx, y + cy};
    ::FillRect(dc, &r, b);
    ::DeleteObject(b);
  }
  COLORREF At(int x, int y) const { return ::GetPixel(dc, x, y); }
  // A copy of the picture as a bitmap of its own.
  HBITMAP Copy() {
    ::SelectObject(dc, old);
    HBITMAP c = static_cast<HBITMAP>(::CopyImage(bmp, IMAGE_BITMAP, 0, 0, 0));
    ::SelectObject(dc, bmp);
    return c;
  }
  void Save(const char* name) {
    ::SelectObject(dc, old);
    winprobe::SaveBitmapPng(bmp, std::wstring(name, name + strlen(name)));
    ::SelectObject(dc, bmp);
  }
};
