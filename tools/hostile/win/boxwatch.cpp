// boxwatch --process NAME --log FILE [--press-ms N] [--seconds N]
// Watches the boxes (dialogs and owned pop-up windows) of one program and logs when each
// opens and closes, with the wall clock in milliseconds:
//   <ms> box-open 0x<hwnd> <class> <title>   <ms> box-press 0x<hwnd> <button>   <ms> box-closed 0x<hwnd>
// A box open for --press-ms is answered: No, Cancel, OK or Yes (for the skinned boxes: the
// last of their buttons 29714..29716), the first it has, so a run
// is never stuck on a question and the program's own closing path is exercised.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

namespace {

long long NowMs() {
  FILETIME ft;
  ::GetSystemTimeAsFileTime(&ft);
  ULARGE_INTEGER u;
  u.LowPart = ft.dwLowDateTime;
  u.HighPart = ft.dwHighDateTime;
  return (long long)(u.QuadPart / 10000ULL) - 11644473600000LL;
}

struct Watch {
  std::string process;
  std::map<DWORD, bool> pidMatches;
  std::map<HWND, bool> seen;  // boxes visible in this pass
};

bool IsProcess(Watch& w, DWORD pid) {
  auto it = w.pidMatches.find(pid);
  if (it != w.pidMatches.end()) return it->second;
  bool match = false;
  HANDLE h = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (h) {
    char path[MAX_PATH] = "";
    DWORD n = sizeof path;
    if (::QueryFullProcessImageNameA(h, 0, path, &n)) {
      const char* base = std::strrchr(path, '\\');
      base = base ? base + 1 : path;
      match = ::lstrcmpiA(base, w.process.c_str()) == 0;
    }
    ::CloseHandle(h);
  }
  w.pidMatches[pid] = match;
  return match;
}

bool IsBox(HWND h) {
  if (!::IsWindowVisible(h)) return false;
  char cls[64] = "";
  ::GetClassNameA(h, cls, sizeof cls);
  if (std::strncmp(cls, "tooltips", 8) == 0) return false;
  LONG ex = ::GetWindowLongA(h, GWL_EXSTYLE);
  if (ex & WS_EX_TOOLWINDOW) return false;
  return std::strcmp(cls, "#32770") == 0 || ::GetWindow(h, GW_OWNER) != nullptr;
}

BOOL CALLBACK Collect(HWND h, LPARAM lp) {
  Watch& w = *reinterpret_cast<Watch*>(lp);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(h, &pid);
  if (IsProcess(w, pid) && IsBox(h)) w.seen[h] = true;
  return TRUE;
}

const char* Press(HWND box) {
  static const struct {
    int id;
    const char* name;
  } order[] = {{IDNO, "no"}, {IDCANCEL, "cancel"}, {29716, "skin-3"}, {29715, "skin-2"},
               {IDOK, "ok"}, {29714, "skin-1"},    {IDYES, "yes"}};
  for (const auto& o : order) {
    HWND b = ::GetDlgItem(box, o.id);
    if (b && ::IsWindowVisible(b) && ::IsWindowEnabled(b)) {
      // As the button's own click reports it: skinned buttons may not take BM_CLICK.
      ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(o.id, BN_CLICKED), reinterpret_cast<LPARAM>(b));
      return o.name;
    }
  }
  ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  return "command-ok";
}

}  // namespace

int main(int argc, char** argv) {
  Watch w;
  std::string logPath;
  int pressMs = 1000, seconds = 600;
  for (int i = 1; i + 1 < argc; i += 2) {
    std::string a = argv[i];
    if (a == "--process")
      w.process = argv[i + 1];
    else if (a == "--log")
      logPath = argv[i + 1];
    else if (a == "--press-ms")
      pressMs = std::atoi(argv[i + 1]);
    else if (a == "--seconds")
      seconds = std::atoi(argv[i + 1]);
  }
  if (w.process.empty() || logPath.empty()) {
    std::fprintf(stderr, "usage: boxwatch --process NAME --log FILE [--press-ms N] [--seconds N]\n");
    return 2;
  }
  FILE* log = std::fopen(logPath.c_str(), "w");
  if (!log) return 2;
  std::map<HWND, long long> open;  // box -> when it was first seen
  std::map<HWND, bool> pressed;
  long long end = NowMs() + seconds * 1000LL;
  while (NowMs() < end) {
    w.seen.clear();
    ::EnumWindows(Collect, reinterpret_cast<LPARAM>(&w));
    long long now = NowMs();
    for (auto& s : w.seen) {
      if (open.count(s.first)) continue;
      open[s.first] = now;
      char cls[64] = "", title[256] = "";
      ::GetClassNameA(s.first, cls, sizeof cls);
      ::GetWindowTextA(s.first, title, sizeof title);
      std::fprintf(log, "%lld box-open %p %s %s\n", now, (void*)s.first, cls, title);
      std::fflush(log);
    }
    for (auto it = open.begin(); it != open.end();) {
      if (!w.seen.count(it->first)) {
        std::fprintf(log, "%lld box-closed %p\n", now, (void*)it->first);
        std::fflush(log);
        pressed.erase(it->first);
        it = open.erase(it);
        continue;
      }
      if (pressMs >= 0 && now - it->second >= pressMs && !pressed[it->first]) {
        pressed[it->first] = true;
        std::fprintf(log, "%lld box-press %p %s\n", now, (void*)it->first, Press(it->first));
        std::fflush(log);
      }
      ++it;
    }
    ::Sleep(100);
  }
  std::fclose(log);
  return 0;
}
