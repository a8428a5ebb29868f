#include "NetSession.h"

#include "resource.h"

#include <exception>

namespace netcore {

// Reads through the transport and the receive transform, as the socket's Receive does.
class CNetSession::Source : public IByteSource {
 public:
  explicit Source(CNetSession& s) : m_s(s) {}
  long Read(uint8_t* buf, size_t max, int* error) override {
    long n = m_s.m_transport.Receive(buf, max, error);
    if (n > 0) m_s.m_recv.Apply(buf, size_t(n));
    return n;
  }

 private:
  CNetSession& m_s;
};

void CNetSession::Reset() {
  m_slots.Clear();
  m_assembler.Clear();
  m_send.Off();
  m_recv.Off();
  m_lastError = NETERR_NONE;
  m_aborted = false;
  m_notificationsOn = true;
  m_receivePending = false;
  m_waitDepth = 0;
  m_onMessageDepth = 0;
  m_loginInProgress = false;
}

void CNetSession::Close(int error) {
  if (m_closing) return;
  m_closing = true;
  bool aborted = m_aborted;
  m_transport.Close();
  Reset();
  m_aborted = aborted;  // the host decides on the box by it
  m_lastError = error;
  m_closing = false;
  m_host.OnConnectionClosed(error);
}

bool CNetSession::SendAll(const uint8_t* data, size_t n) {
  std::vector<uint8_t> copy;
  if (m_send.IsOn()) {
    copy.assign(data, data + n);
    m_send.Apply(copy.data(), n);
    data = copy.data();
  }
  uint32_t start = m_host.TickMs();
  size_t sent = 0;
  while (sent < n) {
    int err = 0;
    long r = m_transport.Send(data + sent, n - sent, &err);
    if (r > 0) {
      sent += size_t(r);
      continue;
    }
    bool blocked = r < 0 && (err == NETERR_WOULDBLOCK || err == NETERR_INPROGRESS);
    if (blocked && (m_host.TickMs() - start) / 1000 < uint32_t(m_timeoutSec)) {
      m_transport.WaitWritable(100);
      continue;
    }
    m_lastError = blocked ? NETERR_TIMEDOUT : (r == 0 ? NETERR_SELF_CLOSED : err);
    // Half a frame on the wire leaves the stream out of step: the connection cannot go on.
    if (sent > 0) Close(m_lastError);
    return false;
  }
  return true;
}

int CNetSession::SendMsg(const std::vector<uint8_t>* frame, ReplyMode mode, std::vector<uint8_t>* reply,
                         uint32_t replyId) {
  if (!m_transport.IsOpen() || m_loginInProgress) return 0;
  uint32_t requestId = 0;
  if (frame) {
    size_t total = FrameTotalSize(frame->data(), frame->size());
    if (total == 0 || total > frame->size()) return 0;
    if (total > NET_SEND_LIMIT) {
      m_host.ShowStringBox(IDS_SENDFAIL, kStyleInformation);
      return 0;
    }
    requestId = ReadU32(frame->data());
    if (!SendAll(frame->data(), total)) return 0;
  }
  if (mode == ReplyMode::kNoWait) return 1;
  uint32_t expected = replyId ? replyId : (requestId | NET_REPLY_BIT);
  int slot = m_slots.Take(expected, mode == ReplyMode::kTake);
  if (slot < 0) {
    Close(m_lastError);
    return 0;
  }
  if (frame && (requestId == MSG_LOGIN_ALT || requestId == MSG_LOGIN)) m_loginInProgress = true;
  uint32_t start = m_host.TickMs();
  ++m_waitDepth;
  for (;;) {
    if (!m_transport.IsOpen()) {  // closed meanwhile: Close already reset everything
      m_slots.Release(slot);
      LeaveWait();
      return 0;
    }
    if (m_slots.Arrived(slot)) {
      std::vector<uint8_t> f = m_slots.Release(slot);
      if (mode == ReplyMode::kTake && reply) *reply = std::move(f);
      m_loginInProgress = false;
      LeaveWait();
      return 1;
    }
    if (!WaitReply(&start, true)) {
      m_slots.Release(slot);
      // A login wait that gave up must not leave every later send refused.
      m_loginInProgress = false;
      if (mode != ReplyMode::kArrivalOnly) Close(m_lastError);
      LeaveWait();
      return 0;
    }
  }
}

bool CNetSession::WaitReply(uint32_t* startTick, bool pump) {
  if ((m_host.TickMs() - *startTick) / 1000 >= uint32_t(m_timeoutSec)) {
    if (!m_interactive) {
      m_lastError = NETERR_TIMEDOUT;
      return false;
    }
    if (m_host.AskKeepWaiting()) {
      *startTick = m_host.TickMs();
    } else {
      if (m_cancel) *m_cancel = 1;
      m_aborted = true;
      m_lastError = NETERR_TIMEDOUT;
      return false;
    }
  }
  if (m_cancel && *m_cancel) {
    m_aborted = true;
    m_lastError = NETERR_CANCELLED;
    return false;
  }
  if (!m_host.WaitStep(pump)) {  // WM_QUIT: the program is ending, no box
    m_aborted = true;
    m_lastError = NETERR_CANCELLED;
    return false;
  }
  return true;
}

void CNetSession::OnReceive(int error) {
  m_lastError = error;
  if (error) {
    Close(error);
    return;
  }
  if (!m_notificationsOn) {
    m_receivePending = true;
    return;
  }
  int err = 0;
  long avail = m_transport.Available(&err);
  if (avail < 0) {
    Close(err);
    return;
  }
  if (avail == 0) {  // re-arm so the next arrival is notified again
    m_transport.SelectEvents(false);
    m_transport.SelectEvents(true);
    return;
  }
  Source src(*this);
  switch (m_assembler.ReadOnce(src, &err)) {
    case CFrameAssembler::kIncomplete:
    case CFrameAssembler::kWouldBlock:
      return;
    case CFrameAssembler::kClosed:
      Close(err);
      return;
    case CFrameAssembler::kError:
      Close(err);
      return;
    case CFrameAssembler::kTooLong:
      Close(NETERR_BAD_FRAME);
      return;
    case CFrameAssembler::kFrame:
      break;
  }
  std::vector<uint8_t> frame = m_assembler.TakeFrame();
  if (IsCompressedId(ReadU32(frame.data()))) {
    std::vector<uint8_t> plain;
    if (InflateFrame(frame, m_inflate, &plain) != InflateResult::kOk) {
      Close(NETERR_BAD_FRAME);
      return;
    }
    frame.swap(plain);
  }
  Deliver(frame);
}

void CNetSession::Deliver(std::vector<uint8_t>& frame) {
  if (m_slots.Offer(ReadU32(frame.data()), &frame)) return;
  ++m_onMessageDepth;
  const char* what = nullptr;
  try {
    m_host.OnMessage(frame);
  } catch (const std::exception& e) {
    what = e.what();
    m_host.OnHandlerException(what);
  } catch (...) {
    what = "unknown exception";
    m_host.OnHandlerException(what);
  }
  if (m_onMessageDepth > 0) --m_onMessageDepth;
  if (what) Close(NETERR_SELF_CLOSED);
}

bool CNetSession::ReceiveExact(uint8_t* buf, size_t n) {
  if (!m_transport.IsOpen()) return false;
  bool saved = m_notificationsOn;
  m_notificationsOn = false;  // OnReceive must not take these bytes
  ++m_waitDepth;
  uint32_t start = m_host.TickMs();
  size_t got = 0;
  bool ok = true;
  while (got < n) {
    if (!WaitReply(&start, true) || !m_transport.IsOpen()) {
      ok = false;
      break;
    }
    int err = 0;
    long r = m_transport.Receive(buf + got, n - got, &err);
    if (r > 0) {
      m_recv.Apply(buf + got, size_t(r));
      got += size_t(r);
    } else if (r == 0 || (err != NETERR_WOULDBLOCK && err != NETERR_INPROGRESS)) {
      m_lastError = r == 0 ? 0 : err;  // a closed peer sends nothing more: no use waiting
      ok = false;
      break;
    }
  }
  m_notificationsOn = saved;
  LeaveWait();
  return ok;
}

void CNetSession::SuspendNotifications() {
  m_notificationsOn = false;
  if (m_transport.IsOpen()) m_transport.SelectEvents(false);
}

void CNetSession::ResumeNotifications() {
  if (m_notificationsOn) return;
  m_notificationsOn = true;
  if (!m_transport.IsOpen()) return;
  m_transport.SelectEvents(true);
  if (m_receivePending) {
    m_receivePending = false;
    OnReceive(0);
  }
}

int CNetSession::WaitConnect(CConnectWorker& worker, bool pump) {
  uint32_t start = m_host.TickMs();
  while (worker.GetState() == CConnectWorker::kConnecting) {
    if (!WaitReply(&start, pump)) {
      worker.Cancel();
      worker.Join();
      Close(m_lastError);
      return 0;
    }
  }
  worker.Join();
  if (worker.GetState() != CConnectWorker::kConnected) {
    Close(worker.Error());
    return 0;
  }
  return 1;
}

bool CNetSession::ApplyWireCode(const uint8_t* body, size_t length) {
  WireCode code;
  if (!ParseWireCode(body, length, &code)) {
    Close(NETERR_BAD_FRAME);
    return false;
  }
  m_send.Install(code.send, code.sendState);
  m_recv.Install(code.recv, code.recvState);
  return true;
}

}  // namespace netcore
