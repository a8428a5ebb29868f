#include "TunnelProtocol.h"

#include <gtest/gtest.h>

using namespace tunnel;

namespace {
const uint8_t kRelay[4] = {10, 1, 2, 3};

// Feeds a reader the way the socket does: what it asks for, nothing more.
HeaderReader::State ReadAll(HeaderReader& r, const std::string& stream, size_t* used) {
  size_t pos = 0;
  while (r.Wanted() && pos < stream.size()) {
    size_t n = std::min(r.Wanted(), stream.size() - pos);
    r.Feed(stream.data() + pos, n);
    pos += n;
  }
  *used = pos;
  return r.state();
}
}  // namespace

TEST(TunnelText, Base64AndAuthorisation) {
  struct {
    const char* in;
    const char* out;
  } cases[] = {
      {"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"user:pass", "dXNlcjpwYXNz"}, {"\xff\xfe", "//4="}};
  for (const auto& c : cases) EXPECT_EQ(Base64Encode(c.in), c.out) << c.in;
  EXPECT_EQ(BuildAuthLine("user", "pass"), "Proxy-Authorization: Basic dXNlcjpwYXNz");
  EXPECT_EQ(BuildAuthLine("user", ""), "");
  EXPECT_EQ(BuildAuthLine("", "pass"), "");
}

TEST(TunnelText, HeaderLineGoesLast) {
  EXPECT_EQ(AddHeaderLine("A\r\nB: 1\r\n\r\n", "X: y"), "A\r\nB: 1\r\nX: y\r\n\r\n");
  EXPECT_EQ(AddHeaderLine(AddHeaderLine("A\r\n\r\n", "X: 1"), "Y: 2"), "A\r\nX: 1\r\nY: 2\r\n\r\n");
  EXPECT_EQ(AddHeaderLine("A\r\n\r\n", ""), "A\r\n\r\n");
}

TEST(TunnelText, HostTextAndQueryEncodings) {
  EXPECT_EQ(HostText(kRelay, 80), "10.1.2.3");
  EXPECT_EQ(HostText(kRelay, 8080), "10.1.2.3:8080");
  const uint8_t target[4] = {1, 2, 3, 4};
  EXPECT_EQ(ServerIpParam(target), 0x04030201u);
  EXPECT_EQ(ServerPortParam(7100), 0xBC1B);
  std::string get = BuildGetRequest(target, 7100, "10.1.2.3", "Redirect-Route: r1", "Proxy-Authorization: Basic x");
  EXPECT_EQ(get.rfind("GET /default.asp?SERIALNO=&METHOD=CONNECT&USERID=&SERVERIP=67305985&SERVERPORT=48155 "
                      "HTTP/1.0\r\n",
                      0),
            0u);
  EXPECT_NE(get.find("\r\nHost: 10.1.2.3\r\nConnection: keep-alive\r\nRedirect-Route: r1\r\n"
                     "Proxy-Authorization: Basic x\r\n\r\n"),
            std::string::npos);
  EXPECT_EQ(BuildConnectRequest(target, 7100, ""),
            "CONNECT 1.2.3.4:7100 HTTP/1.1\r\nContent-Type: text/html\r\nProxy-Connection: Keep-Alive\r\n"
            "Content-length: 0\r\n\r\n");
  std::string post = BuildPostRequest("S42", "10.1.2.3", "");
  EXPECT_NE(post.find("METHOD: SEND\r\nSERIALNO: S42\r\nHost: 10.1.2.3\r\nContent-Length: 1073741824\r\n"),
            std::string::npos);
}

TEST(TunnelHeader, ReaderStopsAtTheEndWithoutTakingBody) {
  struct {
    const char* stream;
    HeaderReader::State state;
    size_t header;
  } cases[] = {
      {"HTTP/1.1 200 OK\r\nSERIALNO: 7\r\n\r\nBODYBYTES", HeaderReader::State::Done, 32},
      {"HTTP/1.0 100 Continue\n\nnext", HeaderReader::State::Done, 23},
      {"HTTP/1.1 200 OK\r\n", HeaderReader::State::Reading, 17},
  };
  for (const auto& c : cases) {
    HeaderReader r;
    size_t used = 0;
    EXPECT_EQ(ReadAll(r, c.stream, &used), c.state) << c.stream;
    EXPECT_EQ(used, c.header) << c.stream;
  }
  HeaderReader big;
  std::string endless(2000, 'a');
  size_t used = 0;
  EXPECT_EQ(ReadAll(big, endless, &used), HeaderReader::State::Failed);
  EXPECT_LE(used, HeaderReader::kMaxHeader);
}

TEST(TunnelHeader, StatusAndValues) {
  EXPECT_EQ(ParseStatus("HTTP/1.1 200 OK\r\n"), 200);
  EXPECT_EQ(ParseStatus("HTTP/1.1   302 Found\r\n"), 302);
  EXPECT_EQ(ParseStatus("HTTP/1.1 200\r\n"), -1);  // no blank after the code
  EXPECT_EQ(ParseStatus("garbage"), -1);
  EXPECT_EQ(ParseStatus("HTTP/1.1 abc def"), -1);

  std::string h = "HTTP/1.1 200 OK\r\nX-SERIALNO: wrong\r\nserialno: 1234\r\nLocation:1.2.3.4:80\r\n\r\n";
  EXPECT_EQ(HeaderValue(h, "SERIALNO"), "1234");
  EXPECT_EQ(HeaderValue(h, "Location"), "1.2.3.4:80");
  EXPECT_FALSE(HeaderValue(h, "Missing"));
  std::string longValue = "HTTP/1.1 200 OK\r\nSERIALNO: " + std::string(300, 'z') + "\r\n\r\n";
  EXPECT_EQ(HeaderValue(longValue, "SERIALNO")->size(), 127u);
}

TEST(TunnelHeader, GetVerdicts) {
  auto ok = JudgeGetResponse("HTTP/1.1 200 OK\r\nSERIALNO: abc\r\n\r\n");
  EXPECT_EQ(ok.kind, GetVerdict::Success);
  EXPECT_EQ(ok.serial, "abc");
  EXPECT_EQ(JudgeGetResponse("HTTP/1.1 200 OK\r\n\r\n").kind, GetVerdict::Fail);
  EXPECT_EQ(JudgeGetResponse("HTTP/1.1 200 OK\r\nSERIALNO: \r\n\r\n").kind, GetVerdict::Fail);
  EXPECT_EQ(JudgeGetResponse("HTTP/1.1 100 Continue\r\n\r\n").kind, GetVerdict::ReadNext);
  auto moved = JudgeGetResponse("HTTP/1.1 302 Found\r\nLocation: 9.8.7.6:8000\r\nRedirect-Route: hop2\r\n\r\n");
  ASSERT_EQ(moved.kind, GetVerdict::Redirect);
  EXPECT_EQ(moved.relay[0], 9);
  EXPECT_EQ(moved.relayPort, 8000);
  EXPECT_EQ(moved.redirectLine, "Redirect-Route: hop2");
  // Only a dotted address and a port may move the relay.
  for (const char* bad : {"relay.example:80", "1.2.3.4", "1.2.3.4:0", "1.2.3.400:80", "1.2.3.4:80x", " 1.2.3.4:80"}) {
    std::string h = std::string("HTTP/1.1 302 Found\r\nLocation: ") + bad + "\r\n\r\n";
    EXPECT_EQ(JudgeGetResponse(h).kind, GetVerdict::Fail) << bad;
  }
  EXPECT_EQ(JudgeGetResponse("HTTP/1.1 404 Not Found\r\n\r\n").kind, GetVerdict::Fail);
}

namespace {
bool FakeResolve(const std::string& host, uint8_t out[4]) {
  if (host == "relay.local") {
    const uint8_t a[4] = {10, 0, 0, 9};
    std::copy(a, a + 4, out);
    return true;
  }
  unsigned a[4];
  if (std::sscanf(host.c_str(), "%u.%u.%u.%u", &a[0], &a[1], &a[2], &a[3]) != 4) return false;
  for (int i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>(a[i]);
  return true;
}

TunnelRegistry RelayDirect() {
  TunnelRegistry r;
  r.proxyEnable = 1;
  r.socksVersion = 1;
  r.httpProxyType = 0;
  r.transServer = std::string("relay.local");
  r.transServerPort = 80;
  return r;
}
}  // namespace

TEST(TunnelConfigTest, Decisions) {
  auto c = DecideTunnelConfig(RelayDirect(), FakeResolve);
  EXPECT_TRUE(c.configured);
  EXPECT_TRUE(c.tunnel);
  EXPECT_FALSE(c.useHttpProxy);
  EXPECT_EQ(c.hostText, "10.0.0.9");

  auto notHttp = RelayDirect();
  notHttp.socksVersion = 5;
  EXPECT_FALSE(DecideTunnelConfig(notHttp, FakeResolve).configured);

  auto noType = RelayDirect();
  noType.httpProxyType.reset();
  auto nt = DecideTunnelConfig(noType, FakeResolve);
  EXPECT_TRUE(nt.configured);
  EXPECT_FALSE(nt.tunnel);

  auto noPort = RelayDirect();
  noPort.transServerPort = 0;
  EXPECT_FALSE(DecideTunnelConfig(noPort, FakeResolve).tunnel);

  // Type 1 without a system proxy reaches the relay directly.
  auto sys = RelayDirect();
  sys.httpProxyType = 1;
  auto s1 = DecideTunnelConfig(sys, FakeResolve);
  EXPECT_TRUE(s1.tunnel);
  EXPECT_FALSE(s1.useHttpProxy);
  // The system proxy is used only while Internet Settings enable it.
  sys.systemProxyServer = std::string("192.168.1.1:3128");
  sys.systemProxyEnable = 0;
  EXPECT_FALSE(DecideTunnelConfig(sys, FakeResolve).useHttpProxy);
  sys.systemProxyEnable = 1;
  auto s2 = DecideTunnelConfig(sys, FakeResolve);
  EXPECT_TRUE(s2.useHttpProxy);
  EXPECT_EQ(s2.proxyPort, 3128);
  // A host name there makes the configuration fail.
  sys.systemProxyServer = std::string("proxy.local:3128");
  EXPECT_FALSE(DecideTunnelConfig(sys, FakeResolve).configured);

  auto explicitProxy = RelayDirect();
  explicitProxy.httpProxyType = 2;
  explicitProxy.transServerPort = 8000;
  explicitProxy.httpProxyServer = std::string("10.9.9.9");
  explicitProxy.httpProxyPort = 0;
  explicitProxy.httpProxyUser = std::string("u");
  explicitProxy.httpProxyPass = std::string("p");
  auto e = DecideTunnelConfig(explicitProxy, FakeResolve);
  EXPECT_TRUE(e.useHttpProxy);
  EXPECT_EQ(e.proxyPort, 80);
  EXPECT_EQ(e.hostText, "10.0.0.9:8000");
  EXPECT_EQ(e.authLine, "Proxy-Authorization: Basic dTpw");
  explicitProxy.httpProxyPort.reset();
  EXPECT_FALSE(DecideTunnelConfig(explicitProxy, FakeResolve).tunnel);
}
