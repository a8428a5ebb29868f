#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <deque>
#include <thread>
#include <functional>
#include <stdexcept>

#include "NetSession.h"
#include "ZlibAdapter.h"
#include "resource.h"

using namespace netcore;

namespace {

class FakeTransport : public INetTransport {
 public:
  bool open = true;
  std::vector<uint8_t> inbound;  // bytes the server has sent
  size_t readPos = 0;
  std::vector<uint8_t> sent;
  std::deque<long> sendScript;  // >0 accept at most n, -1 would block, -2 error 10054, 0 returns 0
  std::vector<bool> selects;
  long availableOverride = -2;  // -2: the real count
  std::vector<size_t> receiveAsks;
  int writableWaits = 0;
  std::function<void()> onWaitWritable;

  bool IsOpen() const override { return open; }
  long Send(const uint8_t* d, size_t n, int* error) override {
    long turn = sendScript.empty() ? long(n) : sendScript.front();
    if (!sendScript.empty()) sendScript.pop_front();
    if (turn == -1) return *error = NETERR_WOULDBLOCK, -1;
    if (turn == -2) return *error = 10054, -1;
    size_t k = std::min(size_t(turn), n);
    sent.insert(sent.end(), d, d + k);
    return long(k);
  }
  long Receive(uint8_t* buf, size_t n, int* error) override {
    receiveAsks.push_back(n);
    size_t k = std::min(n, inbound.size() - readPos);
    if (k == 0) return *error = NETERR_WOULDBLOCK, -1;
    std::copy(inbound.begin() + long(readPos), inbound.begin() + long(readPos + k), buf);
    readPos += k;
    return long(k);
  }
  long Available(int*) override { return availableOverride != -2 ? availableOverride : long(inbound.size() - readPos); }
  void SelectEvents(bool on) override { selects.push_back(on); }
  bool WaitWritable(int) override {
    ++writableWaits;
    if (onWaitWritable) onWaitWritable();
    return true;
  }
  void Close() override { open = false; }
  void Push(const std::vector<uint8_t>& b) { inbound.insert(inbound.end(), b.begin(), b.end()); }
};

// Each wait step advances the clock and delivers one receive notification, as the message
// pump would; `atStep` lets a test act at a given step.
class FakeHost : public INetHost {
 public:
  CNetSession* session = nullptr;
  uint32_t tick = 1000;
  uint32_t stepMs = 100;
  int steps = 0;
  std::deque<bool> answers;  // to the time-out question
  int asked = 0;
  std::vector<int> boxes;
  std::vector<std::vector<uint8_t>> messages;
  std::vector<int> closes;
  std::vector<std::string> exceptions;
  std::function<void(int)> atStep;
  std::function<void(std::vector<uint8_t>&)> handler;
  int quitAtStep = -1;
  int realSleepMs = 0;  // lets another thread run between steps

  uint32_t TickMs() override { return tick; }
  bool AskKeepWaiting() override {
    ++asked;
    bool a = answers.empty() ? false : answers.front();
    if (!answers.empty()) answers.pop_front();
    return a;
  }
  void ShowStringBox(int id, unsigned) override { boxes.push_back(id); }
  bool WaitStep(bool) override {
    ++steps;
    tick += stepMs;
    if (realSleepMs) std::this_thread::sleep_for(std::chrono::milliseconds(realSleepMs));
    if (steps == quitAtStep) return false;
    if (atStep) atStep(steps);
    if (session) session->OnReceive(0);
    return true;
  }
  void OnMessage(std::vector<uint8_t>& f) override {
    messages.push_back(f);
    if (handler) handler(f);
  }
  void OnConnectionClosed(int error) override { closes.push_back(error); }
  void OnHandlerException(const char* what) override { exceptions.push_back(what); }
};

struct Rig {
  FakeTransport t;
  FakeHost h;
  CNetSession s{t, h, ZlibUncompress};
  Rig() { h.session = &s; }
  // Runs notifications until the server's bytes are all taken (bounded).
  void Drain() {
    for (int i = 0; i < 100 && t.readPos < t.inbound.size() && t.open; ++i) s.OnReceive(0);
  }
};

std::vector<uint8_t> Frame(uint32_t id, const std::string& body, uint32_t status = 0) {
  return BuildFrame(id, body.data(), body.size(), status);
}

}  // namespace

TEST(NetSession, SendLimitIs65536BytesWithHeader) {
  Rig r;
  auto ok = Frame(0x300, std::string(65536 - 8, 'a'));
  EXPECT_EQ(r.s.SendMsg(&ok, ReplyMode::kNoWait), 1);
  EXPECT_EQ(r.t.sent.size(), 65536u);
  r.t.sent.clear();
  auto over = Frame(0x300, std::string(65537 - 8, 'a'));
  EXPECT_EQ(r.s.SendMsg(&over, ReplyMode::kNoWait), 0);
  EXPECT_TRUE(r.t.sent.empty());
  EXPECT_EQ(r.h.boxes, std::vector<int>{IDS_SENDFAIL});
  auto lying = Frame(0x300, "abc");
  WriteU32(lying.data() + 4, 100);  // header claims more than the buffer holds
  EXPECT_EQ(r.s.SendMsg(&lying, ReplyMode::kNoWait), 0);
}

TEST(NetSession, PartialSendsContinueUntilEveryByteIsOut) {
  Rig r;
  r.t.sendScript = {3, -1, -1, 4, -1, 2};
  auto f = Frame(0x301, "0123456789");
  EXPECT_EQ(r.s.SendMsg(&f, ReplyMode::kNoWait), 1);
  EXPECT_EQ(r.t.sent, f);
  EXPECT_EQ(r.t.writableWaits, 3);

  Rig err;
  err.t.sendScript = {-2};
  EXPECT_EQ(err.s.SendMsg(&f, ReplyMode::kNoWait), 0) << "-1 is a failure, not a success";
  EXPECT_TRUE(err.t.open) << "nothing went out: the stream is still in step";

  Rig half;
  half.t.sendScript = {5, -2};
  EXPECT_EQ(half.s.SendMsg(&f, ReplyMode::kNoWait), 0);
  EXPECT_FALSE(half.t.open) << "half a frame sent closes the connection";
  EXPECT_EQ(half.h.closes, std::vector<int>{10054});

  Rig stuck;  // never writable again: gives up at the reply time-out
  stuck.s.SetReplyTimeout(2);
  stuck.t.sendScript = std::deque<long>(1000, -1);
  stuck.t.onWaitWritable = [&] { stuck.h.tick += 100; };
  EXPECT_EQ(stuck.s.SendMsg(&f, ReplyMode::kNoWait), 0);
  EXPECT_EQ(stuck.s.LastError(), NETERR_TIMEDOUT);
  EXPECT_EQ(stuck.t.writableWaits, 20);
}

TEST(NetSession, ReplyTakenOrOnlyAwaited) {
  Rig r;
  r.h.atStep = [&](int step) {
    if (step == 2) r.t.Push(Frame(0x80000302, "reply", 5));
  };
  auto req = Frame(0x302, "q");
  std::vector<uint8_t> reply;
  EXPECT_EQ(r.s.SendMsg(&req, ReplyMode::kTake, &reply), 1);
  EXPECT_EQ(reply, Frame(0x80000302, "reply", 5));
  EXPECT_TRUE(r.h.messages.empty()) << "a taken reply does not reach OnMessage";
  EXPECT_EQ(r.s.Slots().BusyCount(), 0);
  EXPECT_EQ(r.s.WaitDepth(), 0);

  Rig k0;
  k0.h.atStep = [&](int step) {
    if (step == 1) k0.t.Push(Frame(0x80000303, "seen", 1));
  };
  auto req2 = Frame(0x303, "q");
  EXPECT_EQ(k0.s.SendMsg(&req2, ReplyMode::kArrivalOnly), 1);
  ASSERT_EQ(k0.h.messages.size(), 1u) << "a reply awaited with keep 0 still reaches OnMessage";
  EXPECT_EQ(k0.h.messages[0], Frame(0x80000303, "seen", 1));

  Rig other;  // an explicit reply id
  other.h.atStep = [&](int step) {
    if (step == 1) other.t.Push(Frame(0x80000999, "x"));
  };
  EXPECT_EQ(other.s.SendMsg(&req2, ReplyMode::kTake, &reply, 0x80000999), 1);
  EXPECT_EQ(ReadU32(reply.data()), 0x80000999u);
}

TEST(NetSession, LoginInProgressRefusesOtherSends) {
  Rig r;
  int refused = -1;
  r.h.atStep = [&](int step) {
    if (step == 1) {
      auto other = Frame(0x304, "x");
      refused = r.s.SendMsg(&other, ReplyMode::kNoWait);
    }
    if (step == 2) r.t.Push(Frame(0x80000200, "in", 1));
  };
  auto login = Frame(MSG_LOGIN, "me");
  std::vector<uint8_t> reply;
  EXPECT_EQ(r.s.SendMsg(&login, ReplyMode::kTake, &reply), 1);
  EXPECT_EQ(refused, 0);
  EXPECT_FALSE(r.s.LoginInProgress());
  auto after = Frame(0x304, "x");
  EXPECT_EQ(r.s.SendMsg(&after, ReplyMode::kNoWait), 1);
}

// An interactive wait asks once per time-out period; No ends it with 10060 and closes a wait
// that takes its reply. A non-interactive one gives up without asking.
TEST(NetSession, TimeoutQuestionOncePerPeriod) {
  Rig r;
  r.s.SetReplyTimeout(3);
  r.h.stepMs = 250;
  r.h.answers = {true, false};
  auto req = Frame(0x305, "q");
  EXPECT_EQ(r.s.SendMsg(&req, ReplyMode::kTake), 0);
  EXPECT_EQ(r.h.asked, 2);
  EXPECT_EQ(r.h.steps, 24) << "12 steps of 250 ms per 3-second period";
  EXPECT_TRUE(r.s.IsAborted());
  EXPECT_EQ(r.h.closes, std::vector<int>{NETERR_TIMEDOUT});
  EXPECT_EQ(ErrorStringId(NETERR_TIMEDOUT), 29907);

  Rig waitOnly;
  waitOnly.s.SetReplyTimeout(1);
  EXPECT_EQ(waitOnly.s.SendMsg(&req, ReplyMode::kArrivalOnly), 0);
  EXPECT_EQ(waitOnly.s.LastError(), NETERR_TIMEDOUT);
  EXPECT_TRUE(waitOnly.h.closes.empty()) << "a wait without its reply frame leaves the connection";
  EXPECT_TRUE(waitOnly.t.open);

  Rig quiet;
  quiet.s.SetReplyTimeout(1);
  quiet.s.SetInteractive(false);
  EXPECT_EQ(quiet.s.SendMsg(&req, ReplyMode::kTake), 0);
  EXPECT_EQ(quiet.h.asked, 0);
  EXPECT_FALSE(quiet.s.IsAborted());
  EXPECT_EQ(quiet.h.closes, std::vector<int>{NETERR_TIMEDOUT});
}

TEST(NetSession, CancelFlagAndQuitEndWaits) {
  Rig r;
  volatile int cancel = 0;
  r.s.SetCancelFlag(&cancel);
  r.h.atStep = [&](int step) {
    if (step == 3) cancel = 1;
  };
  auto req = Frame(0x306, "q");
  EXPECT_EQ(r.s.SendMsg(&req, ReplyMode::kTake), 0);
  EXPECT_EQ(r.h.closes, std::vector<int>{NETERR_CANCELLED});
  EXPECT_EQ(ErrorStringId(NETERR_CANCELLED), 0) << "no box for a cancelled wait";

  Rig q;
  q.h.quitAtStep = 2;
  EXPECT_EQ(q.s.SendMsg(&req, ReplyMode::kArrivalOnly), 0);
  EXPECT_EQ(q.h.steps, 2) << "the wait gives up at WM_QUIT";
  EXPECT_TRUE(q.s.IsAborted());
  EXPECT_EQ(q.s.LoginInProgress(), false);
}

TEST(NetSession, AllTenSlotsBusyClosesTheConnection) {
  Rig r;
  int depthSeen = 0;
  std::vector<int> results;
  std::function<void()> nest = [&] {
    depthSeen = std::max(depthSeen, r.s.WaitDepth());
    auto req = Frame(0x400 + uint32_t(results.size()), "q");
    results.push_back(-1);
    size_t me = results.size() - 1;
    results[me] = r.s.SendMsg(&req, ReplyMode::kTake);
  };
  r.h.atStep = [&](int) {
    if (results.size() < 11) nest();
  };
  nest();
  EXPECT_EQ(depthSeen, 10);
  EXPECT_EQ(r.h.closes.size(), 1u) << "the eleventh wait finds no slot";
  for (int v : results) EXPECT_EQ(v, 0);
  EXPECT_EQ(r.s.WaitDepth(), 0);
}

TEST(NetSession, FatalFrameIsNeverInflated) {
  Rig r;
  auto fatal = Frame(MSG_FATAL, std::string("\x02\x00", 2), 2);  // bit 30 set by its value
  r.t.Push(fatal);
  r.Drain();
  ASSERT_EQ(r.h.messages.size(), 1u);
  EXPECT_EQ(r.h.messages[0], fatal);

  std::string text(400, 'z');
  std::vector<uint8_t> packed;
  ASSERT_TRUE(CompressFrame(Frame(0x80000307, text, 4), ZlibCompress, &packed));
  r.t.Push(packed);
  r.Drain();
  ASSERT_EQ(r.h.messages.size(), 2u);
  EXPECT_EQ(r.h.messages[1], Frame(0x80000307, text, 4));
}

TEST(NetSession, BadFramesCloseTheConnection) {
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
  };
  uint8_t huge[8];
  WriteU32(huge, 0x308);
  WriteU32(huge + 4, NET_MAX_BODY + 1);
  auto shortCompressed = Frame(0x40000308, "ab");
  auto badStream = Frame(0x40000308, std::string("\x10\x00\x00\x00garbage!", 11));
  auto badWire = Frame(MSG_WIRE_CODE, std::string(16, '\0') + "x");
  const Case cases[] = {
      {"length beyond bound", std::vector<uint8_t>(huge, huge + 8)},
      {"compressed body under 4 bytes", shortCompressed},
      {"corrupt compressed stream", badStream},
      {"malformed wire code", badWire},
  };
  for (const Case& c : cases) {
    Rig r;
    r.h.handler = [&](std::vector<uint8_t>& f) {
      if (ReadU32(f.data()) == MSG_WIRE_CODE) r.s.ApplyWireCode(f.data() + 8, f.size() - 8);
    };
    r.t.Push(c.bytes);
    r.Drain();
    EXPECT_FALSE(r.t.open) << c.name;
    EXPECT_EQ(r.h.closes, std::vector<int>{NETERR_BAD_FRAME}) << c.name;
    EXPECT_EQ(ErrorStringId(NETERR_BAD_FRAME), 29906);
  }
}

TEST(NetSession, NothingToReadReArmsAndWouldBlockKeepsCount) {
  Rig r;
  r.t.availableOverride = 0;
  r.s.OnReceive(0);
  EXPECT_EQ(r.t.selects, (std::vector<bool>{false, true}));
  EXPECT_TRUE(r.t.receiveAsks.empty()) << "FIONREAD 0 reads nothing";

  Rig w;
  w.t.Push(std::vector<uint8_t>{1, 2, 3});
  w.s.OnReceive(0);
  EXPECT_EQ(w.s.Held(), 3u);
  w.t.availableOverride = 5;  // claims bytes the socket then does not give
  w.s.OnReceive(0);
  EXPECT_EQ(w.s.Held(), 3u);
  EXPECT_TRUE(w.t.open);
  EXPECT_TRUE(w.h.closes.empty());
}

TEST(NetSession, SuspendedNotificationsReplayOnResume) {
  Rig r;
  r.s.SuspendNotifications();
  EXPECT_EQ(r.t.selects, std::vector<bool>{false});
  r.t.Push(Frame(0x309, "later"));
  r.s.OnReceive(0);
  EXPECT_EQ(r.s.Held(), 0u) << "nothing is read while suspended";
  r.s.ResumeNotifications();
  EXPECT_EQ(r.t.selects, (std::vector<bool>{false, true}));
  r.Drain();
  ASSERT_EQ(r.h.messages.size(), 1u);
  EXPECT_EQ(r.h.messages[0], Frame(0x309, "later"));
}

TEST(NetSession, HandlerExceptionIsReported) {
  Rig r;
  r.h.handler = [](std::vector<uint8_t>&) { throw std::runtime_error("bad table data"); };
  r.t.Push(Frame(0x30A, "x"));
  r.Drain();
  EXPECT_EQ(r.h.exceptions, std::vector<std::string>{"bad table data"});
  EXPECT_EQ(r.s.OnMessageDepth(), 0);
  EXPECT_FALSE(r.t.open) << "should the host return, the connection does not go on";
}

// After MSG_WIRE_CODE the next frame in each direction is transformed, not a byte earlier.
TEST(NetSession, WireCodeSwitchesBetweenFrames) {
  Rig r;
  WireCode code;
  code.sendState = 7;
  code.recvState = 9;
  code.send = CWireProgram({{WIRE_ADD, 3}, {WIRE_ROL, 4}});
  code.recv = CWireProgram({{WIRE_XOR, 5}});
  r.h.handler = [&](std::vector<uint8_t>& f) {
    if (ReadU32(f.data()) == MSG_WIRE_CODE) r.s.ApplyWireCode(f.data() + 8, f.size() - 8);
  };
  auto body = BuildWireCodeBody(code);
  auto next = Frame(0x30B, "sealed");
  auto sealed = next;
  uint32_t st = code.recvState;
  code.recv.Inverse().Apply(sealed.data(), sealed.size(), &st);
  r.t.Push(BuildFrame(MSG_WIRE_CODE, body.data(), body.size()));
  r.t.Push(sealed);
  r.Drain();
  ASSERT_EQ(r.h.messages.size(), 2u);
  EXPECT_EQ(r.h.messages[1], next);

  auto out = Frame(0x30C, "to server");
  EXPECT_EQ(r.s.SendMsg(&out, ReplyMode::kNoWait), 1);
  EXPECT_EQ(out, Frame(0x30C, "to server")) << "the caller's frame is unchanged";
  std::vector<uint8_t> wire = r.t.sent;
  uint32_t ss = code.sendState;
  code.send.Inverse().Apply(wire.data(), wire.size(), &ss);
  EXPECT_EQ(wire, out);

  r.s.Reset();
  EXPECT_FALSE(r.s.SendTransform().IsOn());
  EXPECT_FALSE(r.s.ReceiveTransform().IsOn());
}

TEST(NetSession, ReceiveExactLeavesFramesAlone) {
  Rig r;
  r.t.Push(std::vector<uint8_t>{5, 0, 0x11, 0x22});
  uint8_t buf[2];
  ASSERT_TRUE(r.s.ReceiveExact(buf, 2));
  EXPECT_EQ(buf[0], 5);
  EXPECT_EQ(buf[1], 0);
  EXPECT_EQ(r.t.readPos, 2u) << "the steps' notifications did not take the following bytes";
  EXPECT_TRUE(r.s.NotificationsOn());
  EXPECT_EQ(r.s.WaitDepth(), 0);

  Rig closed;
  closed.t.open = false;
  EXPECT_FALSE(closed.s.ReceiveExact(buf, 2));
  Rig timeout;
  timeout.s.SetReplyTimeout(1);
  timeout.s.SetInteractive(false);
  EXPECT_FALSE(timeout.s.ReceiveExact(buf, 2));
  EXPECT_EQ(timeout.s.LastError(), NETERR_TIMEDOUT);
}

namespace {

// A worker body that blocks until released or cancelled, as a socket connect would.
struct Gate {
  std::atomic<int> release{0};  // 0 wait, 1 connect, 2 fail
  std::atomic<bool> unblocked{false};
  CConnectWorker::Body Body() {
    return [this](const std::atomic<bool>& cancel, int* error) {
      for (int i = 0; i < 5000; ++i) {  // bounded: 5 s at most
        if (cancel || unblocked) return false;
        if (release == 1) return true;
        if (release == 2) {
          *error = 10061;
          return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
      return false;
    };
  }
};

}  // namespace

TEST(NetSession, ConnectWorkerPolledFromTheWaits) {
  {  // connected after a few steps
    Rig r;
    r.h.realSleepMs = 2;
    r.s.SetReplyTimeout(300);  // generous: the worker thread may be scheduled late
    Gate g;
    CConnectWorker w;
    ASSERT_TRUE(w.Start(g.Body()));
    EXPECT_FALSE(w.Start(g.Body())) << "a second connect while one runs is refused";
    r.h.atStep = [&](int step) {
      if (step == 3) g.release = 1;
    };
    EXPECT_EQ(r.s.WaitConnect(w, true), 1);
    EXPECT_FALSE(w.Running());
    EXPECT_TRUE(r.h.closes.empty());
  }
  {  // refused: closed with the worker's error
    Rig r;
    r.h.realSleepMs = 2;
    r.s.SetReplyTimeout(300);  // generous: the worker thread may be scheduled late
    Gate g;
    g.release = 2;
    CConnectWorker w;
    ASSERT_TRUE(w.Start(g.Body()));
    EXPECT_EQ(r.s.WaitConnect(w, true), 0);
    EXPECT_EQ(r.h.closes, std::vector<int>{10061});
    EXPECT_EQ(ErrorStringId(10061), 29901);
  }
  {  // the user gives up: the worker is cancelled through the unblock hook and joined
    Rig r;
    r.s.SetReplyTimeout(1);
    r.h.answers = {false};
    Gate g;
    CConnectWorker w;
    ASSERT_TRUE(w.Start(g.Body(), [&] { g.unblocked = true; }));
    EXPECT_EQ(r.s.WaitConnect(w, true), 0);
    EXPECT_TRUE(g.unblocked);
    EXPECT_FALSE(w.Running());
    EXPECT_EQ(w.GetState(), CConnectWorker::kFailed);
    EXPECT_EQ(r.h.closes, std::vector<int>{NETERR_TIMEDOUT});
    EXPECT_EQ(r.h.asked, 1);
  }
}
