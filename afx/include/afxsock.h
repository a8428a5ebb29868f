// Windows Sockets classes: CAsyncSocket delivers WSAAsyncSelect notifications on
// the thread that owns the socket, through a hidden window of that thread.
#pragma once

#include "afxwin.h"
#include <ws2tcpip.h>

BOOL AFXAPI AfxSocketInit(WSADATA* lpwsaData = nullptr);
void AFXAPI AfxSocketTerm();

class CAsyncSocket : public CObject {
  DECLARE_DYNAMIC(CAsyncSocket)
 public:
  CAsyncSocket();
  ~CAsyncSocket() override;

  SOCKET m_hSocket;
  operator SOCKET() const { return m_hSocket; }
  // Adopts a connected socket and asks for the given notifications (63: all six).
  BOOL Attach(SOCKET hSocket, long lEvent = FD_READ | FD_WRITE | FD_OOB | FD_ACCEPT | FD_CONNECT | FD_CLOSE);
  // Gives the handle back; notifications still queued for it are dropped.
  SOCKET Detach();
  static CAsyncSocket* PASCAL FromHandle(SOCKET hSocket);
  static int PASCAL GetLastError() { return ::WSAGetLastError(); }

  BOOL GetPeerName(CString& rPeerAddress, UINT& rPeerPort);
  BOOL GetPeerName(SOCKADDR* lpSockAddr, int* lpSockAddrLen) {
    return ::getpeername(m_hSocket, lpSockAddr, lpSockAddrLen) != SOCKET_ERROR;
  }
  BOOL GetSockName(CString& rSocketAddress, UINT& rSocketPort);
  BOOL GetSockName(SOCKADDR* lpSockAddr, int* lpSockAddrLen) {
    return ::getsockname(m_hSocket, lpSockAddr, lpSockAddrLen) != SOCKET_ERROR;
  }
  BOOL SetSockOpt(int nOptionName, const void* lpOptionValue, int nOptionLen, int nLevel = SOL_SOCKET) {
    return ::setsockopt(m_hSocket, nLevel, nOptionName, (const char*)lpOptionValue, nOptionLen) != SOCKET_ERROR;
  }
  BOOL GetSockOpt(int nOptionName, void* lpOptionValue, int* lpOptionLen, int nLevel = SOL_SOCKET) {
    return ::getsockopt(m_hSocket, nLevel, nOptionName, (char*)lpOptionValue, lpOptionLen) != SOCKET_ERROR;
  }

  BOOL Create(UINT nSocketPort = 0, int nSocketType = SOCK_STREAM,
              long lEvent = FD_READ | FD_WRITE | FD_OOB | FD_ACCEPT | FD_CONNECT | FD_CLOSE,
              LPCSTR lpszSocketAddress = nullptr);
  BOOL Socket(int nSocketType = SOCK_STREAM,
              long lEvent = FD_READ | FD_WRITE | FD_OOB | FD_ACCEPT | FD_CONNECT | FD_CLOSE, int nProtocolType = 0,
              int nAddressFormat = PF_INET);
  virtual BOOL Accept(CAsyncSocket& rConnectedSocket, SOCKADDR* lpSockAddr = nullptr, int* lpSockAddrLen = nullptr);
  BOOL Bind(UINT nSocketPort, LPCSTR lpszSocketAddress = nullptr);
  BOOL Bind(const SOCKADDR* lpSockAddr, int nSockAddrLen) {
    return ::bind(m_hSocket, lpSockAddr, nSockAddrLen) != SOCKET_ERROR;
  }
  virtual void Close();
  BOOL Connect(LPCSTR lpszHostAddress, UINT nHostPort);
  BOOL Connect(const SOCKADDR* lpSockAddr, int nSockAddrLen) { return ConnectHelper(lpSockAddr, nSockAddrLen); }
  BOOL IOCtl(long lCommand, DWORD* lpArgument);
  BOOL Listen(int nConnectionBacklog = 5) { return ::listen(m_hSocket, nConnectionBacklog) != SOCKET_ERROR; }
  // Non-blocking: SOCKET_ERROR (-1) with WSAGetLastError() WSAEWOULDBLOCK when nothing can move now.
  virtual int Receive(void* lpBuf, int nBufLen, int nFlags = 0);
  virtual int Send(const void* lpBuf, int nBufLen, int nFlags = 0);
  int ReceiveFrom(void* lpBuf, int nBufLen, SOCKADDR* lpSockAddr, int* lpSockAddrLen, int nFlags = 0) {
    return ReceiveFromHelper(lpBuf, nBufLen, lpSockAddr, lpSockAddrLen, nFlags);
  }
  int SendTo(const void* lpBuf, int nBufLen, const SOCKADDR* lpSockAddr, int nSockAddrLen, int nFlags = 0) {
    return SendToHelper(lpBuf, nBufLen, lpSockAddr, nSockAddrLen, nFlags);
  }
  enum { receives = 0, sends = 1, both = 2 };
  BOOL ShutDown(int nHow = sends) { return ::shutdown(m_hSocket, nHow) != SOCKET_ERROR; }
  // 0 suspends notifications; a mask re-arms them (pending data is reported again).
  BOOL AsyncSelect(long lEvent = FD_READ | FD_WRITE | FD_OOB | FD_ACCEPT | FD_CONNECT | FD_CLOSE);

  virtual void OnReceive(int nErrorCode) { (void)nErrorCode; }
  virtual void OnSend(int nErrorCode) { (void)nErrorCode; }
  virtual void OnOutOfBandData(int nErrorCode) { (void)nErrorCode; }
  virtual void OnAccept(int nErrorCode) { (void)nErrorCode; }
  virtual void OnConnect(int nErrorCode) { (void)nErrorCode; }
  virtual void OnClose(int nErrorCode) { (void)nErrorCode; }

  // Called by the notification window.
  static void PASCAL DoCallBack(WPARAM wParam, LPARAM lParam);

 protected:
  virtual BOOL ConnectHelper(const SOCKADDR* lpSockAddr, int nSockAddrLen);
  virtual int ReceiveFromHelper(void* lpBuf, int nBufLen, SOCKADDR* lpSockAddr, int* lpSockAddrLen, int nFlags);
  virtual int SendToHelper(const void* lpBuf, int nBufLen, const SOCKADDR* lpSockAddr, int nSockAddrLen, int nFlags);
  HWND m_hWndNotify;  // the owning thread's notification window

 private:
  CAsyncSocket(const CAsyncSocket&) = delete;
  CAsyncSocket& operator=(const CAsyncSocket&) = delete;
};

// A socket whose Send and Receive wait (pumping the thread's messages) until done.
class CSocket : public CAsyncSocket {
  DECLARE_DYNAMIC(CSocket)
 public:
  CSocket();
  ~CSocket() override;
  static CSocket* PASCAL FromHandle(SOCKET hSocket);
  BOOL Create(UINT nSocketPort = 0, int nSocketType = SOCK_STREAM, LPCSTR lpszSocketAddress = nullptr);
  BOOL IsBlocking() { return m_bBlocking; }
  void CancelBlockingCall() { m_bCancelled = TRUE; }
  void Close() override;
  int Receive(void* lpBuf, int nBufLen, int nFlags = 0) override;
  int Send(const void* lpBuf, int nBufLen, int nFlags = 0) override;
  virtual BOOL OnMessagePending();

 protected:
  BOOL m_bBlocking;
  BOOL m_bCancelled;
  UINT m_nTimeOut;
  BOOL ConnectHelper(const SOCKADDR* lpSockAddr, int nSockAddrLen) override;
  virtual BOOL PumpMessages(UINT uStopFlag);
};
