// Scroll arithmetic of CODScrollCtrl and CODScrollView: sizes, bar need, positions by bar
// codes, ScrollBy and the wheel. Portable; the window routes the bar calls.
#pragma once

namespace vesk {
namespace odctrls {

struct ScrollAxis {
  int total = 0, page = 0, line = 0;
  int pos = 0;
  int client = 0;    // client extent in this direction
  bool bar = false;  // bar present
  int MaxPos() const;
};

// Makes sizes positive; page 0 becomes a tenth of the total, line 0 a tenth of the page.
void NormaliseSizes(ScrollAxis* axis);
// Which bars are needed for a client of cx x cy with bars of barW (vertical) x barH
// (horizontal) taken from it when shown; positions are clamped to keep the page inside.
void UpdateBars(ScrollAxis* h, ScrollAxis* v, int cx, int cy, int barW, int barH);
// The position a bar code gives (SB_LINEUP 0 ... SB_BOTTOM 7), unclamped.
int PositionForCode(const ScrollAxis& axis, int code, int thumb);
// Moves both axes (directions without a bar ignored); false when nothing changed.
bool ScrollBy(ScrollAxis* h, ScrollAxis* v, int dx, int dy);
// The wheel's move in pixels (positive down) for a delta and the lines per notch (-1 pages).
int WheelAmount(int delta, int linesPerNotch, const ScrollAxis& axis);

}  // namespace odctrls
}  // namespace vesk
