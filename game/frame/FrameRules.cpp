#include "FrameRules.h"

#include <cstdio>

namespace frame {

int ScreenSizeClass(int screenW, int screenH) { return (screenW < 1024 || screenH < 768) ? 1 : 2; }

int RightPaneWidth(int sizeClass) { return sizeClass == 1 ? 160 : 240; }

Size FixedWindowSize(int sizeClass, int screenH, int uncoveredH) {
  if (uncoveredH < 0) uncoveredH = 0;
  if (sizeClass == 1) return {800, screenH > 800 ? 570 : 600 - uncoveredH};
  return {1024, screenH > 768 ? 738 : 768 - uncoveredH};
}

bool LargeCardsFor(int clientW, int clientH) { return clientW > 1024 && clientH > 738; }

bool ParseWindowPos(const char* text, SavedPlacement& out) {
  if (!text) return false;
  SavedPlacement p;
  int n = sscanf(text, "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d", &p.flags, &p.showCmd, &p.minX, &p.minY, &p.maxX, &p.maxY,
                 &p.left, &p.top, &p.right, &p.bottom, &p.fullW, &p.fullH);
  if (n < 10) return false;
  out = p;
  return true;
}

std::string FormatWindowPos(const SavedPlacement& p) {
  char text[160];
  snprintf(text, sizeof text, "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d", p.flags, p.showCmd, p.minX, p.minY, p.maxX, p.maxY,
           p.left, p.top, p.right, p.bottom, p.fullW, p.fullH);
  return text;
}

}  // namespace frame
