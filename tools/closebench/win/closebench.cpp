// closebench MAIN_HWND VIEW_HWND [ROUNDS]
// Measures, on the real program, how long the score board takes to appear on the screen
// after the score button's command, and how long the table takes to be repainted where the
// board stood after the second press hides it. The screen is read back every 2 ms; a region
// counts as shown when nearly all of its sampled pixels match the picture awaited (the turn
// clock may tick inside it). Prints one line per round and the medians, in milliseconds:
//   round N open MS close MS (window hidden after MS)      median open MS close MS
// A benchmark, not a test: it reports times and fails only when the board never shows.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

const UINT kScoreCommand = 1033;  // the table's score button
const DWORD kLimitMs = 10000;

using Picture = std::vector<COLORREF>;

// The screen under rect r, sampled on a grid of 8 pixels.
Picture Grab(const RECT& r) {
  Picture p;
  HDC screen = ::GetDC(nullptr);
  HDC mem = ::CreateCompatibleDC(screen);
  const int w = r.right - r.left, h = r.bottom - r.top;
  HBITMAP bmp = ::CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = ::SelectObject(mem, bmp);
  ::BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  for (int y = 4; y < h; y += 8)
    for (int x = 4; x < w; x += 8) p.push_back(::GetPixel(mem, x, y));
  ::SelectObject(mem, old);
  ::DeleteObject(bmp);
  ::DeleteDC(mem);
  ::ReleaseDC(nullptr, screen);
  return p;
}

double Match(const Picture& a, const Picture& b) {
  if (a.empty() || a.size() != b.size()) return 0;
  size_t same = 0;
  for (size_t i = 0; i < a.size(); ++i) same += a[i] == b[i];
  return double(same) / double(a.size());
}

struct Find {
  DWORD pid;
  HWND main;
  HWND found;
};

// A visible dialog of the program other than its main window: the score board.
BOOL CALLBACK FindBoard(HWND h, LPARAM l) {
  Find* f = reinterpret_cast<Find*>(l);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(h, &pid);
  char cls[16] = "";
  ::GetClassNameA(h, cls, sizeof cls);
  if (pid == f->pid && h != f->main && ::IsWindowVisible(h) && lstrcmpA(cls, "#32770") == 0) {
    f->found = h;
    return FALSE;
  }
  return TRUE;
}

HWND Board(HWND main) {
  Find f{0, main, nullptr};
  ::GetWindowThreadProcessId(main, &f.pid);
  ::EnumWindows(FindBoard, reinterpret_cast<LPARAM>(&f));
  return f.found;
}

double Ms(const LARGE_INTEGER& a, const LARGE_INTEGER& b, const LARGE_INTEGER& freq) {
  return double(b.QuadPart - a.QuadPart) * 1000.0 / double(freq.QuadPart);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: closebench MAIN_HWND VIEW_HWND [ROUNDS]\n");
    return 2;
  }
  HWND main = reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoull(argv[1], nullptr, 0)));
  HWND view = reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoull(argv[2], nullptr, 0)));
  const int rounds = argc > 3 ? std::atoi(argv[3]) : 5;
  LARGE_INTEGER freq;
  ::QueryPerformanceFrequency(&freq);
  std::vector<double> opens, closes;
  if (Board(main)) {  // start from the table alone
    ::PostMessageA(view, WM_COMMAND, kScoreCommand, 0);
    ::Sleep(500);
  }
  for (int round = 1; round <= rounds; ++round) {
    LARGE_INTEGER t0, t1, t2, t3;
    ::QueryPerformanceCounter(&t0);
    ::PostMessageA(view, WM_COMMAND, kScoreCommand, 0);
    HWND board = nullptr;
    RECT br = {};
    Picture shown;
    for (;;) {
      ::QueryPerformanceCounter(&t1);
      if (Ms(t0, t1, freq) > kLimitMs) {
        std::fprintf(stderr, "closebench: the score board did not show\n");
        return 1;
      }
      if (!board && (board = Board(main)) != nullptr) ::GetWindowRect(board, &br);
      if (board) {
        shown = Grab(br);
        // Shown: the board's pixels are painted (not one colour) and stand still.
        ::Sleep(2);
        Picture again = Grab(br);
        if (Match(shown, again) > 0.98 && !shown.empty()) {
          bool painted = false;
          for (COLORREF c : shown) painted = painted || c != shown[0];
          if (painted) break;
        }
      }
      ::Sleep(2);
    }
    ::QueryPerformanceCounter(&t1);
    ::Sleep(300);  // let the board settle before it is hidden
    const Picture board0 = Grab(br);
    ::QueryPerformanceCounter(&t2);
    ::PostMessageA(view, WM_COMMAND, kScoreCommand, 0);
    // Closed: the board's window is hidden and the screen there no longer shows it and
    // stands still (the table repainted).
    double hidden = -1;
    for (;;) {
      ::QueryPerformanceCounter(&t3);
      if (Ms(t2, t3, freq) > kLimitMs) break;
      if (!::IsWindowVisible(board)) {
        if (hidden < 0) hidden = Ms(t2, t3, freq);
        Picture now = Grab(br);
        if (Match(now, board0) < 0.5) {
          ::Sleep(2);
          if (Match(Grab(br), now) > 0.98) break;
        }
      }
      ::Sleep(2);
    }
    ::QueryPerformanceCounter(&t3);
    const double open = Ms(t0, t1, freq), close = Ms(t2, t3, freq);
    opens.push_back(open);
    closes.push_back(close);
    std::printf("round %d open %.0f close %.0f (window hidden after %.0f)\n", round, open, close, hidden);
    std::fflush(stdout);
    ::Sleep(500);
  }
  std::printf("median open %.0f close %.0f\n", Median(opens), Median(closes));
  return 0;
}
