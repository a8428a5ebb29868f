// The client's one connection to the game server. Frame traffic (sending with the size limit,
// reply waits over the ten slots, frame assembly, inflation, the stream transforms, suspended
// notifications) is the portable session of netcore; this class gives it the Windows socket,
// the nested message pump, the boxes and the virtual OnMessage, and does the connect with its
// proxies on a worker thread.
#pragma once
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include <afxsock.h>
#include "NetSession.h"
#include "ProxyHandshake.h"
#include "ProxySettings.h"

class CProxyTunnel;

// SendMsg's reply address meaning "wait for the arrival only".
#define SENDMSG_ARRIVAL_ONLY (reinterpret_cast<BYTE**>(static_cast<INT_PTR>(1)))

class CGameSocket : public CSocket {
 public:
  enum { kAllEvents = FD_READ | FD_WRITE | FD_OOB | FD_ACCEPT | FD_CONNECT | FD_CLOSE };  // 63
  // Boxes in place of the skinned ones: text or string id, style, countdown seconds -> button id.
  typedef int (*TEXTBOXHOOK)(LPCSTR lpszText, UINT nStyle, int nCountdown);
  typedef int (*IDBOXHOOK)(UINT nStringId, UINT nStyle, int nCountdown);

  CGameSocket();
  ~CGameSocket() override;

  // CSocket
  void Close() override;
  int Receive(void* lpBuf, int nBufLen, int nFlags = 0) override;
  int Send(const void* lpBuf, int nBufLen, int nFlags = 0) override;
  void OnReceive(int nErrorCode) override;
  void OnClose(int nErrorCode) override;

  virtual BOOL Connect(LPCSTR lpszHost, UINT nPort, BOOL bInteractive);
  // 1 sent (and the reply arrived when waited for), 0 refused or failed. pFrame may be null
  // (wait only). ppReply: null no wait, SENDMSG_ARRIVAL_ONLY wait for the arrival only, else
  // receives the reply frame (free it with FreeFrame). dwReplyId 0: the request id | 0x80000000.
  virtual int SendMsg(const BYTE* pFrame, BYTE** ppReply = nullptr, DWORD dwReplyId = 0);
  // A frame no reply slot took; header plus body, length as in its header. The system
  // messages are handled here (1); 0 leaves the frame to the application's handler table.
  virtual int OnMessage(BYTE* pFrame);
  // System-message callbacks, each overridable.
  virtual void OnServerEnd(int nCode);
  virtual int OnUserCut(BYTE* pFrame);
  virtual int OnUserBack(BYTE* pFrame);
  virtual int OnTrusteeship(BYTE* pFrame) {
    (void)pFrame;
    return 0;
  }
  virtual int OnUserTrustExit(BYTE* pFrame) {
    (void)pFrame;
    return 0;
  }
  virtual void OnKicked();
  // The lobby's MPID registry value for this process (removed again when the connection ends).
  virtual void RegisterMPID();
  // The tip window of MSG_TIP through the tip hook.
  void ShowTipWindow(BYTE* pFrame);

  // ---- system messages sent by the client ----
  struct LOGIN_RESULT {
    int nPlayerCount = 0;
    uint16_t wChatValue = 0;       // passed on to the chat control's user table
    std::vector<uint8_t> players;  // 48-byte entries, first word the seat alone
    std::vector<uint8_t> options;  // the table options text
    std::vector<uint8_t> watch;    // the watch block; empty when absent
  };
  BOOL Login(const struct GAME_LAUNCH_REC& rec, LOGIN_RESULT* pResult);
  int SendKeepAlive();
  void QuitAndClose();
  void QuitForcedAndClose();
  BOOL SendClientStart();
  void RequestTrustExit();
  BOOL SendOptionFlags(int nType, DWORD dwValue);
  void CloseHandleNow();
  static DWORD ReadIdleSecond();

  // ---- boxes and lines ----
  // Input box for the server's questions: text, style, countdown, answer out (null: no input).
  typedef int (*INPUTBOXHOOK)(LPCSTR lpszText, UINT nStyle, int nCountdown, std::string* pAnswer);
  typedef void (*SYSTEXTSINK)(LPCSTR lpszLine, void* pContext);
  typedef BOOL (*OPENURLHOOK)(LPCSTR lpszUrl);
  void SetInputBoxHook(INPUTBOXHOOK pfn) { m_pfnInputBox = pfn; }
  void SetSystemTextSink(SYSTEXTSINK pfn, void* pContext) {
    m_pfnSysText = pfn;
    m_pSysTextContext = pContext;
  }
  void SetOpenUrlHook(OPENURLHOOK pfn) { m_pfnOpenUrl = pfn; }
  // The login's progress box: a string id to show (29908, 29913), 0 to take it down.
  typedef void (*PROGRESSHOOK)(UINT nStringId);
  void SetProgressHook(PROGRESSHOOK pfn) { m_pfnProgress = pfn; }
  // A tip window for the frame of a tip message (the whole frame).
  typedef void (*TIPHOOK)(const BYTE* pFrame);
  void SetTipHook(TIPHOOK pfn) { m_pfnTip = pfn; }
  // The first hook a program left unset ("text box", "id box", "input box", "system text",
  // "open url", "progress", "tip"), or null when every one is set.
  const char* MissingHook() const;
  int ShowIdBoxModal(UINT nStringId, UINT nStyle, int nCountdown);
  // Boxes that run their loop with notifications on. One of a kind is open at a time: a newer
  // one that arrives meanwhile closes the open box (as its countdown would) and is shown in
  // its place once that has returned, so the stack stays flat whatever the server sends.
  enum BoxKind { BOX_OWN_TRUSTEESHIP, BOX_KINDS };
  int ShowReplacingTextBox(BoxKind kind, LPCSTR lpszText, UINT nStyle, int nCountdown);
  BOOL IsBoxOpen(BoxKind kind) const { return m_boxSlots[kind].open; }
  void AddSystemText(LPCSTR lpszText);
  void CancelChildModes();
  static std::string LoadText(UINT nStringId);

  void SetOwnName(LPCSTR lpszName);
  const std::string& OwnName() const { return m_strOwnName; }
  DWORD GetOptionFlags() const { return m_dwOptionFlags; }
  int GetLoginStatus() const { return m_nLoginStatus; }
  BOOL IsTrustExitDone() const { return m_bTrustExitDone; }
  const BYTE* OwnInfo() const { return m_ownInfo; }
  void EnableTips(BOOL b) { m_bTipsEnabled = b; }
  void SetShowProgressBoxes(BOOL b) { m_bShowProgressBoxes = b; }
  int m_nStateEndedByServer = 0;

  int SendMsg(uint32_t id, const void* body, size_t length, BYTE** ppReply = nullptr, DWORD dwReplyId = 0);
  static void FreeFrame(BYTE* pFrame) { delete[] pFrame; }

  void Reset();
  BOOL ReceiveExact(void* lpBuf, int nCount, int nFlags = 0);
  BOOL WaitReply(DWORD* pdwStartTick, BOOL bPump);
  void SuspendNotifications() { m_session.SuspendNotifications(); }
  void ResumeNotifications() { m_session.ResumeNotifications(); }
  // MSG_WIRE_CODE: installs both stream transforms from the body; a malformed one closes.
  BOOL ApplyWireCode(const BYTE* pBody, UINT nLength) { return m_session.ApplyWireCode(pBody, nLength); }
  void ShowErrorText(int nCode);
  static BOOL InitSockets();

  int SetReplyTimeout(int nSeconds) { return m_session.SetReplyTimeout(nSeconds); }
  BOOL IsAborted() const { return m_session.IsAborted(); }
  void SetCancelFlag(volatile int* pFlag) { m_session.SetCancelFlag(pFlag); }
  volatile int* GetCancelFlag() const { return m_pCancel; }
  BOOL IsInteractive() const { return m_session.Interactive(); }
  void SetInteractive(BOOL b) { m_session.SetInteractive(b != FALSE); }
  int GetLastErrorCode() const { return m_session.LastError(); }
  int GetConnectState() const { return m_nConnectState.load(); }
  BOOL IsConnected() const { return TransportOpen(); }
  BOOL IsViaProxy() const { return m_bViaProxy; }
  int GetOnMessageDepth() const { return m_session.OnMessageDepth(); }
  int GetWaitDepth() const { return m_session.WaitDepth(); }
  size_t GetHeldBytes() const { return m_session.Held(); }
  BOOL IsLoginInProgress() const { return m_session.LoginInProgress(); }
  const netcore::CNetSession& Session() const { return m_session; }

  void SetBoxHooks(TEXTBOXHOOK pfnText, IDBOXHOOK pfnId) {
    m_pfnTextBox = pfnText;
    m_pfnIdBox = pfnId;
  }
  // Shows a string from the resource module through the id-box hook (else a plain box).
  int ShowIdBox(UINT nStringId, UINT nStyle, int nCountdown = -1);
  int ShowTextBox(LPCSTR lpszText, UINT nStyle, int nCountdown = -1);

  // Connect helpers.
  void ReadProxySettings();
  int MapP80Port(UINT nPort);
  void SetRemappedPort(int nPort, DWORD dwExtra) {
    m_nRemappedPort = nPort;
    m_dwRemappedExtra = dwExtra;
  }
  void SetTunnelAllowed(BOOL b) { m_bTunnelAllowed = b; }
  void SetPumpWhileConnecting(BOOL b) { m_bPumpWhileConnecting = b; }
  BOOL Socks4Connect(LPCSTR lpszHost, UINT nPort);
  BOOL Socks5Connect(LPCSTR lpszHost, UINT nPort);
  const netcore::PROXY_SETTINGS& ProxySettings() const { return m_proxy; }
  CProxyTunnel& Tunnel() { return *m_pTunnel; }

  // Highest Windows Sockets version the system supports (from InitSockets).
  static WORD s_wHighVersion;
  int m_nCloseReason = 0;
  int m_nStateEnded = 0;

 public:
  // Runs a proxy handshake on the attached socket: sends with Send, reads with ReceiveExact.
  BOOL RunHandshake(netcore::CProxyHandshake& hs);

 protected:
  BOOL m_bClosing = FALSE;
  void OnQuitNotice(const BYTE* pBody, size_t nLength);
  void OnFatal(uint32_t nCode, const BYTE* pBody, size_t nLength);
  void OnNoticeBox(const BYTE* pBody, size_t nLength);
  void OnServerDialog(const BYTE* pBody, size_t nLength);
  void OnTextBox(const BYTE* pBody, size_t nLength);
  void OnTrusteeshipResult(BYTE* pFrame, uint32_t nStatus, const BYTE* pBody, size_t nLength);
  void OnTrustExitResult(BYTE* pFrame, uint32_t nStatus, const BYTE* pBody, size_t nLength);
  void OnWealthResult(uint32_t nStatus, const BYTE* pBody, size_t nLength);
  void OnLocalPortAsked();
  HWND MainWindow() const;
  std::string FormatText(UINT nStringId, const char* name) const;
  BOOL OpenUrl(const std::string& url);

  INPUTBOXHOOK m_pfnInputBox = nullptr;
  SYSTEXTSINK m_pfnSysText = nullptr;
  void* m_pSysTextContext = nullptr;
  OPENURLHOOK m_pfnOpenUrl = nullptr;
  PROGRESSHOOK m_pfnProgress = nullptr;
  TIPHOOK m_pfnTip = nullptr;
  std::string m_strOwnName;  // the launch record's user name, or the override
  DWORD m_dwOptionFlags = 0;
  int m_nLoginStatus = 0;
  BOOL m_bLoginNegative = FALSE;
  BOOL m_bTrustExitDone = FALSE;
  BYTE m_ownInfo[44] = {};
  BOOL m_bTipsEnabled = TRUE;
  int m_nMPIDRegistered = 0;
  BOOL m_bShowProgressBoxes = TRUE;
  struct BoxSlot {
    bool open = false;     // a box of this kind runs its loop further down the stack
    HWND hwnd = nullptr;   // that box, once created
    bool closing = false;  // asked to close for a newer one
    bool pending = false;  // a newer text waits to take its place
    std::string text;
    UINT style = 0;
    int countdown = 0;
  };
  BoxSlot m_boxSlots[BOX_KINDS];

 private:
  class Transport;
  class Host;
  friend class Transport;
  friend class Host;
  // Transport side of the session.
  bool TransportOpen() const;
  long TransportSend(const uint8_t* data, size_t n, int* error);
  long TransportReceive(uint8_t* buf, size_t n, int* error);
  long TransportAvailable(int* error);
  void TransportSelect(bool on);
  bool TransportWaitWritable(int ms);
  void TransportClose();
  // Host side of the session.
  bool AskKeepWaiting();
  bool WaitStep(bool pump);
  void OnConnectionClosed(int error);
  void OnHandlerException(const char* what);

  SOCKET ActiveSocket() const;
  void EndConnectWorker();
  void ConnectThreadProc();
  BOOL ConnectAttempt(LPCSTR lpszHost, UINT nPort);

  netcore::INetTransport* m_pTransport;
  netcore::INetHost* m_pHost;
  netcore::CNetSession m_session;
  TEXTBOXHOOK m_pfnTextBox = nullptr;
  IDBOXHOOK m_pfnIdBox = nullptr;
  volatile int* m_pCancel = nullptr;
  BOOL m_bViaProxy = FALSE;
  BOOL m_bInSessionClose = FALSE;
  BOOL m_bInOnClose = FALSE;
  BOOL m_bHandshaking = FALSE;

  // Connect: the worker shares only atomics with the UI thread and is always joined.
  std::thread m_connectThread;
  std::atomic<int> m_nConnectState{0};  // 0 failed, 1 connecting, 2 connected
  std::atomic<int> m_nConnectError{0};
  std::atomic<bool> m_bCancelConnect{false};
  std::atomic<uintptr_t> m_hConnected{uintptr_t(INVALID_SOCKET)};
  std::string m_strConnectHost;
  UINT m_nConnectPort = 0;
  BOOL m_bConnecting = FALSE;
  BOOL m_bPumpWhileConnecting = TRUE;
  netcore::PROXY_SETTINGS m_proxy;
  int m_nRemappedPort = 0;
  DWORD m_dwRemappedExtra = 0;
  BOOL m_bTunnelAllowed = FALSE;
  BOOL m_bTunnelMode = FALSE;
  BOOL m_bTunnelInUse = FALSE;
  sockaddr_in m_tunnelTarget = {};
  CProxyTunnel* m_pTunnel;
};
