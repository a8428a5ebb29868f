// The table's widgets as windows: the turn clock stepped through its own thread by an
// injected tick source, the floating text drawn into a memory picture, and the blinking
// marker's frames.
#include <afxwin.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BlinkButton.h"
#include "FloatingText.h"
#include "StepTickSource.h"
#include "TurnClock.h"
#include "WinProbe.h"
#include "resource.h"

namespace {

// A parent that records the commands its children send.
class CRecordingParent : public CWnd {
 public:
  std::vector<std::pair<UINT, HWND>> commands;
  std::vector<UINT> soundsAtCommand;
  std::vector<UINT>* sounds = nullptr;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    commands.emplace_back(LOWORD(wParam), (HWND)lParam);
    if (sounds) soundsAtCommand = *sounds;
    return TRUE;
  }
};

class WidgetsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    AfxWinInit(::GetModuleHandleA(nullptr), nullptr, (LPSTR) "", SW_HIDE);
    HINSTANCE hRes = ::LoadLibraryA("Vesk_Res_936.dll");
    ASSERT_NE(hRes, nullptr);
    AfxSetResourceHandle(hRes);
  }
  void SetUp() override {
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "widgets", WS_OVERLAPPED | WS_CAPTION, CRect(0, 0, 600, 500),
                                nullptr, 0));
    parent.ShowWindow(SW_SHOWNOACTIVATE);
  }
  void TearDown() override {
    parent.DestroyWindow();
    CStepTickSource::Pump();
  }

  // A clock stepped by hand, its sounds recorded.
  void MakeClock(CTurnClock& clock, CStepTickSource& ticks, int interval, const int* pause = nullptr) {
    ASSERT_TRUE(clock.Create(&parent, IDC_TURNCLOCK, IDB_CLOCKDIGITS, pause, IDW_TICK, IDW_TIMEUP, interval));
    clock.SetSoundPlayer([this](UINT id) { sounds.push_back(id); });
    clock.SetTickSource(&ticks);
    parent.sounds = &sounds;
  }

  CRecordingParent parent;
  std::vector<UINT> sounds;
};

}  // namespace

TEST_F(WidgetsTest, ClockCountsOnItsThreadWithIntervalSoundsAndTheCommandAtZero) {
  CTurnClock clock;
  CStepTickSource ticks;
  MakeClock(clock, ticks, 5);
  EXPECT_TRUE(clock.IsThreadRunning());
  EXPECT_FALSE(clock.IsWindowVisible()) << "hidden until started";
  EXPECT_EQ(clock.GetCellSize().cy > 0, true);
  clock.Start(15);
  EXPECT_TRUE(clock.IsWindowVisible());
  ASSERT_TRUE(ticks.Step(clock, 19));
  EXPECT_TRUE(sounds.empty()) << "nothing before 5 s have passed";
  ASSERT_TRUE(ticks.Step(clock, 1));
  EXPECT_EQ(sounds, (std::vector<UINT>{IDW_TICK})) << "10 s left";
  ASSERT_TRUE(ticks.Step(clock, 20));
  EXPECT_EQ(sounds, (std::vector<UINT>{IDW_TICK, IDW_TICK})) << "5 s left";
  EXPECT_TRUE(parent.commands.empty());
  ASSERT_TRUE(ticks.Step(clock, 20));
  EXPECT_EQ(sounds, (std::vector<UINT>{IDW_TICK, IDW_TICK, IDW_TIMEUP}));
  ASSERT_EQ(parent.commands.size(), 1u);
  EXPECT_EQ(parent.commands[0].first, (UINT)IDC_TURNCLOCK);
  EXPECT_EQ(parent.commands[0].second, clock.GetSafeHwnd());
  EXPECT_EQ(parent.soundsAtCommand.back(), (UINT)IDW_TIMEUP) << "the sound comes before the command";
  ASSERT_TRUE(ticks.Step(clock, 8));
  EXPECT_EQ(parent.commands.size(), 1u) << "expired: no second command";
}

TEST_F(WidgetsTest, ClockAtZeroPausedOrStoppedSendsNothing) {
  int pause = 0;
  CTurnClock clock;
  CStepTickSource ticks;
  MakeClock(clock, ticks, 0, &pause);
  clock.Start(0);
  ASSERT_TRUE(ticks.Step(clock, 12));
  EXPECT_TRUE(parent.commands.empty()) << "Start(0) never sends the command";

  clock.Start(1);
  ASSERT_TRUE(ticks.Step(clock, 2));
  EXPECT_EQ(clock.GetRemainingMs(), 500);
  pause = 1;
  ASSERT_TRUE(ticks.Step(clock, 10));
  EXPECT_EQ(clock.GetRemainingMs(), 500) << "the pause flag freezes the clock";
  pause = 0;
  ASSERT_TRUE(ticks.Step(clock, 1));
  EXPECT_EQ(clock.GetRemainingMs(), 250);
  clock.Stop();
  EXPECT_FALSE(clock.IsWindowVisible());
  ASSERT_TRUE(ticks.Step(clock, 4));
  EXPECT_EQ(clock.GetRemainingMs(), 250);
  EXPECT_TRUE(parent.commands.empty());
  clock.Resume();
  ASSERT_TRUE(ticks.Step(clock, 1));
  EXPECT_EQ(parent.commands.size(), 1u);
  EXPECT_TRUE(sounds == (std::vector<UINT>{IDW_TIMEUP})) << "no interval: only the sound at zero";
}

TEST_F(WidgetsTest, ClockDestroyedWhileRunningJoinsItsThread) {
  for (int round = 0; round < 3; ++round) {
    CTurnClock clock;
    ASSERT_TRUE(clock.Create(&parent, IDC_TURNCLOCK + round, IDB_CLOCKDIGITS, nullptr, IDW_TICK, IDW_TIMEUP, 1));
    clock.Start(2);  // the real 250 ms thread, counting
    EXPECT_TRUE(clock.IsThreadRunning());
    clock.DestroyWindow();
    EXPECT_FALSE(clock.IsThreadRunning()) << "stopped and joined with the window";
  }
  CStepTickSource::Pump();
  EXPECT_TRUE(parent.commands.empty());
}

TEST_F(WidgetsTest, ClockDigitsComeFromTheStrip) {
  CTurnClock clock;
  CStepTickSource ticks;
  MakeClock(clock, ticks, 0);
  const CSize cell = clock.GetCellSize();
  CRect r;
  clock.GetWindowRect(&r);
  EXPECT_EQ(r.Width(), 5 * cell.cx) << "mode 5: m:ss with tens of minutes";
  EXPECT_EQ(r.Height(), cell.cy);
  // Two different times give two different pictures.
  auto picture = [&](int seconds) {
    clock.Start(seconds);
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bmp = ::CreateCompatibleBitmap(screen, r.Width(), r.Height());
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(dc, bmp);
    clock.DrawDigits(dc, 0, 0);
    std::vector<COLORREF> px;
    for (int x = 0; x < r.Width(); ++x)
      for (int y = 0; y < r.Height(); ++y) px.push_back(::GetPixel(dc, x, y));
    ::SelectObject(dc, old);
    ::DeleteObject(bmp);
    ::DeleteDC(dc);
    return px;
  };
  EXPECT_NE(picture(754), picture(11));
  EXPECT_EQ(picture(754), picture(754));
}

TEST_F(WidgetsTest, FloatingTextRisesFadesAndFreesItsObjects) {
  CFloatingText overlay;
  ASSERT_TRUE(overlay.Create(&parent, IDC_FLOATINGTEXT));
  overlay.SetParams(65, 30, 300);
  ASSERT_TRUE(overlay.AddText("\xB2\xBB\xB3\xF6"));  // 不出
  ASSERT_TRUE(overlay.IsAnimating());
  const widgets::FloatItem& it = overlay.Queue().Item(0);
  CRect rc;
  parent.GetClientRect(&rc);
  EXPECT_EQ(it.start.top, rc.Height() * 65 / 100);
  EXPECT_EQ((it.start.left + it.start.right) / 2, 300);
  EXPECT_GT(it.start.Width(), 20);
  const int heldAfterStart = overlay.Item(0).HeldObjects();
  EXPECT_GT(heldAfterStart, 0);

  // Drawn over a grey picture, the box darkens the place it stands.
  HDC screen = ::GetDC(nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  HBITMAP bmp = ::CreateCompatibleBitmap(screen, rc.Width(), rc.Height());
  ::ReleaseDC(nullptr, screen);
  HGDIOBJ old = ::SelectObject(dc, bmp);
  RECT all{0, 0, rc.Width(), rc.Height()};
  ::FillRect(dc, &all, (HBRUSH)::GetStockObject(WHITE_BRUSH));
  CDC cdc;
  cdc.Attach(dc);
  overlay.Draw(&cdc);
  const COLORREF c = ::GetPixel(dc, it.current.left + 8, it.current.bottom - 2);  // past the round corner
  EXPECT_LT(GetRValue(c), 200) << "half of the black box over white";
  EXPECT_GT(GetRValue(c), 60);
  std::wstring png = L"floating_text.png";
  ::SelectObject(dc, old);
  winprobe::SaveBitmapPng(bmp, png);
  old = ::SelectObject(dc, bmp);
  cdc.Detach();
  ::SelectObject(dc, old);
  ::DeleteObject(bmp);
  ::DeleteDC(dc);

  // It rises with every tick and ends after its 71 frames.
  const int top0 = it.current.top;
  for (int i = 0; i < 10; ++i) overlay.Tick();
  EXPECT_LT(it.current.top, top0);
  for (int i = 0; i < 80 && overlay.IsAnimating(); ++i) overlay.Tick();
  EXPECT_FALSE(overlay.IsAnimating());

  // Ten more texts over the same item: it never holds more than one text's objects.
  for (int i = 0; i < 10; ++i) {
    ASSERT_TRUE(overlay.AddText("again"));
    for (int k = 0; k < 80 && overlay.IsAnimating(); ++k) overlay.Tick();
  }
  for (int i = 0; i < widgets::FLOAT_SLOTS; ++i) EXPECT_LE(overlay.Item(i).HeldObjects(), heldAfterStart);
}

TEST_F(WidgetsTest, BlinkingMarkerCyclesItsFrames) {
  CBlinkButton marker;
  ASSERT_TRUE(marker.Create(&parent, IDC_TURNMARK, IDB_TURNMARK, 32, 32, RGB(0, 255, 0), 250));
  const int n = marker.GetFrameCount();
  ASSERT_GE(n, 2);
  CRect r;
  marker.GetWindowRect(&r);
  EXPECT_EQ(r.Width(), 32);
  marker.ShowWindow(SW_SHOWNA);
  for (int i = 1; i <= n; ++i) {
    marker.Advance();
    EXPECT_EQ(marker.GetFrame(), i % n);
  }
  marker.ShowWindow(SW_HIDE);
  marker.Advance();
  EXPECT_EQ(marker.GetFrame(), 0) << "a hidden marker stands still";

  // Drawn by the parent: the key colour stays transparent.
  marker.SetParentDrawn(TRUE);
  HDC screen = ::GetDC(nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  HBITMAP bmp = ::CreateCompatibleBitmap(screen, 32, 32);
  ::ReleaseDC(nullptr, screen);
  HGDIOBJ old = ::SelectObject(dc, bmp);
  RECT all{0, 0, 32, 32};
  HBRUSH blue = ::CreateSolidBrush(RGB(0, 0, 200));
  ::FillRect(dc, &all, blue);
  ::DeleteObject(blue);
  CDC cdc;
  cdc.Attach(dc);
  marker.DrawFrame(&cdc, 0, 0);
  int keyed = 0, blueLeft = 0;
  for (int x = 0; x < 32; ++x)
    for (int y = 0; y < 32; ++y) {
      const COLORREF c = ::GetPixel(dc, x, y);
      keyed += c == RGB(0, 255, 0);
      blueLeft += c == RGB(0, 0, 200);
    }
  EXPECT_EQ(keyed, 0) << "no green key pixels";
  EXPECT_GT(blueLeft, 0) << "the background shows through";
  EXPECT_LT(blueLeft, 32 * 32) << "the frame is drawn";
  cdc.Detach();
  ::SelectObject(dc, old);
  ::DeleteObject(bmp);
  ::DeleteDC(dc);
}
