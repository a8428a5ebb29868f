// The game log CQKVesklog.txt: lines appended under the log's own lock, one file open per line
// so that a crash loses nothing already written. (The game services' log takes its place
// once that joins the program: same members.)
#pragma once
#include <windows.h>

#include <string>

class CLogFile {
 public:
  CLogFile();
  ~CLogFile();
  CLogFile(const CLogFile&) = delete;
  CLogFile& operator=(const CLogFile&) = delete;

  void SetPath(LPCSTR lpszPath);
  BOOL Open();
  BOOL Close();
  // "%s %s %08x:%d %s\n": date, time, process id, running count of calls, the formatted text.
  BOOL Write(LPCSTR lpszFormat, ...);

  BOOL IsOpen() const { return m_bOpen; }
  const std::string& GetPath() const { return m_strPath; }

 private:
  CRITICAL_SECTION m_cs;
  std::string m_strPath;
  BOOL m_bOpen = FALSE;
  int m_nCount = 0;
};
