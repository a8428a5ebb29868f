// A small asynchronous socket: Windows Sockets notifications (WSAAsyncSelect) arrive as window
// messages on the creating thread's hidden window and are turned into the virtual On... calls,
// as the class library's asynchronous socket does. The game socket derives from it until the
// library's own socket classes can take its place; the virtual names are the same.
#pragma once
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

class CVeskAsyncSocket {
 public:
  enum { kAllEvents = FD_READ | FD_WRITE | FD_OOB | FD_ACCEPT | FD_CONNECT | FD_CLOSE };  // 63

  CVeskAsyncSocket();
  virtual ~CVeskAsyncSocket();

  // Takes over a connected socket and asks for the given notifications.
  BOOL Attach(SOCKET hSocket, long lEvent = kAllEvents);
  // Gives the handle back without closing it.
  SOCKET Detach();
  BOOL AsyncSelect(long lEvent = kAllEvents);
  BOOL IOCtl(long lCommand, DWORD* lpArgument);
  virtual void Close();
  virtual int Receive(void* lpBuf, int nBufLen, int nFlags = 0);
  virtual int Send(const void* lpBuf, int nBufLen, int nFlags = 0);

  virtual void OnReceive(int nErrorCode) { (void)nErrorCode; }
  virtual void OnSend(int nErrorCode) { (void)nErrorCode; }
  virtual void OnOutOfBandData(int nErrorCode) { (void)nErrorCode; }
  virtual void OnAccept(int nErrorCode) { (void)nErrorCode; }
  virtual void OnConnect(int nErrorCode) { (void)nErrorCode; }
  virtual void OnClose(int nErrorCode) { (void)nErrorCode; }

  static int GetLastError() { return ::WSAGetLastError(); }

  SOCKET m_hSocket;

 private:
  friend struct AsyncSocketWindow;
  void Dispatch(WPARAM wParam, LPARAM lParam);
};

// Windows Sockets start-up for the process (AfxSocketInit's part); fills *pData when given.
BOOL VeskSocketInit(WSADATA* pData);
