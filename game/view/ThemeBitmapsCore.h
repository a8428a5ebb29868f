// The theme's picture files and the soft mask: which file stands for a bitmap id, where it
// is looked up, and the blend of an image over a background weighted by a mask. Portable;
// the Windows helpers (ThemeBitmaps.h) read the files and the device contexts.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

namespace themebmp {

// The file name of a theme bitmap id ("icon-5.bmp" for 136); null for an id outside the table.
const char* ThemeBitmapFile(int id);

// "<base>\theme\respic\<file>" under the net-skin folder when that file exists, else under
// the profile's "Path" folder (not tested); empty for an unknown id.
std::string ThemeBitmapPath(int id, const std::string& netSkin, const std::string& profilePath,
                            const std::function<bool(const std::string&)>& fileExists);

// Rows of 24-bit pixels (blue, green, red), `stride` bytes apart. Each colour byte of
// `dst` becomes (image × m + dst × (255 − m)) >> 8, with m the mask pixel's blue byte.
void BlendRows(uint8_t* dst, const uint8_t* image, const uint8_t* mask, int width, int height, int stride);

// The stride of a 24-bit row: padded to a multiple of four bytes.
inline int Stride24(int width) { return (width * 3 + 3) & ~3; }

}  // namespace themebmp
