// Every proxy path and its failure codes from a Windows program (Winsock under Wine) against
// the native peers, started by run_wine_peers.sh, which passes their ports in the environment.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "FrameAssembler.h"
#include "NetFrame.h"
#include "ProxyHandshake.h"
#include "ProxySettings.h"

using namespace netcore;

namespace {

uint16_t PortOf(const char* name) {
  const char* v = std::getenv(name);
  return v ? uint16_t(std::atoi(v)) : 0;
}

bool Readable(SOCKET s, int ms) {
  fd_set r;
  FD_ZERO(&r);
  FD_SET(s, &r);
  timeval tv{ms / 1000, (ms % 1000) * 1000};
  return select(0, &r, nullptr, nullptr, &tv) == 1;
}

class WinSource : public IByteSource {
 public:
  explicit WinSource(SOCKET s) : m_s(s) {}
  long Read(uint8_t* buf, size_t max, int* error) override {
    if (!Readable(m_s, 3000)) return *error = NETERR_TIMEDOUT, -1;
    int n = recv(m_s, reinterpret_cast<char*>(buf), int(max), 0);
    if (n < 0) *error = WSAGetLastError();
    return n;
  }

 private:
  SOCKET m_s;
};

struct Conn {
  SOCKET s = INVALID_SOCKET;
  ~Conn() {
    if (s != INVALID_SOCKET) closesocket(s);
  }
};

enum class Kind { kSocks4, kSocks5, kHttp };

// Connects to the proxy, runs the handshake and one request; 0 or the client's error code.
int Attempt(uint16_t proxyPort, Kind kind, const std::string& host, const std::string& user,
            const std::string& password, Conn* c) {
  c->s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(proxyPort);
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(c->s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) return ConnectFailureCode(true, WSAGetLastError());
  std::unique_ptr<CProxyHandshake> h;
  uint16_t game = PortOf("VESK_TS_PORT");
  if (kind == Kind::kSocks4) h = std::make_unique<CSocks4Handshake>(host, game, "winuser");
  if (kind == Kind::kSocks5) h = std::make_unique<CSocks5Handshake>(host, game, user, password);
  if (kind == Kind::kHttp) h = std::make_unique<CHttpConnectHandshake>(host, game, user, password);
  for (int guard = 0; guard < 2048 && h->GetStatus() == CProxyHandshake::kNeedMore; ++guard) {
    std::vector<uint8_t> out = h->TakeOutput();
    if (!out.empty() && send(c->s, reinterpret_cast<const char*>(out.data()), int(out.size()), 0) != int(out.size()))
      return HandshakeFailureCode(false, 0);
    std::vector<uint8_t> in(h->Wanted());
    size_t got = 0;
    while (got < in.size()) {
      if (!Readable(c->s, 3000)) return HandshakeFailureCode(false, 0);
      int n = recv(c->s, reinterpret_cast<char*>(in.data() + got), int(in.size() - got), 0);
      if (n <= 0) return HandshakeFailureCode(false, 0);
      got += size_t(n);
    }
    h->Feed(in.data(), in.size());
  }
  if (h->GetStatus() != CProxyHandshake::kDone) return HandshakeFailureCode(false, 0);
  return 0;
}

void ExpectEcho(Conn& c) {
  auto f = BuildFrame(0x700, "through", 7);
  ASSERT_EQ(send(c.s, reinterpret_cast<const char*>(f.data()), int(f.size()), 0), int(f.size()));
  WinSource src(c.s);
  CFrameAssembler as;
  int err = 0;
  for (int i = 0; i < 10 && !as.HasFrame(); ++i) ASSERT_NE(as.ReadOnce(src, &err), CFrameAssembler::kError) << err;
  std::vector<uint8_t> r = as.TakeFrame();
  ASSERT_EQ(r.size(), 19u);
  EXPECT_EQ(ReadU32(r.data()), 0x80000700u);
  EXPECT_EQ(std::string(r.begin() + 12, r.end()), "through");
}

class WinProxyPaths : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WSADATA d;
    WSAStartup(MAKEWORD(2, 2), &d);
  }
  void SetUp() override {
    if (!PortOf("VESK_TS_PORT")) GTEST_FAIL() << "started without the peers";
  }
};

}  // namespace

TEST_F(WinProxyPaths, EveryPathReachesTheTableServer) {
  struct Case {
    const char* name;
    const char* port;
    Kind kind;
    const char* host;
    const char* user;
    const char* pw;
  };
  const Case cases[] = {
      {"socks4", "VESK_SOCKS_PLAIN", Kind::kSocks4, "127.0.0.1", "", ""},
      {"socks4a", "VESK_SOCKS_PLAIN", Kind::kSocks4, "game.local", "", ""},
      {"socks5", "VESK_SOCKS_PLAIN", Kind::kSocks5, "127.0.0.1", "", ""},
      {"socks5 name", "VESK_SOCKS_PLAIN", Kind::kSocks5, "localhost", "", ""},
      {"socks5 auth", "VESK_SOCKS_AUTH", Kind::kSocks5, "127.0.0.1", "alice", "s3cret"},
      {"socks5 ipv6 reply", "VESK_SOCKS_V6", Kind::kSocks5, "127.0.0.1", "", ""},
      {"http", "VESK_HTTP_PLAIN", Kind::kHttp, "127.0.0.1", "", ""},
      {"http auth", "VESK_HTTP_AUTH", Kind::kHttp, "127.0.0.1", "alice", "s3cret"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Conn conn;
    ASSERT_EQ(Attempt(PortOf(c.port), c.kind, c.host, c.user, c.pw, &conn), 0);
    ExpectEcho(conn);
  }
}

TEST_F(WinProxyPaths, FailureCodes) {
  struct Case {
    const char* name;
    const char* port;
    Kind kind;
    const char* user;
    const char* pw;
    int code;
  };
  const Case cases[] = {
      {"nothing listening", "VESK_CLOSED_PORT", Kind::kSocks5, "", "", 10201},
      {"socks5 bad reply", "VESK_SOCKS_BAD", Kind::kSocks5, "", "", 10202},
      {"socks4 bad reply", "VESK_SOCKS_BAD", Kind::kSocks4, "", "", 10202},
      {"socks5 closes early", "VESK_SOCKS_EARLY", Kind::kSocks5, "", "", 10202},
      {"socks5 wrong method", "VESK_SOCKS_WRONG", Kind::kSocks5, "", "", 10202},
      {"socks5 wrong password", "VESK_SOCKS_AUTH", Kind::kSocks5, "alice", "nope", 10202},
      {"http bad reply", "VESK_HTTP_BAD", Kind::kHttp, "", "", 10202},
      {"http wrong password", "VESK_HTTP_AUTH", Kind::kHttp, "alice", "nope", 10202},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Conn conn;
    int code = Attempt(PortOf(c.port), c.kind, "127.0.0.1", c.user, c.pw, &conn);
    EXPECT_EQ(code, c.code);
    EXPECT_EQ(ErrorStringId(code), c.code == 10201 ? 29904 : 29905);
  }
}
