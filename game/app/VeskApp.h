// The program's application object: start-up from a bare process to a table with the main
// window on screen, the seat table and table options of the entered table, the busy counter
// around sends, the run log, and shut-down.
#pragma once
#include <afxwin.h>

#include <memory>
#include <string>

#include "ChannelState.h"
#include "CrashReport.h"
#include "LogFile.h"
#include "RunLogStore.h"
#include "VeskViewSite.h"

class CVeskDoc;

// Text buffers the constructor reads from LangRsc.ini [TrebbinQualifying].
const int QUALIFYING_TEXT_SIZE = 1024;

class CVeskApp : public CWinApp {
 public:
  CVeskApp();
  ~CVeskApp() override;

  BOOL InitInstance() override;
  int ExitInstance() override;

  // Entering the table after the login: 1 on success, 0 on failure.
  int EnterChannel();

  // Every send of a player action is bracketed by these; the table view ignores input while busy.
  void BeginSend() { ++m_nBusy; }
  int EndSend() {
    if (m_nBusy > 0) --m_nBusy;
    return m_nBusy;
  }
  BOOL IsBusy() const { return m_nBusy > 0; }

  // A watcher's window once the game data arrived.
  void ShowMainWindow();
  // The profile value "Path" of the section "Share".
  CString GetSharePath();
  // The main window as a JPEG in the screenshot folder; nothing without a main window.
  // The saved file's path, empty when nothing was saved.
  std::string SaveScreenshot(const char* folder);

  // The run log (nothing happens while the crash-report switch is off).
  void SetRunLogField(const char* key, const char* value);
  BOOL WriteRunLogStart();
  BOOL ReadRunLog(RUN_LOG& log);
  BOOL CheckPreviousRun();
  void ClearRunLog();
  void QueueRemoteLog(int level, const char* topic, const char* text, const char* reason);
  // The crash-report library's send; FALSE while the switch is off or the line was not taken.
  BOOL SendRemoteLog(int level, const char* topic, const char* text, const char* reason);

  CVeskDoc* GetVeskDoc() const { return m_pDoc; }
  void SetVeskDoc(CVeskDoc* pDoc) { m_pDoc = pDoc; }

  // LangRsc.ini [TrebbinQualifying].
  char m_szQualifyingSign[QUALIFYING_TEXT_SIZE];
  char m_szVeskAdvertising[QUALIFYING_TEXT_SIZE];
  CLogFile m_GameLog;

  // The entered table: seats by view position, options, watch data.
  CHANNEL_STATE m_Channel;
  WORD m_wChatLoginValue = 0;  // the login reply's value, passed on to the chat control
  int m_nGameDataArrived = 0;
  int m_nBusy = 0;
  int m_nCrashReportSwitch = 0;
  int m_nAutoReport = 1;
  char m_szStartTime[16];
  CCrashReport m_CrashReport;
  HWND m_hWaitBox = nullptr;  // the watcher's wait box, until the game data arrives
  UINT m_nLobbyFindGameMsg = 0;
  ULONG_PTR m_nGdiplusToken = 0;
  char m_szChatSkinIni[MAX_PATH];
  char m_szChatSkinBak[MAX_PATH];
  char m_szNetSkinFolder[MAX_PATH];
  BOOL m_bStartupComplete = FALSE;
  CVeskViewSite m_ViewSite;

 private:
  BOOL CopyChatSkin();
  void ReadCrashReportSwitch();
  BOOL StartCrashReport();
  void CreateRunLogStore();
  void ShowWatchWaitBox();
  void SetMainWindowTitle();
  void ShowAndLayoutMainWindow();
  BOOL FailStartup(const char* why, BOOL bLoggedIn);

  std::unique_ptr<CRunLogStore> m_pRunLog;
  CVeskDoc* m_pDoc = nullptr;
  BOOL m_bThemeLoaded = FALSE;
  int m_nStartupFailure = 0;  // the exit code of a start-up that could not go on
};

extern CVeskApp theApp;
