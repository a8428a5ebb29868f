#include "LobbyLinks.h"

#include <cstdlib>
#include <cstring>

GAME_LAUNCH_REC g_LaunchRec;

namespace {

HANDLE g_hRoomRec = nullptr;
unsigned char* g_pRoomRec = nullptr;

}  // namespace

BOOL ReadLaunchMapping(const char* name, unsigned char* out, size_t size) {
  if (!name || !*name || !out) return FALSE;
  HANDLE h = OpenFileMappingA(FILE_MAP_READ, FALSE, name);
  if (!h) return FALSE;
  // A section smaller than the record cannot be mapped at this size, so no read runs past it.
  void* view = MapViewOfFile(h, FILE_MAP_READ, 0, 0, size);
  if (!view) {
    CloseHandle(h);
    return FALSE;
  }
  std::memcpy(out, view, size);
  UnmapViewOfFile(view);
  CloseHandle(h);
  return TRUE;
}

BOOL ReadLaunchRecordFromArgs(int argc, const char* const* argv, GAME_LAUNCH_REC& rec) {
  return ReadLaunchRecordFrom(
             argc, argv,
             [](const char* name, unsigned char* out, size_t size) {
               return ReadLaunchMapping(name, out, size) != FALSE;
             },
             rec)
             ? TRUE
             : FALSE;
}

BOOL ReadLaunchRecord() { return ReadLaunchRecordFromArgs(__argc, __argv, g_LaunchRec); }

BOOL OpenRoomRec() {
  if (g_pRoomRec) return TRUE;
  g_hRoomRec = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, ROOM_REC_NAME);
  if (!g_hRoomRec) return FALSE;
  g_pRoomRec = static_cast<unsigned char*>(MapViewOfFile(g_hRoomRec, FILE_MAP_WRITE, 0, 0, ROOM_REC_SIZE));
  if (!g_pRoomRec) {
    CloseHandle(g_hRoomRec);
    g_hRoomRec = nullptr;
    return FALSE;
  }
  return TRUE;
}

void CloseRoomRec() {
  if (g_pRoomRec) UnmapViewOfFile(g_pRoomRec);
  if (g_hRoomRec) CloseHandle(g_hRoomRec);
  g_pRoomRec = nullptr;
  g_hRoomRec = nullptr;
}

HWND GetRoomRecLobbyWindow() {
  if (!g_pRoomRec) return nullptr;
  // The lobby writes the handle under its mutex; a short wait keeps a stuck lobby from stalling us.
  HANDLE mutex = OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, ROOM_REC_MUTEX);
  bool locked = mutex && WaitForSingleObject(mutex, 1000) == WAIT_OBJECT_0;
  uint32_t raw = 0;
  std::memcpy(&raw, g_pRoomRec + ROOM_REC_LOBBY_HWND, sizeof raw);
  if (locked) ReleaseMutex(mutex);
  if (mutex) CloseHandle(mutex);
  // Stored as 32 bits; window handles fit, widen on read.
  return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(raw));
}

BOOL SendLobbyCopyData(const char* text, int value, WPARAM wParam) {
  bool mappedHere = false;
  if (!g_pRoomRec) {
    if (!OpenRoomRec()) return FALSE;
    mappedHere = true;
  }
  HWND lobby = GetRoomRecLobbyWindow();
  BOOL sent = FALSE;
  if (lobby && IsWindow(lobby)) {
    LOBBY_COPYDATA data;
    std::memset(&data, 0, sizeof data);
    CopyLaunchText(data.szText, sizeof data.szText, text);
    data.nValue = value;
    COPYDATASTRUCT cds;
    cds.dwData = LOBBY_COPYDATA_ID;
    cds.cbData = sizeof data;
    cds.lpData = &data;
    DWORD_PTR result = 0;
    // Bounded: a lobby that hangs must not hang the client with it.
    sent = SendMessageTimeoutA(lobby, WM_COPYDATA, wParam, reinterpret_cast<LPARAM>(&cds),
                               SMTO_ABORTIFHUNG | SMTO_BLOCK, LOBBY_SEND_TIMEOUT_MS, &result) != 0;
  }
  if (mappedHere) CloseRoomRec();
  return sent;
}

void GetProgramFileName(char* out, size_t size) {
  if (!out || size == 0) return;
  char path[MAX_PATH + 1];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  path[n < MAX_PATH ? n : MAX_PATH] = '\0';
  const char* slash = std::strrchr(path, '\\');
  CopyLaunchText(out, size, slash ? slash + 1 : path);
}

BOOL SetMPID(const char* name, DWORD processId, int set) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, MPID_KEY, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) ==
      ERROR_SUCCESS) {
    if (set == 1)
      RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&processId), sizeof processId);
    else
      RegDeleteValueA(key, name);
    RegCloseKey(key);
  }
  HWND sw = FindWindowA(nullptr, SWITCH_WINDOW_TITLE);
  if (sw) PostMessageA(sw, SWITCH_WINDOW_MSG, static_cast<WPARAM>(set), 0);
  return TRUE;
}

BOOL RegisterMPID(int& registeredFlag) {
  registeredFlag = 1;
  char name[MAX_PATH];
  GetProgramFileName(name, sizeof name);
  return SetMPID(name, GetCurrentProcessId(), 1);
}

void UnregisterMPID(int registeredFlag) {
  if (!registeredFlag) return;
  char name[MAX_PATH];
  GetProgramFileName(name, sizeof name);
  SetMPID(name, GetCurrentProcessId(), 0);
}

BOOL IsMainWindowVisible(HWND hMainWnd) {
  if (!hMainWnd) return FALSE;
  return (GetWindowLongPtrA(hMainWnd, GWL_STYLE) & WS_VISIBLE) ? TRUE : FALSE;
}

int GetFullScreenWidth() { return GetSystemMetrics(SM_CXFULLSCREEN); }
int GetFullScreenHeight() { return GetSystemMetrics(SM_CYFULLSCREEN); }
