// What the Wine tests of windows that host the web-browser control stand-in share: the
// control registered for the test process, a bounded message pump, and reading the page.
#pragma once
#include <afxdisp.h>
#include <afxwin.h>

#include <functional>
#include <vector>

// OLE and control hosting on, and VWebCtl.dll from the working folder registered for this
// process only.
bool HostWebControlInProcess();
// Runs this thread's messages until `done` holds; false when `ms` ran out first.
bool PumpUntil(const std::function<bool()>& done, DWORD ms = 15000);
// The browser's LocationURL.
CString LocationUrl(CWnd& web);
// The top rows (client coordinates) of the links the browser painted, one a line, top first.
std::vector<int> LinkRows(CWnd& web);
