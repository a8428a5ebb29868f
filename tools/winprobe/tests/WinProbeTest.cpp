// The window prober against a small window of this process: what end-to-end tests rely on.
#include "WinProbe.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <thread>

namespace {

// "确定" and "取消" in GBK.
const char kOk[] = "\xC8\xB7\xB6\xA8";
const char kCancel[] = "\xC8\xA1\xCF\xFB";

int g_clicked = 0;

LRESULT CALLBACK TestProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_COMMAND && HIWORD(w) == BN_CLICKED) g_clicked = LOWORD(w);
  if (m == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    RECT r{0, 0, 40, 40};
    HBRUSH b = CreateSolidBrush(RGB(200, 30, 40));
    FillRect(dc, &r, b);
    DeleteObject(b);
    EndPaint(h, &ps);
    return 0;
  }
  return DefWindowProcA(h, m, w, l);
}

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

class ProbeWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA wc{};
    wc.lpfnWndProc = TestProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "VeskProbeTest";
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    RegisterClassA(&wc);
    top = CreateWindowA("VeskProbeTest", "Probe test window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200,
                        nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(top, nullptr);
    CreateWindowA("STATIC", "hello", WS_CHILD | WS_VISIBLE, 50, 10, 100, 20, top, (HMENU)100, nullptr, nullptr);
    CreateWindowA("BUTTON", kOk, WS_CHILD | WS_VISIBLE, 50, 40, 80, 24, top, (HMENU)IDOK, nullptr, nullptr);
    CreateWindowA("BUTTON", kCancel, WS_CHILD | WS_VISIBLE, 140, 40, 80, 24, top, (HMENU)IDCANCEL, nullptr, nullptr);
    UpdateWindow(top);
    Pump();
    g_clicked = 0;
  }
  void TearDown() override { DestroyWindow(top); }
  HWND top = nullptr;
};

TEST(Harness, AnsiCodePageIs936) { EXPECT_EQ(GetACP(), 936u); }

TEST_F(ProbeWindow, FindsWindowByTitleAndReadsChildren) {
  EXPECT_EQ(winprobe::WaitForWindow("Probe test", GetCurrentProcessId(), 2000), top);
  auto kids = winprobe::ChildWindows(top);
  ASSERT_EQ(kids.size(), 3u);
  EXPECT_EQ(kids[0].text, "hello");
  EXPECT_EQ(kids[0].id, 100);
  EXPECT_EQ(kids[1].text, kOk);
  EXPECT_EQ(kids[2].className, "Button");
}

TEST_F(ProbeWindow, ClicksButtonsByChineseTextOrId) {
  ASSERT_TRUE(winprobe::ClickButton(top, kCancel));
  Pump();
  EXPECT_EQ(g_clicked, IDCANCEL);
  ASSERT_TRUE(winprobe::ClickButton(top, "1"));
  Pump();
  EXPECT_EQ(g_clicked, IDOK);
  EXPECT_FALSE(winprobe::ClickButton(top, "no such button"));
}

TEST_F(ProbeWindow, SavesWindowPictureAsPng) {
  const wchar_t* path = L"probe_window.png";
  DeleteFileW(path);
  ASSERT_TRUE(winprobe::SaveWindowPng(top, path));
  std::ifstream in("probe_window.png", std::ios::binary);
  char sig[8] = {};
  in.read(sig, 8);
  EXPECT_EQ(std::string(sig + 1, 3), "PNG");
}

// Messages posted to another thread's window are all handled once the wait returns, even when
// each one takes a while; a sent message would overtake them.
TEST(ProbeWait, PostedMessagesAreHandledBeforeTheWaitReturns) {
  static std::atomic<int> handled{0};
  HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HWND target = nullptr;
  std::thread owner([&] {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
      if (m == WM_APP) {
        Sleep(20);  // a slow handler
        ++handled;
        return 0;
      }
      return DefWindowProcA(h, m, w, l);
    };
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ProbeWaitTarget";
    RegisterClassA(&wc);
    target = CreateWindowA("ProbeWaitTarget", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
    SetEvent(ready);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    DestroyWindow(target);
  });
  ASSERT_EQ(WaitForSingleObject(ready, 10000), WAIT_OBJECT_0);
  for (int i = 0; i < 10; ++i) PostMessageA(target, WM_APP, 0, 0);
  EXPECT_TRUE(winprobe::WaitPostedHandled(target, 20000));
  EXPECT_EQ(handled.load(), 10);
  // Only windows of this process can be watched.
  EXPECT_FALSE(winprobe::WaitPostedHandled(GetDesktopWindow(), 100));
  PostThreadMessageA(GetWindowThreadProcessId(target, nullptr), WM_QUIT, 0, 0);
  owner.join();
  CloseHandle(ready);
}

}  // namespace
