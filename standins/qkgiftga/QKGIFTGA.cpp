// Animated GIF frames over GDI+ and TGA images over our own reader.
#include <windows.h>

#include <cstring>

#include "GdiplusCodec.h"
#include "OutsideLibs.h"
#include "TgaDecode.h"

namespace {

struct GifHandle {
  standin::Frames frames;
  size_t next = 0;     // frame GetNextImage returns next
  size_t current = 0;  // frame last returned
};

struct TgaHandle {
  TgaImage image;
};

GifHandle* AsGif(HANDLE h) { return static_cast<GifHandle*>(h); }
TgaHandle* AsTga(HANDLE h) { return static_cast<TgaHandle*>(h); }

// A monochrome mask: white where the frame is transparent; null when nothing is.
HBITMAP MaskFor(const standin::Pixels& px, bool& anyTransparent) {
  anyTransparent = false;
  int stride = ((px.width + 15) / 16) * 2;
  std::vector<unsigned char> bits(static_cast<size_t>(stride) * px.height, 0);
  for (int y = 0; y < px.height; ++y)
    for (int x = 0; x < px.width; ++x)
      if (px.bgra[(static_cast<size_t>(y) * px.width + x) * 4 + 3] == 0) {
        bits[static_cast<size_t>(y) * stride + x / 8] |= static_cast<unsigned char>(0x80 >> (x % 8));
        anyTransparent = true;
      }
  return anyTransparent ? CreateBitmap(px.width, px.height, 1, 1, bits.data()) : nullptr;
}

HANDLE NewGif(const void* data, DWORD size) {
  GifHandle* g = new (std::nothrow) GifHandle;
  if (!g) return nullptr;
  if (!standin::DecodeFrames(data, size, g->frames) || g->frames.frames.empty()) {
    delete g;
    return nullptr;
  }
  return g;
}

HANDLE NewTga(const void* data, DWORD size) {
  TgaHandle* t = new (std::nothrow) TgaHandle;
  if (!t) return nullptr;
  if (!DecodeTga(static_cast<const uint8_t*>(data), size, t->image)) {
    delete t;
    return nullptr;
  }
  return t;
}

}  // namespace

extern "C" {

HANDLE WINAPI LoadGifFromMem(const void* data, DWORD size) { return NewGif(data, size); }

HANDLE WINAPI LoadGifFile(const char* path) {
  std::vector<unsigned char> bytes;
  if (!standin::ReadFileBytes(path, bytes)) return nullptr;
  return NewGif(bytes.data(), static_cast<DWORD>(bytes.size()));
}

BOOL WINAPI GetImageSize(HANDLE gif, int* width, int* height, int* frameCount) {
  if (!gif) return FALSE;
  if (width) *width = AsGif(gif)->frames.width;
  if (height) *height = AsGif(gif)->frames.height;
  if (frameCount) *frameCount = static_cast<int>(AsGif(gif)->frames.frames.size());
  return TRUE;
}

BOOL WINAPI GetNextImage(HANDLE gif, HBITMAP* image, HBITMAP* mask, int* left, int* top, int* width, int* height,
                         int* delay, int* disposal, int* transparent, int* frameIndex) {
  if (!gif) return FALSE;
  GifHandle* g = AsGif(gif);
  if (g->next >= g->frames.frames.size()) return FALSE;
  const standin::Pixels& px = g->frames.frames[g->next];
  bool anyTransparent = false;
  HBITMAP m = MaskFor(px, anyTransparent);
  if (mask)
    *mask = m;
  else if (m)
    DeleteObject(m);
  if (image) *image = standin::PixelsToDibSection(px);
  // Frames come composed to the full logical screen.
  if (left) *left = 0;
  if (top) *top = 0;
  if (width) *width = px.width;
  if (height) *height = px.height;
  if (delay) *delay = g->frames.delays[g->next];
  if (disposal) *disposal = 0;
  if (transparent) *transparent = anyTransparent ? 1 : 0;
  if (frameIndex) *frameIndex = static_cast<int>(g->next);
  g->current = g->next++;
  return TRUE;
}

void WINAPI CloseGifHandle(HANDLE gif) { delete AsGif(gif); }

void WINAPI Reset(HANDLE gif) {
  if (gif) AsGif(gif)->next = AsGif(gif)->current = 0;
}

HBITMAP WINAPI CreateCurrentBmp(HANDLE gif) {
  if (!gif) return nullptr;
  return standin::PixelsToDibSection(AsGif(gif)->frames.frames[AsGif(gif)->current]);
}

int WINAPI GetGlobalColorIndexTotal(HANDLE gif) {
  return gif ? static_cast<int>(AsGif(gif)->frames.palette.size()) : 0;
}

int WINAPI GetGlobalColorIndexData(HANDLE gif, RGBQUAD* colours, int maxColours) {
  if (!gif || !colours || maxColours <= 0) return 0;
  const auto& pal = AsGif(gif)->frames.palette;
  int n = static_cast<int>(pal.size()) < maxColours ? static_cast<int>(pal.size()) : maxColours;
  std::memcpy(colours, pal.data(), static_cast<size_t>(n) * sizeof(RGBQUAD));
  return n;
}

// Copies the next frame's 32-bit pixels and moves on; with no buffer, tells the size needed.
int WINAPI GetNextRawFrameData(HANDLE gif, void* bgra, int size) {
  if (!gif) return 0;
  GifHandle* g = AsGif(gif);
  if (g->next >= g->frames.frames.size()) return 0;
  const auto& px = g->frames.frames[g->next].bgra;
  if (!bgra) return static_cast<int>(px.size());
  if (size < static_cast<int>(px.size())) return 0;
  std::memcpy(bgra, px.data(), px.size());
  g->current = g->next++;
  return static_cast<int>(px.size());
}

HANDLE WINAPI LoadTgaFromMem(const void* data, DWORD size) { return NewTga(data, size); }

HANDLE WINAPI LoadTGAFile(const char* path) {
  std::vector<unsigned char> bytes;
  if (!standin::ReadFileBytes(path, bytes)) return nullptr;
  return NewTga(bytes.data(), static_cast<DWORD>(bytes.size()));
}

HBITMAP WINAPI CreateBitmapFromTGA(HANDLE tga) {
  if (!tga) return nullptr;
  standin::Pixels px;
  px.width = AsTga(tga)->image.width;
  px.height = AsTga(tga)->image.height;
  px.bgra = AsTga(tga)->image.bgra;
  return standin::PixelsToDibSection(px);
}

void WINAPI CloseTGAHandle(HANDLE tga) { delete AsTga(tga); }
int WINAPI GetTgaWidth(HANDLE tga) { return tga ? AsTga(tga)->image.width : 0; }
int WINAPI GetTgaHeight(HANDLE tga) { return tga ? AsTga(tga)->image.height : 0; }
int WINAPI GetTgaPalNum(HANDLE tga) { return tga ? AsTga(tga)->image.paletteCount() : 0; }
int WINAPI GetTgaPixelDepth(HANDLE tga) { return tga ? AsTga(tga)->image.pixelDepth : 0; }
const void* WINAPI GetTgaGetImageData(HANDLE tga) { return tga ? AsTga(tga)->image.bgra.data() : nullptr; }
const void* WINAPI GetTgaGetImagePalData(HANDLE tga) {
  return tga && !AsTga(tga)->image.palette.empty() ? AsTga(tga)->image.palette.data() : nullptr;
}
const void* WINAPI GetTgaGetImageAlphaData(HANDLE tga) { return tga ? AsTga(tga)->image.alpha.data() : nullptr; }

}  // extern "C"

// The exports have the types the program calls them through.
OUTSIDE_EXPORT_TYPE(LoadGifFromMem, PFN_LOADGIFFROMMEM);
OUTSIDE_EXPORT_TYPE(LoadGifFile, PFN_LOADGIFFILE);
OUTSIDE_EXPORT_TYPE(GetImageSize, PFN_GIF_GETIMAGESIZE);
OUTSIDE_EXPORT_TYPE(GetNextImage, PFN_GIF_GETNEXTIMAGE);
OUTSIDE_EXPORT_TYPE(CloseGifHandle, PFN_CLOSEGIFHANDLE);
OUTSIDE_EXPORT_TYPE(Reset, PFN_GIF_RESET);
OUTSIDE_EXPORT_TYPE(CreateCurrentBmp, PFN_CREATECURRENTBMP);
OUTSIDE_EXPORT_TYPE(GetGlobalColorIndexTotal, PFN_GETGLOBALCOLORINDEXTOTAL);
OUTSIDE_EXPORT_TYPE(GetGlobalColorIndexData, PFN_GETGLOBALCOLORINDEXDATA);
OUTSIDE_EXPORT_TYPE(GetNextRawFrameData, PFN_GETNEXTRAWFRAMEDATA);
OUTSIDE_EXPORT_TYPE(LoadTGAFile, PFN_LOADTGAFILE);
OUTSIDE_EXPORT_TYPE(LoadTgaFromMem, PFN_LOADTGAFROMMEM);
OUTSIDE_EXPORT_TYPE(CreateBitmapFromTGA, PFN_CREATEBITMAPFROMTGA);
OUTSIDE_EXPORT_TYPE(CloseTGAHandle, PFN_CLOSETGAHANDLE);
OUTSIDE_EXPORT_TYPE(GetTgaWidth, PFN_GETTGAINT);
OUTSIDE_EXPORT_TYPE(GetTgaHeight, PFN_GETTGAINT);
OUTSIDE_EXPORT_TYPE(GetTgaGetImageData, PFN_GETTGADATA);
