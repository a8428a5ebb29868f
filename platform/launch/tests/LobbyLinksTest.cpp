#include "LobbyLinks.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

// A window on its own thread that records what it receives, as the lobby and the switch window do.
struct Recorder {
  HWND hwnd = nullptr;
  std::thread thread;
  HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE drained = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  static const UINT kDrained = WM_APP + 1;
  std::vector<std::string> texts;
  std::vector<int> values;
  std::vector<ULONG_PTR> ids;
  std::vector<WPARAM> wparams;
  std::vector<UINT> messages;

  static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    auto* self = reinterpret_cast<Recorder*>(GetWindowLongPtrA(h, GWLP_USERDATA));
    if (self && m == WM_COPYDATA) {
      auto* cds = reinterpret_cast<COPYDATASTRUCT*>(l);
      self->ids.push_back(cds->dwData);
      self->wparams.push_back(w);
      if (cds->cbData == sizeof(LOBBY_COPYDATA)) {
        LOBBY_COPYDATA d;
        std::memcpy(&d, cds->lpData, sizeof d);
        self->texts.emplace_back(d.szText, strnlen(d.szText, sizeof d.szText));
        self->values.push_back(d.nValue);
      }
      return 1;
    }
    if (self && m == kDrained) {
      SetEvent(self->drained);
      return 0;
    }
    if (self && m == SWITCH_WINDOW_MSG) {
      self->messages.push_back(m);
      self->wparams.push_back(w);
      return 0;
    }
    return DefWindowProcA(h, m, w, l);
  }

  explicit Recorder(const char* title) {
    thread = std::thread([this, title] {
      WNDCLASSA wc = {};
      wc.lpfnWndProc = Proc;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.lpszClassName = "LaunchTestRecorder";
      RegisterClassA(&wc);
      hwnd = CreateWindowA("LaunchTestRecorder", title, WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance,
                           nullptr);
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
      SetEvent(ready);
      MSG msg;
      while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    });
    WaitForSingleObject(ready, 5000);
  }
  ~Recorder() {
    PostMessageA(hwnd, WM_QUIT, 0, 0);
    thread.join();
    DestroyWindow(hwnd);
    CloseHandle(ready);
    CloseHandle(drained);
  }
  // Returns once the recorder's thread has handled what this thread posted to it before: posted
  // messages arrive in order, so a marker posted last is handled last.
  void Drain() {
    ResetEvent(drained);
    PostMessageA(hwnd, kDrained, 0, 0);
    WaitForSingleObject(drained, 10000);
  }
};

struct RoomBlock {
  HANDLE h = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, ROOM_REC_SIZE, ROOM_REC_NAME);
  unsigned char* p = static_cast<unsigned char*>(MapViewOfFile(h, FILE_MAP_WRITE, 0, 0, ROOM_REC_SIZE));
  void SetLobby(HWND w) {
    uint32_t raw = static_cast<uint32_t>(reinterpret_cast<ULONG_PTR>(w));
    std::memcpy(p + ROOM_REC_LOBBY_HWND, &raw, sizeof raw);
  }
  ~RoomBlock() {
    UnmapViewOfFile(p);
    CloseHandle(h);
  }
};

DWORD ReadMpid(const char* name, bool& present) {
  DWORD value = 0, size = sizeof value, type = 0;
  HKEY key;
  present = false;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, MPID_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS) return 0;
  present = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS;
  RegCloseKey(key);
  return value;
}

}  // namespace

TEST(LaunchMappingWin, RecordIsReadFromANamedMapping) {
  GAME_LAUNCH_REC lobby;
  std::memset(&lobby, 0, sizeof lobby);
  lobby.nSeat = 2;
  std::memset(lobby.szUserName, 'u', sizeof lobby.szUserName);  // unterminated on purpose
  lobby.wServerPort = 4100;
  lobby.wChatPort = 4200;
  HANDLE h = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 496, "LaunchTestRec");
  void* v = MapViewOfFile(h, FILE_MAP_WRITE, 0, 0, 496);
  std::memcpy(v, &lobby, sizeof lobby);
  const char* argv[] = {"Vesk.exe", "LaunchTestRec"};
  GAME_LAUNCH_REC rec;
  ASSERT_TRUE(ReadLaunchRecordFromArgs(2, argv, rec));
  EXPECT_EQ(rec.nSeat, 1);
  EXPECT_EQ(std::string(rec.szUserName), std::string(19, 'u'));
  UnmapViewOfFile(v);
  CloseHandle(h);

  const char* missing[] = {"Vesk.exe", "NoSuchLaunchMapping"};
  EXPECT_FALSE(ReadLaunchRecordFromArgs(2, missing, rec));
  // A section smaller than the record is refused rather than read past its end.
  HANDLE small = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 100, "LaunchTestSmall");
  const char* shortArgs[] = {"Vesk.exe", "LaunchTestSmall"};
  EXPECT_FALSE(ReadLaunchRecordFromArgs(2, shortArgs, rec));
  CloseHandle(small);
}

TEST(LobbyCopyDataWin, SendsTheBoundedTextToTheLobbyWindow) {
  Recorder lobby("lobby test window");
  RoomBlock room;
  room.SetLobby(lobby.hwnd);
  std::string text40(40, 'x');
  EXPECT_TRUE(SendLobbyCopyData(text40.c_str(), 7, 99));
  ASSERT_EQ(lobby.texts.size(), 1u);
  EXPECT_EQ(lobby.texts[0], std::string(31, 'x'));
  EXPECT_EQ(lobby.values[0], 7);
  EXPECT_EQ(lobby.ids[0], LOBBY_COPYDATA_ID);
  EXPECT_EQ(lobby.wparams[0], 99u);
  // It mapped the block for the call only.
  EXPECT_EQ(GetRoomRecLobbyWindow(), nullptr);
}

TEST(LobbyCopyDataWin, GoneLobbyOrNoBlockReturnsZero) {
  EXPECT_FALSE(SendLobbyCopyData("skin", 1, 0));  // no room block
  RoomBlock room;
  room.SetLobby(nullptr);
  EXPECT_FALSE(SendLobbyCopyData("skin", 1, 0));
  room.SetLobby(reinterpret_cast<HWND>(0x7ff0));  // not a window
  EXPECT_FALSE(SendLobbyCopyData("skin", 1, 0));
  ASSERT_TRUE(OpenRoomRec());
  EXPECT_TRUE(OpenRoomRec());
  CloseRoomRec();
}

TEST(LobbyCopyDataWin, AHungLobbyCostsABoundedWait) {
  // A lobby window whose thread stops pumping messages.
  HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HWND hung = nullptr;
  std::thread t([&] {
    hung = CreateWindowA("STATIC", "hung lobby", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    SetEvent(ready);
    WaitForSingleObject(release, INFINITE);
    DestroyWindow(hung);
  });
  WaitForSingleObject(ready, 5000);
  RoomBlock room;
  room.SetLobby(hung);
  EXPECT_FALSE(SendLobbyCopyData("skin", 1, 0));  // returns, and says it was not delivered
  SetEvent(release);
  t.join();
  CloseHandle(ready);
  CloseHandle(release);
}

TEST(MpidWin, WritesAndDeletesAndTellsTheSwitchWindow) {
  bool present = false;
  EXPECT_TRUE(SetMPID("LaunchTest.exe", 1234, 1));  // no switch window: still written
  EXPECT_EQ(ReadMpid("LaunchTest.exe", present), 1234u);
  EXPECT_TRUE(present);

  Recorder sw(SWITCH_WINDOW_TITLE);
  int flag = 0;
  EXPECT_TRUE(RegisterMPID(flag));
  EXPECT_EQ(flag, 1);
  char name[MAX_PATH];
  GetProgramFileName(name, sizeof name);
  EXPECT_EQ(std::string(name).find('\\'), std::string::npos);
  EXPECT_EQ(ReadMpid(name, present), GetCurrentProcessId());
  UnregisterMPID(flag);
  ReadMpid(name, present);
  EXPECT_FALSE(present);
  EXPECT_TRUE(SetMPID("LaunchTest.exe", 0, 0));
  ReadMpid("LaunchTest.exe", present);
  EXPECT_FALSE(present);
  sw.Drain();
  ASSERT_EQ(sw.messages.size(), 3u);
  EXPECT_EQ(sw.wparams[0], 1u);
  EXPECT_EQ(sw.wparams[1], 0u);
}

TEST(MainWindowWin, VisibleBitAndScreenMetrics) {
  EXPECT_FALSE(IsMainWindowVisible(nullptr));
  HWND w = CreateWindowA("STATIC", "m", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  EXPECT_FALSE(IsMainWindowVisible(w));
  ShowWindow(w, SW_SHOWNA);
  EXPECT_TRUE(IsMainWindowVisible(w));
  DestroyWindow(w);
  EXPECT_GT(GetFullScreenWidth(), 0);
  EXPECT_GT(GetFullScreenHeight(), 0);
}
