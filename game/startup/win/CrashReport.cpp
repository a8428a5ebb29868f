#include "CrashReport.h"

namespace {

std::string LangRscPath() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Orvane\\Game\\Share", 0, KEY_READ, &key) != ERROR_SUCCESS) return "";
  char path[MAX_PATH + 1] = {};
  DWORD size = MAX_PATH, type = 0;
  LONG r = RegQueryValueExA(key, "Path", nullptr, &type, reinterpret_cast<BYTE*>(path), &size);
  RegCloseKey(key);
  if (r != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return "";
  path[MAX_PATH] = '\0';
  std::string folder(path, strnlen(path, MAX_PATH));
  if (folder.empty()) return "";
  return folder + "\\LangRsc.ini";
}

}  // namespace

void CCrashReport::ReadSwitch(int& switchOn, int& autoReport) {
  switchOn = 0;
  autoReport = 1;
  std::string ini = LangRscPath();
  if (ini.empty()) return;
  char text[64] = {};
  GetPrivateProfileStringA("ZOLT", "20010", "0", text, sizeof text, ini.c_str());
  ParseCrashReportSwitch(text, switchOn, autoReport);
}

std::string CCrashReport::ReadReportHost() {
  std::string ini = LangRscPath();
  char host[256] = "127.0.0.1";
  if (!ini.empty()) GetPrivateProfileStringA("ZOLT", "ReportServer", "127.0.0.1", host, sizeof host, ini.c_str());
  return host;
}

BOOL CCrashReport::Start(const char* reportHost, const char* userName, int autoReport, FILE* err) {
  Stop();
  m_hReport = ZOLT_CreateA("O_Trebbin", "2.21.6.4", "HalvornTrebbin");
  if (!m_hReport) {
    if (err) {
      std::fprintf(err, "ZOLT_Init() fail. ZOLT_GetLastError()=%d\n", ZOLT_GetLastError());
      std::fflush(err);
    }
    return FALSE;
  }
  ZOLT_SetReportServerA(m_hReport, reportHost, ZOLT_REPORT_PORT);
  ZOLT_SetUserIDA(m_hReport, userName);
  ZOLT_DeleteLocalDumpFile(m_hReport, 0);
  ZOLT_SetAutoReport(m_hReport, autoReport != 0);
  ZOLT_StartCrashHandler(m_hReport);
  return TRUE;
}

BOOL CCrashReport::SendLog(int level, const char* topic, const char* text, const char* reason) {
  if (!m_hReport) return FALSE;
  return ZOLT_SendLog_TCPA(m_hReport, level, topic, text, reason);
}

void CCrashReport::Stop() {
  if (!m_hReport) return;
  ZOLT_StopCrashHandler(m_hReport);
  ZOLT_Destroy(m_hReport);
  m_hReport = nullptr;
}

CRunLogStore::SendFn CCrashReport::Sender() {
  return [this](const REMOTE_LOG_LINE& l) {
    return SendLog(l.nLevel, l.strTopic.c_str(), l.strText.c_str(), l.strReason.c_str()) != FALSE;
  };
}
