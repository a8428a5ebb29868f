// Decoding and encoding over the system's GDI+ for the image-codec stand-ins.
#pragma once
#include <windows.h>

#include <vector>

namespace standin {

// Keeps GDI+ started for its lifetime (each library call starts its own).
class GdiplusScope {
 public:
  GdiplusScope();
  ~GdiplusScope();
  bool ok() const { return m_ok; }

 private:
  ULONG_PTR m_token = 0;
  bool m_ok = false;
};

// 32-bit BGRA rows, top-down.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> bgra;
};

// The first frame of any image GDI+ reads (JPEG, PNG, GIF, BMP).
bool DecodeImage(const void* data, DWORD size, Pixels& out);
bool DecodeImageFile(const char* path, Pixels& out);
// A top-down 32-bit DIB section holding the pixels.
HBITMAP PixelsToDibSection(const Pixels& px);
HGLOBAL PixelsToGlobal(const Pixels& px);
bool BitmapToPixels(HBITMAP bmp, Pixels& out);
// A packed DIB (header, colour table, bits) as a global block or a pointer to one.
bool PackedDibToPixels(const void* packed, SIZE_T available, Pixels& out);
bool PackedDibHandleToPixels(HGLOBAL packed, Pixels& out);

// format: L"image/jpeg" or L"image/png"; quality 0-100 (JPEG only, -1 = encoder default).
bool EncodePixels(const Pixels& px, const wchar_t* mime, int quality, std::vector<unsigned char>& out);
bool WriteFileBytes(const char* path, const std::vector<unsigned char>& bytes);
HGLOBAL BytesToGlobal(const std::vector<unsigned char>& bytes, DWORD* size);
bool ReadFileBytes(const char* path, std::vector<unsigned char>& out);

// Animated images: the frames GDI+ exposes in time order, with their delays in ms.
struct Frames {
  int width = 0;
  int height = 0;
  std::vector<Pixels> frames;
  std::vector<int> delays;
  std::vector<RGBQUAD> palette;
};
bool DecodeFrames(const void* data, DWORD size, Frames& out);

}  // namespace standin
