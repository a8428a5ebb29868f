// Lobby stand-in: hands a client program its launch record (through a named file mapping or
// as 13-14 arguments), keeps the room block "QK_ROOM_REC" under the mutex "QKROOMEXE", a lobby
// window that records WM_COPYDATA and a "switch window" that records 0x1212, and lives until
// the client ends, returning the client's exit code.
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "LaunchRecord.h"

namespace {

const DWORD kRoomRecSize = 42536;
const DWORD kRoomLobbyWindow = 13036;
const DWORD kRoomText = 23720;
const DWORD kRoomTextSize = 256;
const UINT kSwitchMsg = 0x1212;

struct Options {
  std::string program;
  bool useMapping = true;
  std::string mappingName;
  std::string seat = "1";
  std::string user = "player1";
  std::string nick = "Player One";
  std::string room = "Vesk Room 1";
  std::string loginWord = "1";
  std::string key = "LOGINKEY";
  std::string server = "127.0.0.1";
  std::string port = "4100";
  std::string table = "";
  std::string chatHost = "127.0.0.1";
  std::string chatPort = "4200";
  std::string columnText = "";
  std::string columnNumber = "0";
  std::string forceWatch;  // empty: 13 arguments; set: 14
  std::vector<std::string> extra;
  std::string roomText = "Vesk Room 1";
  std::string logPath = "lobby.log";
  std::string folder;  // the client's current folder; empty: the program's own
  DWORD timeoutMs = INFINITE;
  struct FindGame {
    DWORD afterMs;
    LPARAM lParam;
    bool done;
  };
  std::vector<FindGame> findGame;  // the lobby's find-game requests to the client's frame
};

FILE* g_log = nullptr;

void Record(const char* fmt, ...) {
  char line[1024];
  va_list ap;
  va_start(ap, fmt);
  std::vsnprintf(line, sizeof line, fmt, ap);
  va_end(ap);
  std::printf("lobby: %s\n", line);
  std::fflush(stdout);
  if (g_log) {
    std::fprintf(g_log, "%s\n", line);
    std::fflush(g_log);
  }
}

// Quotes one argument the way the C runtime splits command lines.
std::string Quote(const std::string& arg) {
  if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return arg;
  std::string out = "\"";
  size_t slashes = 0;
  for (char c : arg) {
    if (c == '\\') {
      ++slashes;
      out.push_back(c);
    } else if (c == '"') {
      out.append(slashes + 1, '\\');  // backslashes before a quote are doubled, the quote escaped
      out.push_back(c);
      slashes = 0;
    } else {
      slashes = 0;
      out.push_back(c);
    }
  }
  out.append(slashes, '\\');
  out.push_back('"');
  return out;
}

// Bytes of a text as seen in the record's log: printable ASCII kept, the rest as \xNN.
std::string Printable(const char* s, size_t max) {
  std::string out;
  for (size_t i = 0; i < max && s[i]; ++i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (c >= 0x20 && c < 0x7F && c != '\\') {
      out.push_back(static_cast<char>(c));
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    }
  }
  return out;
}

LRESULT CALLBACK LobbyProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_COPYDATA) {
    auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(l);
    if (cds && cds->cbData >= 40 && cds->lpData) {
      const char* p = static_cast<const char*>(cds->lpData);
      int32_t value = 0, zero = 0;
      std::memcpy(&value, p + 32, 4);
      std::memcpy(&zero, p + 36, 4);
      Record("COPYDATA id=0x%08llX size=%lu wparam=%llu value=%d zero=%d text=%s",
             static_cast<unsigned long long>(cds->dwData), cds->cbData, static_cast<unsigned long long>(w), value, zero,
             Printable(p, 32).c_str());
    } else {
      Record("COPYDATA id=0x%08llX size=%lu wparam=%llu", cds ? static_cast<unsigned long long>(cds->dwData) : 0ULL,
             cds ? cds->cbData : 0UL, static_cast<unsigned long long>(w));
    }
    return TRUE;
  }
  return DefWindowProcA(h, m, w, l);
}

LRESULT CALLBACK SwitchProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == kSwitchMsg) {
    Record("SWITCH wparam=%llu lparam=%lld", static_cast<unsigned long long>(w), static_cast<long long>(l));
    return 0;
  }
  return DefWindowProcA(h, m, w, l);
}

HWND MakeWindow(const char* cls, const char* title, WNDPROC proc) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = cls;
  RegisterClassA(&wc);
  // Hidden top-level windows: FindWindow and SendMessage reach them, nobody sees them.
  return CreateWindowA(cls, title, WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr, wc.hInstance, nullptr);
}

bool TakeValue(int& i, int argc, char** argv, std::string& out) {
  if (i + 1 >= argc) return false;
  out = argv[++i];
  return true;
}

int Usage() {
  std::fprintf(stderr,
               "usage: lobby --program PATH [--mapping [NAME] | --args] [--seat N] [--user NAME] [--nick NAME]\n"
               "  [--room TITLE] [--login-word N] [--key TEXT] [--server HOST] [--port N] [--table TEXT]\n"
               "  [--chat-host HOST] [--chat-port N] [--column-text TEXT] [--column-number N]\n"
               "  [--force-watch N] [--extra ARG]... [--room-text TEXT] [--log FILE] [--timeout SECONDS]\n"
               "  [--find-game AFTER_MS:LPARAM]... [--folder DIR]\n");
  return 2;
}

bool ParseOptions(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i], v;
    if (a == "--args") {
      o.useMapping = false;
    } else if (a == "--mapping") {
      o.useMapping = true;
      if (i + 1 < argc && std::strncmp(argv[i + 1], "--", 2) != 0) o.mappingName = argv[++i];
    } else if (a == "--find-game") {
      if (!TakeValue(i, argc, argv, v)) return false;
      size_t colon = v.find(':');
      if (colon == std::string::npos) return false;
      o.findGame.push_back({static_cast<DWORD>(std::atoi(v.c_str())), std::atoi(v.c_str() + colon + 1), false});
    } else if (a == "--timeout") {
      if (!TakeValue(i, argc, argv, v)) return false;
      o.timeoutMs = static_cast<DWORD>(std::atoi(v.c_str())) * 1000;
    } else {
      struct {
        const char* name;
        std::string* field;
      } fields[] = {{"--program", &o.program},
                    {"--seat", &o.seat},
                    {"--user", &o.user},
                    {"--nick", &o.nick},
                    {"--room", &o.room},
                    {"--login-word", &o.loginWord},
                    {"--key", &o.key},
                    {"--server", &o.server},
                    {"--port", &o.port},
                    {"--table", &o.table},
                    {"--chat-host", &o.chatHost},
                    {"--chat-port", &o.chatPort},
                    {"--column-text", &o.columnText},
                    {"--column-number", &o.columnNumber},
                    {"--force-watch", &o.forceWatch},
                    {"--room-text", &o.roomText},
                    {"--log", &o.logPath},
                    {"--folder", &o.folder}};
      bool known = false;
      for (auto& f : fields) {
        if (a == f.name) {
          if (!TakeValue(i, argc, argv, *f.field)) return false;
          known = true;
        }
      }
      if (a == "--extra") {
        if (!TakeValue(i, argc, argv, v)) return false;
        o.extra.push_back(v);
        known = true;
      }
      if (!known) return false;
    }
  }
  return !o.program.empty();
}

// The record as the lobby writes it: the seat 1-based and as given, texts cut to their fields.
GAME_LAUNCH_REC BuildRecord(const Options& o) {
  GAME_LAUNCH_REC r;
  std::memset(&r, 0, sizeof r);
  r.nSeat = static_cast<int32_t>(std::atol(o.seat.c_str()));
  CopyLaunchText(r.szUserName, sizeof r.szUserName, o.user.c_str());
  CopyLaunchText(r.szNickName, sizeof r.szNickName, o.nick.c_str());
  CopyLaunchText(r.szRoomTitle, sizeof r.szRoomTitle, o.room.c_str());
  r.wLoginWord = static_cast<uint16_t>(std::atol(o.loginWord.c_str()));
  CopyLaunchText(r.szLoginKey, sizeof r.szLoginKey, o.key.c_str());
  CopyLaunchText(r.szServerHost, sizeof r.szServerHost, o.server.c_str());
  r.wServerPort = static_cast<uint16_t>(std::atol(o.port.c_str()));
  CopyLaunchText(r.szTableText, sizeof r.szTableText, o.table.c_str());
  CopyLaunchText(r.szChatHost, sizeof r.szChatHost, o.chatHost.c_str());
  r.wChatPort = static_cast<uint16_t>(std::atol(o.chatPort.c_str()));
  CopyLaunchText(r.szChatColumnText, sizeof r.szChatColumnText, o.columnText.c_str());
  r.nChatColumnNumber = static_cast<int32_t>(std::atol(o.columnNumber.c_str()));
  r.nForceWatch = static_cast<int32_t>(std::atol(o.forceWatch.c_str()));
  return r;
}

std::string ArgumentLine(const Options& o) {
  std::vector<std::string> args = {o.seat, o.user,  o.nick,     o.room,     o.loginWord,  o.key,         o.server,
                                   o.port, o.table, o.chatHost, o.chatPort, o.columnText, o.columnNumber};
  if (!o.forceWatch.empty()) args.push_back(o.forceWatch);
  for (const auto& e : o.extra) args.push_back(e);
  std::string line;
  for (const auto& a : args) line += " " + Quote(a);
  return line;
}

struct FindFrames {
  DWORD pid;
  std::vector<HWND> frames;
};

BOOL CALLBACK CollectFrame(HWND w, LPARAM l) {
  auto* f = reinterpret_cast<FindFrames*>(l);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  // The game frame marks itself with 0xFECE in its user data.
  if (pid == f->pid && GetWindowLongPtrA(w, GWLP_USERDATA) == 0xFECE) f->frames.push_back(w);
  return TRUE;
}

// A request that finds no frame yet is tried again every kFindGameRetryMs, for up to
// kFindGameGraceMs after it was due: a busy machine may take seconds to show the client's frame.
const DWORD kFindGameRetryMs = 100;
const DWORD kFindGameGraceMs = 30000;

// Sends the request to every frame of the client; false when the client has none yet.
bool SendFindGame(DWORD pid, LPARAM lParam, bool lastTry) {
  static const UINT msg = RegisterWindowMessageA("QK_LOBBYFINDGAME_MESSAGE_ID");
  FindFrames f{pid, {}};
  EnumWindows(CollectFrame, reinterpret_cast<LPARAM>(&f));
  if (f.frames.empty() && !lastTry) return false;
  unsigned visible = 0;
  for (HWND w : f.frames) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(w, msg, 0, lParam, SMTO_ABORTIFHUNG, 5000, &result);
    // How the frame stands once it has handled the request: tests read it here, not by
    // catching the moment between two requests.
    if (IsWindowVisible(w)) ++visible;
  }
  Record("FINDGAME lparam=%lld frames=%u visible=%u", static_cast<long long>(lParam),
         static_cast<unsigned>(f.frames.size()), visible);
  return true;
}

// Milliseconds until the next find-game request is due (INFINITE when none is left).
DWORD NextFindGame(Options& o, DWORD spent, DWORD pid) {
  DWORD next = INFINITE;
  for (auto& f : o.findGame) {
    if (f.done) continue;
    if (spent >= f.afterMs) {
      f.done = SendFindGame(pid, f.lParam, spent - f.afterMs >= kFindGameGraceMs);
      if (!f.done && kFindGameRetryMs < next) next = kFindGameRetryMs;
    } else if (f.afterMs - spent < next) {
      next = f.afterMs - spent;
    }
  }
  return next;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!ParseOptions(argc, argv, o)) return Usage();
  g_log = std::fopen(o.logPath.c_str(), "wb");

  // The room block and its mutex, as the platform's lobby keeps them.
  HANDLE roomMutex = CreateMutexA(nullptr, FALSE, "QKROOMEXE");
  HANDLE room = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kRoomRecSize, "QK_ROOM_REC");
  unsigned char* roomView =
      room ? static_cast<unsigned char*>(MapViewOfFile(room, FILE_MAP_WRITE, 0, 0, kRoomRecSize)) : nullptr;
  if (!roomMutex || !roomView) {
    Record("ROOM FAILED error=%lu", GetLastError());
    return 2;
  }
  HWND lobby = MakeWindow("VeskLobbyStandIn", "Vesk lobby", LobbyProc);
  HWND switcher = MakeWindow("VeskSwitchStandIn", "switch window", SwitchProc);
  WaitForSingleObject(roomMutex, INFINITE);
  uint32_t raw = static_cast<uint32_t>(reinterpret_cast<ULONG_PTR>(lobby));
  std::memcpy(roomView + kRoomLobbyWindow, &raw, sizeof raw);
  CopyLaunchText(reinterpret_cast<char*>(roomView + kRoomText), kRoomTextSize, o.roomText.c_str());
  ReleaseMutex(roomMutex);
  Record("ROOM lobby=0x%08X switch=%s", raw, switcher ? "yes" : "no");

  HANDLE launch = nullptr;
  std::string cmd = Quote(o.program);
  if (o.useMapping) {
    if (o.mappingName.empty()) o.mappingName = "QK_GAME_LAUNCH_" + std::to_string(GetCurrentProcessId());
    launch = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(GAME_LAUNCH_REC),
                                o.mappingName.c_str());
    void* view = launch ? MapViewOfFile(launch, FILE_MAP_WRITE, 0, 0, sizeof(GAME_LAUNCH_REC)) : nullptr;
    if (!view) {
      Record("MAPPING FAILED error=%lu", GetLastError());
      return 2;
    }
    GAME_LAUNCH_REC rec = BuildRecord(o);
    std::memcpy(view, &rec, sizeof rec);
    UnmapViewOfFile(view);
    cmd += " " + Quote(o.mappingName);
    for (const auto& e : o.extra) cmd += " " + Quote(e);
    Record("MAPPING name=%s", o.mappingName.c_str());
  } else {
    cmd += ArgumentLine(o);
  }

  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  std::vector<char> line(cmd.begin(), cmd.end());
  line.push_back('\0');
  Record("START %s", cmd.c_str());
  // The client runs in its own folder, as the platform starts it, unless another is asked.
  char full[MAX_PATH] = {};
  char* namePart = nullptr;
  std::string folder = o.folder;
  if (folder.empty() && GetFullPathNameA(o.program.c_str(), MAX_PATH, full, &namePart) && namePart)
    folder.assign(full, namePart - full);
  // The wall clock (Unix milliseconds) as the client is started: a benchmark lines the
  // client's and the server's moments up with it.
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  const unsigned long long ticks = (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  Record("CLOCK %llu", (ticks - 116444736000000000ULL) / 10000);
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &si, &pi)) {
    Record("START FAILED error=%lu", GetLastError());
    return 2;
  }
  CloseHandle(pi.hThread);
  Record("STARTED pid=%lu", pi.dwProcessId);

  DWORD start = GetTickCount();
  DWORD code = 0;
  for (;;) {
    DWORD spent = GetTickCount() - start;
    DWORD wait = NextFindGame(o, spent, pi.dwProcessId);
    if (o.timeoutMs != INFINITE) {
      if (spent >= o.timeoutMs) {
        Record("TIMEOUT");
        TerminateProcess(pi.hProcess, 259);
        WaitForSingleObject(pi.hProcess, 5000);
        code = 259;
        break;
      }
      if (o.timeoutMs - spent < wait) wait = o.timeoutMs - spent;
    }
    DWORD r = MsgWaitForMultipleObjects(1, &pi.hProcess, FALSE, wait, QS_ALLINPUT);
    if (r == WAIT_OBJECT_0) {
      // Deliver what the client posted just before it ended.
      MSG msg;
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
      GetExitCodeProcess(pi.hProcess, &code);
      Record("EXIT code=%lu", code);
      break;
    }
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
  CloseHandle(pi.hProcess);
  if (launch) CloseHandle(launch);
  DestroyWindow(lobby);
  DestroyWindow(switcher);
  UnmapViewOfFile(roomView);
  CloseHandle(room);
  CloseHandle(roomMutex);
  if (g_log) std::fclose(g_log);
  return static_cast<int>(code);
}
