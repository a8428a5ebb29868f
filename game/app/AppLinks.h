// Where start-up meets parts of the program that join it later: the net skin, the
// owner-drawn theme, the skinned boxes, the music player and the game-server socket.
// Each call keeps its place and its failure result in start-up; the bodies here are the
// plain behaviour until those parts are linked in.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "LaunchRecord.h"
#include "MessageHandlerTable.h"

class CGameDocCore;

// The login reply as entering the table uses it.
struct TABLE_LOGIN {
  int nPlayerCount = 0;
  uint16_t wChatValue = 0;       // the chat control's value from the reply
  std::vector<uint8_t> players;  // 48-byte entries
  std::vector<uint8_t> options;  // table-options text
  std::vector<uint8_t> watch;    // watch block (a watcher's)
};

// ---- net skin, theme, boxes, music --------------------------------------------------
// TRUE with the skin folder when a net skin is active.
BOOL LoadNetSkin(const char* gameName, const char* skinName, char* folder, size_t size);
// The owner-drawn theme (odctrls/theme); FALSE ends start-up without a message.
BOOL LoadOwnerDrawnTheme(const char* path, int mode);
void UnloadOwnerDrawnTheme();
// A box with a string of the resource library (formatted with arg when given), an MB_ style
// and a countdown in seconds after which it closes by itself; returns the pressed button.
int ShowStartupBoxId(UINT stringId, UINT style, int countdownSeconds, const char* arg = nullptr);
int ShowStartupBoxText(const char* text, UINT style, int countdownSeconds);
// A server question: the text and, when answer is not null, a field for the typed answer.
int ShowStartupInputBox(const char* text, UINT style, int countdownSeconds, std::string* answer);
// The login's progress box with a string of the resource library; 0 takes it down.
void ShowStartupProgress(UINT stringId);
// A system line of the server (until the chat view exists: the game log).
void SystemTextLine(const char* line);
// The watcher's wait box with string 29916; destroyed by DestroyWatchWaitBox.
HWND CreateWatchWaitBox(HWND owner);
// The plain wait box (before the skin is up): a popup with the text of string 29916.
HWND CreatePlainWaitBox(HWND owner);
void DestroyWatchWaitBox(HWND box);

// ---- the game-server socket ------------------------------------------------------------
// Windows Sockets for the socket; FALSE when they cannot be started.
BOOL GameSocketInitSockets();
// The first of the socket's hooks the program left unset, or null (start-up refuses to go on).
const char* GameSocketMissingHook();
// Logs in with the launch record; FALSE when the table cannot be reached or refuses.
BOOL GameSocketLogin(const GAME_LAUNCH_REC& rec, TABLE_LOGIN& login);
void GameSocketClose();
// Tells the server this player leaves (forced: during a hand), then closes.
void GameSocketQuitAndClose(bool forced);
void GameSocketSuspend();
void GameSocketResume();
BOOL GameSocketSendClientStart();
// The table's option flags from the server (bit 0: trusteeship allowed).
uint32_t GameSocketOptionFlags();
// The idle time before the keep-alive, in seconds.
int GameSocketIdleSeconds();
void GameSocketSendKeepAlive();
// A complete frame without a reply wait.
BOOL GameSocketSendFrame(const std::vector<uint8_t>& frame);
// What closing the main window reads of the connection.
struct GAME_SOCKET_CLOSE_STATE {
  BOOL bConnected = FALSE;
  BOOL bTrustExitDone = FALSE;
  int nEnded = 0;  // the connection-ended state word
  int nEndedByServer = 0;
};
GAME_SOCKET_CLOSE_STATE GameSocketCloseState();
// Asks the server for leave by trusteeship (waits for its answer).
void GameSocketRequestTrustExit();
BOOL GameSocketSendOptionFlags(int nType, DWORD dwValue);
// The socket's handler table.
CMessageHandlerTable<CGameDocCore>& GameSocketHandlers();
// The document's message handlers and callbacks, registered at start-up.
void GameSocketRegisterDocument(CGameDocCore* pDoc);
// The remote-log line of a closing connection goes out while the crash-report switch is on.
void GameSocketSetCloseLog(BOOL crashReportOn);

// ---- start-up trace ------------------------------------------------------------------------
// Appends "<step> <name>: <ms> ms\t<unix ms>" to the file named by VESK_STARTUP_TRACE, when
// that is set, so a test can see how far start-up went and in which order, and a benchmark
// where the time went: milliseconds since the process was created, then the wall clock.
void TraceStartupStep(int step, const char* name);
