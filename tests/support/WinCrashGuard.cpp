// Windows test programs: an unhandled exception prints the fault and ends the
// process with a non-zero code (under Wine a crash can otherwise exit with 0).
#include <windows.h>
#include <cstdio>

namespace {
LONG WINAPI ReportFault(EXCEPTION_POINTERS* info) {
  const EXCEPTION_RECORD* r = info ? info->ExceptionRecord : nullptr;
  std::fprintf(stderr, "crash: exception 0x%08lx at %p\n", r ? (unsigned long)r->ExceptionCode : 0ul,
               r ? r->ExceptionAddress : nullptr);
  std::fflush(stderr);
  TerminateProcess(GetCurrentProcess(), 3);
  return EXCEPTION_EXECUTE_HANDLER;
}

struct CrashGuard {
  CrashGuard() {
    SetUnhandledExceptionFilter(ReportFault);
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  }
} g_crashGuard;
}  // namespace
