// Text forms of the owner-drawn theme's values: colours and integers, points, image specs,
// the resource library's path, and the cell arithmetic of theme images. Portable so the
// parsers can be tested and fuzzed without Windows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vesk {
namespace odtheme {

// "#r#g#b" (numbers missing from the end count as 0, each cut to its low 8 bits) gives the
// colour with r in the low byte; other non-empty text gives its leading signed decimal
// number (none: 0; numbers beyond 32 bits keep their low 32 bits, so an unsigned colour
// such as 4294967295 reads as -1); null or empty text gives the default.
int ParseColorOrInt(const char* text, int def);

// The leading decimal number of the text after optional blanks and sign, 0 without one.
int ParseLeadingInt(const char* text);

// "(x,y)": false for null or empty text; otherwise true with numbers that cannot be read
// set to 0.
bool ParsePoint(const char* text, int* x, int* y);

// Cuts the text at every separator; piece i (from 0) goes to pieces[i] while i < count,
// cut to maxLen - 1 characters like the fixed buffers it stands for. Returns the number
// of pieces found (separators + 1), even when that exceeds count; count 0 returns 0.
int SplitString(char separator, const char* text, int count, std::vector<std::string>* pieces, size_t maxLen = 512);

enum { kImageSpecBitmap = 0, kImageSpecGif = 1 };

struct ImageSpec {
  int kind = -1;
  int bitmapId = 0;      // kind 0
  int keySelector = -1;  // -1 none; 0..3 a corner; other: the key colour itself
  int cellCount = 1;
  int stateCount = 1;
  int framesPerState = 1;
  int extraValue = 0;
  std::string gifPath;  // kind 1, unchanged
};

// False (nothing to load) for null/empty text, fewer than two fields or a kind other than
// 0 and 1. Counts are returned as written; the image refuses states or frames below 1.
bool ParseImageSpec(const char* text, ImageSpec* spec);

// The resource library's path: a value without a backslash sits in the INI file's folder
// (when the INI path has one); anything else is used unchanged.
std::string ResolveResFile(const std::string& iniPath, const std::string& value);

// The pixel a key selector 0..3 names in a width x height bitmap (top-left, bottom-left,
// top-right, bottom-right); false for any other selector or an empty bitmap.
bool KeyCorner(int selector, int width, int height, int* x, int* y);

struct CellRect {
  int left = 0, top = 0, right = 0, bottom = 0;
};

// Source rectangle of a state's current frame; a state outside [0, stateCount) counts as 0.
// Grid: frames are columns and states rows; one row: cell = frame + state * framesPerState.
CellRect FrameRect(int cellWidth, int cellHeight, int stateCount, int framesPerState, bool grid, int state, int frame);

// Top-left corners of the copies that tile a width x height rectangle with a tileW x tileH
// picture, row by row (empty when either size is not positive).
std::vector<std::pair<int, int>> TileOrigins(int width, int height, int tileW, int tileH);

}  // namespace odtheme
}  // namespace vesk
