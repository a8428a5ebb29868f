// The main window's size rules, apart from the window: the screen's size class, the fixed
// window size of each class, the large-card rule and the saved placement text.
#pragma once
#include <string>

namespace frame {

// 1 when the screen is smaller than 1024 by 768 (either side), else 2.
int ScreenSizeClass(int screenW, int screenH);
// The right pane's width for a size class.
int RightPaneWidth(int sizeClass);

struct Size {
  int w = 0, h = 0;
};
// The window's one size for the class: a short screen gives up what its task bars cover.
Size FixedWindowSize(int sizeClass, int screenH, int uncoveredH);
// Large cards while the client area is above 1024 by 738.
bool LargeCardsFor(int clientW, int clientH);

// "WindowPos": flags, show command, minimised and maximised positions, the normal
// rectangle and the full-screen client size when it was saved.
struct SavedPlacement {
  unsigned flags = 0, showCmd = 0;
  int minX = 0, minY = 0, maxX = 0, maxY = 0;
  int left = 0, top = 0, right = 0, bottom = 0;
  int fullW = 0, fullH = 0;
};
// False (and nothing changed) when the text does not hold the ten placement numbers.
bool ParseWindowPos(const char* text, SavedPlacement& out);
std::string FormatWindowPos(const SavedPlacement& p);

}  // namespace frame
