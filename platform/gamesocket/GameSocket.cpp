#include "GameSocket.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "LobbyLinks.h"
#include "OutsideLibrary.h"
#include "ProxyTunnel.h"
#include "resource.h"

class CGameSocket::Transport : public netcore::INetTransport {
 public:
  explicit Transport(CGameSocket& s) : m_s(s) {}
  bool IsOpen() const override { return m_s.TransportOpen(); }
  long Send(const uint8_t* d, size_t n, int* e) override { return m_s.TransportSend(d, n, e); }
  long Receive(uint8_t* b, size_t n, int* e) override { return m_s.TransportReceive(b, n, e); }
  long Available(int* e) override { return m_s.TransportAvailable(e); }
  void SelectEvents(bool on) override { m_s.TransportSelect(on); }
  bool WaitWritable(int ms) override { return m_s.TransportWaitWritable(ms); }
  void Close() override { m_s.TransportClose(); }

 private:
  CGameSocket& m_s;
};

class CGameSocket::Host : public netcore::INetHost {
 public:
  explicit Host(CGameSocket& s) : m_s(s) {}
  uint32_t TickMs() override { return ::GetTickCount(); }
  bool AskKeepWaiting() override { return m_s.AskKeepWaiting(); }
  void ShowStringBox(int id, unsigned style) override { m_s.ShowIdBox(UINT(id), style, -1); }
  bool WaitStep(bool pump) override { return m_s.WaitStep(pump); }
  void OnMessage(std::vector<uint8_t>& frame) override { m_s.OnMessage(frame.data()); }
  void OnConnectionClosed(int error) override { m_s.OnConnectionClosed(error); }
  void OnHandlerException(const char* what) override { m_s.OnHandlerException(what); }

 private:
  CGameSocket& m_s;
};

WORD CGameSocket::s_wHighVersion = 0;

CGameSocket::CGameSocket()
    : m_pTransport(new Transport(*this)),
      m_pHost(new Host(*this)),
      m_session(*m_pTransport, *m_pHost, ZipLib_Uncompress),
      m_pTunnel(new CProxyTunnel()) {
  Reset();
}

CGameSocket::~CGameSocket() {
  m_bClosing = TRUE;  // no boxes or virtual calls from a dying object
  CGameSocket::Close();
  delete m_pTunnel;
  delete m_pHost;
  delete m_pTransport;
}

BOOL CGameSocket::InitSockets() {
  WSADATA data;
  if (!AfxSocketInit(&data)) return FALSE;
  s_wHighVersion = data.wHighVersion;
  return TRUE;
}

void CGameSocket::Reset() {
  m_session.Reset();
  m_bViaProxy = FALSE;
  m_bTunnelInUse = FALSE;
  m_nConnectState = 0;
}

SOCKET CGameSocket::ActiveSocket() const { return m_hSocket; }

// ---- transport ----

bool CGameSocket::TransportOpen() const { return m_hSocket != INVALID_SOCKET; }

long CGameSocket::TransportSend(const uint8_t* data, size_t n, int* error) {
  int chunk = n > 0x7FFFFFFF ? 0x7FFFFFFF : int(n);
  int r = m_bTunnelInUse ? m_pTunnel->Send(reinterpret_cast<const char*>(data), chunk, 0)
                         : ::send(m_hSocket, reinterpret_cast<const char*>(data), chunk, 0);
  if (r == SOCKET_ERROR) *error = ::WSAGetLastError();
  return r;
}

long CGameSocket::TransportReceive(uint8_t* buf, size_t n, int* error) {
  int r = CGameSocket::Receive(buf, n > 0x7FFFFFFF ? 0x7FFFFFFF : int(n), 0);
  if (r == SOCKET_ERROR) *error = ::WSAGetLastError();
  return r;
}

long CGameSocket::TransportAvailable(int* error) {
  DWORD n = 0;
  if (!IOCtl(FIONREAD, &n)) {
    *error = ::WSAGetLastError();
    return -1;
  }
  return long(n);
}

void CGameSocket::TransportSelect(bool on) { AsyncSelect(on ? kAllEvents : 0); }

bool CGameSocket::TransportWaitWritable(int ms) {
  SOCKET s = m_bTunnelInUse ? m_pTunnel->SendSocket() : m_hSocket;
  if (s == INVALID_SOCKET) return false;
  fd_set w;
  FD_ZERO(&w);
  FD_SET(s, &w);
  timeval tv = {ms / 1000, (ms % 1000) * 1000};
  return ::select(0, nullptr, &w, nullptr, &tv) == 1;
}

void CGameSocket::TransportClose() {
  if (m_bTunnelInUse) {
    // The tunnel owns the handle: detach it so that it is closed once.
    Detach();
    m_pTunnel->Close();
    m_bTunnelInUse = FALSE;
  } else {
    CSocket::Close();
  }
}

// ---- virtual socket calls ----

int CGameSocket::Send(const void* lpBuf, int nBufLen, int) {
  if (nBufLen < 0 || !TransportOpen()) return SOCKET_ERROR;
  return m_session.SendAll(static_cast<const uint8_t*>(lpBuf), size_t(nBufLen)) ? nBufLen : SOCKET_ERROR;
}

int CGameSocket::Receive(void* lpBuf, int nBufLen, int nFlags) {
  // The session's reader applies the receive transform to what this returns.
  return CAsyncSocket::Receive(lpBuf, nBufLen, nFlags);
}

void CGameSocket::OnReceive(int nErrorCode) { m_session.OnReceive(nErrorCode); }

void CGameSocket::OnClose(int nErrorCode) {
  if (m_bHandshaking && !m_bInSessionClose && TransportOpen()) {
    // A proxy that hangs up mid-handshake: the handshake's own read fails and reports 10202.
    return;
  }
  if (!m_bInSessionClose && nErrorCode == 0 && TransportOpen() && m_session.NotificationsOn()) {
    // A peer that answers and closes at once: take the frames still queued before closing.
    int err = 0;
    for (int guard = 0; guard < 4096 && TransportOpen() && TransportAvailable(&err) > 0; ++guard)
      m_session.OnReceive(0);
    // A frame taken here ended the connection itself (a fatal or quit notice, a broken frame):
    // it has shown what it had to show.
    if (!TransportOpen()) return;
  }
  if (m_nMPIDRegistered) {
    UnregisterMPID(m_nMPIDRegistered);
    m_nMPIDRegistered = 0;
  }
  m_pTunnel->Reset();
  m_nStateEnded = 1;
  if (m_bClosing) return;
  if (m_bInSessionClose) {  // the session closed and reset already
    ShowErrorText(nErrorCode);
    return;
  }
  m_bInOnClose = TRUE;
  m_session.Close(nErrorCode);  // calls back OnConnectionClosed
  m_bInOnClose = FALSE;
}

void CGameSocket::OnConnectionClosed(int error) {
  if (m_bInOnClose || m_bClosing) {
    if (!m_bClosing) ShowErrorText(error);
    return;
  }
  // The session closed on its own (bad frame, failed send, lost wait): the virtual path runs.
  m_bInSessionClose = TRUE;
  OnClose(error);
  m_bInSessionClose = FALSE;
}

void CGameSocket::Close() {
  m_nStateEnded = 1;
  BOOL wasClosing = m_bClosing;
  m_bClosing = TRUE;
  EndConnectWorker();
  TransportClose();
  Reset();
  m_bClosing = wasClosing;
}

void CGameSocket::ShowErrorText(int nCode) {
  int id = netcore::ErrorStringId(nCode);
  if (id != 0 && m_session.Interactive() && !m_session.IsAborted()) ShowIdBox(UINT(id), MB_ICONEXCLAMATION, -1);
}

// ---- sending and waiting ----

int CGameSocket::SendMsg(const BYTE* pFrame, BYTE** ppReply, DWORD dwReplyId) {
  if (!TransportOpen() || m_session.LoginInProgress()) return 0;
  std::vector<uint8_t> frame;
  if (pFrame) {
    netcore::NET_MSG_HEADER h;
    netcore::DecodeHeader(pFrame, netcore::NET_LONG_HEADER, &h);
    size_t total = netcore::HeaderSizeForId(h.id) + size_t(h.length);
    if (total > netcore::NET_SEND_LIMIT) {
      ShowIdBox(IDS_SENDFAIL, MB_ICONINFORMATION, -1);
      return 0;
    }
    frame.assign(pFrame, pFrame + total);
  }
  netcore::ReplyMode mode = !ppReply                          ? netcore::ReplyMode::kNoWait
                            : ppReply == SENDMSG_ARRIVAL_ONLY ? netcore::ReplyMode::kArrivalOnly
                                                              : netcore::ReplyMode::kTake;
  std::vector<uint8_t> reply;
  int r = m_session.SendMsg(pFrame ? &frame : nullptr, mode, &reply, dwReplyId);
  if (!r && mode != netcore::ReplyMode::kNoWait) ::WSASetLastError(netcore::NETERR_REPLY_WAIT);
  if (r && mode == netcore::ReplyMode::kTake) {
    BYTE* p = new (std::nothrow) BYTE[reply.empty() ? 1 : reply.size()];
    if (!p) return 0;
    if (!reply.empty()) memcpy(p, reply.data(), reply.size());
    *ppReply = p;
  }
  return r;
}

int CGameSocket::SendMsg(uint32_t id, const void* body, size_t length, BYTE** ppReply, DWORD dwReplyId) {
  if (length > netcore::NET_SEND_LIMIT) {
    if (!TransportOpen() || m_session.LoginInProgress()) return 0;
    ShowIdBox(IDS_SENDFAIL, MB_ICONINFORMATION, -1);
    return 0;
  }
  std::vector<uint8_t> f = netcore::BuildFrame(id, body, length);
  return SendMsg(f.data(), ppReply, dwReplyId);
}

BOOL CGameSocket::ReceiveExact(void* lpBuf, int nCount, int) {
  if (nCount < 0) return FALSE;
  return m_session.ReceiveExact(static_cast<uint8_t*>(lpBuf), size_t(nCount));
}

BOOL CGameSocket::WaitReply(DWORD* pdwStartTick, BOOL bPump) {
  uint32_t t = *pdwStartTick;
  bool keep = m_session.WaitReply(&t, bPump != FALSE);
  *pdwStartTick = t;
  return keep;
}

bool CGameSocket::AskKeepWaiting() { return ShowIdBox(IDS_WAITMORE, MB_YESNO | MB_ICONQUESTION, -1) == IDYES; }

bool CGameSocket::WaitStep(bool pump) {
  if (!pump) {
    ::Sleep(10);
    return true;
  }
  MSG msg;
  if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::Sleep(1);
    return true;
  }
  if (msg.message == WM_QUIT) {
    // The program is ending: leave the quit for the outer loop and give up this wait.
    ::PostQuitMessage(int(msg.wParam));
    return false;
  }
  if (!AfxPreTranslateMessage(&msg)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  return true;
}

void CGameSocket::OnHandlerException(const char* what) {
  char line[512];
  SYSTEMTIME st;
  ::GetLocalTime(&st);
  snprintf(line, sizeof line, "%04u-%02u-%02u %02u:%02u:%02u message handler failed: %s\r\n", st.wYear, st.wMonth,
           st.wDay, st.wHour, st.wMinute, st.wSecond, what ? what : "unknown exception");
  char path[MAX_PATH];
  DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (n > 0 && n < MAX_PATH) {
    char* slash = strrchr(path, '\\');
    if (slash && size_t(slash - path) + 10 < MAX_PATH) {
      strcpy(slash + 1, "Vesk.log");
      HANDLE h = ::CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
      if (h != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        ::WriteFile(h, line, DWORD(strlen(line)), &written, nullptr);
        ::CloseHandle(h);
      }
    }
  }
  ::OutputDebugStringA(line);
  fputs(line, stderr);
  fflush(stderr);
  // A handler left its state half changed: going on would play on a wrong table.
  ::ExitProcess(3);
}

// ---- hooks and boxes ----

const char* CGameSocket::MissingHook() const {
  const struct {
    bool set;
    const char* name;
  } hooks[] = {{m_pfnTextBox != nullptr, "text box"},
               {m_pfnIdBox != nullptr, "id box"},
               {m_pfnInputBox != nullptr, "input box"},
               {m_pfnSysText != nullptr, "system text"},
               {m_pfnOpenUrl != nullptr, "open url"},
               {m_pfnProgress != nullptr, "progress"},
               {m_pfnTip != nullptr, "tip"}};
  for (const auto& h : hooks)
    if (!h.set) return h.name;
  return nullptr;
}

void CGameSocket::ShowTipWindow(BYTE* pFrame) {
  if (m_pfnTip) m_pfnTip(pFrame);
}

int CGameSocket::ShowIdBox(UINT nStringId, UINT nStyle, int nCountdown) {
  if (m_pfnIdBox) return m_pfnIdBox(nStringId, nStyle, nCountdown);
  char text[1024] = "";
  HINSTANCE res = AfxGetResourceHandle();
  if (!::LoadStringA(res ? res : ::GetModuleHandleA(nullptr), nStringId, text, sizeof text))
    snprintf(text, sizeof text, "%u", nStringId);
  return ShowTextBox(text, nStyle, 0);
}

int CGameSocket::ShowTextBox(LPCSTR lpszText, UINT nStyle, int nCountdown) {
  CancelChildModes();
  if (m_pfnTextBox) return m_pfnTextBox(lpszText, nStyle, nCountdown);
  // The socket's own notifications stay off while the box runs its loop.
  SuspendNotifications();
  int r = ::MessageBoxA(nullptr, lpszText, "Vesk", nStyle | MB_TASKMODAL);
  ResumeNotifications();
  return r;
}
