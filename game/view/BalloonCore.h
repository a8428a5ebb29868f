// The balloon tip's arithmetic: cutting a GBK text into lines, the body's size, where the
// body stands for a point and an alignment, which of twelve placements the tail takes
// toward its anchor, and the tail's base points. Portable.
#pragma once
#include <string>
#include <vector>

namespace balloon {

// Lines of at most `bytesPerLine` bytes, never ending inside a double-byte character
// (lead bytes are counted from the start of each line); every line holds at least one
// character, so the cutting always moves on.
std::vector<std::string> WrapGbk(const std::string& text, int bytesPerLine);

struct Size {
  int w = 0, h = 0;
};

struct Metrics {
  int unit = 0;              // width of "a"
  int textW = 0, textH = 0;  // of the whole text on one line
  int marginX = 8, marginY = 8, lineSpacing = 2;
  int minW = 20, minH = 20, maxW = 150, maxH = -1;
};

// The body's size and the lines it shows; no lines when the unit is 0.
Size MeasureBody(const std::string& text, const Metrics& m, std::vector<std::string>* lines);

// The body's top-left for the corner `alignment` (0 top-left, 1 top-right, 2 bottom-left,
// 3 bottom-right) at (x, y).
void BodyOrigin(int alignment, int x, int y, int w, int h, int* left, int* top);

// The placement (0..11) of the tail toward (ax, ay) for the body (L, T, R, B).
int ChoosePlacement(int L, int T, int R, int B, int ax, int ay);

// The tail's two base points relative to the body's top-left (t tail width, o offset).
void TailBase(int placement, int w, int h, int t, int o, int* x1, int* y1, int* x2, int* y2);

}  // namespace balloon
