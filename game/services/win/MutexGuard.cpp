#include "MutexGuard.h"

CMutexGuard::CMutexGuard(LPCSTR lpszName, DWORD dwWaitMs) {
  m_hMutex = ::CreateMutexA(nullptr, FALSE, lpszName);
  if (!m_hMutex) return;
  DWORD r = ::WaitForSingleObject(m_hMutex, dwWaitMs);
  m_bAcquired = (r == WAIT_OBJECT_0 || r == WAIT_ABANDONED);
}

CMutexGuard::~CMutexGuard() { Release(); }

BOOL CMutexGuard::Release() {
  if (!m_hMutex) return 0;
  // Only an owner may release; a guard that timed out just lets go of its handle.
  if (m_bAcquired) ::ReleaseMutex(m_hMutex);
  m_bAcquired = FALSE;
  BOOL r = ::CloseHandle(m_hMutex);
  m_hMutex = nullptr;
  return r;
}
