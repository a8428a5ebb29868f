// Device contexts that clean up after themselves, for the image functions.
#pragma once
#include <windows.h>

namespace dibimage {

// A memory DC like `like` (null = the screen) with the bitmap selected until it goes.
struct MemDC {
  HDC h;
  HGDIOBJ old = nullptr;
  MemDC(HDC like, HGDIOBJ bmp) : h(::CreateCompatibleDC(like)) {
    if (h && bmp) old = ::SelectObject(h, bmp);
  }
  ~MemDC() {
    if (h && old) ::SelectObject(h, old);
    if (h) ::DeleteDC(h);
  }
  MemDC(const MemDC&) = delete;
  MemDC& operator=(const MemDC&) = delete;
};

struct ScreenDC {
  HDC h = ::GetDC(nullptr);
  ~ScreenDC() { ::ReleaseDC(nullptr, h); }
  ScreenDC() = default;
  ScreenDC(const ScreenDC&) = delete;
  ScreenDC& operator=(const ScreenDC&) = delete;
};

}  // namespace dibimage
