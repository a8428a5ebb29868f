#include "ThemeTestEnv.h"

#include <gtest/gtest.h>

#include "ODTheme.h"

namespace {
class CThemeTestApp : public CWinApp {
 public:
  CThemeTestApp() : CWinApp("ThemeTest") {}
};
CThemeTestApp theApp;

std::vector<std::string> g_boxes;

int CaptureBox(LPCSTR text, UINT type) {
  EXPECT_EQ(UINT(MB_OK | MB_ICONSTOP), type);
  g_boxes.push_back(text ? text : "");
  return IDOK;
}

class ThemeEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    AfxWinInit(::GetModuleHandleA(nullptr), nullptr, (LPSTR) "", SW_SHOW);
    SetThemeErrorBox(&CaptureBox);
  }
};
::testing::Environment* const g_env = ::testing::AddGlobalTestEnvironment(new ThemeEnvironment);
}  // namespace

std::string TestFolder() {
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string s(path);
  return s.substr(0, s.rfind('\\') + 1);
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, h) << path;
  DWORD n = 0;
  ::WriteFile(h, bytes.data(), DWORD(bytes.size()), &n, nullptr);
  ::CloseHandle(h);
}

std::string MakeBmp(int width, int height, COLORREF (*pixel)(int x, int y)) {
  int stride = (width * 3 + 3) & ~3;
  std::string data(size_t(stride) * size_t(height), '\0');
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      COLORREF c = pixel(x, y);
      size_t o = size_t(height - 1 - y) * size_t(stride) + size_t(x) * 3;
      data[o] = char(GetBValue(c));
      data[o + 1] = char(GetGValue(c));
      data[o + 2] = char(GetRValue(c));
    }
  BITMAPINFOHEADER bih = {};
  bih.biSize = sizeof(bih);
  bih.biWidth = width;
  bih.biHeight = height;
  bih.biPlanes = 1;
  bih.biBitCount = 24;
  bih.biSizeImage = DWORD(data.size());
  BITMAPFILEHEADER bfh = {};
  bfh.bfType = 0x4D42;
  bfh.bfOffBits = sizeof(bfh) + sizeof(bih);
  bfh.bfSize = DWORD(bfh.bfOffBits + data.size());
  return std::string(reinterpret_cast<const char*>(&bfh), sizeof(bfh)) +
         std::string(reinterpret_cast<const char*>(&bih), sizeof(bih)) + data;
}

std::vector<std::string> TakeBoxes() {
  std::vector<std::string> out;
  out.swap(g_boxes);
  return out;
}
