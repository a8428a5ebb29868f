// The game log CQKVesklog.txt: lines appended under the log's own lock.
#pragma once
#include <windows.h>

#include <cstdio>

class CLogFile {
 public:
  CLogFile();
  ~CLogFile();
  CLogFile(const CLogFile&) = delete;
  CLogFile& operator=(const CLogFile&) = delete;

  // Opens (appends to) the file; FALSE when it cannot be opened.
  BOOL Open(const char* path);
  void Close();
  // "%s %s %08x:%d %s\n": date, time, process id, running count of calls, text.
  void Write(const char* text);
  void WriteF(const char* format, ...);

 private:
  CRITICAL_SECTION m_cs;
  FILE* m_pFile = nullptr;
  int m_nCount = 0;
};
