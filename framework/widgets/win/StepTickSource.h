// A tick source that steps the turn clock only when told: tests drive the clock's own
// thread step by step and wait for the steps with a bound.
#pragma once
#include <windows.h>

#include "TurnClock.h"

class CStepTickSource : public CClockTickSource {
 public:
  CStepTickSource() : m_hSteps(::CreateSemaphoreA(nullptr, 0, 100000, nullptr)) {}
  ~CStepTickSource() override { ::CloseHandle(m_hSteps); }
  bool WaitTick(HANDLE hStop) override {
    HANDLE h[2] = {hStop, m_hSteps};
    return ::WaitForMultipleObjects(2, h, FALSE, INFINITE) == WAIT_OBJECT_0 + 1;
  }
  // Lets the clock's thread take n steps, waits (at most 5 s) until it took them and
  // handles what they posted to the calling thread's windows.
  bool Step(CTurnClock& clock, int n) {
    const long target = clock.GetStepCount() + n;
    ::ReleaseSemaphore(m_hSteps, n, nullptr);
    const DWORD until = ::GetTickCount() + 5000;
    while (clock.GetStepCount() < target) {
      if ((LONG)(::GetTickCount() - until) > 0) return false;
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
      Pump();
    }
    Pump();
    return true;
  }
  static void Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
  }

 private:
  HANDLE m_hSteps;
};
