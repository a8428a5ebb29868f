// The speed-test window: a worker thread of its own with a message-only window that
// answers the speed-test message (a probe record and the direct/interconnect flag) by
// running one probe. Stopping signals the worker's stop event, waits for it a while and
// ends it by force when it does not come back.
#pragma once
#include <windows.h>

#include "SpeedTest.h"

class CSpeedTestWnd {
 public:
  // What the window runs; called on the worker thread.
  class Prober {
   public:
    virtual ~Prober() = default;
    // One probe with the record's value; the result, or -1 when it failed.
    virtual long ProbeSpeed(bool viaInterconnect, uint32_t value) = 0;
    virtual void LogLine(const char* line) = 0;
  };

  CSpeedTestWnd();
  ~CSpeedTestWnd();
  CSpeedTestWnd(const CSpeedTestWnd&) = delete;
  CSpeedTestWnd& operator=(const CSpeedTestWnd&) = delete;

  // Starts the worker; returns once its window exists (FALSE when already running or it
  // could not be made).
  BOOL Start(Prober* pProber);
  // Ends the worker and its window; safe when nothing runs.
  connmgr::SpeedStopOutcome Stop();

  BOOL IsRunning() const { return m_hThread != nullptr; }
  HWND GetSafeHwnd() const { return m_hWnd; }
  DWORD GetThreadId() const { return m_dwThreadId; }
  // Set while a stop is asked: the probe's waits watch it.
  volatile int* CancelFlag() { return &m_nCancel; }
  HANDLE StopEvent() const { return m_hStop; }

 private:
  class Stopper;
  static unsigned __stdcall ThreadMain(void* pThis);
  static LRESULT CALLBACK WndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
  LRESULT OnSpeedTest(connmgr::SpeedProbeRecord* pRecord, LPARAM nPath);
  void RunLoop();

  Prober* m_pProber = nullptr;
  HANDLE m_hThread = nullptr;
  DWORD m_dwThreadId = 0;
  HANDLE m_hStop = nullptr;
  HANDLE m_hReady = nullptr;
  HWND m_hWnd = nullptr;
  volatile int m_nCancel = 0;
  bool m_bProbing = false;
};
