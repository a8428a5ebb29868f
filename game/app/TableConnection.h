// The program's connection to the game server: the socket with every hook of the program, the
// one busy state of the table's sends, and the remote-log line of a closing connection. It is
// the document's connection host; start-up, the frame's close and the view's keep-alive use
// it too. The socket is made on first use (a scripted table stands in for it in tests).
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "DocHost.h"
#include "LaunchRecord.h"

class CGameDocCore;

// The login reply as entering the table uses it.
struct TABLE_LOGIN {
  int nPlayerCount = 0;
  uint16_t wChatValue = 0;       // the chat control's value from the reply
  std::vector<uint8_t> players;  // 48-byte entries
  std::vector<uint8_t> options;  // table-options text
  std::vector<uint8_t> watch;    // watch block (a watcher's)
};

class CTableConnection : public CDocConnection {
 public:
  CTableConnection();
  ~CTableConnection() override;

  // ---- start-up
  // Windows Sockets for the socket; FALSE when they cannot be started.
  BOOL InitSockets();
  // The first of the socket's hooks the program left unset, or null (start-up refuses to go on).
  const char* MissingHook();
  // Logs in with the launch record; FALSE when the table cannot be reached or refuses.
  BOOL Login(const GAME_LAUNCH_REC& rec, TABLE_LOGIN& login);
  // The remote-log line of a closing connection goes out while the crash-report switch is on.
  void SetCloseLog(BOOL crashReportOn);
  // The document's message handlers and callbacks: the server's frames reach it from now on.
  void AttachDocument(CGameDocCore* pDoc);
  void Suspend();
  void Resume();
  BOOL SendClientStart();
  void Close();

  // ---- what closing the main window and the table view read and ask
  BOOL IsConnected();
  BOOL IsTrustExitDone();
  BOOL IsEnded();  // the connection-ended state word is set
  BOOL IsEndedByServer();
  // Asks the server for leave by trusteeship (waits for its answer).
  void RequestTrustExit();
  BOOL SendOptionFlags(int nType, DWORD dwValue);
  // The idle time before the keep-alive, in seconds.
  int IdleSeconds();
  void SendKeepAlive();
  // A line in the connection manager's log (written only while its debug switch is on).
  void WriteConnectionLog(const char* text);

  // ---- CDocConnection
  bool SendFrame(const std::vector<uint8_t>& frame) override;
  void BeginSend() override;
  void EndSend() override;
  void HoldInput() override;
  void ReleaseInput() override;
  bool IsBusy() override;
  uint32_t OptionFlags() override;
  void QuitAndClose() override;
  void QuitForcedAndClose() override;
  void PostCloseMainWindow() override;
  bool IsMainWindowVisible() override;
  bool IsMainWindowActive() override;
  bool IsMainWindowMinimised() override;
  void FlashMainWindow(int count, int ms) override;
  void ShowMainWindow() override;
  void DetachDocument() override;

 private:
  // The socket and its hooks, or the scripted table of the tests.
  class CLink;
  CLink& Link();

  std::unique_ptr<CLink> m_pLink;
  CGameDocCore* m_pDoc = nullptr;
  int m_nSending = 0;         // sends in flight
  bool m_bInputHeld = false;  // a timeout waits for the next wait phase
};
