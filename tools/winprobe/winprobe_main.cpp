// winprobe: command-line front of the window prober, for scripts and end-to-end tests.
//   winprobe acp                       the ANSI code page
//   winprobe list [pid]                top-level windows: hwnd pid visible class "title"
//   winprobe children HWND             descendants: hwnd id class "text"
//   winprobe wait TITLE-PART [ms]      waits for a visible top-level window, prints its hwnd
//   winprobe click HWND TEXT|ID        presses a descendant button
//   winprobe press HWND TEXT|ID        presses a visible descendant button with the mouse
//   winprobe text HWND TEXT            types text into a window
//   winprobe key HWND VK               presses one virtual key
//   winprobe mouse HWND X Y [ctrl|right]  left click at client coordinates (Ctrl held, or the right button)
//   winprobe client HWND               the client area's width and height
//   winprobe parent HWND               the parent window
//   winprobe state HWND ID             "visible enabled" (1 or 0 each) of a descendant by id
//   winprobe shot HWND FILE.png        saves the window's picture once it is painted and still
//   winprobe still HWND [ms]           waits until the window is painted and still (1 when it never settles)
//   winprobe settled-shot HWND FILE.png  the same once the picture stands still (at most 3 s)
//   winprobe close HWND                asks a window to close
//   winprobe front HWND                brings a top-level window to the front (for screenshots)
//   winprobe rows HWND                 a list's (or the list inside HWND's) column titles, then its rows;
//                                      cells tab-separated
//   winprobe rect HWND                 window rectangle on screen: left top right bottom
//   winprobe nchit HWND X Y            the window's hit-test code at screen point X Y
//   winprobe post HWND MSG WPARAM [LPARAM]  posts a message (numbers in C notation)
//   winprobe visible HWND              1 when the window is visible, else 0
//   winprobe top                       the foreground window
//   winprobe cursor                    the pointer's screen position
//   winprobe metrics                   screen width height, then the work area: left top right bottom
//   winprobe checked HWND ID           1 when the descendant check box or radio button ID is checked
//   winprobe dialog NEEDLE [ms]        waits for a dialog whose texts hold NEEDLE: hwnd, then its texts
//   winprobe dialogid ID [ms]          waits for a visible dialog holding a control with that id
//   winprobe ping HWND [ms]            0 when the window's thread answers a message in time
//   winprobe closetime BOX ID MAIN     clicks button ID of BOX and prints the milliseconds until the
//                                      box is hidden, MAIN's thread answers, and the screen no longer shows it
#include "WinProbe.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
HWND ParseHwnd(const char* s) { return reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoull(s, nullptr, 0))); }

std::wstring Widen(const char* s) {
  int n = MultiByteToWideChar(CP_ACP, 0, s, -1, nullptr, 0);
  std::wstring w(n > 0 ? n : 1, L'\0');
  MultiByteToWideChar(CP_ACP, 0, s, -1, &w[0], n);
  w.resize(wcslen(w.c_str()));
  return w;
}

int Usage() {
  std::fprintf(stderr,
               "usage: winprobe "
               "acp|list|children|wait|click|press|text|key|mouse|client|parent|state|shot|settled-shot|still|front|"
               "close|rows|ping|closetime|rect|nchit|post|visible|top|cursor|metrics|checked|dialog|dialogid ...\n");
  return 2;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  std::string cmd = argv[1];
  if (cmd == "acp") {
    std::printf("%u\n", GetACP());
    return 0;
  }
  if (cmd == "list") {
    DWORD pid = argc > 2 ? std::strtoul(argv[2], nullptr, 0) : 0;
    for (const auto& w : winprobe::TopLevelWindows(pid, false))
      std::printf("0x%llx %lu %d %s \"%s\"\n", (unsigned long long)(uintptr_t)w.hwnd, w.pid, w.visible ? 1 : 0,
                  w.className.c_str(), w.text.c_str());
    return 0;
  }
  if (cmd == "children" && argc > 2) {
    for (const auto& w : winprobe::ChildWindows(ParseHwnd(argv[2])))
      std::printf("0x%llx %d %d %s \"%s\"\n", (unsigned long long)(uintptr_t)w.hwnd, w.id, w.visible ? 1 : 0,
                  w.className.c_str(), w.text.c_str());
    return 0;
  }
  if (cmd == "wait" && argc > 2) {
    DWORD ms = argc > 3 ? std::strtoul(argv[3], nullptr, 0) : 10000;
    HWND h = winprobe::WaitForWindow(argv[2], 0, ms);
    if (!h) return 1;
    std::printf("0x%llx\n", (unsigned long long)(uintptr_t)h);
    return 0;
  }
  if (cmd == "click" && argc > 3) return winprobe::ClickButton(ParseHwnd(argv[2]), argv[3]) ? 0 : 1;
  if (cmd == "press" && argc > 3) return winprobe::PressButton(ParseHwnd(argv[2]), argv[3]) ? 0 : 1;
  if (cmd == "text" && argc > 3) {
    winprobe::SendText(ParseHwnd(argv[2]), argv[3]);
    return 0;
  }
  if (cmd == "key" && argc > 3) {
    winprobe::SendKey(ParseHwnd(argv[2]), std::strtoul(argv[3], nullptr, 0));
    return 0;
  }
  if (cmd == "mouse" && argc > 4) {
    const std::string how = argc > 5 ? argv[5] : "";
    if (how == "ctrl")
      winprobe::ClickAtWithKeys(ParseHwnd(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]), MK_CONTROL);
    else
      winprobe::ClickAt(ParseHwnd(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]), how == "right");
    return 0;
  }
  if (cmd == "client" && argc > 2) {
    RECT r;
    if (!GetClientRect(ParseHwnd(argv[2]), &r)) return 1;
    std::printf("%ld %ld\n", r.right, r.bottom);
    return 0;
  }
  if (cmd == "state" && argc > 3) {
    const int id = std::atoi(argv[3]);
    for (const auto& w : winprobe::ChildWindows(ParseHwnd(argv[2]))) {
      if (w.id != id) continue;
      std::printf("%d %d\n", IsWindowVisible(w.hwnd) ? 1 : 0, IsWindowEnabled(w.hwnd) ? 1 : 0);
      return 0;
    }
    return 1;
  }
  if (cmd == "parent" && argc > 2) {
    HWND p = GetParent(ParseHwnd(argv[2]));
    if (!p) return 1;
    std::printf("0x%llx\n", (unsigned long long)(uintptr_t)p);
    return 0;
  }
  if (cmd == "shot" && argc > 3) {
    HWND h = ParseHwnd(argv[2]);
    if (IsWindowVisible(h)) winprobe::WaitPaintedAndStill(h, 5000);
    return winprobe::SaveWindowPng(h, Widen(argv[3])) ? 0 : 1;
  }
  if (cmd == "still" && argc > 2) {
    DWORD ms = argc > 3 ? std::strtoul(argv[3], nullptr, 0) : 5000;
    return winprobe::WaitPaintedAndStill(ParseHwnd(argv[2]), ms) ? 0 : 1;
  }
  if (cmd == "rows" && argc > 2) {
    std::vector<std::vector<std::string>> lines{winprobe::ReadListHeader(ParseHwnd(argv[2]))};
    for (auto& row : winprobe::ReadListRows(ParseHwnd(argv[2]))) lines.push_back(row);
    for (const auto& row : lines) {
      std::string line;
      for (size_t i = 0; i < row.size(); ++i) line += (i ? "\t" : "") + row[i];
      std::printf("%s\n", line.c_str());
    }
    return 0;
  }
  if (cmd == "settled-shot" && argc > 3)
    return winprobe::SaveSettledWindowPng(ParseHwnd(argv[2]), Widen(argv[3]), 3000) ? 0 : 1;
  if (cmd == "front" && argc > 2) {
    HWND h = ParseHwnd(argv[2]);
    SetWindowPos(h, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    SetForegroundWindow(h);
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    return IsWindow(h) ? 0 : 1;
  }
  if (cmd == "close" && argc > 2) return PostMessageA(ParseHwnd(argv[2]), WM_CLOSE, 0, 0) ? 0 : 1;
  if (cmd == "ping" && argc > 2) {
    DWORD_PTR result = 0;
    UINT ms = argc > 3 ? std::strtoul(argv[3], nullptr, 0) : 2000;
    return SendMessageTimeoutA(ParseHwnd(argv[2]), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, ms, &result) ? 0 : 1;
  }
  if (cmd == "closetime" && argc > 4) {
    winprobe::CloseTiming t;
    const bool done = winprobe::MeasureClose(ParseHwnd(argv[2]), std::atoi(argv[3]), ParseHwnd(argv[4]), &t);
    // What was reached is printed either way (-1: not within the time-out).
    std::printf("hidden %.1f answered %.1f screen %.1f\n", t.hidden, t.answered, t.screen);
    return done ? 0 : 1;
  }
  if (cmd == "rect" && argc > 2) {
    RECT r;
    if (!GetWindowRect(ParseHwnd(argv[2]), &r)) return 1;
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
    return 0;
  }
  if (cmd == "nchit" && argc > 4) {
    DWORD_PTR hit = 0;
    LPARAM pt = MAKELPARAM(std::atoi(argv[3]), std::atoi(argv[4]));
    if (!SendMessageTimeoutA(ParseHwnd(argv[2]), WM_NCHITTEST, 0, pt, SMTO_ABORTIFHUNG, 2000, &hit)) return 1;
    std::printf("%ld\n", (long)(LRESULT)hit);
    return 0;
  }
  if (cmd == "post" && argc > 4) {
    UINT msg = std::strtoul(argv[3], nullptr, 0);
    WPARAM wp = std::strtoull(argv[4], nullptr, 0);
    LPARAM lp = argc > 5 ? (LPARAM)std::strtoll(argv[5], nullptr, 0) : 0;
    return PostMessageA(ParseHwnd(argv[2]), msg, wp, lp) ? 0 : 1;
  }
  if (cmd == "visible" && argc > 2) {
    std::printf("%d\n", IsWindowVisible(ParseHwnd(argv[2])) ? 1 : 0);
    return 0;
  }
  if (cmd == "dialog" && argc > 2) {
    std::string texts;
    HWND h = winprobe::WaitForDialogText(argv[2], argc > 3 ? std::strtoul(argv[3], nullptr, 0) : 10000, texts);
    if (!h) return 1;
    std::printf("0x%llx\n%s\n", (unsigned long long)(uintptr_t)h, texts.c_str());
    return 0;
  }
  if (cmd == "dialogid" && argc > 2) {
    HWND h =
        winprobe::WaitForDialogWithControl(std::atoi(argv[2]), argc > 3 ? std::strtoul(argv[3], nullptr, 0) : 10000);
    if (!h) return 1;
    std::printf("0x%llx\n", (unsigned long long)(uintptr_t)h);
    return 0;
  }
  if (cmd == "metrics") {
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    std::printf("%d %d %ld %ld %ld %ld\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), work.left,
                work.top, work.right, work.bottom);
    return 0;
  }
  if (cmd == "checked" && argc > 3) {
    HWND b = winprobe::FindButton(ParseHwnd(argv[2]), argv[3]);
    if (!b) return 1;
    DWORD_PTR state = 0;
    SendMessageTimeoutA(b, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &state);
    std::printf("%d\n", state == BST_CHECKED ? 1 : 0);
    return 0;
  }
  if (cmd == "cursor") {
    POINT p = {};
    GetCursorPos(&p);
    std::printf("%ld %ld\n", p.x, p.y);
    return 0;
  }
  if (cmd == "top") {
    std::printf("0x%llx\n", (unsigned long long)(uintptr_t)GetForegroundWindow());
    return 0;
  }
  return Usage();
}
