// The client's links to the lobby: the launch record read at start, the lobby's room
// block "QK_ROOM_REC", notifications by WM_COPYDATA, the MPID registry value.
#pragma once
#include <windows.h>

#include "LaunchRecord.h"

// The one launch record of the process, filled by ReadLaunchRecord.
extern GAME_LAUNCH_REC g_LaunchRec;

const char ROOM_REC_NAME[] = "QK_ROOM_REC";
const char ROOM_REC_MUTEX[] = "QKROOMEXE";
const DWORD ROOM_REC_SIZE = 42536;
const DWORD ROOM_REC_LOBBY_HWND = 13036;  // u32 window handle
const DWORD ROOM_REC_ROOM_TEXT = 23720;   // room text kept by the lobby
const ULONG_PTR LOBBY_COPYDATA_ID = 0xFFF03001;
const UINT SWITCH_WINDOW_MSG = 0x1212;
const char SWITCH_WINDOW_TITLE[] = "switch window";
const char MPID_KEY[] = "Software\\Orvane\\Game\\Share\\Settings\\MPID";
const DWORD LOBBY_SEND_TIMEOUT_MS = 5000;

// The WM_COPYDATA payload the lobby receives (40 bytes).
struct LOBBY_COPYDATA {
  char szText[32];
  int32_t nValue;
  int32_t nZero;
};
static_assert(sizeof(LOBBY_COPYDATA) == 40, "lobby notification size");

// From the process's command line: 13 or 14 arguments, or one naming a file mapping.
BOOL ReadLaunchRecord();
BOOL ReadLaunchRecordFromArgs(int argc, const char* const* argv, GAME_LAUNCH_REC& rec);
// Copies the 496 bytes of the named mapping; FALSE when it cannot be opened or mapped.
BOOL ReadLaunchMapping(const char* name, unsigned char* out, size_t size);

BOOL OpenRoomRec();
void CloseRoomRec();
// The lobby window handle from the mapped room block (null when unmapped).
HWND GetRoomRecLobbyWindow();

// Notifies the lobby window; 1 when it was delivered within the bounded wait.
BOOL SendLobbyCopyData(const char* text, int value, WPARAM wParam);

// Program file name: the module path behind its last backslash.
void GetProgramFileName(char* out, size_t size);
// set 1 writes the process id under the program's name, else deletes it; tells the switch window.
BOOL SetMPID(const char* name, DWORD processId, int set);
// What the socket does on its MPID message and on close: flag := 1, then SetMPID for this process.
BOOL RegisterMPID(int& registeredFlag);
void UnregisterMPID(int registeredFlag);

BOOL IsMainWindowVisible(HWND hMainWnd);
int GetFullScreenWidth();
int GetFullScreenHeight();
