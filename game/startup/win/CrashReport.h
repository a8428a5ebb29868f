// The crash-report library as start-up and shut-down drive it, and its remote log.
#pragma once
#include <windows.h>

#include <cstdio>
#include <string>

#include "RunLogStore.h"
#include "ZOLT.h"

const int ZOLT_REPORT_PORT = 10007;

class CCrashReport {
 public:
  CCrashReport() = default;
  ~CCrashReport() { Stop(); }
  CCrashReport(const CCrashReport&) = delete;
  CCrashReport& operator=(const CCrashReport&) = delete;

  // LangRsc.ini in the folder named by HKCU\Software\Orvane\Game\Share "Path": [ZOLT] 20010
  // "switch[,auto-report]"; the switch is 0 when the registry value is missing.
  static void ReadSwitch(int& switchOn, int& autoReport);
  // The report server: [ZOLT] ReportServer of the same file, "127.0.0.1" when absent.
  static std::string ReadReportHost();

  // Creates the library's report and starts its crash handler. When creation fails, writes
  // "ZOLT_Init() fail. ZOLT_GetLastError()=%d\n" to err and returns FALSE.
  BOOL Start(const char* reportHost, const char* userName, int autoReport, FILE* err = stderr);
  // The library's send, only while a report runs; FALSE otherwise.
  BOOL SendLog(int level, const char* topic, const char* text, const char* reason);
  // Crash handler off, report destroyed.
  void Stop();
  ZOLT_HANDLE GetHandle() const { return m_hReport; }
  // For the run-log store: sends through this report.
  CRunLogStore::SendFn Sender();

 private:
  ZOLT_HANDLE m_hReport = nullptr;
};
