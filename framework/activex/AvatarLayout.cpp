#include "AvatarLayout.h"

namespace avatarlayout {

bool PresetSize(int type, int border, int* width, int* height) {
  if (type == 1) {
    *width = 54;
    *height = 72;
    return true;
  }
  if (type == 2) {
    *width = 71;
    *height = 96;
    return true;
  }
  if (type < 3 || type > 12) return false;
  static const int w[] = {60, 70, 80, 90, 100, 110, 120, 130, 140, 150};
  static const int h[] = {84, 98, 112, 126, 140, 154, 168, 182, 190, 190};
  *width = w[type - 3] + 2 * border;
  *height = h[type - 3] + 2 * border;
  return true;
}

int ResizeOffsetY(int h) {
  if (h <= 54) return h / 2 - 54;
  if (h <= 78) return -27;
  if (h <= 89) return 5 * (h - 78) / 61 - 27;
  if (h <= 144) return 5 * (h - 78) / 61 - 11;
  if (h <= 189) return (h - 144) / 2 - 8;
  if (h == 190) return 0;
  return (h - 190) / 2;
}

int ShowOffsetY(int h) {
  if (h <= 54) return h / 2 - 54;
  if (h <= 78) return -27;
  if (h <= 144) return 5 * (h - 78) / 61 - 27;
  if (h <= 190) return (h - 144) / 2 - 22;
  return (h - 190) / 2;
}

int MarkBitmap(uint32_t flags) {
  if (flags & 0x40) return 29713;
  if (flags & 4) return 29709;
  if (flags & 0x30) return 29712;
  if (flags & 2) return 29708;
  return 0;
}

}  // namespace avatarlayout
