// Stand-in libraries copied into a folder of the test's own, which the loader searches,
// so each case decides which libraries exist and in which variant.
#pragma once
#include <windows.h>

#include <string>

namespace bindertest {

inline std::string ExeFolder() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string p(path, n);
  return p.substr(0, p.find_last_of('\\'));
}

// build/win/bin holds the stand-ins; the broken variants sit beside the test program.
inline std::string StandinFolder() { return ExeFolder() + "\\..\\..\\bin"; }
inline std::string BrokenFolder() { return ExeFolder() + "\\broken"; }

inline void RemoveFolder(const std::string& folder) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA((folder + "\\" + fd.cFileName).c_str());
    } while (FindNextFileA(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryA(folder.c_str());
}

// A new, empty folder per run; folders that earlier runs left behind (their libraries stay
// loaded until those processes end) are swept away first.
inline std::string LibraryFolder() {
  static std::string folder = [] {
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    std::string base = std::string(tmp) + "vesk_binders_";
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((base + "*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
      do {
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveFolder(std::string(tmp) + fd.cFileName);
      } while (FindNextFileA(h, &fd));
      FindClose(h);
    }
    std::string f;
    for (unsigned n = GetTickCount();; ++n) {
      f = base + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(n);
      if (CreateDirectoryA(f.c_str(), nullptr)) break;
    }
    SetDllDirectoryA(f.c_str());
    return f;
  }();
  return folder;
}

inline bool Install(const std::string& from, const char* name) {
  return CopyFileA((from + "\\" + name).c_str(), (LibraryFolder() + "\\" + name).c_str(), FALSE) != 0;
}

inline HGLOBAL PackedDib(int w, int h, unsigned (*colour)(int x, int y)) {
  SIZE_T size = sizeof(BITMAPINFOHEADER) + static_cast<SIZE_T>(w) * h * 4;
  HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  auto* hdr = static_cast<BITMAPINFOHEADER*>(GlobalLock(g));
  hdr->biSize = sizeof *hdr;
  hdr->biWidth = w;
  hdr->biHeight = h;  // bottom-up, as GetDIBits gives it
  hdr->biPlanes = 1;
  hdr->biBitCount = 32;
  auto* bits = reinterpret_cast<unsigned*>(hdr + 1);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) bits[(h - 1 - y) * w + x] = colour(x, y);
  GlobalUnlock(g);
  return g;
}

}  // namespace bindertest
