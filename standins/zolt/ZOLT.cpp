// Stand-in for the crash-report library: a local log beside the library and, when a
// report server is set, one TCP connection per line to it.
#define ZOLT_BUILDING
#include <winsock2.h>
#include <ws2tcpip.h>

#include "ZOLT.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct ZoltReport {
  std::string project, version, product, host, user;
  int port = 0;
  BOOL autoReport = TRUE;
  bool handlerOn = false;
};

int g_lastError = 0;
ZoltReport* g_crashReport = nullptr;
LPTOP_LEVEL_EXCEPTION_FILTER g_previousFilter = nullptr;
CRITICAL_SECTION g_logLock;
INIT_ONCE g_logOnce = INIT_ONCE_STATIC_INIT;

BOOL CALLBACK InitLock(PINIT_ONCE, PVOID, PVOID*) {
  InitializeCriticalSection(&g_logLock);
  return TRUE;
}

std::string Clean(const char* s) {
  std::string out = s ? s : "";
  for (char& c : out)
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  return out;
}

std::string LogPath() {
  char path[MAX_PATH] = {};
  HMODULE self = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&LogPath), &self);
  DWORD n = GetModuleFileNameA(self, path, MAX_PATH - 1);
  std::string p(path, n);
  size_t slash = p.find_last_of('\\');
  return (slash == std::string::npos ? std::string(".") : p.substr(0, slash)) + "\\ZOLT.log";
}

std::string Line(const ZoltReport& r, int level, const char* eventName, const char* text, const char* reason) {
  return Clean(r.project.c_str()) + "\t" + Clean(r.version.c_str()) + "\t" + Clean(r.user.c_str()) + "\t" +
         std::to_string(level) + "\t" + Clean(eventName) + "\t" + Clean(text) + "\t" + Clean(reason) + "\n";
}

void WriteLocal(const std::string& line) {
  InitOnceExecuteOnce(&g_logOnce, InitLock, nullptr, nullptr);
  EnterCriticalSection(&g_logLock);
  FILE* f = std::fopen(LogPath().c_str(), "ab");
  if (f) {
    SYSTEMTIME t;
    GetLocalTime(&t);
    std::fprintf(f, "%04d-%02d-%02d %02d:%02d:%02d %lu\t%s", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond,
                 GetCurrentProcessId(), line.c_str());
    std::fclose(f);
  }
  LeaveCriticalSection(&g_logLock);
}

// One connection per line, with a bounded connect so that an unreachable server costs seconds, not minutes.
bool SendTcp(const std::string& host, int port, const std::string& line) {
  WSADATA wsa;
  if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0) return false;
  bool ok = false;
  addrinfo hints = {};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* res = nullptr;
  char portText[16];
  std::snprintf(portText, sizeof portText, "%d", port);
  if (getaddrinfo(host.c_str(), portText, &hints, &res) == 0 && res) {
    SOCKET s = socket(res->ai_family, res->ai_socktype, res->ai_protocol);
    if (s != INVALID_SOCKET) {
      u_long nb = 1;
      ioctlsocket(s, FIONBIO, &nb);
      connect(s, res->ai_addr, static_cast<int>(res->ai_addrlen));
      fd_set wr, ex;
      FD_ZERO(&wr);
      FD_ZERO(&ex);
      FD_SET(s, &wr);
      FD_SET(s, &ex);
      timeval tv = {2, 0};
      if (select(0, nullptr, &wr, &ex, &tv) == 1 && FD_ISSET(s, &wr)) {
        nb = 0;
        ioctlsocket(s, FIONBIO, &nb);
        int sent = 0;
        while (sent < static_cast<int>(line.size())) {
          int n = send(s, line.data() + sent, static_cast<int>(line.size()) - sent, 0);
          if (n <= 0) break;
          sent += n;
        }
        ok = sent == static_cast<int>(line.size());
        shutdown(s, SD_SEND);
      }
      closesocket(s);
    }
    freeaddrinfo(res);
  }
  WSACleanup();
  return ok;
}

LONG WINAPI CrashFilter(EXCEPTION_POINTERS* info) {
  if (g_crashReport && info && info->ExceptionRecord) {
    char text[96];
    std::snprintf(text, sizeof text, "exception 0x%08lx at %p", info->ExceptionRecord->ExceptionCode,
                  info->ExceptionRecord->ExceptionAddress);
    std::string line = Line(*g_crashReport, 0, "crash", text, "unhandled exception");
    WriteLocal(line);
    if (g_crashReport->autoReport && !g_crashReport->host.empty())
      SendTcp(g_crashReport->host, g_crashReport->port, line);
  }
  return g_previousFilter ? g_previousFilter(info) : EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

ZOLT_API ZOLT_HANDLE WINAPI ZOLT_CreateA(const char* projectId, const char* version, const char* productName) {
  char forced[16];
  DWORD n = GetEnvironmentVariableA("ZOLT_FAIL_CREATE", forced, sizeof forced);
  if (n > 0 && n < sizeof forced) {
    g_lastError = std::atoi(forced);
    return nullptr;
  }
  if (!projectId || !version || !productName) {
    g_lastError = ZOLT_ERR_BAD_ARGUMENT;
    return nullptr;
  }
  ZoltReport* r = new (std::nothrow) ZoltReport;
  if (!r) {
    g_lastError = ZOLT_ERR_NO_MEMORY;
    return nullptr;
  }
  r->project = projectId;
  r->version = version;
  r->product = productName;
  g_lastError = 0;
  return r;
}

ZOLT_API int WINAPI ZOLT_GetLastError() { return g_lastError; }

ZOLT_API BOOL WINAPI ZOLT_SetReportServerA(ZOLT_HANDLE h, const char* host, int port) {
  if (!h || port <= 0 || port > 65535) return FALSE;
  static_cast<ZoltReport*>(h)->host = host ? host : "";
  static_cast<ZoltReport*>(h)->port = port;
  return TRUE;
}

ZOLT_API BOOL WINAPI ZOLT_SetUserIDA(ZOLT_HANDLE h, const char* userId) {
  if (!h) return FALSE;
  static_cast<ZoltReport*>(h)->user = userId ? userId : "";
  return TRUE;
}

ZOLT_API BOOL WINAPI ZOLT_DeleteLocalDumpFile(ZOLT_HANDLE h, int) { return h ? TRUE : FALSE; }

ZOLT_API BOOL WINAPI ZOLT_SetAutoReport(ZOLT_HANDLE h, BOOL autoReport) {
  if (!h) return FALSE;
  static_cast<ZoltReport*>(h)->autoReport = autoReport;
  return TRUE;
}

ZOLT_API BOOL WINAPI ZOLT_StartCrashHandler(ZOLT_HANDLE h) {
  if (!h) return FALSE;
  ZoltReport* r = static_cast<ZoltReport*>(h);
  if (!r->handlerOn) {
    g_crashReport = r;
    g_previousFilter = SetUnhandledExceptionFilter(CrashFilter);
    r->handlerOn = true;
  }
  return TRUE;
}

ZOLT_API BOOL WINAPI ZOLT_StopCrashHandler(ZOLT_HANDLE h) {
  if (!h) return FALSE;
  ZoltReport* r = static_cast<ZoltReport*>(h);
  if (r->handlerOn && g_crashReport == r) {
    SetUnhandledExceptionFilter(g_previousFilter);
    g_crashReport = nullptr;
    g_previousFilter = nullptr;
  }
  r->handlerOn = false;
  return TRUE;
}

ZOLT_API BOOL WINAPI ZOLT_SendLog_TCPA(ZOLT_HANDLE h, int level, const char* eventName, const char* text,
                                       const char* reason) {
  if (!h) return FALSE;
  ZoltReport* r = static_cast<ZoltReport*>(h);
  std::string line = Line(*r, level, eventName, text, reason);
  WriteLocal(line);
  if (r->host.empty()) return TRUE;
  return SendTcp(r->host, r->port, line) ? TRUE : FALSE;
}

ZOLT_API void WINAPI ZOLT_Destroy(ZOLT_HANDLE h) {
  if (!h) return;
  ZOLT_StopCrashHandler(h);
  delete static_cast<ZoltReport*>(h);
}
