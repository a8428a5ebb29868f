// Stands in for the client under the lobby: reads the launch record as the client does,
// writes what it read to probe.txt, notifies the lobby and sets and clears its MPID.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "LobbyLinks.h"

namespace {

std::string Hex(const char* s, size_t max) {
  std::string out;
  for (size_t i = 0; i < max && s[i]; ++i) {
    char h[4];
    std::snprintf(h, sizeof h, "%02X", static_cast<unsigned char>(s[i]));
    out += h;
  }
  return out;
}

std::string RoomText() {
  HANDLE h = OpenFileMappingA(FILE_MAP_READ, FALSE, ROOM_REC_NAME);
  if (!h) return "";
  const char* v = static_cast<const char*>(MapViewOfFile(h, FILE_MAP_READ, 0, 0, ROOM_REC_SIZE));
  std::string text = v ? std::string(v + ROOM_REC_ROOM_TEXT, strnlen(v + ROOM_REC_ROOM_TEXT, 256)) : "";
  if (v) UnmapViewOfFile(v);
  CloseHandle(h);
  return text;
}

LPARAM g_findGame = -1;

LRESULT CALLBACK FrameProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  static const UINT findGame = RegisterWindowMessageA("QK_LOBBYFINDGAME_MESSAGE_ID");
  if (m == findGame) {
    g_findGame = l;
    return 0;
  }
  return DefWindowProcA(h, m, w, l);
}

// With PROBE_FIND_GAME set: a window marked as the game frame waits for the lobby's find-game message.
void WaitForFindGame(FILE* f) {
  char flag[8];
  if (!GetEnvironmentVariableA("PROBE_FIND_GAME", flag, sizeof flag)) return;
  WNDCLASSA wc = {};
  wc.lpfnWndProc = FrameProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "ProbeFrame";
  RegisterClassA(&wc);
  HWND frame =
      CreateWindowA("ProbeFrame", "probe frame", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr, wc.hInstance, nullptr);
  SetWindowLongPtrA(frame, GWLP_USERDATA, 0xFECE);
  DWORD start = GetTickCount();
  while (g_findGame < 0 && GetTickCount() - start < 20000) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
  std::fprintf(f, "findgame=%lld\n", static_cast<long long>(g_findGame));
  DestroyWindow(frame);
}

}  // namespace

int main() {
  BOOL ok = ReadLaunchRecord();
  FILE* f = std::fopen("probe.txt", "wb");
  if (!f) return 4;
  const GAME_LAUNCH_REC& r = g_LaunchRec;
  std::fprintf(f, "ok=%d\nargc=%d\n", ok ? 1 : 0, __argc);
  if (ok) {
    std::fprintf(f, "seat=%d\nuser=%s\nnick=%s\nroom=%s\nloginword=%u\nkey=%s\nserver=%s\nport=%u\n", r.nSeat,
                 Hex(r.szUserName, 20).c_str(), Hex(r.szNickName, 20).c_str(), Hex(r.szRoomTitle, 40).c_str(),
                 r.wLoginWord, Hex(r.szLoginKey, 40).c_str(), Hex(r.szServerHost, 40).c_str(), r.wServerPort);
    std::fprintf(f, "table=%s\nchathost=%s\nchatport=%u\ncoltext=%s\ncolnum=%d\nforcewatch=%d\n",
                 Hex(r.szTableText, 256).c_str(), Hex(r.szChatHost, 40).c_str(), r.wChatPort,
                 Hex(r.szChatColumnText, 16).c_str(), r.nChatColumnNumber, r.nForceWatch);
    std::fprintf(f, "roomtext=%s\n", RoomText().c_str());
    std::string note = std::string("skin:") + r.szUserName + ":0123456789012345678901234567890123456789";
    std::fprintf(f, "copydata=%d\n", SendLobbyCopyData(note.c_str(), 5, 7));
    int flag = 0;
    RegisterMPID(flag);
    UnregisterMPID(flag);
    WaitForFindGame(f);
  }
  std::fclose(f);
  return ok ? 0 : 3;
}
