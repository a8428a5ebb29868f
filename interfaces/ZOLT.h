// Crash-report and remote-log library of the platform (imported by the program).
#pragma once
#include <windows.h>

#ifdef ZOLT_BUILDING
#define ZOLT_API extern "C" __declspec(dllexport)
#else
#define ZOLT_API extern "C" __declspec(dllimport)
#endif

typedef void* ZOLT_HANDLE;

// 0 on failure; ZOLT_GetLastError then tells why. Setting the environment variable
// ZOLT_FAIL_CREATE to a number makes creation fail with that error (for tests).
ZOLT_API ZOLT_HANDLE WINAPI ZOLT_CreateA(const char* projectId, const char* version, const char* productName);
ZOLT_API int WINAPI ZOLT_GetLastError();
ZOLT_API BOOL WINAPI ZOLT_SetReportServerA(ZOLT_HANDLE h, const char* host, int port);
ZOLT_API BOOL WINAPI ZOLT_SetUserIDA(ZOLT_HANDLE h, const char* userId);
ZOLT_API BOOL WINAPI ZOLT_DeleteLocalDumpFile(ZOLT_HANDLE h, int reserved);
ZOLT_API BOOL WINAPI ZOLT_SetAutoReport(ZOLT_HANDLE h, BOOL autoReport);
ZOLT_API BOOL WINAPI ZOLT_StartCrashHandler(ZOLT_HANDLE h);
ZOLT_API BOOL WINAPI ZOLT_StopCrashHandler(ZOLT_HANDLE h);
// Logs one line locally and, when a report server is set, sends it there over TCP.
// Non-zero when the line was taken: sent to the server, or logged when none is set.
ZOLT_API BOOL WINAPI ZOLT_SendLog_TCPA(ZOLT_HANDLE h, int level, const char* eventName, const char* text,
                                       const char* reason);
ZOLT_API void WINAPI ZOLT_Destroy(ZOLT_HANDLE h);

const int ZOLT_ERR_BAD_ARGUMENT = 1;
const int ZOLT_ERR_NO_MEMORY = 2;
