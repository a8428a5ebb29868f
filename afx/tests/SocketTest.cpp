// CAsyncSocket against a plain blocking peer on the loopback: notifications arrive
// on the UI thread, AsyncSelect(0)/(63) suspends and re-arms them, and events for a
// socket closed or detached meanwhile are dropped.
#include <afxsock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class CTestSocket : public CAsyncSocket {
 public:
  std::vector<std::string> events;
  std::string received;
  DWORD dwThread = 0;
  BOOL bCloseInReceive = FALSE;
  BOOL bDetachInReceive = FALSE;
  SOCKET hDetached = INVALID_SOCKET;
  void OnReceive(int nErrorCode) override {
    dwThread = ::GetCurrentThreadId();
    DWORD nWaiting = 0;
    IOCtl(FIONREAD, &nWaiting);
    events.push_back("receive " + std::to_string(nErrorCode) + " " + std::to_string(nWaiting));
    if (bDetachInReceive) {
      hDetached = Detach();
      return;
    }
    char buf[256];
    int n = Receive(buf, sizeof(buf));
    if (n > 0) received.append(buf, n);
    if (bCloseInReceive) Close();
  }
  void OnClose(int nErrorCode) override { events.push_back("close " + std::to_string(nErrorCode)); }
};

// A plain blocking socket pair: the peer end and the client end.
struct Loopback {
  SOCKET peer = INVALID_SOCKET;
  SOCKET client = INVALID_SOCKET;
  Loopback() {
    SOCKET listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in sa = {};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listener, (sockaddr*)&sa, sizeof(sa));
    int len = sizeof(sa);
    ::getsockname(listener, (sockaddr*)&sa, &len);
    ::listen(listener, 1);
    client = ::socket(AF_INET, SOCK_STREAM, 0);
    ::connect(client, (sockaddr*)&sa, sizeof(sa));  // blocking, as the connect worker does
    peer = ::accept(listener, nullptr, nullptr);
    ::closesocket(listener);
  }
  ~Loopback() {
    if (peer != INVALID_SOCKET) ::closesocket(peer);
  }
  void PeerSend(const char* s) { ::send(peer, s, (int)strlen(s), 0); }
  void PeerClose() {
    ::closesocket(peer);
    peer = INVALID_SOCKET;
  }
};

// Runs the message loop for a while (or until the predicate holds).
template <class Pred>
bool PumpUntil(Pred pred, DWORD ms = 3000) {
  DWORD start = ::GetTickCount();
  MSG msg;
  while (::GetTickCount() - start < ms) {
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
    if (pred()) return true;
    ::Sleep(5);
  }
  return pred();
}

class SocketTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WSADATA wsa = {};
    ASSERT_TRUE(AfxSocketInit(&wsa));
    EXPECT_GE(wsa.wHighVersion, 0x0202);
  }
};

TEST_F(SocketTest, ReceiveAndCloseArriveOnTheUiThread) {
  Loopback lo;
  CTestSocket sock;
  ASSERT_TRUE(sock.Attach(lo.client, 63));
  EXPECT_EQ(CAsyncSocket::FromHandle(lo.client), &sock);
  CString addr;
  UINT port = 0;
  ASSERT_TRUE(sock.GetSockName(addr, port));
  EXPECT_STREQ(addr, "127.0.0.1");
  EXPECT_NE(port, 0u);
  int on = 1;
  EXPECT_TRUE(sock.SetSockOpt(TCP_NODELAY, &on, sizeof(on), IPPROTO_TCP));

  char buf[16];
  EXPECT_EQ(sock.Receive(buf, sizeof(buf)), SOCKET_ERROR);  // nothing yet, and no blocking
  EXPECT_EQ(CAsyncSocket::GetLastError(), WSAEWOULDBLOCK);

  lo.PeerSend("hello");
  ASSERT_TRUE(PumpUntil([&] { return sock.received == "hello"; }));
  EXPECT_EQ(sock.events.front(), "receive 0 5");
  EXPECT_EQ(sock.dwThread, ::GetCurrentThreadId());

  EXPECT_EQ(sock.Send("ping", 4), 4);
  char back[8] = {};
  EXPECT_EQ(::recv(lo.peer, back, sizeof(back), 0), 4);

  sock.events.clear();
  lo.PeerClose();
  ASSERT_TRUE(PumpUntil([&] { return !sock.events.empty(); }));
  EXPECT_EQ(sock.events.back(), "close 0");
  sock.Close();
  EXPECT_EQ(sock.m_hSocket, INVALID_SOCKET);
}

TEST_F(SocketTest, AsyncSelectZeroSuspendsAndMaskRearms) {
  Loopback lo;
  CTestSocket sock;
  ASSERT_TRUE(sock.Attach(lo.client, 63));
  ASSERT_TRUE(sock.AsyncSelect(0));
  lo.PeerSend("abc");
  PumpUntil([] { return false; }, 300);
  EXPECT_TRUE(sock.events.empty());
  DWORD nWaiting = 0;
  EXPECT_TRUE(sock.IOCtl(FIONREAD, &nWaiting));
  EXPECT_EQ(nWaiting, 3u);
  ASSERT_TRUE(sock.AsyncSelect(63));  // data already waiting is reported again
  ASSERT_TRUE(PumpUntil([&] { return sock.received == "abc"; }));
}

TEST_F(SocketTest, EventsForClosedOrDetachedSocketsAreDropped) {
  {
    Loopback lo;
    CTestSocket sock;
    sock.bCloseInReceive = TRUE;  // closed while handling: the close that follows is not reported
    ASSERT_TRUE(sock.Attach(lo.client, 63));
    lo.PeerSend("x");
    lo.PeerClose();
    ASSERT_TRUE(PumpUntil([&] { return !sock.events.empty(); }));
    PumpUntil([] { return false; }, 300);
    EXPECT_EQ(sock.events, std::vector<std::string>{"receive 0 1"});
  }
  {
    Loopback lo;
    CTestSocket sock;
    sock.bDetachInReceive = TRUE;
    ASSERT_TRUE(sock.Attach(lo.client, 63));
    lo.PeerSend("y");
    ASSERT_TRUE(PumpUntil([&] { return !sock.events.empty(); }));
    lo.PeerSend("z");
    lo.PeerClose();
    PumpUntil([] { return false; }, 300);
    EXPECT_EQ(sock.events.size(), 1u);
    EXPECT_EQ(sock.hDetached, lo.client);
    EXPECT_EQ(CAsyncSocket::FromHandle(lo.client), nullptr);
    // The handle is the caller's again, still readable.
    u_long nb = 0;
    ::ioctlsocket(lo.client, FIONBIO, &nb);
    char buf[4] = {};
    EXPECT_EQ(::recv(lo.client, buf, sizeof(buf), 0), 2);
    ::closesocket(lo.client);
  }
}

TEST_F(SocketTest, CreateConnectAcceptAsyncSockets) {
  CAsyncSocket listener;
  ASSERT_TRUE(listener.Create(0, SOCK_STREAM, FD_ACCEPT, "127.0.0.1"));
  ASSERT_TRUE(listener.Listen());
  CString addr;
  UINT port = 0;
  ASSERT_TRUE(listener.GetSockName(addr, port));
  CSocket client;
  ASSERT_TRUE(client.Create());
  ASSERT_TRUE(client.Connect("127.0.0.1", port));  // waits for the connection
  CTestSocket accepted;
  ASSERT_TRUE(PumpUntil([&] { return listener.Accept(accepted); }));
  EXPECT_EQ(client.Send("12345", 5), 5);
  ASSERT_TRUE(PumpUntil([&] { return accepted.received == "12345"; }));
  EXPECT_FALSE(client.Connect("no.such.host.invalid", 1));
}

}  // namespace
