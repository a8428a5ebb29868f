// The five exports of Brellin.dll as the host resolves them by name
// (GetProcAddress). Strings are 8-bit; nothing allocated by the library is
// handed to the host.
#pragma once

#include <windows.h>

extern "C" {
// Initialize(module instance, program name) -> 1 when the runtime runs, 0 when it could not start.
typedef int(__cdecl* BrellinInitializeFn)(HINSTANCE instance, const char* programName);
// CreateBrowser(parent, left, top, right, bottom, address): one child browser, created asynchronously.
typedef void(__cdecl* BrellinCreateBrowserFn)(HWND parent, int left, int top, int right, int bottom, const char* url);
// LoadURL(address): the first browser loads the address.
typedef void(__cdecl* BrellinLoadURLFn)(const char* url);
// MoveBrowseWindow(left, top, right, bottom): moves the first browser's window within its parent.
typedef void(__cdecl* BrellinMoveBrowseWindowFn)(int left, int top, int right, int bottom);
// Shutdown() ends the whole process with exit code 0.
typedef int(__cdecl* BrellinShutdownFn)();
}
