#include "VeskApp.h"

#include <winsock2.h>
// GDI+ keeps its own min/max; the windows macros must not reach it.
#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

#include <cstdio>
#include <cstring>
#include <ctime>

#include "AppLinks.h"
#include "ChatSite.h"
#include "ChatView.h"
#include "Complaints.h"
#include "GameView.h"
#include "LobbyLinks.h"
#include "MsgBox.h"
#include "OutsideLibrary.h"
#include "ODTheme.h"
#include "ResLoad.h"
#include "SoundManager.h"
#include "StartupTexts.h"
#include "VeskFrameSite.h"
#include "VeskDoc.h"
#include "resource.h"

CVeskApp theApp;

CProgram& Program() { return theApp; }

namespace {

const char kShareKey[] = "Software\\Orvane\\Game\\Share";
const int BOX_ERROR = MB_ICONHAND;  // 0x10
const int BOX_COUNTDOWN = 10;
const int SCREENSHOT_QUALITY = 60;
const int STARTUP_FAILED_EXIT_CODE = 1;

std::string ProgramFolder() {
  char folder[MAX_PATH] = "";
  GetModuleFolder(folder, sizeof folder, nullptr);
  std::string f = folder;
  if (!f.empty() && f.back() == '\\') f.pop_back();
  return f;
}

std::string LangRscPath() {
  std::string share = ReadRegistryString(kShareKey, "Path", "");
  return share + "\\LangRsc.ini";
}

void CopyText(char* out, size_t size, const char* text) { snprintf(out, size, "%s", text ? text : ""); }

// The packed form of a bitmap (header and 24-bit bits) the JPEG writer takes.
HGLOBAL BitmapToPackedDib(HBITMAP bmp, int width, int height) {
  BITMAPINFOHEADER bih = {};
  bih.biSize = sizeof bih;
  bih.biWidth = width;
  bih.biHeight = height;
  bih.biPlanes = 1;
  bih.biBitCount = 24;
  bih.biCompression = BI_RGB;
  DWORD stride = ((DWORD)width * 3 + 3) & ~3u;
  bih.biSizeImage = stride * (DWORD)height;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof bih + bih.biSizeImage);
  if (!block) return nullptr;
  BYTE* p = static_cast<BYTE*>(GlobalLock(block));
  memcpy(p, &bih, sizeof bih);
  HDC screen = GetDC(nullptr);
  int lines = GetDIBits(screen, bmp, 0, (UINT)height, p + sizeof bih, reinterpret_cast<BITMAPINFO*>(p), DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  GlobalUnlock(block);
  if (lines != height) {
    GlobalFree(block);
    return nullptr;
  }
  return block;
}

// Pendrel.dll is bound only when the resource library names a code page.
int BindCodePageFromResources() {
  CString text;
  text.LoadString(IDS_CODEPAGE);
  return BindCodePageLibrary(text);
}

// The program's document template: every new document gets the program's hosts at once,
// before it loads its seats.
class CVeskDocTemplate : public CSingleDocTemplate {
 public:
  using CSingleDocTemplate::CSingleDocTemplate;
  CDocument* CreateNewDocument() override {
    CDocument* pDoc = CSingleDocTemplate::CreateNewDocument();
    if (CVeskDoc* pVeskDoc = dynamic_cast<CVeskDoc*>(pDoc)) theApp.AdoptDocument(pVeskDoc);
    return pDoc;
  }
};

}  // namespace

CVeskApp::CVeskApp() {
  m_szQualifyingSign[0] = m_szVeskAdvertising[0] = '\0';
  m_szNetSkinFolder[0] = '\0';
  std::string langRsc = LangRscPath();
  GetPrivateProfileStringA("TrebbinQualifying", "QualifyingSign", "", m_szQualifyingSign, QUALIFYING_TEXT_SIZE,
                           langRsc.c_str());
  GetPrivateProfileStringA("TrebbinQualifying", "VeskAdvertising", "", m_szVeskAdvertising, QUALIFYING_TEXT_SIZE,
                           langRsc.c_str());
  std::string folder = ProgramFolder();
  m_GameLog.SetPath((folder + "\\CQKVesklog.txt").c_str());
  m_GameLog.Open();
  CopyText(m_szChatSkinIni, sizeof m_szChatSkinIni, (folder + "\\QKChatSkin.ini").c_str());
  CopyText(m_szChatSkinBak, sizeof m_szChatSkinBak, (folder + "\\QKChatSkin.bak").c_str());
  time_t now = time(nullptr);
  struct tm local = {};
  localtime_s(&local, &now);
  CopyText(
      m_szStartTime, sizeof m_szStartTime,
      FormatStartTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec)
          .c_str());
}

CVeskApp::~CVeskApp() = default;

BOOL CVeskApp::InitInstance() {
  TraceStartupStep(1, "profile");
  SetRegistryKey("Orvane\\Game");
  LoadStdProfileSettings(0);

  TraceStartupStep(2, "resource library");
  // The code-page converter is bound once the library's code-page string can be read.
  ResLoadServices services = GetResLoadServices();
  services.bindCodePageLibrary = BindCodePageFromResources;
  SetResLoadServices(services);
  if (!InitResourceLibrary("Vesk")) return FailStartup("resource library not loaded");

  TraceStartupStep(3, "net skin");
  if (!LoadNetSkin("Vesk", "Vesk_skin_1", m_szNetSkinFolder, sizeof m_szNetSkinFolder)) m_szNetSkinFolder[0] = '\0';

  TraceStartupStep(4, "chat skin");
  CopyChatSkin();

  TraceStartupStep(5, "config paths");
  BuildConfigPaths("Vesk", TRUE, nullptr);

  TraceStartupStep(6, "theme");
  CString theme = GetSharePath() + "\\odctrls\\vesk_skn.ini";
  if (!LoadOwnerDrawnTheme(theme, 1)) {
    CString why = "owner-drawn theme not loaded: " + theme;
    return FailStartup(why);
  }
  m_bThemeLoaded = TRUE;
  m_GameLog.Write("theme loaded: %s (%s)", (LPCSTR)theme, IsThemeLoaded() ? "held" : "not held");

  TraceStartupStep(7, "control container");
  AfxEnableControlContainer();
  Gdiplus::GdiplusStartupInput gdiplusInput;
  Gdiplus::GdiplusStartup(&m_nGdiplusToken, &gdiplusInput, nullptr);

  TraceStartupStep(8, "sockets");
  if (!m_Connection.InitSockets()) {
    ShowStartupBoxId(IDS_SOCKETINIT, BOX_ERROR, BOX_COUNTDOWN);
    return FailStartup("sockets not initialised");
  }
  // A socket hook the program forgot would drop what the server shows; refuse to start.
  if (const char* missing = m_Connection.MissingHook()) {
    m_GameLog.Write("socket hook not set: %s", missing);
    fprintf(stderr, "socket hook not set: %s\n", missing);
    return FailStartup("socket hook not set");
  }

  TraceStartupStep(9, "3d controls");
  Enable3dControls();

  TraceStartupStep(10, "launch record");
  if (!ReadLaunchRecord()) {
    ShowStartupBoxId(IDS_ENTERFROMLOBBY, BOX_ERROR, BOX_COUNTDOWN);
    return FailStartup("no valid launch record");
  }

  TraceStartupStep(11, "crash-report switch");
  ReadCrashReportSwitch();

  TraceStartupStep(12, "crash report");
  if (m_nCrashReportSwitch && !StartCrashReport()) return FailStartup("crash report not started");
  CreateRunLogStore();

  m_Connection.SetCloseLog(m_nCrashReportSwitch != 0);

  TraceStartupStep(13, "run log");
  CheckPreviousRun();
  WriteRunLogStart();

  TraceStartupStep(14, "enter channel");
  if (!EnterChannel()) return FALSE;  // it says why itself

  TraceStartupStep(15, "suspend socket");
  m_Connection.Suspend();

  TraceStartupStep(16, "document template");
  AddDocTemplate(new CVeskDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CVeskDoc), RUNTIME_CLASS(CVeskFrame),
                                      RUNTIME_CLASS(CGameView)));

  TraceStartupStep(17, "watch mode");
  m_nGameDataArrived = 1;
  if (m_Channel.nWatchMode) {
    SetRunLogField("Watch", "1");
    m_nCmdShow = SW_HIDE;
    m_nGameDataArrived = 0;
    VeskSoundManager().SetMusicPlayFlag(FALSE);
  }

  TraceStartupStep(18, "main window");
  RegisterShellFileTypes(TRUE);
  OnFileNew();
  // Without a main window there is nothing to run the table in.
  if (m_pMainWnd == nullptr || m_pDoc == nullptr) {
    m_pDoc = nullptr;  // a document whose frame failed is deleted with it
    return FailStartup("main window not created", FAILURE_BOX_WINDOW);
  }

  TraceStartupStep(19, "wait box");
  if (m_Channel.nWatchMode) ShowWatchWaitBox();

  TraceStartupStep(20, "title");
  SetMainWindowTitle();

  TraceStartupStep(21, "game dialogs");
  if (!m_pDoc->CreateGameDialogs()) return FailStartup("game dialogs not created", FAILURE_BOX_WINDOW);
  m_Connection.AttachDocument(m_pDoc);

  TraceStartupStep(22, "resume socket");
  m_Connection.Resume();
  m_bStartupComplete = TRUE;

  TraceStartupStep(23, "show");
  if (!m_Channel.nWatchMode) ShowAndLayoutMainWindow();
  // The background music plays with the table shown (a watcher's waits for the game data).
  m_pDoc->RestartMusic(m_pDoc->GetSettings().strMusicFile);

  TraceStartupStep(24, "client start");
  m_Connection.SendClientStart();

  TraceStartupStep(25, "find-game message");
  m_nLobbyFindGameMsg = RegisterWindowMessageA("QK_LOBBYFINDGAME_MESSAGE_ID");
  return TRUE;
}

// A start-up that cannot go on ends with a non-zero exit code and a game-log line that says
// why, so an unattended table never just vanishes. Once the server has seen the login it is
// told the seat leaves (else it holds the seat until the connection times out), and the
// player is told why no table opened: the window failures in the plain box, since the skin
// may be what failed; a box the failure already showed is not shown twice.
BOOL CVeskApp::FailStartup(const char* why, StartupFailureBox box) {
  m_GameLog.Write("start-up failed: %s", why);
  m_nStartupFailed = STARTUP_FAILED_EXIT_CODE;
  if (!m_bLoggedIn) return FALSE;
  m_Connection.QuitAndClose();
  m_bLoggedIn = FALSE;
  if (box == FAILURE_BOX_SHOWN) return FALSE;
  // A window that failed on creation may have posted the quit message: it would end the box
  // before the player sees it. The program ends anyway.
  MSG quit;
  while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
  if (box == FAILURE_BOX_WINDOW) {
    CMsgBoxDlg plain(IDS_STARTFAILED_WINDOW, BOX_ERROR, BOX_COUNTDOWN);
    plain.DoModal();
  } else {
    ShowStartupBoxId(IDS_STARTFAILED_TABLE, BOX_ERROR, BOX_COUNTDOWN);
  }
  return FALSE;
}

BOOL CVeskApp::OnIdle(LONG lCount) {
  // Idle means no window of the thread has anything left to paint: the first idle moment
  // with the main window shown is the table on the screen.
  if (!m_bTableShownTraced && m_bStartupComplete && m_pMainWnd && m_pMainWnd->IsWindowVisible()) {
    m_bTableShownTraced = TRUE;
    TraceStartupMoment("table painted");
    StartAfterTableShown();
  }
  return CWinApp::OnIdle(lCount);
}

// What the table's first picture does not wait for: the card sheets (read at once instead
// when a card is drawn sooner) and the live panel's browser and address.
void CVeskApp::StartAfterTableShown() {
  CMainFrame* pFrame = dynamic_cast<CMainFrame*>(m_pMainWnd);
  if (!pFrame) return;
  if (CGameView* pView = pFrame->GetGameView()) pView->LoadCardSheets();
  if (CChatView* pChat = pFrame->GetChatView()) pChat->StartPanel();
}

int CVeskApp::ExitInstance() {
  m_ViewSite.DestroyTicker();
  if (m_bThemeLoaded) {
    UnloadOwnerDrawnTheme();
    m_GameLog.Write("theme unloaded (%s)", IsThemeLoaded() ? "still held" : "released");
  }
  m_bThemeLoaded = FALSE;
  if (m_nCrashReportSwitch) {
    SetRunLogField("ExitInstance", "1");
    m_CrashReport.Stop();
    ClearRunLog();
  }
  DestroyWatchWaitBox(m_hWaitBox);
  m_hWaitBox = nullptr;
  if (m_nGdiplusToken) Gdiplus::GdiplusShutdown(m_nGdiplusToken);
  m_nGdiplusToken = 0;
  const int code = CWinApp::ExitInstance();
  return m_nStartupFailed ? m_nStartupFailed : code;
}

BOOL CVeskApp::CopyChatSkin() {
  if (m_szNetSkinFolder[0]) {
    char netSkin[MAX_PATH];
    snprintf(netSkin, sizeof netSkin, "%s\\QKChatSkin.ini", m_szNetSkinFolder);
    if (FileExists(netSkin)) return CopyFileA(netSkin, m_szChatSkinIni, FALSE);
  }
  return CopyFileA(m_szChatSkinBak, m_szChatSkinIni, FALSE);
}

void CVeskApp::ReadCrashReportSwitch() { CCrashReport::ReadSwitch(m_nCrashReportSwitch, m_nAutoReport); }

BOOL CVeskApp::StartCrashReport() {
  std::string host = CCrashReport::ReadReportHost();
  return m_CrashReport.Start(host.c_str(), g_LaunchRec.szUserName, m_nAutoReport, stderr);
}

void CVeskApp::CreateRunLogStore() {
  // The files live in the current folder, the one the lobby started the program in; it is
  // taken once, so a later change of the current folder does not move them.
  char folder[MAX_PATH] = "";
  DWORD n = GetCurrentDirectoryA(sizeof folder, folder);
  if (n == 0 || n >= sizeof folder) folder[0] = '\0';
  m_pRunLog.reset(new CRunLogStore(folder, g_LaunchRec.szUserName, m_szStartTime, m_nCrashReportSwitch != 0,
                                   m_CrashReport.Sender()));
}

int CVeskApp::EnterChannel() {
  TABLE_LOGIN login;
  if (!m_Connection.Login(g_LaunchRec, login)) {
    std::string text = FormatEnterChannelFailure();
    if (!SendRemoteLog(0, "game start", text.c_str(), "can not enter channel"))
      QueueRemoteLog(0, "game start", text.c_str(), "can not enter channel");
    m_GameLog.Write("%s", text.c_str());
    FailStartup("the table was not entered");
    return 0;
  }
  m_bLoggedIn = TRUE;
  EnterChannelResult result =
      EnterChannelCore(g_LaunchRec.nSeat, g_LaunchRec.nForceWatch, login.nPlayerCount, login.players.data(),
                       login.players.size(), reinterpret_cast<const char*>(login.options.data()), login.options.size(),
                       login.watch.data(), login.watch.size(), m_Channel);
  switch (result) {
    case ENTER_OK:
      m_wChatLoginValue = login.wChatValue;
      return 1;
    case ENTER_BAD_PLAYERS:
      // The server hears the seat leave before the connection closes.
      m_Connection.QuitAndClose();
      m_bLoggedIn = FALSE;
      ShowStartupBoxId(IDS_PLAYERLIST, BOX_ERROR, BOX_COUNTDOWN);
      FailStartup("player list leaves a seat empty");
      return 0;
    default: {
      char why[64];
      snprintf(why, sizeof why, "the table refused the seat (%d)", static_cast<int>(result));
      FailStartup(why, FAILURE_BOX_TABLE);
      return 0;
    }
  }
}

void CVeskApp::AdoptDocument(CVeskDoc* pDoc) {
  m_pDoc = pDoc;
  if (!pDoc) return;
  pDoc->SetHost(
      CDocHost{m_Connection, m_DocSite, *pDoc, *pDoc, m_DocSite, pDoc->ScoreBoard(), ProgramComplaints(), ChatSite()},
      m_Channel);
}

void CVeskApp::ShowWatchWaitBox() { m_hWaitBox = CreateWatchWaitBox(m_pMainWnd ? m_pMainWnd->GetSafeHwnd() : nullptr); }

void CVeskApp::SetMainWindowTitle() {
  std::string title = FormatMainWindowTitle(g_LaunchRec.szRoomTitle, g_LaunchRec.szNickName, g_LaunchRec.szUserName,
                                            m_Channel.nWatchModeEntered != 0);
  if (m_pMainWnd) m_pMainWnd->SetWindowText(title.c_str());
}

void CVeskApp::ShowAndLayoutMainWindow() {
  CMainFrame* pFrame = dynamic_cast<CMainFrame*>(m_pMainWnd);
  if (!pFrame) return;
  pFrame->ShowWindow(pFrame->GetPlacementShowCmd());
  pFrame->LoadSplitterInfo();
  pFrame->RecalcLayout();
  pFrame->UpdateWindow();
}

void CVeskApp::ShowMainWindow() {
  DestroyWatchWaitBox(m_hWaitBox);
  m_hWaitBox = nullptr;
  ShowAndLayoutMainWindow();
  m_Channel.nWatchMode = m_Channel.nWatchModeEntered;
}

CString CVeskApp::GetSharePath() {
  // The platform's shared key is this profile's sibling: point the profile there for one read.
  LPCSTR saved = m_pszProfileName;
  m_pszProfileName = "Share";
  CString path = GetProfileString("", "Path", "");
  m_pszProfileName = saved;
  return path;
}

std::string CVeskApp::SaveScreenshot(const char* folder) {
  if (m_pMainWnd == nullptr || m_pMainWnd->GetSafeHwnd() == nullptr) return std::string();
  HWND hwnd = m_pMainWnd->GetSafeHwnd();
  RECT r;
  ::GetWindowRect(hwnd, &r);
  int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return std::string();
  HDC wdc = ::GetWindowDC(hwnd);
  HDC mem = CreateCompatibleDC(wdc);
  HBITMAP bmp = CreateCompatibleBitmap(wdc, w, h);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, w, h, wdc, 0, 0, SRCCOPY);
  SelectObject(mem, old);
  DeleteDC(mem);
  ::ReleaseDC(hwnd, wdc);
  HGLOBAL dib = BitmapToPackedDib(bmp, w, h);
  DeleteObject(bmp);
  if (!dib) return std::string();
  std::string dir = folder && *folder ? folder : ProgramFolder() + "\\snapshot";
  MakeDirectories(dir.c_str());
  SYSTEMTIME st;
  GetLocalTime(&st);
  std::string path =
      FormatScreenshotPath(dir, st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds);
  JpgLib_WriteDibToJpeg(dib, path.c_str(), SCREENSHOT_QUALITY);
  GlobalFree(dib);
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES ? path : std::string();
}

// ---- run log -----------------------------------------------------------------------------

void CVeskApp::SetRunLogField(const char* key, const char* value) {
  if (m_pRunLog) m_pRunLog->SetRunLogField(key, value);
}

BOOL CVeskApp::WriteRunLogStart() { return m_pRunLog && m_pRunLog->WriteRunLogStart(); }

BOOL CVeskApp::ReadRunLog(RUN_LOG& log) { return m_pRunLog && m_pRunLog->ReadRunLog(log); }

BOOL CVeskApp::CheckPreviousRun() { return m_pRunLog && m_pRunLog->CheckPreviousRun(); }

void CVeskApp::ClearRunLog() {
  if (m_pRunLog) m_pRunLog->ClearRunLog();
}

void CVeskApp::QueueRemoteLog(int level, const char* topic, const char* text, const char* reason) {
  if (m_pRunLog) m_pRunLog->QueueRemoteLog(REMOTE_LOG_LINE{level, topic, text, reason});
}

BOOL CVeskApp::SendRemoteLog(int level, const char* topic, const char* text, const char* reason) {
  // The library is only called while the switch is on.
  if (!m_nCrashReportSwitch) return FALSE;
  return m_CrashReport.SendLog(level, topic, text, reason);
}
