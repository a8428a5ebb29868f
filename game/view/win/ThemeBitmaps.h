// The theme's pictures for the table view: the file of a bitmap id, the soft-mask blend
// and the picture whose right half is its own mask.
#pragma once
#include <windows.h>

#include <string>

// The path of theme bitmap `id` (an owned string; empty for an id outside the table).
std::string GetThemeBitmapPath(UINT id, const std::string& netSkin, const std::string& profilePath);
// Loads that file as a DIB section; null when it cannot be read.
HBITMAP LoadThemeBitmap(UINT id, const std::string& netSkin, const std::string& profilePath);

// Blends width × height pixels of `image` (from imageX, imageY) onto `dc` at (x, y),
// weighted by `mask` (from maskX, maskY).
void BlendWithMask(HDC dc, int x, int y, int width, int height, HBITMAP image, int imageX, int imageY, HBITMAP mask,
                   int maskX, int maskY);
// The left half of `bitmap` blended by its right half, centred in `rect`.
void DrawMaskedHalf(HDC dc, const RECT& rect, HBITMAP bitmap);
