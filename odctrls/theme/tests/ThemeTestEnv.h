// Shared set-up of the theme's Wine tests: an application object, the folder of the test
// program (Tessaly.dll and hand.cur are copied beside it), box capture and small files.
#pragma once
#include <afxwin.h>

#include <string>
#include <vector>

std::string TestFolder();  // ends with a backslash
void WriteFileBytes(const std::string& path, const std::string& bytes);
// A 24-bit BMP file whose pixel(x, y) colour comes from the function.
std::string MakeBmp(int width, int height, COLORREF (*pixel)(int x, int y));
// Texts of the error boxes shown since the last call.
std::vector<std::string> TakeBoxes();
