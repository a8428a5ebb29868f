#include "SkinTestEnv.h"

#include <gtest/gtest.h>

#include "ResLoad.h"
#include "WinProbe.h"

namespace {
class CSkinTestApp : public CWinApp {
 public:
  CSkinTestApp() : CWinApp("SkinTest") {}
};
CSkinTestApp theApp;

class SkinEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    AfxWinInit(::GetModuleHandleA(nullptr), nullptr, (LPSTR) "", SW_SHOW);
    char folder[MAX_PATH];
    GetModuleFolder(folder, sizeof folder, nullptr);
    g_hSkinRes = ::LoadLibraryA((std::string(folder) + "Vesk_Res.dll").c_str());
    ASSERT_NE(g_hSkinRes, nullptr);
    AfxSetResourceHandle(g_hSkinRes);
  }
};
::testing::Environment* const g_env = ::testing::AddGlobalTestEnvironment(new SkinEnvironment);

std::function<void(HWND)> g_act;
std::vector<HWND> g_before;

BOOL CALLBACK CollectDialogs(HWND h, LPARAM l) {
  char cls[16] = "";
  ::GetClassNameA(h, cls, sizeof cls);
  if (std::string(cls) == "#32770" && ::IsWindowVisible(h)) reinterpret_cast<std::vector<HWND>*>(l)->push_back(h);
  return TRUE;
}

void CALLBACK ActTimer(HWND, UINT, UINT_PTR id, DWORD) {
  std::vector<HWND> now;
  ::EnumThreadWindows(::GetCurrentThreadId(), CollectDialogs, (LPARAM)&now);
  for (HWND h : now) {
    bool old = false;
    for (HWND b : g_before) old = old || b == h;
    if (old) continue;
    ::KillTimer(nullptr, id);
    auto act = std::move(g_act);
    g_act = nullptr;
    if (act) act(h);
    return;
  }
}
}  // namespace

HINSTANCE g_hSkinRes = nullptr;

void UseSkinTheme() { BuildConfigPaths("Vesk", FALSE, nullptr); }

void ActOnNextDialog(std::function<void(HWND)> act) {
  g_before.clear();
  ::EnumThreadWindows(::GetCurrentThreadId(), CollectDialogs, (LPARAM)&g_before);
  g_act = std::move(act);
  ::SetTimer(nullptr, 0, 30, ActTimer);
}

void Pump(DWORD ms) {
  DWORD end = ::GetTickCount() + ms;
  MSG msg;
  while ((int)(end - ::GetTickCount()) > 0) {
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
    ::Sleep(5);
  }
}

std::wstring PngPath(const char* name) {
  std::string s(name);
  return std::wstring(s.begin(), s.end());
}

std::vector<std::string> VisibleButtons(HWND dlg) {
  std::vector<std::string> out;
  for (int id = 29714; id <= 29716; ++id) {
    HWND b = ::GetDlgItem(dlg, id);
    if (!b || !::IsWindowVisible(b)) continue;
    char text[64] = "";
    ::GetWindowTextA(b, text, sizeof text);
    out.push_back(text);
  }
  return out;
}

COLORREF WindowPicture::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= w || y >= h) return CLR_INVALID;
  DWORD v = px[(size_t)y * w + x];
  return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

WindowPicture Capture(HWND hwnd) {
  WindowPicture pic;
  RECT r;
  ::GetWindowRect(hwnd, &r);
  pic.w = r.right - r.left;
  pic.h = r.bottom - r.top;
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = pic.w;
  bi.bmiHeader.biHeight = -pic.h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC mem = ::CreateCompatibleDC(nullptr);
  HBITMAP bmp = ::CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = ::SelectObject(mem, bmp);
  ::PrintWindow(hwnd, mem, 0);
  ::GdiFlush();
  pic.px.assign(static_cast<DWORD*>(bits), static_cast<DWORD*>(bits) + (size_t)pic.w * pic.h);
  ::SelectObject(mem, old);
  ::DeleteObject(bmp);
  ::DeleteDC(mem);
  return pic;
}

bool SaveScreenPng(HWND hwnd, const char* name) {
  ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
  return winprobe::SaveScreenArea(hwnd, PngPath(name));
}

bool IsWhiteish(COLORREF c) { return GetRValue(c) > 200 && GetGValue(c) > 200 && GetBValue(c) > 200; }

void UseThemeText(const char* name, const std::string& text) {
  UseSkinTheme();
  const std::string pics = g_ConfigPaths.themeFolder;
  std::string body;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '$' && i + 1 < text.size() && text[i + 1] == 'P') {
      body += pics;
      ++i;
    } else if (text[i] == '\n') {
      body += "\r\n";
    } else {
      body += text[i];
    }
  }
  char exe[MAX_PATH];
  GetModuleFolder(exe, sizeof exe, nullptr);
  static std::string base;
  base = std::string(exe) + name;
  ::CreateDirectoryA(base.c_str(), nullptr);
  ::CreateDirectoryA((base + "\\Theme").c_str(), nullptr);
  HANDLE f = ::CreateFileA((base + "\\Theme\\Vesk.thm").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  if (f != INVALID_HANDLE_VALUE) {
    ::WriteFile(f, body.data(), (DWORD)body.size(), &written, nullptr);
    ::CloseHandle(f);
  }
  ConfigSettings settings;
  settings.alternativeFolder = base.c_str();
  BuildConfigPaths("Vesk", FALSE, &settings);
}
