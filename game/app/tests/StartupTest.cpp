// The program started as a person's lobby would start it, from a staged program folder:
// each start-up failure ends with its box (read here, button pressed as a person would) or
// silently where start-up has no box, and the steps run in their order. The scripted build of
// the program answers the login from scripted_table.ini so the table itself can be reached.
#include <windows.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "WinProbe.h"

namespace {

std::string ExeFolder() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string p(path, n);
  return p.substr(0, p.find_last_of('\\'));
}

// The platform layout that scripts/stage.sh laid out before these tests.
std::string ProgramFolder() { return ExeFolder() + "\\staged\\program"; }

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

void RemoveTree(const std::string& dir) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::string name = fd.cFileName;
      if (name == "." || name == "..") continue;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(dir + "\\" + name);
      else
        DeleteFileA((dir + "\\" + name).c_str());
    } while (FindNextFileA(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryA(dir.c_str());
}

// The files (not the folders) of one folder into another.
void CopyFlatFolder(const std::string& from, const std::string& to) {
  CreateDirectoryA(to.c_str(), nullptr);
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((from + "\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      CopyFileA((from + "\\" + fd.cFileName).c_str(), (to + "\\" + fd.cFileName).c_str(), FALSE);
  } while (FindNextFileA(h, &fd));
  FindClose(h);
}

// A program folder of its own for one test: the staged program folder, without the resource
// library when asked, and the scripted build of the program.
class Stage {
 public:
  Stage(const std::string& name, bool withResources) {
    m_dir = ExeFolder() + "\\stage_" + name;
    RemoveTree(m_dir);
    CreateDirectoryA(m_dir.c_str(), nullptr);
    std::string bin = ProgramFolder();
    winprobe::CopyProgramFiles(bin, m_dir);
    if (withResources) CopyFileA((bin + "\\Vesk_Res.dll").c_str(), (m_dir + "\\Vesk_Res.dll").c_str(), FALSE);
    CopyThemeFolder(bin);
    CopyFileA((ExeFolder() + "\\VeskScripted.exe").c_str(), (m_dir + "\\VeskScripted.exe").c_str(), FALSE);
    m_trace = m_dir + "\\startup_trace.txt";
  }
  ~Stage() {
    if (!::testing::Test::HasFailure()) RemoveTree(m_dir);
  }
  const std::string& Dir() const { return m_dir; }
  // The window skin beside the program (the main window is drawn from it).
  void CopyThemeFolder(const std::string& bin) { CopyFlatFolder(bin + "\\Theme", m_dir + "\\Theme"); }
  std::string Path(const char* file) const { return m_dir + "\\" + file; }
  // The steps start-up went through, by number.
  std::vector<int> Steps() const {
    std::vector<int> steps;
    std::istringstream in(ReadText(m_trace));
    std::string line;
    // Numbered lines are steps; "= ..." lines are moments after them.
    while (std::getline(in, line))
      if (!line.empty() && isdigit(static_cast<unsigned char>(line[0]))) steps.push_back(atoi(line.c_str()));
    return steps;
  }
  const std::string& TracePath() const { return m_trace; }

 private:
  std::string m_dir, m_trace;
};

bool HasModule(DWORD pid, const char* name) {
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
  if (!process) return false;
  HMODULE modules[512];
  DWORD needed = 0;
  bool found = false;
  if (K32EnumProcessModules(process, modules, sizeof modules, &needed)) {
    for (DWORD i = 0; i < needed / sizeof(HMODULE) && i < 512; ++i) {
      char base[MAX_PATH] = "";
      if (K32GetModuleBaseNameA(process, modules[i], base, sizeof base) && lstrcmpiA(base, name) == 0) found = true;
    }
  }
  CloseHandle(process);
  return found;
}

std::vector<int> Range(int first, int last) {
  std::vector<int> v;
  for (int i = first; i <= last; ++i) v.push_back(i);
  return v;
}

// A string of the staged resource library, as the program shows it.
std::string ResourceString(const Stage& stage, UINT id) {
  HMODULE lib = LoadLibraryExA(stage.Path("Vesk_Res.dll").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  char text[512] = "";
  if (lib) {
    LoadStringA(lib, id, text, sizeof text);
    FreeLibrary(lib);
  }
  return text;
}

class Started {
 public:
  // Starts `command` with the start-up trace going into the stage.
  Started(const Stage& stage, const std::string& command) {
    SetEnvironmentVariableA("VESK_STARTUP_TRACE", stage.TracePath().c_str());
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    m_ok = CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, stage.Dir().c_str(), &si, &m_pi);
    SetEnvironmentVariableA("VESK_STARTUP_TRACE", nullptr);
  }
  ~Started() {
    if (!m_ok) return;
    if (WaitForSingleObject(m_pi.hProcess, 0) != WAIT_OBJECT_0) TerminateProcess(m_pi.hProcess, 99);
    CloseHandle(m_pi.hProcess);
    CloseHandle(m_pi.hThread);
  }
  bool Ok() const { return m_ok; }
  // The exit code, or -1 when the process did not end in time.
  long WaitExit(DWORD ms) {
    if (WaitForSingleObject(m_pi.hProcess, ms) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(m_pi.hProcess, &code);
    return static_cast<long>(code);
  }
  bool Running() { return WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT; }

 private:
  PROCESS_INFORMATION m_pi = {};
  BOOL m_ok = FALSE;
};

std::string LobbyCommand(const Stage& stage, const char* program, const std::string& options) {
  return "\"" + stage.Path("lobby.exe") + "\" --program \"" + stage.Path(program) + "\" --log \"" +
         stage.Path("lobby.log") + "\" --timeout 90 " + options;
}

// A visible dialog box whose texts hold `needle`, with all its texts.
HWND WaitForBox(const std::string& needle, DWORD timeoutMs, std::string& texts) {
  return winprobe::WaitForDialogText(needle, timeoutMs, texts);
}

// The box is read, then closed with its one button (IDOK) as a person would.
// Before the configuration paths are built the box is the plain one with OK (1); after, the
// skinned box with its first button (29714) and the other two hidden. The skinned button
// acts only under the pointer, so its command is sent as it would send it.
void ExpectBoxAndPress(const std::string& needle, const wchar_t* png) {
  std::string texts;
  HWND box = WaitForBox(needle, 30000, texts);
  ASSERT_NE(box, nullptr) << "no box holding: " << needle;
  HWND skinnedOk = winprobe::FindButton(box, "29714");
  if (!skinnedOk) {
    EXPECT_NE(winprobe::FindButton(box, "1"), nullptr) << texts;
    EXPECT_EQ(winprobe::FindButton(box, "2"), nullptr) << "a single OK button: " << texts;
    winprobe::SaveScreenArea(box, png);
    EXPECT_TRUE(winprobe::ClickButton(box, "1")) << texts;
    return;
  }
  EXPECT_TRUE(IsWindowVisible(skinnedOk)) << texts;
  for (const char* other : {"29715", "29716"})
    EXPECT_FALSE(IsWindowVisible(winprobe::FindButton(box, other))) << "a single OK button: " << texts;
  winprobe::SaveScreenArea(box, png);
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(29714, BN_CLICKED), reinterpret_cast<LPARAM>(skinnedOk));
}

const char kThreePlayers[] =
    "[Login]\r\nResult=1\r\nPlayers=3\r\nEntry0=0,bob,Bob,0\r\nEntry1=1,alice,Alice,1\r\n"
    "Entry2=2,carol,Carol,0\r\nOptions=2,1,0,0,30\r\n";

// Points HKCU\Software\Orvane\Game\Share\Path at a share folder of the stage whose LangRsc.ini
// holds the crash-report switch text, and puts the previous value back afterwards.
class ShareFolder {
 public:
  ShareFolder(const Stage& stage, const char* crashSwitch) {
    m_share = stage.Path("share");
    CreateDirectoryA(m_share.c_str(), nullptr);
    // Nothing listens on this port: every remote-log line fails to go out.
    WriteText(m_share + "\\LangRsc.ini",
              std::string("[ZOLT]\r\n20010=") + crashSwitch + "\r\nReportServer=127.0.0.1\r\n");
    // The owner-drawn theme that start-up loads at step 6, as staged.
    std::string themeFrom = ExeFolder() + "\\staged\\share\\odctrls", themeTo = m_share + "\\odctrls";
    CreateDirectoryA(themeTo.c_str(), nullptr);
    for (const char* file : {"\\vesk_skn.ini", "\\Tessaly.dll"})
      CopyFileA((themeFrom + file).c_str(), (themeTo + file).c_str(), FALSE);
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Orvane\\Game\\Share", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_key,
                    nullptr);
    char old[MAX_PATH] = "";
    DWORD size = sizeof old, type = 0;
    m_hadOld = RegQueryValueExA(m_key, "Path", nullptr, &type, reinterpret_cast<BYTE*>(old), &size) == ERROR_SUCCESS;
    m_old = old;
    RegSetValueExA(m_key, "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(m_share.c_str()),
                   static_cast<DWORD>(m_share.size() + 1));
  }
  ~ShareFolder() {
    if (m_hadOld)
      RegSetValueExA(m_key, "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(m_old.c_str()),
                     static_cast<DWORD>(m_old.size() + 1));
    else
      RegDeleteValueA(m_key, "Path");
    RegCloseKey(m_key);
  }

 private:
  HKEY m_key = nullptr;
  std::string m_share, m_old;
  bool m_hadOld = false;
};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line))
    if (!line.empty()) lines.push_back(line);
  return lines;
}

// The exit code of a start-up that could not go on: never 0, so the lobby can tell.
const long kStartupFailed = 1;

// The game log (in the program folder) says why start-up ended.
void ExpectFailureLogged(const Stage& stage, const std::string& why) {
  std::string log = ReadText(stage.Path("CQKVesklog.txt"));
  EXPECT_NE(log.find("start-up failed: " + why), std::string::npos) << log;
}

// The real program against a port where nothing listens: the socket says so in its box
// (string 29901), the box is pressed, and start-up ends.
void RunAgainstClosedPort(const Stage& stage, const wchar_t* png) {
  std::string refused = ResourceString(stage, 29901);
  ASSERT_FALSE(refused.empty());
  Started lobby(stage, LobbyCommand(stage, "Vesk.exe", "--mapping --seat 2 --user alice --port 1"));
  ASSERT_TRUE(lobby.Ok());
  ExpectBoxAndPress(refused, png);
  EXPECT_EQ(lobby.WaitExit(30000), kStartupFailed);
  ExpectFailureLogged(stage, "the table was not entered");
}

class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!Exists(ProgramFolder() + "\\Vesk.exe") || !Exists(ExeFolder() + "\\VeskScripted.exe"))
      GTEST_FAIL() << "the program is not built";
  }
};

}  // namespace

TEST_F(StartupTest, MissingResourceLibraryShowsTheEnglishBoxAndEnds) {
  Stage stage("nores", false);
  Started lobby(stage, LobbyCommand(stage, "Vesk.exe", "--mapping --seat 2 --user alice"));
  ASSERT_TRUE(lobby.Ok());
  ExpectBoxAndPress("Vesk_Res.dll not found !", L"startup_no_resource_library.png");
  EXPECT_EQ(lobby.WaitExit(30000), kStartupFailed);
  EXPECT_EQ(stage.Steps(), Range(1, 2));
  ExpectFailureLogged(stage, "resource library not loaded");
}

TEST_F(StartupTest, WithoutLaunchRecordShowsString3013AndEnds) {
  Stage stage("norecord", true);
  ShareFolder share(stage, "0");
  std::string text = ResourceString(stage, 3013);
  ASSERT_FALSE(text.empty());
  Started vesk(stage, "\"" + stage.Path("Vesk.exe") + "\"");
  ASSERT_TRUE(vesk.Ok());
  ExpectBoxAndPress(text, L"startup_no_launch_record.png");
  EXPECT_EQ(vesk.WaitExit(30000), kStartupFailed);
  EXPECT_EQ(stage.Steps(), Range(1, 10));
  ExpectFailureLogged(stage, "no valid launch record");
}

TEST_F(StartupTest, TwelveArgumentsAreNoLaunchRecord) {
  Stage stage("twelve", true);
  ShareFolder share(stage, "0");
  std::string text = ResourceString(stage, 3013);
  std::string cmd = "\"" + stage.Path("Vesk.exe") + "\" 1 alice Alice Room 1 KEY 127.0.0.1 4100 t 127.0.0.1 4200 x";
  Started vesk(stage, cmd);
  ASSERT_TRUE(vesk.Ok());
  ExpectBoxAndPress(text, L"startup_twelve_arguments.png");
  EXPECT_EQ(vesk.WaitExit(30000), kStartupFailed);
}

TEST_F(StartupTest, UnreachableTableShowsTheSocketsBoxAndEnds) {
  Stage stage("noserver", true);
  ShareFolder share(stage, "0");
  RunAgainstClosedPort(stage, L"startup_connect_refused.png");
  EXPECT_EQ(stage.Steps(), Range(1, 14));
  // The crash-report switch is off here: no run file, no pending remote-log file.
  EXPECT_FALSE(Exists(stage.Path("alice.txt")));
  EXPECT_FALSE(Exists(stage.Path("alice_zolt.txt")));
}

TEST_F(StartupTest, PlayerListWithEmptyPositionShowsString3005) {
  Stage stage("badplayers", true);
  ShareFolder share(stage, "0");
  WriteText(stage.Path("scripted_table.ini"),
            "[Login]\r\nResult=1\r\nPlayers=3\r\nEntry0=0,bob,Bob,0\r\nEntry1=0,alice,Alice,1\r\n"
            "Entry2=2,carol,Carol,0\r\n");
  std::string text = ResourceString(stage, 3005);
  ASSERT_FALSE(text.empty());
  Started lobby(stage, LobbyCommand(stage, "VeskScripted.exe", "--mapping --seat 2 --user alice"));
  ASSERT_TRUE(lobby.Ok());
  ExpectBoxAndPress(text, L"startup_bad_player_list.png");
  EXPECT_EQ(lobby.WaitExit(30000), kStartupFailed);
  EXPECT_EQ(stage.Steps(), Range(1, 14));
  // The server hears the seat leave before the connection closes.
  EXPECT_EQ(ReadText(stage.Path("scripted_calls.txt")), "login\nquit\n");
  ExpectFailureLogged(stage, "player list leaves a seat empty");
}

TEST_F(StartupTest, PlayerReachesTheTableThroughEveryStepInOrder) {
  Stage stage("table", true);
  WriteText(stage.Path("scripted_table.ini"), std::string(kThreePlayers) + "[Arrive]\r\nDeal=300\r\n");
  Started lobby(stage, LobbyCommand(stage, "VeskScripted.exe",
                                    "--mapping --seat 2 --user alice --nick Alice "
                                    "--room Room7"));
  ASSERT_TRUE(lobby.Ok());
  HWND main = winprobe::WaitForWindow("Trebbin Room7 Alice[alice]", 0, 30000);
  ASSERT_NE(main, nullptr);
  char title[256] = "";
  GetWindowTextA(main, title, sizeof title);
  EXPECT_STREQ(title, "Trebbin Room7 Alice[alice]");
  RECT r;
  GetWindowRect(main, &r);
  // 1366x768 screen: the large size, its height cut to the work area.
  EXPECT_EQ(r.right - r.left, 1024);
  for (int i = 0; i < 50 && ReadText(stage.Path("scripted_calls.txt")).find("arrive deal") == std::string::npos; ++i)
    Sleep(100);
  winprobe::SaveScreenArea(main, L"startup_table.png");
  // The resource library names a code page, so the converter was bound at start-up.
  ASSERT_FALSE(ResourceString(stage, 29936).empty());
  DWORD pid = 0;
  GetWindowThreadProcessId(main, &pid);
  EXPECT_TRUE(HasModule(pid, "Pendrel.dll"));
  EXPECT_EQ(stage.Steps(), Range(1, 25));
  EXPECT_EQ(ReadText(stage.Path("scripted_calls.txt")),
            "login\nsuspend\nregister document\nresume\nclient start\narrive deal\n");
  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(lobby.WaitExit(30000), 0);
}

TEST_F(StartupTest, WatcherWaitsHiddenBehindTheWaitBox) {
  Stage stage("watch", true);
  ShareFolder share(stage, "1,0");
  WriteText(stage.Path("scripted_table.ini"), std::string(kThreePlayers) + "WatchSize=44\r\n");
  std::string waitText = ResourceString(stage, 29916);
  // Seat 6 asks to watch server seat 1.
  Started lobby(stage, LobbyCommand(stage, "VeskScripted.exe",
                                    "--mapping --seat 6 --user alice --nick Alice "
                                    "--room Room7"));
  ASSERT_TRUE(lobby.Ok());
  HWND wait = winprobe::WaitForWindow(waitText, 0, 30000);
  ASSERT_NE(wait, nullptr);
  winprobe::SaveScreenArea(wait, L"startup_watch_wait.png");
  EXPECT_EQ(stage.Steps(), Range(1, 25));
  // The run log, kept while the crash-report switch is on, knows this run watches.
  std::string runFile = ReadText(stage.Path("alice.txt"));
  EXPECT_NE(runFile.find("[ZOLT]\n"), std::string::npos) << runFile;
  EXPECT_NE(runFile.find("\nWatch=1\n"), std::string::npos) << runFile;
  EXPECT_NE(runFile.find("\nExitInstance=0\n"), std::string::npos) << runFile;
  HWND main = nullptr;
  for (const auto& w : winprobe::TopLevelWindows(0, false))
    if (w.text.find("Trebbin Room7 Alice[alice]") == 0) main = w.hwnd;
  ASSERT_NE(main, nullptr);
  EXPECT_FALSE(IsWindowVisible(main));
  char title[256] = "";
  GetWindowTextA(main, title, sizeof title);
  EXPECT_STREQ(title, "Trebbin Room7 Alice[alice]\xA3\xA8\xC5\xD4\xB9\xDB\xA3\xA9");
  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(lobby.WaitExit(30000), 0);
  // A run that went through its shut-down leaves no run file behind.
  EXPECT_FALSE(Exists(stage.Path("alice.txt")));
}

TEST_F(StartupTest, CrashReportKeepsWhatCouldNotBeSentAndReportsThePreviousRun) {
  Stage stage("zolt", true);
  ShareFolder share(stage, "1,0");
  // A previous run that closed its window but never reached its shut-down.
  WriteText(stage.Path("alice.txt"),
            "[ZOLT]\nStartTime=20200101101010\nUserName=alice\nWatch=0\nSchedule=7\nSocketClose=1\n"
            "MainFrameClose=1\nExitInstance=0\n");
  RunAgainstClosedPort(stage, L"startup_zolt_first.png");
  EXPECT_EQ(stage.Steps(), Range(1, 14));
  // This run's file is gone at shut-down; both lines wait in the pending file.
  EXPECT_FALSE(Exists(stage.Path("alice.txt")));
  std::vector<std::string> pending = Lines(ReadText(stage.Path("alice_zolt.txt")));
  ASSERT_EQ(pending.size(), 2u) << ReadText(stage.Path("alice_zolt.txt"));
  EXPECT_EQ(pending[0].rfind("5:game run:", 0), 0u) << pending[0];
  EXPECT_NE(pending[0].find("program closed,but not call exitinstance"), std::string::npos) << pending[0];
  EXPECT_EQ(pending[1].rfind("0:game start:can not enter channel,Vesk 581:can not enter channel", 0), 0u) << pending[1];

  // The next start replays them, keeps them since they still cannot be sent, and adds its own.
  RunAgainstClosedPort(stage, L"startup_zolt_second.png");
  pending = Lines(ReadText(stage.Path("alice_zolt.txt")));
  ASSERT_EQ(pending.size(), 3u) << ReadText(stage.Path("alice_zolt.txt"));
  EXPECT_NE(pending[0].find("program closed,but not call exitinstance"), std::string::npos);
  EXPECT_NE(pending[2].find("can not enter channel"), std::string::npos);
}

// The run file and the pending remote-log file live in the folder the program was started
// in, not beside the program: a previous run's file there is the one reported, one beside
// the program is left alone.
TEST_F(StartupTest, RunLogFilesLiveInTheCurrentFolder) {
  Stage stage("zoltcwd", true);
  ShareFolder share(stage, "1,0");
  const std::string work = stage.Path("work");
  CreateDirectoryA(work.c_str(), nullptr);
  const std::string beside =
      "[ZOLT]\nStartTime=20200101101010\nUserName=alice\nWatch=0\nSchedule=7\nSocketClose=1\n"
      "MainFrameClose=1\nExitInstance=0\n";
  WriteText(stage.Path("alice.txt"), beside);
  WriteText(work + "\\alice.txt",
            "[ZOLT]\nStartTime=20200101101010\nUserName=alice\nWatch=0\nSchedule=3\nSocketClose=0\n"
            "MainFrameClose=0\nExitInstance=0\n");
  std::string refused = ResourceString(stage, 29901);
  ASSERT_FALSE(refused.empty());
  Started lobby(stage,
                LobbyCommand(stage, "Vesk.exe", "--mapping --seat 2 --user alice --port 1 --folder \"" + work + "\""));
  ASSERT_TRUE(lobby.Ok());
  ExpectBoxAndPress(refused, L"startup_zolt_cwd.png");
  EXPECT_EQ(lobby.WaitExit(30000), 1);
  std::vector<std::string> pending = Lines(ReadText(work + "\\alice_zolt.txt"));
  ASSERT_EQ(pending.size(), 2u) << ReadText(work + "\\alice_zolt.txt");
  EXPECT_EQ(pending[0].rfind("0:game run:", 0), 0u) << pending[0];
  EXPECT_NE(pending[0].find("program abnormal end"), std::string::npos) << pending[0];
  EXPECT_FALSE(Exists(work + "\\alice.txt")) << "this run's file is gone at shut-down";
  EXPECT_EQ(ReadText(stage.Path("alice.txt")), beside);
  EXPECT_FALSE(Exists(stage.Path("alice_zolt.txt")));
}

TEST_F(StartupTest, CrashReportThatCannotBeCreatedEndsStartUpWithTheErrorLine) {
  Stage stage("zoltfail", true);
  ShareFolder share(stage, "1,0");
  std::string errPath = stage.Path("stderr.txt");
  SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
  HANDLE err = CreateFileA(errPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &sa, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(err, INVALID_HANDLE_VALUE);
  SetEnvironmentVariableA("ZOLT_FAIL_CREATE", "7");
  SetEnvironmentVariableA("VESK_STARTUP_TRACE", stage.TracePath().c_str());
  std::string cmd =
      "\"" + stage.Path("Vesk.exe") + "\" 1 alice Alice Room 1 KEY 127.0.0.1 1 table 127.0.0.1 4200 col 0";
  std::vector<char> line(cmd.begin(), cmd.end());
  line.push_back('\0');
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdError = err;
  si.hStdOutput = err;
  PROCESS_INFORMATION pi = {};
  BOOL started =
      CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, stage.Dir().c_str(), &si, &pi);
  SetEnvironmentVariableA("ZOLT_FAIL_CREATE", nullptr);
  SetEnvironmentVariableA("VESK_STARTUP_TRACE", nullptr);
  CloseHandle(err);
  ASSERT_TRUE(started);
  EXPECT_EQ(WaitForSingleObject(pi.hProcess, 30000), WAIT_OBJECT_0);
  DWORD code = 0;
  GetExitCodeProcess(pi.hProcess, &code);
  EXPECT_EQ(static_cast<long>(code), kStartupFailed);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  EXPECT_EQ(stage.Steps(), Range(1, 12));
  // The standard error stream is a text stream: its line end may come out as CR LF.
  std::string errText = ReadText(errPath);
  errText.erase(std::remove(errText.begin(), errText.end(), '\r'), errText.end());
  EXPECT_EQ(errText, "ZOLT_Init() fail. ZOLT_GetLastError()=7\n");
  EXPECT_FALSE(Exists(stage.Path("alice.txt")));
}

TEST_F(StartupTest, ForcedWatchHidesThePlayersWindowButKeepsItsTitle) {
  Stage stage("forcewatch", true);
  WriteText(stage.Path("scripted_table.ini"), std::string(kThreePlayers) + "WatchSize=44\r\n");
  std::string waitText = ResourceString(stage, 29916);
  Started lobby(stage, LobbyCommand(stage, "VeskScripted.exe",
                                    "--mapping --seat 2 --user alice --nick Alice "
                                    "--room Room7 --force-watch 1"));
  ASSERT_TRUE(lobby.Ok());
  ASSERT_NE(winprobe::WaitForWindow(waitText, 0, 30000), nullptr);
  HWND main = nullptr;
  for (const auto& w : winprobe::TopLevelWindows(0, false))
    if (w.text.find("Trebbin Room7 Alice[alice]") == 0) main = w.hwnd;
  ASSERT_NE(main, nullptr);
  EXPECT_FALSE(IsWindowVisible(main));
  char title[256] = "";
  GetWindowTextA(main, title, sizeof title);
  EXPECT_STREQ(title, "Trebbin Room7 Alice[alice]");  // entered as a player
  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(lobby.WaitExit(30000), 0);
}

TEST_F(StartupTest, WatchersWindowComesUpWhenTheGameDataArrives) {
  Stage stage("progress", true);
  WriteText(stage.Path("scripted_table.ini"),
            std::string(kThreePlayers) + "WatchSize=44\r\n[Arrive]\r\nProgress=1500\r\n");
  std::string waitText = ResourceString(stage, 29916);
  Started lobby(stage, LobbyCommand(stage, "VeskScripted.exe",
                                    "--mapping --seat 6 --user alice --nick Alice "
                                    "--room Room7"));
  ASSERT_TRUE(lobby.Ok());
  HWND main = winprobe::WaitForWindow("Trebbin Room7 Alice[alice]", 0, 30000);
  ASSERT_NE(main, nullptr);
  EXPECT_NE(ReadText(stage.Path("scripted_calls.txt")).find("arrive progress"), std::string::npos);
  // The wait box is gone.
  bool waitBoxLeft = false;
  for (const auto& w : winprobe::TopLevelWindows(0, true))
    if (w.text == waitText) waitBoxLeft = true;
  EXPECT_FALSE(waitBoxLeft);
  winprobe::SaveScreenArea(main, L"startup_watch_table.png");
  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(lobby.WaitExit(30000), 0);
}

TEST_F(StartupTest, FailureBoxClosesItselfAfterItsCountdown) {
  Stage stage("countdown", true);
  ShareFolder share(stage, "0");
  std::string text = ResourceString(stage, 3013);
  Started vesk(stage, "\"" + stage.Path("Vesk.exe") + "\"");
  ASSERT_TRUE(vesk.Ok());
  std::string texts;
  ASSERT_NE(WaitForBox(text, 30000, texts), nullptr);
  DWORD seen = GetTickCount();
  // Nobody presses the button: the box goes after ten seconds and start-up ends.
  EXPECT_EQ(vesk.WaitExit(25000), kStartupFailed);
  DWORD waited = GetTickCount() - seen;
  EXPECT_GE(waited, 8000u);
  EXPECT_LT(waited, 15000u);
}

// After the login a start-up that cannot go on tells the server the seat leaves, says why in
// a box and ends with a failure code: a window skin that cannot be read (the plain box, as
// the skin is what failed), and a seat the table does not have.
TEST_F(StartupTest, FailureAfterTheLoginQuitsTheTableAndSaysWhy) {
  struct Case {
    const char* name;
    const char* seat;
    bool emptyTheme;
    UINT text;
    const char* why;
  } cases[] = {
      {"emptytheme", "2", true, 3042, "main window not created"},
      {"badseat", "4", false, 3043, "the table refused the seat"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Stage stage(c.name, true);
    ShareFolder share(stage, "0");
    if (c.emptyTheme) WriteText(stage.Path("Theme\\Vesk.thm"), "");
    WriteText(stage.Path("scripted_table.ini"), kThreePlayers);
    std::string text = ResourceString(stage, c.text);
    ASSERT_FALSE(text.empty());
    Started lobby(stage,
                  LobbyCommand(stage, "VeskScripted.exe", std::string("--mapping --user alice --seat ") + c.seat));
    ASSERT_TRUE(lobby.Ok());
    if (c.emptyTheme) {
      std::string texts;
      HWND box = WaitForBox(text, 30000, texts);
      ASSERT_NE(box, nullptr) << "no box holding: " << text;
      // The plain box: its template's caption "提示信息", its own OK button.
      char caption[64] = "";
      GetWindowTextA(box, caption, sizeof caption);
      EXPECT_STREQ(caption, "\xCC\xE1\xCA\xBE\xD0\xC5\xCF\xA2") << texts;
      winprobe::SaveScreenArea(box, L"startup_window_failed.png");
      EXPECT_TRUE(winprobe::ClickButton(box, "29714")) << texts;
    } else {
      ExpectBoxAndPress(text, L"startup_seat_refused.png");
    }
    EXPECT_EQ(lobby.WaitExit(30000), kStartupFailed);
    const std::string calls = ReadText(stage.Path("scripted_calls.txt"));
    EXPECT_EQ(calls.rfind("login\n", 0), 0u) << calls;
    EXPECT_NE(calls.find("quit\n"), std::string::npos) << calls;
    EXPECT_EQ(calls.find("client start"), std::string::npos) << calls;
    ExpectFailureLogged(stage, c.why);
  }
}
