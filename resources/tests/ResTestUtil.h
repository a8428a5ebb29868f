// Helpers shared by the resource-library tests.
#pragma once
#include <windows.h>

#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace restest {

inline std::string Utf8ToAnsi(const std::string& utf8) {
  int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), (int)utf8.size(), nullptr, 0);
  std::wstring w(n, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), (int)utf8.size(), &w[0], n);
  int m = WideCharToMultiByte(936, 0, w.data(), n, nullptr, 0, nullptr, nullptr);
  std::string out(m, '\0');
  WideCharToMultiByte(936, 0, w.data(), n, &out[0], m, nullptr, nullptr);
  return out;
}

struct StringRow {
  UINT id;
  std::string name, args, quoted, text;  // text in UTF-8 with "\n" already unescaped
};

inline std::vector<StringRow> ReadStringTable(const char* path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<StringRow> rows;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> cols;
    std::stringstream ss(line);
    std::string col;
    while (std::getline(ss, col, '\t')) cols.push_back(col);
    if (cols.size() < 5) continue;
    StringRow r;
    r.id = (UINT)std::stoul(cols[0]);
    r.name = cols[1];
    r.args = cols[2];
    r.quoted = cols[3];
    std::string t;
    for (size_t i = 0; i < cols[4].size(); ++i) {
      if (cols[4][i] == '\\' && i + 1 < cols[4].size() && cols[4][i + 1] == 'n') {
        t += '\n';
        ++i;
      } else {
        t += cols[4][i];
      }
    }
    r.text = t;
    rows.push_back(r);
  }
  return rows;
}

// The printf conversions of a format text, e.g. "%s %d" (a "%%" is not one).
inline std::string Placeholders(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned char c = (unsigned char)text[i];
    if (c >= 0x81 && c <= 0xFE && i + 1 < text.size()) {  // skip GBK pairs
      ++i;
      continue;
    }
    if (c != '%') continue;
    if (i + 1 < text.size() && text[i + 1] == '%') {
      ++i;
      continue;
    }
    size_t j = i + 1;
    while (j < text.size() && std::strchr("-+ #0123456789.l", text[j])) ++j;
    if (j < text.size()) {
      if (!out.empty()) out += ' ';
      out += '%';
      out += text[j];
    }
    i = j;
  }
  return out.empty() ? "-" : out;
}

// Copies a shown window from the screen (Wine's PrintWindow leaves the controls out).
inline HBITMAP CaptureFromScreen(HWND hwnd) {
  SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  for (int i = 0; i < 30; ++i) {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    Sleep(10);
  }
  RECT r;
  GetWindowRect(hwnd, &r);
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, r.right - r.left, r.bottom - r.top);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
  SelectObject(mem, old);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return bmp;
}

inline HMODULE LoadResLibrary() { return LoadLibraryExA(VESK_RES_DLL, nullptr, 0); }

}  // namespace restest
