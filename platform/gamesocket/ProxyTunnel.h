// The HTTP tunnel of the game-server connection: a CONNECT through an HTTP proxy, or the relay's
// two channels (a GET whose body is the stream down, a POST whose body is the stream up).
// The protocol texts, the header reader and the open sequence are the tunnel core's; this class
// gives it Windows Sockets and keeps the sockets.
#pragma once
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <atomic>
#include <string>

#include "TunnelProtocol.h"

class CProxyTunnel : private tunnel::TunnelIo {
 public:
  CProxyTunnel();
  virtual ~CProxyTunnel();

  // Reads the registry and sets the addresses up; true when the HTTP kind is configured
  // (cfg->tunnel then says whether the relay settings are complete).
  bool IsConfigured(tunnel::TunnelConfig* cfg);
  // The connect worker's call: opens the tunnel to the game server; the socket the stream down
  // is read from, or INVALID_SOCKET (LastError says why). *cancel ends the waits early.
  SOCKET Open(const sockaddr_in& target, const std::atomic<bool>* cancel);
  // Sends on the CONNECT socket in connect mode, else on the POST socket; what send returns.
  virtual int Send(const char* data, int length, int flags);
  virtual void Reset(int error = 0);
  void Close() { Reset(0); }

  SOCKET SendSocket() const { return m_bConnectMode ? m_hConnect : m_hPost; }
  int LastError() const { return m_nLastError; }
  bool IsConnectMode() const { return m_bConnectMode; }
  const std::string& Serial() const { return m_strSerial; }
  void SetReceiveTimeout(int seconds) { m_nRecvTimeout = seconds > 0 ? seconds : 1; }

 private:
  int Connect(const uint8_t addr[4], uint16_t port) override;
  bool SendAll(int ch, const std::string& bytes) override;
  int Recv(int ch, char* buf, size_t n) override;
  void Close(int ch) override;

  enum { kChannels = 8 };
  SOCKET m_channels[kChannels];
  SOCKET m_hGet = INVALID_SOCKET, m_hPost = INVALID_SOCKET, m_hConnect = INVALID_SOCKET;
  tunnel::TunnelConfig m_cfg;
  std::string m_strRedirectLine;
  std::string m_strSerial;
  bool m_bConnectMode = false;
  int m_nLastError = 0;
  int m_nRecvTimeout = 60;
  const std::atomic<bool>* m_pCancel = nullptr;
};
