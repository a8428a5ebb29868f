// The application object's own operations, on the program's one CVeskApp: the busy state,
// the share path through the switched profile, entering the table from a scripted login, and
// the screenshot written through the JPEG library stand-in.
#include <afxwin.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "AppLinks.h"
#include "LobbyLinks.h"
#include "VeskApp.h"

namespace {

std::string ExeFolder() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string p(path, n);
  return p.substr(0, p.find_last_of('\\'));
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

std::vector<std::string> FilesIn(const std::string& dir) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(fd.cFileName);
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  return names;
}

void RemoveFolder(const std::string& dir) {
  for (const auto& f : FilesIn(dir)) DeleteFileA((dir + "\\" + f).c_str());
  RemoveDirectoryA(dir.c_str());
}

class AppTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    AfxWinInit(GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWNORMAL);
    theApp.SetRegistryKey("Orvane\\Game");
  }
  void SetUp() override {
    theApp.m_Channel = CHANNEL_STATE();
    memset(&g_LaunchRec, 0, sizeof g_LaunchRec);
    strcpy(g_LaunchRec.szUserName, "alice");
  }
  void Script(const std::string& login) { WriteText(ExeFolder() + "\\scripted_table.ini", "[Login]\r\n" + login); }
};

}  // namespace

TEST_F(AppTest, OneBusyStateForSendsAndHeldInput) {
  CTableConnection& c = theApp.m_Connection;
  EXPECT_FALSE(c.IsBusy());
  c.BeginSend();
  c.BeginSend();
  c.EndSend();
  EXPECT_TRUE(c.IsBusy()) << "one send still in flight";
  c.EndSend();
  EXPECT_FALSE(c.IsBusy());
  c.EndSend();  // an extra end never goes below zero
  c.BeginSend();
  EXPECT_TRUE(c.IsBusy());
  c.EndSend();
  EXPECT_FALSE(c.IsBusy());
  // A held timeout outlasts the sends around it until the table releases it.
  c.HoldInput();
  c.BeginSend();
  c.EndSend();
  EXPECT_TRUE(c.IsBusy());
  c.ReleaseInput();
  EXPECT_FALSE(c.IsBusy());
}

TEST_F(AppTest, SharePathIsReadFromTheSharedKeyAndTheProfileIsRestored) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Orvane\\Game\\Share", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  char old[MAX_PATH] = "";
  DWORD size = sizeof old, type = 0;
  bool hadOld = RegQueryValueExA(key, "Path", nullptr, &type, reinterpret_cast<BYTE*>(old), &size) == ERROR_SUCCESS;
  const char value[] = "C:\\platform\\share";
  RegSetValueExA(key, "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(value), sizeof value);
  std::string profile = theApp.m_pszProfileName;
  EXPECT_STREQ(theApp.GetSharePath(), value);
  EXPECT_EQ(profile, theApp.m_pszProfileName);
  if (hadOld)
    RegSetValueExA(key, "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(old), static_cast<DWORD>(strlen(old) + 1));
  else
    RegDeleteValueA(key, "Path");
  RegCloseKey(key);
}

TEST_F(AppTest, EnteringTheTableMapsSeatsAndReadsOptions) {
  Script(
      "Result=1\r\nPlayers=3\r\nEntry0=0,bob,Bob,0\r\nEntry1=1,carol,Carol,1\r\nEntry2=2,alice,Alice,0\r\n"
      "Options=2,1,0,0,30\r\n");
  g_LaunchRec.nSeat = 2;
  ASSERT_EQ(theApp.EnterChannel(), 1);
  const CHANNEL_STATE& c = theApp.m_Channel;
  EXPECT_EQ(c.nPlayerCount, 3);
  EXPECT_EQ(c.nWatchMode, 0);
  // Own seat 2: server seats 0, 1, 2 sit at positions 2, 0, 1.
  EXPECT_STREQ(c.seats[2].szUserName, "bob");
  EXPECT_STREQ(c.seats[0].szUserName, "carol");
  EXPECT_STREQ(c.seats[1].szUserName, "alice");
  EXPECT_EQ(c.nGender[1], 1);
  const int expected[TABLE_OPTION_COUNT] = {2, 1, 0, 0, 30, 1, 1};
  for (int i = 0; i < TABLE_OPTION_COUNT; ++i) EXPECT_EQ(c.nOptions[i], expected[i]) << i;
}

TEST_F(AppTest, EnteringTheTableFailsWithoutABoxWhereStartUpHasNone) {
  struct Case {
    const char* name;
    const char* login;
    int seat;
    int forceWatch;
  } cases[] = {
      {"login refused", "Result=0\r\n", 0, 0},
      {"seat 8", "Result=1\r\nPlayers=3\r\nEntry0=0,a,A,0\r\nEntry1=1,b,B,0\r\nEntry2=2,c,C,0\r\n", 8, 0},
      {"watcher without watch block", "Result=1\r\nPlayers=3\r\nEntry0=0,a,A,0\r\nEntry1=1,b,B,0\r\nEntry2=2,c,C,0\r\n",
       5, 0},
      {"forced watcher without watch block",
       "Result=1\r\nPlayers=3\r\nEntry0=0,a,A,0\r\nEntry1=1,b,B,0\r\nEntry2=2,c,C,0\r\n", 1, 1},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    theApp.m_Channel = CHANNEL_STATE();
    Script(k.login);
    g_LaunchRec.nSeat = k.seat;
    g_LaunchRec.nForceWatch = k.forceWatch;
    EXPECT_EQ(theApp.EnterChannel(), 0);
  }
  // The failed login is in the game log, with the process id and the running count.
  std::ifstream log(ExeFolder() + "\\CQKVesklog.txt", std::ios::binary);
  std::string line, last;
  while (std::getline(log, line))
    if (line.find("can not enter channel,Vesk 581") != std::string::npos) last = line;
  char pid[16];
  snprintf(pid, sizeof pid, " %08lx:", GetCurrentProcessId());
  EXPECT_NE(last.find(pid), std::string::npos) << last;
  // The crash-report switch is off: nothing was queued.
  EXPECT_EQ(GetFileAttributesA((ExeFolder() + "\\alice_zolt.txt").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(AppTest, WatcherEntersWithTheWatchBlocksTotals) {
  Script("Result=1\r\nPlayers=3\r\nEntry0=0,a,A,0\r\nEntry1=1,b,B,0\r\nEntry2=2,c,C,0\r\nWatchSize=44\r\n");
  g_LaunchRec.nSeat = 5;
  ASSERT_EQ(theApp.EnterChannel(), 1);
  EXPECT_EQ(theApp.m_Channel.nWatchMode, 1);
  EXPECT_EQ(theApp.m_Channel.nWatchModeEntered, 1);
  EXPECT_EQ(g_LaunchRec.nSeat, 1);  // written back without the watch offset
  EXPECT_STREQ(theApp.m_Channel.seats[1].szUserName, "b");
}

TEST_F(AppTest, ScreenshotOfTheMainWindowGoesToTheFolderAsJpeg) {
  std::string folder = ExeFolder() + "\\shots_" + std::to_string(GetCurrentProcessId());
  RemoveFolder(folder);
  theApp.m_pMainWnd = nullptr;
  theApp.SaveScreenshot(folder.c_str());
  EXPECT_TRUE(FilesIn(folder).empty()) << "nothing without a main window";

  CFrameWnd* frame = new CFrameWnd();
  ASSERT_TRUE(frame->Create(nullptr, "shot", WS_OVERLAPPEDWINDOW, CRect(10, 10, 330, 250)));
  frame->ShowWindow(SW_SHOW);
  frame->UpdateWindow();
  theApp.m_pMainWnd = frame;
  theApp.SaveScreenshot(folder.c_str());
  theApp.m_pMainWnd = nullptr;
  frame->DestroyWindow();

  std::vector<std::string> files = FilesIn(folder);
  ASSERT_EQ(files.size(), 1u);
  const std::string& name = files[0];
  // "%04d年%02d月%02d日%02d时%02d分%02d秒%03d.jpg" in GBK.
  ASSERT_EQ(name.size(), 4u + 2 + (2 + 2) * 5 + 3 + 4);
  EXPECT_EQ(name.substr(4, 2), "\xC4\xEA");
  EXPECT_EQ(name.substr(name.size() - 4), ".jpg");
  std::ifstream in(folder + "\\" + name, std::ios::binary);
  unsigned char magic[2] = {};
  in.read(reinterpret_cast<char*>(magic), 2);
  EXPECT_EQ(magic[0], 0xFF);
  EXPECT_EQ(magic[1], 0xD8);
  in.close();
  RemoveFolder(folder);
}

namespace {

// A child that fills itself and counts its paints.
int g_childPaints = 0;
LRESULT CALLBACK CountingChildProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    FillRect(dc, &ps.rcPaint, (HBRUSH)GetStockObject(GRAY_BRUSH));
    EndPaint(hwnd, &ps);
    ++g_childPaints;
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

RECT g_boxRect;
std::string g_boxTitle;
bool g_boxHasCountdown = false;
BOOL CALLBACK RecordThreadBox(HWND hwnd, LPARAM) {
  char cls[16] = "";
  GetClassNameA(hwnd, cls, sizeof cls);
  if (strcmp(cls, "#32770") == 0 && IsWindowVisible(hwnd)) {
    GetWindowRect(hwnd, &g_boxRect);
    char title[64] = "";
    GetWindowTextA(hwnd, title, sizeof title);
    g_boxTitle = title;
    g_boxHasCountdown = GetDlgItem(hwnd, 29813) != nullptr;  // the program's box counts down in a static
    return FALSE;
  }
  return TRUE;
}
void CALLBACK RecordBox(HWND, UINT, UINT_PTR id, DWORD) {
  EnumThreadWindows(GetCurrentThreadId(), RecordThreadBox, 0);
  if (g_boxRect.right > g_boxRect.left) KillTimer(nullptr, id);
}

}  // namespace

// Before the configuration paths are built the box is the program's plain box (template
// IDD_MSGBOX of the resource library, captioned "提示信息"), not the system's.
TEST_F(AppTest, BoxesStandCentredOnTheMainWindowAndLeaveNoGhost) {
  HMODULE res = LoadLibraryA("Vesk_Res_936.dll");
  ASSERT_NE(res, nullptr);
  HINSTANCE savedRes = AfxGetResourceHandle();
  AfxSetResourceHandle(res);
  WNDCLASSA wc = {};
  wc.lpfnWndProc = CountingChildProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "VeskCountingChild";
  RegisterClassA(&wc);
  CFrameWnd* frame = new CFrameWnd();
  // Far from the screen's centre, so a box centred on the screen is not centred here.
  ASSERT_TRUE(frame->Create(nullptr, "box owner", WS_OVERLAPPEDWINDOW, CRect(0, 0, 700, 500)));
  HWND child = CreateWindowExA(0, "VeskCountingChild", "", WS_CHILD | WS_VISIBLE, 0, 0, 690, 460, frame->GetSafeHwnd(),
                               nullptr, wc.hInstance, nullptr);
  ASSERT_NE(child, nullptr);
  frame->ShowWindow(SW_SHOW);
  frame->UpdateWindow();
  theApp.m_pMainWnd = frame;

  g_boxRect = RECT{};
  UINT_PTR recorder = SetTimer(nullptr, 0, 50, RecordBox);
  const int paintsBefore = g_childPaints;
  ShowStartupBoxText("box over the table", MB_OK, 1);  // closes itself after a second
  KillTimer(nullptr, recorder);
  // The table under the box is painted before the caller goes on.
  EXPECT_GT(g_childPaints, paintsBefore);
  RECT pending;
  EXPECT_FALSE(GetUpdateRect(child, &pending, FALSE));

  RECT owner;
  GetWindowRect(frame->GetSafeHwnd(), &owner);
  ASSERT_GT(g_boxRect.right, g_boxRect.left) << "the box was never seen";
  EXPECT_NEAR((g_boxRect.left + g_boxRect.right) / 2, (owner.left + owner.right) / 2, 2);
  EXPECT_NEAR((g_boxRect.top + g_boxRect.bottom) / 2, (owner.top + owner.bottom) / 2, 2);
  EXPECT_TRUE(g_boxHasCountdown);
  EXPECT_EQ(g_boxTitle, "\xCC\xE1\xCA\xBE\xD0\xC5\xCF\xA2");
  theApp.m_pMainWnd = nullptr;
  frame->DestroyWindow();
  AfxSetResourceHandle(savedRes);
  FreeLibrary(res);
}
