// Windows Sockets classes over WSAAsyncSelect.
#include <afxsock.h>

#include <mutex>
#include <unordered_map>

IMPLEMENT_DYNAMIC(CAsyncSocket, CObject)
IMPLEMENT_DYNAMIC(CSocket, CAsyncSocket)

namespace {
WSADATA g_wsaData;
bool g_bSocketsStarted = false;

// Sockets by handle, per owning thread; a notification for a handle that is not
// here (closed or detached meanwhile) is dropped.
thread_local std::unordered_map<SOCKET, CAsyncSocket*>* t_sockets = nullptr;
thread_local HWND t_hWndSocket = nullptr;

std::unordered_map<SOCKET, CAsyncSocket*>& SocketMap() {
  if (!t_sockets) t_sockets = new std::unordered_map<SOCKET, CAsyncSocket*>;
  return *t_sockets;
}

LRESULT CALLBACK SocketWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SOCKET_NOTIFY) {
    try {
      CAsyncSocket::DoCallBack(wParam, lParam);
    } catch (CException* e) {
      // As for any window message: reported, never thrown through the system's dispatcher.
      CWinThread* pThread = AfxGetThread();
      MSG msg = {hWnd, message, wParam, lParam, 0, {0, 0}};
      if (pThread)
        pThread->ProcessWndProcException(e, &msg);
      else
        e->Delete();
    }
    return 0;
  }
  return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

HWND NotifyWindow() {
  if (t_hWndSocket != nullptr && ::IsWindow(t_hWndSocket)) return t_hWndSocket;
  static const char kClass[] = "AfxSocketNotifyWnd";
  WNDCLASSA wc = {};
  HINSTANCE hInst = ::GetModuleHandleA(nullptr);
  if (!::GetClassInfoA(hInst, kClass, &wc)) {
    wc.lpfnWndProc = SocketWndProc;
    wc.hInstance = hInst;
    wc.lpszClassName = kClass;
    ::RegisterClassA(&wc);
  }
  // A message-only window: never shown, never enumerated with the program's windows.
  t_hWndSocket = ::CreateWindowExA(0, kClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, hInst, nullptr);
  return t_hWndSocket;
}

bool ParseAddress(LPCSTR lpszHostAddress, UINT nHostPort, sockaddr_in* sa) {
  memset(sa, 0, sizeof(*sa));
  sa->sin_family = AF_INET;
  sa->sin_port = htons((u_short)nHostPort);
  if (lpszHostAddress == nullptr || *lpszHostAddress == '\0') {
    sa->sin_addr.s_addr = htonl(INADDR_ANY);
    return true;
  }
  sa->sin_addr.s_addr = inet_addr(lpszHostAddress);
  if (sa->sin_addr.s_addr != INADDR_NONE) return true;
  hostent* h = gethostbyname(lpszHostAddress);
  if (h == nullptr || h->h_addrtype != AF_INET || h->h_length != 4 || h->h_addr_list[0] == nullptr) {
    ::WSASetLastError(WSAEINVAL);
    return false;
  }
  memcpy(&sa->sin_addr, h->h_addr_list[0], 4);
  return true;
}
}  // namespace

BOOL AFXAPI AfxSocketInit(WSADATA* lpwsaData) {
  if (!g_bSocketsStarted) {
    if (::WSAStartup(MAKEWORD(2, 2), &g_wsaData) != 0) return FALSE;
    g_bSocketsStarted = true;
  }
  if (lpwsaData != nullptr) *lpwsaData = g_wsaData;
  return TRUE;
}

void AFXAPI AfxSocketTerm() {
  if (g_bSocketsStarted) ::WSACleanup();
  g_bSocketsStarted = false;
}

CAsyncSocket::CAsyncSocket() : m_hSocket(INVALID_SOCKET), m_hWndNotify(nullptr) {}

CAsyncSocket::~CAsyncSocket() {
  if (m_hSocket != INVALID_SOCKET) Close();
}

CAsyncSocket* PASCAL CAsyncSocket::FromHandle(SOCKET hSocket) {
  auto& map = SocketMap();
  auto it = map.find(hSocket);
  return it == map.end() ? nullptr : it->second;
}

BOOL CAsyncSocket::Attach(SOCKET hSocket, long lEvent) {
  if (hSocket == INVALID_SOCKET) return FALSE;
  m_hSocket = hSocket;
  SocketMap()[hSocket] = this;
  m_hWndNotify = NotifyWindow();
  if (lEvent != 0 && !AsyncSelect(lEvent)) {
    SocketMap().erase(hSocket);
    m_hSocket = INVALID_SOCKET;
    return FALSE;
  }
  return TRUE;
}

SOCKET CAsyncSocket::Detach() {
  SOCKET hSocket = m_hSocket;
  if (hSocket != INVALID_SOCKET) {
    if (m_hWndNotify) ::WSAAsyncSelect(hSocket, m_hWndNotify, 0, 0);
    auto& map = SocketMap();
    auto it = map.find(hSocket);
    if (it != map.end() && it->second == this) map.erase(it);
  }
  m_hSocket = INVALID_SOCKET;
  return hSocket;
}

BOOL CAsyncSocket::AsyncSelect(long lEvent) {
  if (m_hSocket == INVALID_SOCKET) {
    ::WSASetLastError(WSAENOTSOCK);
    return FALSE;
  }
  if (m_hWndNotify == nullptr) m_hWndNotify = NotifyWindow();
  return ::WSAAsyncSelect(m_hSocket, m_hWndNotify, lEvent ? WM_SOCKET_NOTIFY : 0, lEvent) != SOCKET_ERROR;
}

BOOL CAsyncSocket::Socket(int nSocketType, long lEvent, int nProtocolType, int nAddressFormat) {
  SOCKET h = ::socket(nAddressFormat, nSocketType, nProtocolType);
  if (h == INVALID_SOCKET) return FALSE;
  if (!Attach(h, lEvent)) {
    ::closesocket(h);
    return FALSE;
  }
  return TRUE;
}

BOOL CAsyncSocket::Create(UINT nSocketPort, int nSocketType, long lEvent, LPCSTR lpszSocketAddress) {
  if (!Socket(nSocketType, lEvent)) return FALSE;
  if (Bind(nSocketPort, lpszSocketAddress)) return TRUE;
  int nResult = ::WSAGetLastError();
  Close();
  ::WSASetLastError(nResult);
  return FALSE;
}

BOOL CAsyncSocket::Bind(UINT nSocketPort, LPCSTR lpszSocketAddress) {
  sockaddr_in sa;
  if (!ParseAddress(lpszSocketAddress, nSocketPort, &sa)) return FALSE;
  return Bind((SOCKADDR*)&sa, sizeof(sa));
}

BOOL CAsyncSocket::Accept(CAsyncSocket& rConnectedSocket, SOCKADDR* lpSockAddr, int* lpSockAddrLen) {
  if (rConnectedSocket.m_hSocket != INVALID_SOCKET) return FALSE;
  SOCKET h = ::accept(m_hSocket, lpSockAddr, lpSockAddrLen);
  if (h == INVALID_SOCKET) return FALSE;
  if (!rConnectedSocket.Attach(h)) {
    ::closesocket(h);
    return FALSE;
  }
  return TRUE;
}

void CAsyncSocket::Close() {
  if (m_hSocket == INVALID_SOCKET) return;
  SOCKET h = Detach();
  ::closesocket(h);
}

BOOL CAsyncSocket::Connect(LPCSTR lpszHostAddress, UINT nHostPort) {
  sockaddr_in sa;
  if (!ParseAddress(lpszHostAddress, nHostPort, &sa)) return FALSE;
  return ConnectHelper((SOCKADDR*)&sa, sizeof(sa));
}

BOOL CAsyncSocket::ConnectHelper(const SOCKADDR* lpSockAddr, int nSockAddrLen) {
  return ::connect(m_hSocket, lpSockAddr, nSockAddrLen) != SOCKET_ERROR;
}

BOOL CAsyncSocket::IOCtl(long lCommand, DWORD* lpArgument) {
  u_long arg = lpArgument ? *lpArgument : 0;
  BOOL bResult = ::ioctlsocket(m_hSocket, lCommand, &arg) != SOCKET_ERROR;
  if (lpArgument) *lpArgument = (DWORD)arg;
  return bResult;
}

int CAsyncSocket::Receive(void* lpBuf, int nBufLen, int nFlags) {
  if (lpBuf == nullptr || nBufLen < 0) {
    ::WSASetLastError(WSAEFAULT);
    return SOCKET_ERROR;
  }
  return ::recv(m_hSocket, (char*)lpBuf, nBufLen, nFlags);
}

int CAsyncSocket::Send(const void* lpBuf, int nBufLen, int nFlags) {
  if (lpBuf == nullptr || nBufLen < 0) {
    ::WSASetLastError(WSAEFAULT);
    return SOCKET_ERROR;
  }
  return ::send(m_hSocket, (const char*)lpBuf, nBufLen, nFlags);
}

int CAsyncSocket::ReceiveFromHelper(void* lpBuf, int nBufLen, SOCKADDR* lpSockAddr, int* lpSockAddrLen, int nFlags) {
  return ::recvfrom(m_hSocket, (char*)lpBuf, nBufLen, nFlags, lpSockAddr, lpSockAddrLen);
}

int CAsyncSocket::SendToHelper(const void* lpBuf, int nBufLen, const SOCKADDR* lpSockAddr, int nSockAddrLen,
                               int nFlags) {
  return ::sendto(m_hSocket, (const char*)lpBuf, nBufLen, nFlags, lpSockAddr, nSockAddrLen);
}

static BOOL AddressToString(const sockaddr_in& sa, CString& rAddress, UINT& rPort) {
  rAddress = inet_ntoa(sa.sin_addr);
  rPort = ntohs(sa.sin_port);
  return TRUE;
}

BOOL CAsyncSocket::GetPeerName(CString& rPeerAddress, UINT& rPeerPort) {
  sockaddr_in sa = {};
  int len = sizeof(sa);
  if (!GetPeerName((SOCKADDR*)&sa, &len)) return FALSE;
  return AddressToString(sa, rPeerAddress, rPeerPort);
}

BOOL CAsyncSocket::GetSockName(CString& rSocketAddress, UINT& rSocketPort) {
  sockaddr_in sa = {};
  int len = sizeof(sa);
  if (!GetSockName((SOCKADDR*)&sa, &len)) return FALSE;
  return AddressToString(sa, rSocketAddress, rSocketPort);
}

void PASCAL CAsyncSocket::DoCallBack(WPARAM wParam, LPARAM lParam) {
  SOCKET hSocket = (SOCKET)wParam;
  CAsyncSocket* pSocket = FromHandle(hSocket);
  if (pSocket == nullptr) return;  // closed or detached since the event was queued
  int nErrorCode = WSAGETSELECTERROR(lParam);
  switch (WSAGETSELECTEVENT(lParam)) {
    case FD_READ: {
      // Only report a read when there is something to read (or an error).
      DWORD nBytes = 0;
      if (!pSocket->IOCtl(FIONREAD, &nBytes)) nErrorCode = ::WSAGetLastError();
      if (nBytes != 0 || nErrorCode != 0) pSocket->OnReceive(nErrorCode);
      break;
    }
    case FD_WRITE:
      pSocket->OnSend(nErrorCode);
      break;
    case FD_OOB:
      pSocket->OnOutOfBandData(nErrorCode);
      break;
    case FD_ACCEPT:
      pSocket->OnAccept(nErrorCode);
      break;
    case FD_CONNECT:
      pSocket->OnConnect(nErrorCode);
      break;
    case FD_CLOSE:
      pSocket->OnClose(nErrorCode);
      break;
    default:
      break;
  }
}

///////////////////////////////////////////////////////////////////////////////
// CSocket

CSocket::CSocket() : m_bBlocking(FALSE), m_bCancelled(FALSE), m_nTimeOut(2000) {}

CSocket::~CSocket() {
  if (m_hSocket != INVALID_SOCKET) Close();
}

CSocket* PASCAL CSocket::FromHandle(SOCKET hSocket) {
  return DYNAMIC_DOWNCAST(CSocket, CAsyncSocket::FromHandle(hSocket));
}

BOOL CSocket::Create(UINT nSocketPort, int nSocketType, LPCSTR lpszSocketAddress) {
  return CAsyncSocket::Create(nSocketPort, nSocketType, FD_READ | FD_WRITE | FD_OOB | FD_ACCEPT | FD_CONNECT | FD_CLOSE,
                              lpszSocketAddress);
}

void CSocket::Close() {
  m_bCancelled = TRUE;
  CAsyncSocket::Close();
}

BOOL CSocket::OnMessagePending() {
  MSG msg;
  if (::PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) {
    ::DispatchMessageA(&msg);
    return FALSE;
  }
  return FALSE;
}

BOOL CSocket::PumpMessages(UINT uStopFlag) {
  // Waits for the socket to become ready, keeping the thread's windows painted.
  m_bBlocking = TRUE;
  m_bCancelled = FALSE;
  BOOL bReady = FALSE;
  while (!m_bCancelled && m_hSocket != INVALID_SOCKET) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(m_hSocket, &set);
    timeval tv = {0, 50 * 1000};
    int n = (uStopFlag == FD_WRITE || uStopFlag == FD_CONNECT) ? ::select(0, nullptr, &set, nullptr, &tv)
                                                               : ::select(0, &set, nullptr, nullptr, &tv);
    if (n == SOCKET_ERROR) break;
    if (n > 0) {
      bReady = TRUE;
      break;
    }
    OnMessagePending();
  }
  m_bBlocking = FALSE;
  if (m_bCancelled && !bReady) ::WSASetLastError(WSAEINTR);
  return bReady;
}

int CSocket::Receive(void* lpBuf, int nBufLen, int nFlags) {
  for (;;) {
    int n = CAsyncSocket::Receive(lpBuf, nBufLen, nFlags);
    if (n != SOCKET_ERROR || ::WSAGetLastError() != WSAEWOULDBLOCK) return n;
    if (!PumpMessages(FD_READ)) return SOCKET_ERROR;
  }
}

int CSocket::Send(const void* lpBuf, int nBufLen, int nFlags) {
  int nLeft = nBufLen, nSent = 0;
  while (nLeft > 0) {
    int n = CAsyncSocket::Send((const char*)lpBuf + nSent, nLeft, nFlags);
    if (n == SOCKET_ERROR) {
      if (::WSAGetLastError() != WSAEWOULDBLOCK || !PumpMessages(FD_WRITE)) return SOCKET_ERROR;
      continue;
    }
    nSent += n;
    nLeft -= n;
  }
  return nSent;
}

BOOL CSocket::ConnectHelper(const SOCKADDR* lpSockAddr, int nSockAddrLen) {
  if (CAsyncSocket::ConnectHelper(lpSockAddr, nSockAddrLen)) return TRUE;
  if (::WSAGetLastError() != WSAEWOULDBLOCK) return FALSE;
  if (!PumpMessages(FD_CONNECT)) return FALSE;
  int err = 0, len = sizeof(err);
  ::getsockopt(m_hSocket, SOL_SOCKET, SO_ERROR, (char*)&err, &len);
  if (err != 0) {
    ::WSASetLastError(err);
    return FALSE;
  }
  return TRUE;
}
