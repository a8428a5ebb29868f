// CTurnClock: the countdown shown while a player is on turn. Its own thread steps it every
// 250 ms; what the step asks for (the interval sound, the sound and the command at zero)
// is posted to the clock's window and done there, on the UI thread. The thread is stopped
// through an event and joined before the window goes away.
#pragma once
#include <afxwin.h>

#include <atomic>
#include <functional>

#include "TurnClockCore.h"

// When the clock's thread steps: every 250 ms, or whenever a test says so. WaitTick
// returns false once `stop` is signalled.
class CClockTickSource {
 public:
  virtual ~CClockTickSource() = default;
  virtual bool WaitTick(HANDLE hStop) = 0;
};

class CTurnClock : public CStatic {
  DECLARE_DYNAMIC(CTurnClock)
 public:
  enum { WM_CLOCK_EVENT = WM_APP + 0x57 };

  CTurnClock();
  ~CTurnClock() override;

  // Subclasses the parent's item `nID` (or makes the window when the parent has none),
  // loads the digit strip `nBitmapId` of `nCells` cells from the resource module and
  // starts the thread. The clock stays hidden until started.
  BOOL Create(CWnd* pParent, UINT nID, UINT nBitmapId, const int* pPause, UINT nTickSound, UINT nZeroSound,
              int nTickInterval, BOOL bCountUp = FALSE, int nMode = 5, UINT nDrawFlags = 0, int nCells = 11);
  void Start(int nSeconds);
  void Stop();
  void Resume();

  // How a sound id is played (the program's sound player); none: quiet.
  void SetSoundPlayer(std::function<void(UINT)> player) { m_player = std::move(player); }
  // Replaces the tick source (null: the 250 ms default); the thread restarts with it.
  void SetTickSource(CClockTickSource* pSource);

  bool IsRunning() const { return m_core.Running(); }
  int GetRemainingMs() const { return m_core.RemainingMs(); }
  // Steps the thread has taken (tests wait on it).
  long GetStepCount() const { return m_nSteps.load(); }
  bool IsThreadRunning() const { return m_hThread != nullptr; }
  CSize GetCellSize() const { return m_sizeCell; }
  // The picture of the digits into any DC at (x, y).
  void DrawDigits(HDC dc, int x, int y);

 protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnDestroy();
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg LRESULT OnClockEvent(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  static DWORD WINAPI ThreadProc(LPVOID pParam);
  void RunThread();
  void StartThread();
  void StopThread();
  void Step();
  void PlaySound(UINT nId);

  widgets::TurnClockCore m_core;
  HBITMAP m_hStrip;
  CSize m_sizeCell;
  int m_nCells;
  int m_nMode;
  BOOL m_bCountUp;
  UINT m_nID;
  UINT m_nTickSound, m_nZeroSound;
  const int* m_pPause;
  HANDLE m_hThread;
  HANDLE m_hStop;
  bool m_bTimerFallback;
  std::atomic<long> m_nSteps;
  std::atomic<HWND> m_hTarget;  // where the thread posts; cleared before the window goes
  CClockTickSource* m_pSource;
  std::function<void(UINT)> m_player;
};
