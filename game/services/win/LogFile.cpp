#include "LogFile.h"

#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <ctime>

#include "ServicesCore.h"

CLogFile::CLogFile() { ::InitializeCriticalSection(&m_cs); }

CLogFile::~CLogFile() {
  if (m_bOpen) Close();
  if (m_hWriters) ::CloseHandle(m_hWriters);
  ::DeleteCriticalSection(&m_cs);
}

namespace {
// One mutex name per file, whatever the case of the path's letters.
std::string WritersMutexName(const std::string& path) {
  uint32_t h = 2166136261u;
  for (unsigned char c : path) h = (h ^ uint32_t(tolower(c))) * 16777619u;
  char name[48];
  snprintf(name, sizeof name, "VeskGameLogWriters.%08x", unsigned(h));
  return name;
}
}  // namespace

void CLogFile::SetPath(LPCSTR lpszPath) {
  ::EnterCriticalSection(&m_cs);
  m_strPath = lpszPath ? lpszPath : "";
  m_nLine = 0;
  if (m_hWriters) ::CloseHandle(m_hWriters);
  m_hWriters = m_strPath.empty() ? nullptr : ::CreateMutexA(nullptr, FALSE, WritersMutexName(m_strPath).c_str());
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

HANDLE CLogFile::OpenForAppend() {
  HANDLE h = INVALID_HANDLE_VALUE;
  // Another process may hold the file for a moment: a few tries before the line is lost.
  for (int attempt = 0; attempt < 10 && h == INVALID_HANDLE_VALUE; ++attempt) {
    h = ::CreateFileA(m_strPath.c_str(), FILE_APPEND_DATA | SYNCHRONIZE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  return h;
}

BOOL CLogFile::WriteLine(const char* msg) {
  ::EnterCriticalSection(&m_cs);
  ++m_nLine;
  char date[16] = "", time[16] = "";
  _strdate(date);
  _strtime(time);
  std::string line = FormatLogLine(date, time, ::GetCurrentProcessId(), m_nLine, msg);
  // Append access alone does not make two handles' writes atomic under every system (Wine finds
  // the end and writes in two steps): the programs at one table take turns, each append whole.
  // A writer that died holding the mutex leaves it abandoned, which still hands it over; one
  // that hangs costs a line at most a moment late, never the line.
  DWORD wait = m_hWriters ? ::WaitForSingleObject(m_hWriters, 2000) : WAIT_FAILED;
  BOOL owned = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
  HANDLE h = OpenForAppend();
  BOOL ok = FALSE;
  if (h != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    ok = ::WriteFile(h, line.data(), DWORD(line.size()), &written, nullptr) && written == line.size();
    ::CloseHandle(h);
  }
  if (owned) ::ReleaseMutex(m_hWriters);
  ::LeaveCriticalSection(&m_cs);
  return ok ? 1 : 0;
}
