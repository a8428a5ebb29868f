#include "ThemeBitmaps.h"

#include <vector>

#include "NetSkinFolder.h"
#include "ThemeBitmapsCore.h"

std::string GetThemeBitmapPath(UINT id, const std::string& netSkin, const std::string& profilePath) {
  return themebmp::ThemeBitmapPath((int)id, CurrentNetSkinFolder(), profilePath, [](const std::string& p) {
    return ::GetFileAttributesA(p.c_str()) != INVALID_FILE_ATTRIBUTES;
  });
}

HBITMAP LoadThemeBitmap(UINT id, const std::string& netSkin, const std::string& profilePath) {
  const std::string path = GetThemeBitmapPath(id, netSkin, profilePath);
  if (path.empty()) return nullptr;
  return (HBITMAP)::LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
}

namespace {

// A 24-bit DIB section of w × h with the pixels of `from` at (fx, fy) copied in.
struct Dib24 {
  HBITMAP bmp = nullptr;
  uint8_t* bits = nullptr;
  HDC dc = nullptr;
  HGDIOBJ old = nullptr;
  Dib24(HDC ref, int w, int h) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    void* p = nullptr;
    bmp = ::CreateDIBSection(ref, &bi, DIB_RGB_COLORS, &p, nullptr, 0);
    bits = static_cast<uint8_t*>(p);
    dc = ::CreateCompatibleDC(ref);
    if (bmp && dc) old = ::SelectObject(dc, bmp);
  }
  ~Dib24() {
    if (dc) {
      if (old) ::SelectObject(dc, old);
      ::DeleteDC(dc);
    }
    if (bmp) ::DeleteObject(bmp);
  }
  bool Ok() const { return bmp && bits && dc; }
};

void CopyFromBitmap(HDC ref, Dib24& to, int w, int h, HBITMAP from, int fx, int fy) {
  HDC src = ::CreateCompatibleDC(ref);
  HGDIOBJ old = ::SelectObject(src, from);
  ::BitBlt(to.dc, 0, 0, w, h, src, fx, fy, SRCCOPY);
  ::SelectObject(src, old);
  ::DeleteDC(src);
}

}  // namespace

void BlendWithMask(HDC dc, int x, int y, int width, int height, HBITMAP image, int imageX, int imageY, HBITMAP mask,
                   int maskX, int maskY) {
  if (!dc || !image || !mask || width <= 0 || height <= 0) return;
  Dib24 img(dc, width, height), msk(dc, width, height), dst(dc, width, height);
  if (!img.Ok() || !msk.Ok() || !dst.Ok()) return;
  CopyFromBitmap(dc, img, width, height, image, imageX, imageY);
  CopyFromBitmap(dc, msk, width, height, mask, maskX, maskY);
  ::BitBlt(dst.dc, 0, 0, width, height, dc, x, y, SRCCOPY);
  ::GdiFlush();
  themebmp::BlendRows(dst.bits, img.bits, msk.bits, width, height, themebmp::Stride24(width));
  ::BitBlt(dc, x, y, width, height, dst.dc, 0, 0, SRCCOPY);
}

void DrawMaskedHalf(HDC dc, const RECT& rect, HBITMAP bitmap) {
  BITMAP bm;
  if (!bitmap || !::GetObjectA(bitmap, sizeof bm, &bm)) return;
  const int w = bm.bmWidth, h = bm.bmHeight;
  const int x = rect.left + (rect.right - rect.left - w / 2) / 2;
  const int y = rect.top + (rect.bottom - rect.top - h) / 2;
  BlendWithMask(dc, x, y, w / 2, h, bitmap, 0, 0, bitmap, w / 2, 0);
}
