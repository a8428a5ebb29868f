// The pixel engine of the 16-bit (5-6-5, top-down) image: colour conversions, clipping of
// copies, fill, copy, blend and tint over plain memory, the frame arithmetic of an image
// strip and the layouts of the mode-driven bitmap drawing. Portable: no Windows headers.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace dibimage {

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool Empty() const { return right <= left || bottom <= top; }
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};

// COLORREF (0x00BBGGRR) to 5-6-5 keeps the top bits of each channel; back widens each
// channel by repeating its top bits.
uint16_t ToRgb565(uint32_t colorref);
uint32_t FromRgb565(uint16_t v);

// Bytes per row: 2 x width rounded up to whole 32-bit words. False (and 0) when the row or
// the whole image (rows x height) would not fit in memory sizes, or a size is not positive.
bool ImageBytes(int width, int height, size_t* stride, size_t* total);

// A view over an image's rows; stride in bytes.
struct Pixels {
  uint16_t* bits = nullptr;
  int width = 0, height = 0;
  size_t stride = 0;
  uint16_t* Row(int y) const { return reinterpret_cast<uint16_t*>(reinterpret_cast<uint8_t*>(bits) + y * stride); }
};

// What one clipped copy moves: w x h pixels from (sx, sy) of the source to (dx, dy) of the
// destination.
struct Blit {
  int sx = 0, sy = 0, dx = 0, dy = 0, w = 0, h = 0;
};

// The clipping rule of copies and drawing: the source rectangle (null = whole source)
// intersected with the source image, placed at (x, y) plus the destination's origin offset,
// intersected with the destination's bounds and (when not empty) its clip rectangle; the
// source shrinks by the same amounts. False when nothing is left.
bool ClipBlit(int srcW, int srcH, const Rect* srcRect, int x, int y, int dstW, int dstH, int originX, int originY,
              const Rect& dstClip, Blit* out);

// Fills x, y, w, h (already moved by the origin offset) clipped to the image.
void Fill(const Pixels& img, int x, int y, int w, int h, uint16_t value);
void Copy(const Pixels& dst, const Pixels& src, const Blit& b);
// Per channel d + (s - d) x alpha / 256.
void Blend(const Pixels& dst, const Pixels& src, const Blit& b, int alpha);
// Per channel p + (c - p) x alpha / 256 over the rectangle (clipped to the image, negative
// origin as 0); with skipKey, pixels equal to key stay as they are.
void Tint(const Pixels& img, uint16_t colour, Rect r, int alpha, bool skipKey, uint16_t key);
// One channel of the blend arithmetic (exposed for tests).
int BlendChannel(int d, int s, int alpha);

// Image strip: frame i covers columns [i x fw, (i + 1) x fw) and rows [0, fh). False for an
// index outside 0 .. frames - 1 or a zero-sized frame.
bool FrameRect(int frames, int frameW, int frameH, int index, Rect* out);
// Frame size of a picture cut into `frames` equal frames; false when a frame would be empty.
bool StripFrameSize(int imageW, int imageH, int frames, int* frameW, int* frameH);
// The keyed strip's key column: true for the last column, whose top pixel is taken when it
// is strictly nearer to 0x808000 than the first column's.
bool KeyFromLastColumn(uint16_t firstTop, uint16_t lastTop);

// One piece of a mode-driven drawing: the source cell drawn (stretched when the sizes
// differ) over the destination area.
struct ModePiece {
  Rect src, dst;
};
// Modes 1 (corner copy), 3 (tiles), 4 (three columns per band), 5 (three columns and three
// rows); any other mode stretches the whole source. Empty when a tile or third would be
// zero-sized or the destination is empty.
std::vector<ModePiece> ModePieces(int mode, const Rect& dst, const Rect& src);

}  // namespace dibimage
