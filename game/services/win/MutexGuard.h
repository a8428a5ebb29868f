// Holds a named system mutex for a scope, waiting at most two seconds for it.
#pragma once
#include <windows.h>

class CMutexGuard {
 public:
  explicit CMutexGuard(LPCSTR lpszName, DWORD dwWaitMs = 2000);
  ~CMutexGuard();
  CMutexGuard(const CMutexGuard&) = delete;
  CMutexGuard& operator=(const CMutexGuard&) = delete;

  BOOL IsAcquired() const { return m_bAcquired; }
  // Releases and closes; the close result, 0 without a handle.
  BOOL Release();

 private:
  BOOL m_bAcquired = FALSE;
  HANDLE m_hMutex = nullptr;
};
