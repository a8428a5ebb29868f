// The avatar panel's arithmetic: preset sizes, where the 150 x 190 control sits inside the
// panel so that the part that matters shows, and the status mark for a player's state.
// Portable.
#pragma once
#include <cstdint>

namespace avatarlayout {

const int kControlWidth = 150;
const int kControlHeight = 190;

// The total panel size of a preset type (1 to 12) with border width B; false for others.
bool PresetSize(int type, int border, int* width, int* height);
// The control's left offset inside an inner area of that width.
inline int OffsetX(int innerWidth) { return (innerWidth - kControlWidth) / 2; }
// The control's top offset for an inner height, on resize and when drawing into a DC.
int ResizeOffsetY(int h);
int ShowOffsetY(int h);
// The status-mark bitmap of the resource library for a seat's state flags; 0 clears the mark.
int MarkBitmap(uint32_t flags);

}  // namespace avatarlayout
