#include "AsyncSocketLite.h"

#include <map>

namespace {
const UINT WM_VESK_SOCKET_NOTIFY = WM_USER + 0x301;
const char kWindowClass[] = "VeskSocketNotify";

// Sockets of this thread by handle; a notification for a handle no longer here (closed while
// its message was queued) is dropped.
thread_local std::map<SOCKET, CVeskAsyncSocket*>* t_sockets = nullptr;
thread_local HWND t_window = nullptr;

std::map<SOCKET, CVeskAsyncSocket*>& Sockets() {
  if (!t_sockets) t_sockets = new std::map<SOCKET, CVeskAsyncSocket*>();
  return *t_sockets;
}
}  // namespace

struct AsyncSocketWindow {
  static LRESULT CALLBACK Proc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_VESK_SOCKET_NOTIFY) {
      auto& map = Sockets();
      auto it = map.find(SOCKET(wParam));
      if (it != map.end()) it->second->Dispatch(wParam, lParam);
      return 0;
    }
    return ::DefWindowProcA(hWnd, msg, wParam, lParam);
  }
  static HWND Window() {
    if (t_window && ::IsWindow(t_window)) return t_window;
    HINSTANCE inst = ::GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = inst;
    wc.lpszClassName = kWindowClass;
    ::RegisterClassA(&wc);  // fails harmlessly when another thread registered it
    t_window = ::CreateWindowExA(0, kWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, inst, nullptr);
    return t_window;
  }
};

BOOL VeskSocketInit(WSADATA* pData) {
  WSADATA data;
  if (::WSAStartup(MAKEWORD(2, 2), &data) != 0) return FALSE;
  if (pData) *pData = data;
  return TRUE;
}

CVeskAsyncSocket::CVeskAsyncSocket() : m_hSocket(INVALID_SOCKET) {}

CVeskAsyncSocket::~CVeskAsyncSocket() {
  if (m_hSocket != INVALID_SOCKET) CVeskAsyncSocket::Close();
}

BOOL CVeskAsyncSocket::Attach(SOCKET hSocket, long lEvent) {
  if (hSocket == INVALID_SOCKET) return FALSE;
  m_hSocket = hSocket;
  Sockets()[hSocket] = this;
  if (!AsyncSelect(lEvent)) {
    Sockets().erase(hSocket);
    m_hSocket = INVALID_SOCKET;
    return FALSE;
  }
  return TRUE;
}

SOCKET CVeskAsyncSocket::Detach() {
  SOCKET s = m_hSocket;
  if (s != INVALID_SOCKET) {
    ::WSAAsyncSelect(s, AsyncSocketWindow::Window(), 0, 0);
    Sockets().erase(s);
  }
  m_hSocket = INVALID_SOCKET;
  return s;
}

BOOL CVeskAsyncSocket::AsyncSelect(long lEvent) {
  if (m_hSocket == INVALID_SOCKET) return FALSE;
  HWND w = AsyncSocketWindow::Window();
  if (!w) return FALSE;
  return ::WSAAsyncSelect(m_hSocket, w, lEvent ? WM_VESK_SOCKET_NOTIFY : 0, lEvent) == 0;
}

BOOL CVeskAsyncSocket::IOCtl(long lCommand, DWORD* lpArgument) {
  u_long v = *lpArgument;
  if (::ioctlsocket(m_hSocket, lCommand, &v) == SOCKET_ERROR) return FALSE;
  *lpArgument = DWORD(v);
  return TRUE;
}

void CVeskAsyncSocket::Close() {
  SOCKET s = Detach();
  if (s != INVALID_SOCKET) ::closesocket(s);
}

int CVeskAsyncSocket::Receive(void* lpBuf, int nBufLen, int nFlags) {
  return ::recv(m_hSocket, static_cast<char*>(lpBuf), nBufLen, nFlags);
}

int CVeskAsyncSocket::Send(const void* lpBuf, int nBufLen, int nFlags) {
  return ::send(m_hSocket, static_cast<const char*>(lpBuf), nBufLen, nFlags);
}

void CVeskAsyncSocket::Dispatch(WPARAM, LPARAM lParam) {
  int err = WSAGETSELECTERROR(lParam);
  switch (WSAGETSELECTEVENT(lParam)) {
    case FD_READ: OnReceive(err); break;
    case FD_WRITE: OnSend(err); break;
    case FD_OOB: OnOutOfBandData(err); break;
    case FD_ACCEPT: OnAccept(err); break;
    case FD_CONNECT: OnConnect(err); break;
    case FD_CLOSE: OnClose(err); break;
    default: break;
  }
}
