#include "LogFile.h"

#include <cstdarg>
#include <cstdio>
#include <ctime>

#include "ServicesCore.h"

CLogFile::CLogFile() { ::InitializeCriticalSection(&m_cs); }

CLogFile::~CLogFile() {
  if (m_bOpen) Close();
  ::DeleteCriticalSection(&m_cs);
}

void CLogFile::SetPath(LPCSTR lpszPath) {
  ::EnterCriticalSection(&m_cs);
  m_strPath = lpszPath ? lpszPath : "";
  m_nLine = 0;
  ::LeaveCriticalSection(&m_cs);
}

BOOL CLogFile::Open() {
  if (m_bOpen) return 1;
  if (m_strPath.empty()) return 0;
  m_bOpen = 1;
  Write("StartLog------------------------");
  return 1;
}

BOOL CLogFile::Close() {
  Write("EndLog--------------------------");
  m_bOpen = 0;
  return 1;
}

BOOL CLogFile::Write(LPCSTR lpszFormat, ...) {
  if (!m_bOpen || !lpszFormat) return 0;
  char msg[LOG_MESSAGE_MAX + 1];
  va_list args;
  va_start(args, lpszFormat);
  vsnprintf(msg, sizeof msg, lpszFormat, args);  // cuts a longer message
  va_end(args);
  return WriteLine(msg);
}

BOOL CLogFile::WriteLine(const char* msg) {
  ::EnterCriticalSection(&m_cs);
  ++m_nLine;
  HANDLE h = INVALID_HANDLE_VALUE;
  // Another process may hold the file for a moment: a few tries before the line is lost.
  for (int attempt = 0; attempt < 10 && h == INVALID_HANDLE_VALUE; ++attempt) {
    // Append access: every write lands at the end as one piece, also when another process
    // writes its line at the same moment (a seek to the end and a write could overwrite it).
    h = ::CreateFileA(m_strPath.c_str(), FILE_APPEND_DATA | SYNCHRONIZE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  if (h == INVALID_HANDLE_VALUE) {
    ::LeaveCriticalSection(&m_cs);
    return 0;
  }
  char date[16] = "", time[16] = "";
  _strdate(date);
  _strtime(time);
  std::string line = FormatLogLine(date, time, ::GetCurrentProcessId(), m_nLine, msg);
  DWORD written = 0;
  BOOL ok = ::WriteFile(h, line.data(), DWORD(line.size()), &written, nullptr) && written == line.size();
  ::CloseHandle(h);
  ::LeaveCriticalSection(&m_cs);
  return ok ? 1 : 0;
}
