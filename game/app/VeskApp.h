// The program's application object: start-up from a bare process to a table with the main
// window on screen, the seat table and table options of the entered table, the run log, and
// shut-down. It owns the table connection and the sites of the document and the table view,
// and hands the document its hosts as soon as the document template creates it.
#pragma once
#include <afxwin.h>

#include <memory>
#include <string>

#include "ChannelState.h"
#include "Program.h"
#include "CrashReport.h"
#include "LogFile.h"
#include "RunLogStore.h"
#include "TableConnection.h"
#include "VeskDocSite.h"
#include "VeskViewSite.h"

class CVeskDoc;

// Text buffers the constructor reads from LangRsc.ini [TrebbinQualifying].
const int QUALIFYING_TEXT_SIZE = 1024;

class CVeskApp : public CWinApp, public CProgram {
 public:
  CVeskApp();
  ~CVeskApp() override;

  BOOL InitInstance() override;
  int ExitInstance() override;
  BOOL OnIdle(LONG lCount) override;

  // Entering the table after the login: 1 on success, 0 on failure.
  int EnterChannel();
  // The start-up work that waits for the table to be on the screen.
  void StartAfterTableShown();

  // A watcher's window once the game data arrived.
  void ShowMainWindow() override;
  // The profile value "Path" of the section "Share".
  CString GetSharePath();
  // The main window as a JPEG in the screenshot folder; nothing without a main window.
  // The saved file's path, empty when nothing was saved.
  std::string SaveScreenshot(const char* folder) override;

  // The run log (nothing happens while the crash-report switch is off).
  void SetRunLogField(const char* key, const char* value) override;
  BOOL WriteRunLogStart();
  BOOL ReadRunLog(RUN_LOG& log);
  BOOL CheckPreviousRun();
  void ClearRunLog();
  void QueueRemoteLog(int level, const char* topic, const char* text, const char* reason) override;
  // The crash-report library's send; FALSE while the switch is off or the line was not taken.
  BOOL SendRemoteLog(int level, const char* topic, const char* text, const char* reason) override;

  // CProgram
  CVeskDoc* GetVeskDoc() const override { return m_pDoc; }
  void AdoptDocument(CVeskDoc* pDoc) override;
  CTableConnection& Connection() override { return m_Connection; }
  CVeskDocSite& DocSite() override { return m_DocSite; }
  CGameViewSite& ViewSite() override { return m_ViewSite; }
  CLogFile& GameLog() override { return m_GameLog; }
  const CHANNEL_STATE& Channel() const override { return m_Channel; }
  bool GameDataArrived() const override { return m_nGameDataArrived != 0; }
  WORD ChatLoginValue() const override { return m_wChatLoginValue; }
  std::string QualifyingSign() const override { return m_szQualifyingSign; }
  std::string AdvertisingTemplate() const override { return m_szVeskAdvertising; }
  std::string NetSkinFolder() const override { return m_szNetSkinFolder; }
  std::string SharePath() override { return (LPCSTR)GetSharePath(); }

  // LangRsc.ini [TrebbinQualifying].
  char m_szQualifyingSign[QUALIFYING_TEXT_SIZE];
  char m_szVeskAdvertising[QUALIFYING_TEXT_SIZE];
  CLogFile m_GameLog;

  // The entered table: seats by view position, options, watch data.
  CHANNEL_STATE m_Channel;
  WORD m_wChatLoginValue = 0;  // the login reply's value, passed on to the chat control
  int m_nGameDataArrived = 0;
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
  BOOL m_bTableShownTraced = FALSE;
  // The connection to the game server and what the document and the view ask of the
  // program (the frame holds its own site).
  CTableConnection m_Connection;
  CVeskDocSite m_DocSite;
  CVeskViewSite m_ViewSite;

 private:
  BOOL CopyChatSkin();
  void ReadCrashReportSwitch();
  BOOL StartCrashReport();
  void CreateRunLogStore();
  void ShowWatchWaitBox();
  void SetMainWindowTitle();
  void ShowAndLayoutMainWindow();
  // How a start-up that cannot go on ends (see VeskApp.cpp).
  enum StartupFailureBox { FAILURE_BOX_SHOWN, FAILURE_BOX_WINDOW, FAILURE_BOX_TABLE };
  BOOL FailStartup(const char* why, StartupFailureBox box = FAILURE_BOX_SHOWN);

  std::unique_ptr<CRunLogStore> m_pRunLog;
  CVeskDoc* m_pDoc = nullptr;
  BOOL m_bThemeLoaded = FALSE;
  BOOL m_bLoggedIn = FALSE;  // the server has seen this seat's login
  int m_nStartupFailed = 0;  // the exit code of a start-up that could not go on
};

extern CVeskApp theApp;
