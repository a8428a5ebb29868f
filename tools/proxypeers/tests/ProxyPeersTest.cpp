#include <gtest/gtest.h>

#include <sys/socket.h>

#include <memory>

#include "NetFrame.h"
#include "ProxyPeers.h"
#include "ProxySettings.h"
#include "TableServer.h"

using namespace netcore;
using namespace peers;

namespace {

enum class Kind { kSocks4, kSocks5, kHttp };

struct Attempt {
  Attempt(Kind k, std::string h = "127.0.0.1", std::string u = "", std::string p = "")
      : kind(k), host(std::move(h)), user(std::move(u)), password(std::move(p)) {}
  Kind kind;
  std::string host;
  std::string user, password;  // what the client offers
};

// Connects through the proxy as the client does and returns 0 or the client's error code.
int ConnectVia(const Attempt& a, uint16_t proxyPort, uint16_t gamePort, CLoopbackClient* c) {
  int err = 0;
  if (!c->Connect(proxyPort, &err)) return ConnectFailureCode(true, err);
  std::unique_ptr<CProxyHandshake> h;
  switch (a.kind) {
    case Kind::kSocks4:
      h = std::make_unique<CSocks4Handshake>(a.host, gamePort, "tester");
      break;
    case Kind::kSocks5:
      h = std::make_unique<CSocks5Handshake>(a.host, gamePort, a.user, a.password);
      break;
    case Kind::kHttp:
      h = std::make_unique<CHttpConnectHandshake>(a.host, gamePort, a.user, a.password);
      break;
  }
  if (!c->Handshake(*h, 3000)) return HandshakeFailureCode(false, 0);
  return 0;
}

// One request through the established tunnel reaches the table server and its reply comes back.
void ExpectGameTraffic(CLoopbackClient& c) {
  ASSERT_TRUE(c.SendFrame(BuildFrame(0x700, "ping", 4)));
  std::vector<uint8_t> f;
  ASSERT_TRUE(c.ReadFrame(&f));
  EXPECT_EQ(ReadU32(f.data()), 0x80000700u);
  EXPECT_EQ(std::string(f.begin() + 12, f.end()), "ping");
}

std::unique_ptr<CProxyPeer> MakeProxy(Kind kind, ProxyOptions opt) {
  opt.maxSeconds = 20;
  if (kind == Kind::kHttp) return std::make_unique<CHttpProxy>(opt);
  return std::make_unique<CSocksProxy>(opt);
}

class ProxyPeers : public ::testing::Test {
 protected:
  void SetUp() override {
    TableServerOptions opt;
    opt.echoUnknown = true;
    opt.maxSeconds = 30;
    server = std::make_unique<CTableServer>(opt);
    ASSERT_TRUE(server->Start());
  }
  std::unique_ptr<CTableServer> server;
};

}  // namespace

TEST_F(ProxyPeers, EveryPathReachesTheTableServer) {
  struct Case {
    const char* name;
    Kind kind;
    ProxyOptions opt;
    Attempt attempt;
    const char* logged;
  };
  ProxyOptions plain, auth, v6, dom, slow;
  auth.user = "alice";
  auth.password = "s3cret";
  v6.socks5ReplyType = 4;
  dom.socks5ReplyType = 3;
  slow.fault = ProxyFault::kSlow;
  slow.slowMs = 5;
  const Case cases[] = {
      {"socks4 dotted", Kind::kSocks4, plain, {Kind::kSocks4}, "socks4 127.0.0.1"},
      {"socks4a name", Kind::kSocks4, plain, {Kind::kSocks4, "game.local"}, "socks4 name game.local"},
      {"socks5 no auth", Kind::kSocks5, plain, {Kind::kSocks5, "127.0.0.1", "u", "p"}, "socks5 127.0.0.1"},
      {"socks5 name", Kind::kSocks5, plain, {Kind::kSocks5, "localhost"}, "socks5 localhost"},
      {"socks5 user+password", Kind::kSocks5, auth, {Kind::kSocks5, "127.0.0.1", "alice", "s3cret"}, "socks5 auth ok"},
      {"socks5 ipv6 reply", Kind::kSocks5, v6, {Kind::kSocks5}, "socks5 127.0.0.1"},
      {"socks5 domain reply", Kind::kSocks5, dom, {Kind::kSocks5}, "socks5 127.0.0.1"},
      {"socks5 slow", Kind::kSocks5, slow, {Kind::kSocks5}, "socks5 127.0.0.1"},
      {"http connect", Kind::kHttp, plain, {Kind::kHttp}, "http CONNECT 127.0.0.1"},
      {"http basic auth", Kind::kHttp, auth, {Kind::kHttp, "127.0.0.1", "alice", "s3cret"}, "http CONNECT"},
      {"http slow", Kind::kHttp, slow, {Kind::kHttp}, "http CONNECT"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto proxy = MakeProxy(c.kind, c.opt);
    ASSERT_TRUE(proxy->Start());
    CLoopbackClient client;
    ASSERT_EQ(ConnectVia(c.attempt, proxy->Port(), server->Port(), &client), 0);
    EXPECT_TRUE(proxy->WaitForLog(c.logged, 1000));
    ExpectGameTraffic(client);
  }
}

TEST_F(ProxyPeers, FailuresGiveTheProxyCodes) {
  struct Case {
    const char* name;
    Kind kind;
    ProxyFault fault;
    Attempt attempt;
    ProxyOptions base;
  };
  ProxyOptions plain, auth;
  auth.user = "alice";
  auth.password = "s3cret";
  std::vector<Case> cases;
  for (Kind k : {Kind::kSocks4, Kind::kSocks5, Kind::kHttp})
    for (ProxyFault f : {ProxyFault::kRefuse, ProxyFault::kWrongMethod, ProxyFault::kBadReply, ProxyFault::kCloseEarly})
      cases.push_back({"fault", k, f, {k}, plain});
  cases.push_back({"socks5 wrong password",
                   Kind::kSocks5,
                   ProxyFault::kNone,
                   {Kind::kSocks5, "127.0.0.1", "alice", "guess"},
                   auth});
  cases.push_back({"socks5 no credentials offered to a proxy that wants them",
                   Kind::kSocks5,
                   ProxyFault::kNone,
                   {Kind::kSocks5},
                   auth});
  cases.push_back(
      {"http wrong password", Kind::kHttp, ProxyFault::kNone, {Kind::kHttp, "127.0.0.1", "alice", "x"}, auth});
  cases.push_back(
      {"socks5 target beyond loopback", Kind::kSocks5, ProxyFault::kNone, {Kind::kSocks5, "10.9.8.7"}, plain});
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " kind " + std::to_string(int(c.kind)) + " fault " +
                 std::to_string(int(c.fault)));
    ProxyOptions opt = c.base;
    opt.fault = c.fault;
    auto proxy = MakeProxy(c.kind, opt);
    ASSERT_TRUE(proxy->Start());
    CLoopbackClient client;
    EXPECT_EQ(ConnectVia(c.attempt, proxy->Port(), server->Port(), &client), NETERR_PROXY_HANDSHAKE);
    EXPECT_EQ(ErrorStringId(NETERR_PROXY_HANDSHAKE), 29905);
  }
}

TEST_F(ProxyPeers, ProxyNotListeningIs10201) {
  uint16_t port = 0;
  int fd = ListenLoopback(0, &port);  // take a port, then free it so nothing listens there
  CloseFd(fd);
  CLoopbackClient client;
  EXPECT_EQ(ConnectVia({Kind::kSocks5}, port, server->Port(), &client), NETERR_PROXY_CONNECT);
  EXPECT_EQ(ErrorStringId(NETERR_PROXY_CONNECT), 29904);
}

TEST(ProxyPeersHttp, PlainGetIsForwardedByHost) {
  // A one-shot web server that answers any request.
  uint16_t webPort = 0;
  int web = ListenLoopback(0, &webPort);
  ASSERT_GE(web, 0);
  std::string seen;
  std::thread webThread([&] {
    if (!WaitReadable(web, 3000)) return;
    int fd = accept(web, nullptr, nullptr);
    char buf[512];
    if (WaitReadable(fd, 3000)) {
      ssize_t n = ::recv(fd, buf, sizeof buf, 0);
      if (n > 0) seen.assign(buf, size_t(n));
    }
    const char reply[] = "HTTP/1.0 200 OK\r\nContent-Length: 2\r\n\r\nhi";
    SendAll(fd, reply, sizeof reply - 1, 1000);
    CloseFd(fd);
  });
  ProxyOptions opt;
  opt.maxSeconds = 10;
  CHttpProxy proxy(opt);
  ASSERT_TRUE(proxy.Start());
  int c = ConnectLoopback(proxy.Port(), 2000);
  ASSERT_GE(c, 0);
  std::string req = "GET http://127.0.0.1:" + std::to_string(webPort) +
                    "/x HTTP/1.0\r\nHost: 127.0.0.1:" + std::to_string(webPort) + "\r\n\r\n";
  ASSERT_TRUE(SendAll(c, req.data(), req.size(), 1000));
  std::string got;
  char buf[256];
  for (int i = 0; i < 100 && WaitReadable(c, 3000); ++i) {
    ssize_t n = ::recv(c, buf, sizeof buf, 0);
    if (n <= 0) break;
    got.append(buf, size_t(n));
  }
  CloseFd(c);
  webThread.join();
  CloseFd(web);
  EXPECT_EQ(seen, req);
  EXPECT_NE(got.find("\r\n\r\nhi"), std::string::npos) << got;
}
