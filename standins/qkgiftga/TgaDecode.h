// TGA reader of the GIF/TGA stand-in: colour-mapped, true-colour and grey images, plain
// or run-length coded; every length and index is checked against the data.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

struct TgaImage {
  int width = 0;
  int height = 0;
  int pixelDepth = 0;            // bits per pixel as stored
  std::vector<uint8_t> bgra;     // 32-bit rows, top-down
  std::vector<uint8_t> alpha;    // one byte per pixel, top-down
  std::vector<uint8_t> palette;  // BGRA entries of a colour-mapped image
  int paletteCount() const { return static_cast<int>(palette.size() / 4); }
};

const int TGA_MAX_SIDE = 8192;
const size_t TGA_MAX_PIXELS = 16u << 20;

bool DecodeTga(const uint8_t* data, size_t size, TgaImage& out);
