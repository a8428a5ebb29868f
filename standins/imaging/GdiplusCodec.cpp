#include "GdiplusCodec.h"

#include <objidl.h>
#include <gdiplus.h>

#include <cstring>
#include <memory>

namespace standin {

GdiplusScope::GdiplusScope() {
  Gdiplus::GdiplusStartupInput in;
  m_ok = Gdiplus::GdiplusStartup(&m_token, &in, nullptr) == Gdiplus::Ok;
}

GdiplusScope::~GdiplusScope() {
  if (m_ok) Gdiplus::GdiplusShutdown(m_token);
}

namespace {

IStream* StreamFromBytes(const void* data, DWORD size) {
  HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, size ? size : 1);
  if (!g) return nullptr;
  void* p = GlobalLock(g);
  if (size) std::memcpy(p, data, size);
  GlobalUnlock(g);
  IStream* s = nullptr;
  if (CreateStreamOnHGlobal(g, TRUE, &s) != S_OK) {
    GlobalFree(g);
    return nullptr;
  }
  return s;
}

bool CopyFrame(Gdiplus::Bitmap& bmp, Pixels& out) {
  int w = static_cast<int>(bmp.GetWidth()), h = static_cast<int>(bmp.GetHeight());
  if (w <= 0 || h <= 0 || w > 16384 || h > 16384) return false;
  Gdiplus::Rect r(0, 0, w, h);
  Gdiplus::BitmapData bd;
  if (bmp.LockBits(&r, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &bd) != Gdiplus::Ok) return false;
  out.width = w;
  out.height = h;
  out.bgra.resize(static_cast<size_t>(w) * h * 4);
  for (int y = 0; y < h; ++y)
    std::memcpy(&out.bgra[static_cast<size_t>(y) * w * 4], static_cast<unsigned char*>(bd.Scan0) + y * bd.Stride,
                static_cast<size_t>(w) * 4);
  bmp.UnlockBits(&bd);
  return true;
}

bool EncoderClsid(const wchar_t* mime, CLSID& clsid) {
  UINT count = 0, size = 0;
  if (Gdiplus::GetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0) return false;
  std::vector<unsigned char> buf(size);
  auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buf.data());
  if (Gdiplus::GetImageEncoders(count, size, codecs) != Gdiplus::Ok) return false;
  for (UINT i = 0; i < count; ++i) {
    if (codecs[i].MimeType && wcscmp(codecs[i].MimeType, mime) == 0) {
      clsid = codecs[i].Clsid;
      return true;
    }
  }
  return false;
}

}  // namespace

bool DecodeImage(const void* data, DWORD size, Pixels& out) {
  if (!data || size == 0) return false;
  GdiplusScope gdip;
  if (!gdip.ok()) return false;
  IStream* s = StreamFromBytes(data, size);
  if (!s) return false;
  bool ok = false;
  {
    std::unique_ptr<Gdiplus::Bitmap> bmp(Gdiplus::Bitmap::FromStream(s));
    ok = bmp && bmp->GetLastStatus() == Gdiplus::Ok && CopyFrame(*bmp, out);
  }
  s->Release();
  return ok;
}

bool ReadFileBytes(const char* path, std::vector<unsigned char>& out) {
  if (!path) return false;
  HANDLE f = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size;
  bool ok = GetFileSizeEx(f, &size) && size.QuadPart > 0 && size.QuadPart < (256LL << 20);
  if (ok) {
    out.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    ok = ReadFile(f, out.data(), static_cast<DWORD>(out.size()), &read, nullptr) && read == out.size();
  }
  CloseHandle(f);
  return ok;
}

bool DecodeImageFile(const char* path, Pixels& out) {
  std::vector<unsigned char> bytes;
  return ReadFileBytes(path, bytes) && DecodeImage(bytes.data(), static_cast<DWORD>(bytes.size()), out);
}

HBITMAP PixelsToDibSection(const Pixels& px) {
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = px.width;
  bi.bmiHeader.biHeight = -px.height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bmp && bits) std::memcpy(bits, px.bgra.data(), px.bgra.size());
  return bmp;
}

HGLOBAL PixelsToGlobal(const Pixels& px) {
  HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, px.bgra.size() ? px.bgra.size() : 1);
  if (!g) return nullptr;
  std::memcpy(GlobalLock(g), px.bgra.data(), px.bgra.size());
  GlobalUnlock(g);
  return g;
}

bool BitmapToPixels(HBITMAP bmp, Pixels& out) {
  BITMAP info;
  if (!bmp || !GetObjectA(bmp, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) return false;
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = info.bmWidth;
  bi.bmiHeader.biHeight = -info.bmHeight;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  out.width = info.bmWidth;
  out.height = info.bmHeight;
  out.bgra.assign(static_cast<size_t>(out.width) * out.height * 4, 0);
  HDC dc = GetDC(nullptr);
  int lines = GetDIBits(dc, bmp, 0, out.height, out.bgra.data(), &bi, DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  for (size_t i = 3; i < out.bgra.size(); i += 4) out.bgra[i] = 0xFF;
  return lines == out.height;
}

bool PackedDibToPixels(const void* packed, SIZE_T available, Pixels& out) {
  if (!packed || available < sizeof(BITMAPINFOHEADER)) return false;
  const auto* h = static_cast<const BITMAPINFOHEADER*>(packed);
  if (h->biSize < sizeof(BITMAPINFOHEADER) || h->biSize > available || h->biWidth <= 0 || h->biHeight == 0 ||
      h->biWidth > 16384 || h->biHeight > 16384 || h->biHeight < -16384 || h->biPlanes != 1)
    return false;
  int bpp = h->biBitCount;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return false;
  if (h->biCompression != BI_RGB && h->biCompression != BI_BITFIELDS) return false;
  SIZE_T colours = h->biClrUsed ? h->biClrUsed : (bpp <= 8 ? (1u << bpp) : 0);
  if (colours > 256) return false;
  SIZE_T masks = h->biCompression == BI_BITFIELDS && h->biSize == sizeof(BITMAPINFOHEADER) ? 12 : 0;
  SIZE_T headerBytes = h->biSize + masks + colours * sizeof(RGBQUAD);
  int height = h->biHeight < 0 ? -h->biHeight : h->biHeight;
  SIZE_T stride = ((static_cast<SIZE_T>(h->biWidth) * bpp + 31) / 32) * 4;
  if (headerBytes > available || stride * height > available - headerBytes) return false;
  // Let GDI do the conversion of every depth into 32 bits.
  std::vector<unsigned char> info(headerBytes);
  std::memcpy(info.data(), packed, headerBytes);
  HDC dc = GetDC(nullptr);
  void* bits = nullptr;
  BITMAPINFO bi32 = {};
  bi32.bmiHeader.biSize = sizeof bi32.bmiHeader;
  bi32.bmiHeader.biWidth = h->biWidth;
  bi32.bmiHeader.biHeight = -height;
  bi32.bmiHeader.biPlanes = 1;
  bi32.bmiHeader.biBitCount = 32;
  HBITMAP dib = CreateDIBSection(dc, &bi32, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool ok = false;
  if (dib) {
    ok = SetDIBits(dc, dib, 0, height, static_cast<const unsigned char*>(packed) + headerBytes,
                   reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS) == height;
    if (ok) {
      out.width = h->biWidth;
      out.height = height;
      out.bgra.assign(static_cast<unsigned char*>(bits),
                      static_cast<unsigned char*>(bits) + static_cast<size_t>(out.width) * height * 4);
      for (size_t i = 3; i < out.bgra.size(); i += 4) out.bgra[i] = 0xFF;
    }
    DeleteObject(dib);
  }
  ReleaseDC(nullptr, dc);
  return ok;
}

bool PackedDibHandleToPixels(HGLOBAL packed, Pixels& out) {
  if (!packed) return false;
  SIZE_T size = GlobalSize(packed);
  void* p = GlobalLock(packed);
  if (!p || size == 0) return false;
  bool ok = PackedDibToPixels(p, size, out);
  GlobalUnlock(packed);
  return ok;
}

bool EncodePixels(const Pixels& px, const wchar_t* mime, int quality, std::vector<unsigned char>& out) {
  if (px.width <= 0 || px.height <= 0) return false;
  GdiplusScope gdip;
  if (!gdip.ok()) return false;
  CLSID clsid;
  if (!EncoderClsid(mime, clsid)) return false;
  Gdiplus::Bitmap bmp(px.width, px.height, px.width * 4, PixelFormat32bppARGB, const_cast<BYTE*>(px.bgra.data()));
  IStream* s = nullptr;
  if (CreateStreamOnHGlobal(nullptr, TRUE, &s) != S_OK) return false;
  Gdiplus::EncoderParameters params;
  ULONG q = quality < 0 ? 75 : static_cast<ULONG>(quality > 100 ? 100 : quality);
  params.Count = 1;
  params.Parameter[0].Guid = Gdiplus::EncoderQuality;
  params.Parameter[0].Type = Gdiplus::EncoderParameterValueTypeLong;
  params.Parameter[0].NumberOfValues = 1;
  params.Parameter[0].Value = &q;
  bool ok = bmp.Save(s, &clsid, quality >= 0 ? &params : nullptr) == Gdiplus::Ok;
  if (ok) {
    HGLOBAL g = nullptr;
    GetHGlobalFromStream(s, &g);
    STATSTG st;
    s->Stat(&st, STATFLAG_NONAME);
    size_t n = static_cast<size_t>(st.cbSize.QuadPart);
    const unsigned char* p = static_cast<const unsigned char*>(GlobalLock(g));
    ok = p && n > 0;
    if (ok) out.assign(p, p + n);
    GlobalUnlock(g);
  }
  s->Release();
  return ok;
}

bool WriteFileBytes(const char* path, const std::vector<unsigned char>& bytes) {
  if (!path) return false;
  HANDLE f = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size();
  CloseHandle(f);
  return ok;
}

HGLOBAL BytesToGlobal(const std::vector<unsigned char>& bytes, DWORD* size) {
  HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, bytes.size() ? bytes.size() : 1);
  if (!g) return nullptr;
  std::memcpy(GlobalLock(g), bytes.data(), bytes.size());
  GlobalUnlock(g);
  if (size) *size = static_cast<DWORD>(bytes.size());
  return g;
}

bool DecodeFrames(const void* data, DWORD size, Frames& out) {
  if (!data || size == 0) return false;
  GdiplusScope gdip;
  if (!gdip.ok()) return false;
  IStream* s = StreamFromBytes(data, size);
  if (!s) return false;
  bool ok = false;
  {
    std::unique_ptr<Gdiplus::Bitmap> bmp(Gdiplus::Bitmap::FromStream(s));
    if (bmp && bmp->GetLastStatus() == Gdiplus::Ok) {
      GUID dim = Gdiplus::FrameDimensionTime;
      UINT count = bmp->GetFrameCount(&dim);
      if (count == 0) count = 1;
      std::vector<int> delays;
      UINT propSize = bmp->GetPropertyItemSize(0x5100);  // frame delays, 1/100 s each
      if (propSize >= sizeof(Gdiplus::PropertyItem)) {
        std::vector<unsigned char> buf(propSize);
        auto* item = reinterpret_cast<Gdiplus::PropertyItem*>(buf.data());
        if (bmp->GetPropertyItem(0x5100, propSize, item) == Gdiplus::Ok && item->value) {
          UINT n = item->length / 4;
          for (UINT i = 0; i < n; ++i) delays.push_back(static_cast<int>(static_cast<LONG*>(item->value)[i]) * 10);
        }
      }
      INT palSize = bmp->GetPaletteSize();
      if (palSize > static_cast<INT>(sizeof(Gdiplus::ColorPalette))) {
        std::vector<unsigned char> buf(palSize);
        auto* pal = reinterpret_cast<Gdiplus::ColorPalette*>(buf.data());
        if (bmp->GetPalette(pal, palSize) == Gdiplus::Ok) {
          for (UINT i = 0; i < pal->Count && i < 256; ++i) {
            Gdiplus::ARGB c = pal->Entries[i];
            RGBQUAD q = {static_cast<BYTE>(c), static_cast<BYTE>(c >> 8), static_cast<BYTE>(c >> 16), 0};
            out.palette.push_back(q);
          }
        }
      }
      ok = true;
      for (UINT i = 0; i < count && ok; ++i) {
        if (count > 1) bmp->SelectActiveFrame(&dim, i);
        Pixels px;
        ok = CopyFrame(*bmp, px);
        if (ok) {
          out.frames.push_back(std::move(px));
          out.delays.push_back(i < delays.size() ? delays[i] : 100);
        }
      }
      if (ok) {
        out.width = out.frames[0].width;
        out.height = out.frames[0].height;
      }
    }
  }
  s->Release();
  return ok;
}

}  // namespace standin
