// The game log: one line per Write, appended to a text file that is reopened for every line so
// other processes always see whole lines; writers on any thread and in any process are serialised.
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
  // printf-style; 1 when the line was written.
  BOOL Write(LPCSTR lpszFormat, ...);

  BOOL IsOpen() const { return m_bOpen != 0; }
  int GetLineCount() const { return m_nLine; }
  const std::string& GetPath() const { return m_strPath; }

 private:
  BOOL WriteLine(const char* msg);
  HANDLE OpenForAppend();
  volatile LONG m_bOpen = 0;
  std::string m_strPath;
  int m_nLine = 0;
  CRITICAL_SECTION m_cs;
  // Named after the file: every program writing it takes this around each append.
  HANDLE m_hWriters = nullptr;
};
