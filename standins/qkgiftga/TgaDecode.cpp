#include "TgaDecode.h"

namespace {

struct Reader {
  const uint8_t* p;
  size_t left;
  bool Take(size_t n, const uint8_t*& out) {
    if (n > left) return false;
    out = p;
    p += n;
    left -= n;
    return true;
  }
};

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

// One stored pixel or palette entry of `bytes` bytes into BGRA.
void ToBgra(const uint8_t* s, int bits, bool grey, uint8_t* d) {
  if (grey) {
    d[0] = d[1] = d[2] = s[0];
    d[3] = bits == 16 ? s[1] : 255;
    return;
  }
  switch (bits) {
    case 15:
    case 16: {
      uint16_t v = U16(s);
      d[0] = static_cast<uint8_t>((v & 0x1F) * 255 / 31);
      d[1] = static_cast<uint8_t>(((v >> 5) & 0x1F) * 255 / 31);
      d[2] = static_cast<uint8_t>(((v >> 10) & 0x1F) * 255 / 31);
      d[3] = (bits == 16 && !(v & 0x8000)) ? 0 : 255;
      break;
    }
    case 24:
      d[0] = s[0];
      d[1] = s[1];
      d[2] = s[2];
      d[3] = 255;
      break;
    default:  // 32
      d[0] = s[0];
      d[1] = s[1];
      d[2] = s[2];
      d[3] = s[3];
      break;
  }
}

}  // namespace

bool DecodeTga(const uint8_t* data, size_t size, TgaImage& out) {
  if (!data || size < 18) return false;
  Reader r{data, size};
  const uint8_t* h;
  r.Take(18, h);
  int idLength = h[0], mapType = h[1], type = h[2];
  int mapFirst = U16(h + 3), mapLength = U16(h + 5), mapDepth = h[7];
  int width = U16(h + 12), height = U16(h + 14), depth = h[16], descriptor = h[17];
  bool rle = type >= 9;
  int base = rle ? type - 8 : type;
  if (base < 1 || base > 3 || (type > 3 && type < 9) || type > 11) return false;
  if (width <= 0 || height <= 0 || width > TGA_MAX_SIDE || height > TGA_MAX_SIDE) return false;
  if (static_cast<size_t>(width) * height > TGA_MAX_PIXELS) return false;
  bool mapped = base == 1, grey = base == 3;
  if (mapped && (mapType != 1 || depth != 8)) return false;
  if (!mapped && !grey && depth != 15 && depth != 16 && depth != 24 && depth != 32) return false;
  if (grey && depth != 8 && depth != 16) return false;
  const uint8_t* skip;
  if (!r.Take(static_cast<size_t>(idLength), skip)) return false;

  TgaImage img;
  if (mapType == 1) {
    if (mapDepth != 15 && mapDepth != 16 && mapDepth != 24 && mapDepth != 32) return false;
    size_t entryBytes = static_cast<size_t>((mapDepth + 7) / 8);
    const uint8_t* map;
    if (!r.Take(entryBytes * mapLength, map)) return false;
    img.palette.assign(static_cast<size_t>(mapFirst + mapLength) * 4, 0);
    for (int i = 0; i < mapLength; ++i) ToBgra(map + i * entryBytes, mapDepth, false, &img.palette[(mapFirst + i) * 4]);
  } else if (mapType != 0) {
    return false;
  }

  size_t pixelBytes = static_cast<size_t>((depth + 7) / 8);
  size_t count = static_cast<size_t>(width) * height;
  // The data must be able to hold the image before room for it is taken: every pixel
  // stored, or for run-length data one packet per 128 pixels at least.
  size_t least = rle ? (count + 127) / 128 * (1 + pixelBytes) : count * pixelBytes;
  if (r.left < least) return false;
  std::vector<uint8_t> linear(count * 4);
  auto store = [&](const uint8_t* s, size_t index) -> bool {
    uint8_t* d = &linear[index * 4];
    if (mapped) {
      size_t entry = s[0];
      if (entry * 4 + 4 > img.palette.size()) return false;
      for (int k = 0; k < 4; ++k) d[k] = img.palette[entry * 4 + k];
    } else {
      ToBgra(s, depth, grey, d);
    }
    return true;
  };
  size_t done = 0;
  while (done < count) {
    const uint8_t* s;
    if (!rle) {
      if (!r.Take(pixelBytes, s) || !store(s, done)) return false;
      ++done;
      continue;
    }
    const uint8_t* head;
    if (!r.Take(1, head)) return false;
    size_t n = static_cast<size_t>(head[0] & 0x7F) + 1;
    if (n > count - done) n = count - done;  // a packet may not run past the image
    if (head[0] & 0x80) {
      if (!r.Take(pixelBytes, s)) return false;
      for (size_t i = 0; i < n; ++i)
        if (!store(s, done + i)) return false;
    } else {
      for (size_t i = 0; i < n; ++i)
        if (!r.Take(pixelBytes, s) || !store(s, done + i)) return false;
    }
    done += n;
  }

  bool topDown = (descriptor & 0x20) != 0;
  img.width = width;
  img.height = height;
  img.pixelDepth = depth;
  img.bgra.resize(count * 4);
  img.alpha.resize(count);
  for (int y = 0; y < height; ++y) {
    int src = topDown ? y : height - 1 - y;
    for (int x = 0; x < width; ++x) {
      const uint8_t* s = &linear[(static_cast<size_t>(src) * width + x) * 4];
      uint8_t* d = &img.bgra[(static_cast<size_t>(y) * width + x) * 4];
      for (int k = 0; k < 4; ++k) d[k] = s[k];
      img.alpha[static_cast<size_t>(y) * width + x] = s[3];
    }
  }
  out = std::move(img);
  return true;
}
