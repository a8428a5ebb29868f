#include "DibPixels.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace dibimage {

uint16_t ToRgb565(uint32_t c) {
  const uint32_t r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
  return static_cast<uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
}

uint32_t FromRgb565(uint16_t v) {
  const uint32_t r = (v >> 11) & 0x1F, g = (v >> 5) & 0x3F, b = v & 0x1F;
  return (r * 8 + r / 4) | ((g * 4 + g / 16) << 8) | ((b * 8 + b / 4) << 16);
}

bool ImageBytes(int width, int height, size_t* stride, size_t* total) {
  *stride = 0;
  *total = 0;
  if (width <= 0 || height <= 0) return false;
  // GDI takes sizes as 32-bit values: keep the whole image below 2^31 bytes.
  const uint64_t row = ((static_cast<uint64_t>(width) * 2 + 3) / 4) * 4;
  const uint64_t all = row * static_cast<uint64_t>(height);
  if (all > static_cast<uint64_t>(std::numeric_limits<int32_t>::max())) return false;
  *stride = static_cast<size_t>(row);
  *total = static_cast<size_t>(all);
  return true;
}

namespace {

Rect Intersect(const Rect& a, const Rect& b) {
  Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
  if (r.Empty()) return Rect{};
  return r;
}

// Coordinates far outside any image are brought in before they are added up.
int Bound(long long v) {
  const long long lim = 1 << 28;
  return static_cast<int>(std::max(-lim, std::min(lim, v)));
}

}  // namespace

bool ClipBlit(int srcW, int srcH, const Rect* srcRect, int x, int y, int dstW, int dstH, int originX, int originY,
              const Rect& dstClip, Blit* out) {
  Rect s{0, 0, srcW, srcH};
  if (srcRect) s = Intersect(s, *srcRect);
  if (s.Empty()) return false;
  const int px = Bound(static_cast<long long>(x) + originX), py = Bound(static_cast<long long>(y) + originY);
  Rect placed{px, py, Bound(static_cast<long long>(px) + s.Width()), Bound(static_cast<long long>(py) + s.Height())};
  Rect d = Intersect(placed, Rect{0, 0, dstW, dstH});
  if (!dstClip.Empty()) d = Intersect(d, dstClip);
  if (d.Empty()) return false;
  out->sx = s.left + (d.left - placed.left);
  out->sy = s.top + (d.top - placed.top);
  out->dx = d.left;
  out->dy = d.top;
  out->w = d.Width();
  out->h = d.Height();
  return true;
}

void Fill(const Pixels& img, int x, int y, int w, int h, uint16_t value) {
  if (!img.bits || w <= 0 || h <= 0) return;
  Rect r = Intersect(Rect{x, y, Bound(static_cast<long long>(x) + w), Bound(static_cast<long long>(y) + h)},
                     Rect{0, 0, img.width, img.height});
  for (int row = r.top; row < r.bottom; ++row) std::fill(img.Row(row) + r.left, img.Row(row) + r.right, value);
}

void Copy(const Pixels& dst, const Pixels& src, const Blit& b) {
  for (int row = 0; row < b.h; ++row)
    std::copy(src.Row(b.sy + row) + b.sx, src.Row(b.sy + row) + b.sx + b.w, dst.Row(b.dy + row) + b.dx);
}

int BlendChannel(int d, int s, int alpha) {
  // The bias of 64 keeps the difference positive, as in the packed two-pixel form.
  return d + (((s - d + 64) * alpha) >> 8) - ((64 * alpha) >> 8);
}

namespace {

uint16_t BlendPixel(uint16_t d, uint16_t s, int alpha) {
  const int r = BlendChannel(d >> 11, s >> 11, alpha);
  const int g = BlendChannel((d >> 5) & 0x3F, (s >> 5) & 0x3F, alpha);
  const int b = BlendChannel(d & 0x1F, s & 0x1F, alpha);
  return static_cast<uint16_t>((r << 11) | (g << 5) | b);
}

int ClampAlpha(int alpha) { return std::max(0, std::min(255, alpha)); }

}  // namespace

void Blend(const Pixels& dst, const Pixels& src, const Blit& b, int alpha) {
  alpha = ClampAlpha(alpha);
  for (int row = 0; row < b.h; ++row) {
    const uint16_t* s = src.Row(b.sy + row) + b.sx;
    uint16_t* d = dst.Row(b.dy + row) + b.dx;
    for (int i = 0; i < b.w; ++i) d[i] = BlendPixel(d[i], s[i], alpha);
  }
}

void Tint(const Pixels& img, uint16_t colour, Rect r, int alpha, bool skipKey, uint16_t key) {
  if (!img.bits) return;
  alpha = ClampAlpha(alpha);
  r.left = std::max(r.left, 0);
  r.top = std::max(r.top, 0);
  r = Intersect(r, Rect{0, 0, img.width, img.height});
  for (int row = r.top; row < r.bottom; ++row) {
    uint16_t* p = img.Row(row);
    for (int x = r.left; x < r.right; ++x)
      if (!skipKey || p[x] != key) p[x] = BlendPixel(p[x], colour, alpha);
  }
}

bool FrameRect(int frames, int frameW, int frameH, int index, Rect* out) {
  if (index < 0 || index >= frames || frameW <= 0 || frameH <= 0) return false;
  const long long left = static_cast<long long>(index) * frameW;
  if (left + frameW > std::numeric_limits<int>::max()) return false;
  *out = Rect{static_cast<int>(left), 0, static_cast<int>(left + frameW), frameH};
  return true;
}

bool StripFrameSize(int imageW, int imageH, int frames, int* frameW, int* frameH) {
  if (frames <= 0 || imageW <= 0 || imageH <= 0 || imageW / frames <= 0) return false;
  *frameW = imageW / frames;
  *frameH = imageH;
  return true;
}

bool KeyFromLastColumn(uint16_t firstTop, uint16_t lastTop) {
  const int target = ToRgb565(0x808000);
  return std::abs(lastTop - target) < std::abs(firstTop - target);
}

namespace {

void Add(std::vector<ModePiece>& out, int sx, int sy, int w, int h, int dx, int dy) {
  if (w > 0 && h > 0) out.push_back(ModePiece{Rect{sx, sy, sx + w, sy + h}, Rect{dx, dy, dx + w, dy + h}});
}

// One band of height h at y: the source's left third once, its middle third repeated, its
// right part (what is left after two thirds) once at the right end; source rows from sy.
void Columns(std::vector<ModePiece>& out, const Rect& dst, const Rect& src, int y, int h, int sy) {
  const int t = src.Width() / 3, rw = src.Width() - 2 * t;
  const int leftW = std::min(t, dst.Width());
  Add(out, src.left, sy, leftW, h, dst.left, y);
  const int rightAt = std::max(dst.left + t, dst.right - rw);
  Add(out, src.right - rw, sy, dst.right - rightAt, h, rightAt, y);
  for (int x = dst.left + t; x < rightAt; x += t) Add(out, src.left + t, sy, std::min(t, rightAt - x), h, x, y);
}

}  // namespace

std::vector<ModePiece> ModePieces(int mode, const Rect& dst, const Rect& src) {
  std::vector<ModePiece> out;
  if (dst.Empty() || src.Empty()) return out;
  const int sw = src.Width(), sh = src.Height();
  switch (mode) {
    case 1:
      Add(out, src.left, src.top, std::min(sw, dst.Width()), std::min(sh, dst.Height()), dst.left, dst.top);
      break;
    case 3:
      for (int y = dst.top; y < dst.bottom; y += sh)
        for (int x = dst.left; x < dst.right; x += sw)
          Add(out, src.left, src.top, std::min(sw, dst.right - x), std::min(sh, dst.bottom - y), x, y);
      break;
    case 4:
      if (sw / 3 == 0) break;
      for (int y = dst.top; y < dst.bottom; y += sh) Columns(out, dst, src, y, std::min(sh, dst.bottom - y), src.top);
      break;
    case 5: {
      const int th = sh / 3, bottomH = sh - 2 * th;
      if (sw / 3 == 0 || th == 0) break;
      Columns(out, dst, src, dst.top, std::min(th, dst.Height()), src.top);
      const int firstEnd = dst.top + th;
      if (firstEnd >= dst.bottom) break;
      const int lastAt = std::max(dst.bottom - bottomH, firstEnd);
      for (int y = firstEnd; y < lastAt; y += th) Columns(out, dst, src, y, std::min(th, lastAt - y), src.top + th);
      // The last band: the last lines of the bottom row.
      Columns(out, dst, src, lastAt, dst.bottom - lastAt, src.bottom - (dst.bottom - lastAt));
      break;
    }
    default:
      out.push_back(ModePiece{src, dst});
      break;
  }
  return out;
}

}  // namespace dibimage
