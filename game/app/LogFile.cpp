#include "LogFile.h"

#include <cstdarg>

CLogFile::CLogFile() { InitializeCriticalSection(&m_cs); }

CLogFile::~CLogFile() {
  Close();
  DeleteCriticalSection(&m_cs);
}

BOOL CLogFile::Open(const char* path) {
  EnterCriticalSection(&m_cs);
  if (m_pFile) fclose(m_pFile);
  m_pFile = fopen(path, "a");
  m_nCount = 0;
  BOOL ok = m_pFile != nullptr;
  LeaveCriticalSection(&m_cs);
  return ok;
}

void CLogFile::Close() {
  EnterCriticalSection(&m_cs);
  if (m_pFile) fclose(m_pFile);
  m_pFile = nullptr;
  LeaveCriticalSection(&m_cs);
}

void CLogFile::Write(const char* text) {
  EnterCriticalSection(&m_cs);
  if (m_pFile) {
    SYSTEMTIME st;
    GetLocalTime(&st);
    char date[16], time[16];
    snprintf(date, sizeof date, "%04u-%02u-%02u", st.wYear, st.wMonth, st.wDay);
    snprintf(time, sizeof time, "%02u:%02u:%02u", st.wHour, st.wMinute, st.wSecond);
    fprintf(m_pFile, "%s %s %08lx:%d %s\n", date, time, GetCurrentProcessId(), ++m_nCount, text ? text : "");
    fflush(m_pFile);
  }
  LeaveCriticalSection(&m_cs);
}

void CLogFile::WriteF(const char* format, ...) {
  char text[1024];
  va_list args;
  va_start(args, format);
  vsnprintf(text, sizeof text, format, args);
  va_end(args);
  Write(text);
}
