// The game-server connection's frame traffic without the window system: sending with the size
// limit and every byte delivered, the reply waits over the ten slots with the time-out question,
// frame assembly with inflation and the reply match, suspended notifications with their replay,
// exact reads for the proxy handshakes and the stream transforms. The Windows socket supplies the
// transport (its asynchronous socket) and the host (message pump, boxes, handlers) and keeps
// the names the rest of the program calls.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "ConnectWorker.h"
#include "FrameAssembler.h"
#include "NetFrame.h"
#include "ReplySlots.h"
#include "WireTransform.h"

namespace netcore {

class INetTransport {
 public:
  virtual ~INetTransport() = default;
  virtual bool IsOpen() const = 0;
  // Sends up to n bytes: the count sent (possibly fewer), or -1 with *error
  // (NETERR_WOULDBLOCK: try again once the socket is writable).
  virtual long Send(const uint8_t* data, size_t n, int* error) = 0;
  // Receives up to n bytes: the count, 0 when the peer closed, -1 with *error.
  virtual long Receive(uint8_t* buf, size_t n, int* error) = 0;
  // Bytes waiting to be read (FIONREAD); -1 with *error on failure.
  virtual long Available(int* error) = 0;
  // Receive notifications off, or on with all six events.
  virtual void SelectEvents(bool on) = 0;
  // Waits at most ms for the socket to become writable.
  virtual bool WaitWritable(int ms) = 0;
  // Closes the socket handle.
  virtual void Close() = 0;
};

class INetHost {
 public:
  virtual ~INetHost() = default;
  virtual uint32_t TickMs() = 0;
  // String 29910 with Yes/No: true to keep waiting.
  virtual bool AskKeepWaiting() = 0;
  virtual void ShowStringBox(int stringId, unsigned style) = 0;
  // One step of a nested wait: take and dispatch one queued message (or sleep) when pump is
  // set, else sleep briefly. False when the step met WM_QUIT, which the host posts again.
  virtual bool WaitStep(bool pump) = 0;
  virtual void OnMessage(std::vector<uint8_t>& frame) = 0;
  // The connection is closed with this error; the session is already reset. The host shows the
  // error's text (ErrorStringId) when it is interactive and the wait was not aborted.
  virtual void OnConnectionClosed(int error) = 0;
  // A message handler threw: the host writes a line to the game log and ends the process with
  // a non-zero exit code. Should it return, the connection is closed.
  virtual void OnHandlerException(const char* what) = 0;
};

enum class ReplyMode {
  kNoWait,       // send only
  kArrivalOnly,  // wait until the reply arrived; it still goes to OnMessage
  kTake,         // wait and take the reply frame
};

class CNetSession {
 public:
  static constexpr unsigned kStyleInformation = 0x40;

  CNetSession(INetTransport& transport, INetHost& host, InflateFn inflate)
      : m_transport(transport), m_host(host), m_inflate(inflate) {
    Reset();
  }

  // 1 sent (and the reply arrived when waited for), 0 refused or failed. The frame may be null
  // (wait only); replyId 0 waits for the request's id with bit 31.
  int SendMsg(const std::vector<uint8_t>* frame, ReplyMode mode, std::vector<uint8_t>* reply = nullptr,
              uint32_t replyId = 0);
  // Sends every byte of a buffer (through the send transform when on), continuing partial sends
  // while the socket becomes writable within the reply time-out. The caller's bytes never change.
  bool SendAll(const uint8_t* data, size_t n);
  // A receive notification (error from the notification).
  void OnReceive(int error);
  // One step of every wait; false gives up (last error 10060 time-out, 10200 cancelled or quit).
  bool WaitReply(uint32_t* startTick, bool pump);
  // Blocking read of exactly n bytes (through the receive transform) while no frames flow.
  bool ReceiveExact(uint8_t* buf, size_t n);
  void SuspendNotifications();
  void ResumeNotifications();
  // Polls a running connect worker with wait steps (time-out question, cancel flag, pump).
  // 1 connected; 0 failed (closed with the worker's error) or given up (the worker is
  // cancelled and joined, then closed with the wait's error).
  int WaitConnect(CConnectWorker& worker, bool pump);
  // MSG_WIRE_CODE: installs both transforms; a malformed body closes the connection.
  bool ApplyWireCode(const uint8_t* body, size_t length);
  // Closes with an error (the OnClose path): socket closed, state reset, host told.
  void Close(int error);
  void Reset();

  int SetReplyTimeout(int seconds) {
    int old = m_timeoutSec;
    m_timeoutSec = seconds > 0 ? seconds : 1;
    return old;
  }
  void SetInteractive(bool on) { m_interactive = on; }
  bool Interactive() const { return m_interactive; }
  void SetCancelFlag(volatile int* flag) { m_cancel = flag; }
  bool IsAborted() const { return m_aborted; }
  int LastError() const { return m_lastError; }
  bool LoginInProgress() const { return m_loginInProgress; }
  int WaitDepth() const { return m_waitDepth; }
  int OnMessageDepth() const { return m_onMessageDepth; }
  bool NotificationsOn() const { return m_notificationsOn; }
  size_t Held() const { return m_assembler.Held(); }
  const CReplySlots& Slots() const { return m_slots; }
  const CWireTransform& SendTransform() const { return m_send; }
  const CWireTransform& ReceiveTransform() const { return m_recv; }

 private:
  class Source;
  void Deliver(std::vector<uint8_t>& frame);
  void LeaveWait() {
    if (m_waitDepth > 0) --m_waitDepth;
  }

  INetTransport& m_transport;
  INetHost& m_host;
  InflateFn m_inflate;
  CReplySlots m_slots;
  CFrameAssembler m_assembler;
  CWireTransform m_send, m_recv;
  volatile int* m_cancel = nullptr;
  int m_timeoutSec = 30;
  int m_lastError = NETERR_NONE;
  int m_waitDepth = 0;
  int m_onMessageDepth = 0;
  bool m_interactive = true;
  bool m_aborted = false;
  bool m_notificationsOn = true;
  bool m_receivePending = false;
  bool m_loginInProgress = false;
  bool m_closing = false;
};

}  // namespace netcore
