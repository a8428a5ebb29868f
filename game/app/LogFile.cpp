#include "LogFile.h"

#include <cstdarg>
#include <cstdio>

CLogFile::CLogFile() { InitializeCriticalSection(&m_cs); }

CLogFile::~CLogFile() { DeleteCriticalSection(&m_cs); }

void CLogFile::SetPath(LPCSTR lpszPath) {
  EnterCriticalSection(&m_cs);
  m_strPath = lpszPath ? lpszPath : "";
  LeaveCriticalSection(&m_cs);
}

BOOL CLogFile::Open() {
  EnterCriticalSection(&m_cs);
  FILE* f = m_strPath.empty() ? nullptr : fopen(m_strPath.c_str(), "a");
  if (f) fclose(f);
  m_bOpen = f != nullptr;
  m_nCount = 0;
  BOOL ok = m_bOpen;
  LeaveCriticalSection(&m_cs);
  return ok;
}

BOOL CLogFile::Close() {
  EnterCriticalSection(&m_cs);
  m_bOpen = FALSE;
  LeaveCriticalSection(&m_cs);
  return TRUE;
}

BOOL CLogFile::Write(LPCSTR lpszFormat, ...) {
  char text[1024];
  va_list args;
  va_start(args, lpszFormat);
  vsnprintf(text, sizeof text, lpszFormat ? lpszFormat : "", args);
  va_end(args);
  EnterCriticalSection(&m_cs);
  BOOL written = FALSE;
  FILE* f = m_bOpen ? fopen(m_strPath.c_str(), "a") : nullptr;
  if (f) {
    SYSTEMTIME st;
    GetLocalTime(&st);
    fprintf(f, "%04u-%02u-%02u %02u:%02u:%02u %08lx:%d %s\n", st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute,
            st.wSecond, GetCurrentProcessId(), ++m_nCount, text);
    written = fclose(f) == 0;
  }
  LeaveCriticalSection(&m_cs);
  return written;
}
