#include <gtest/gtest.h>

#include <map>

#include "ProxySettings.h"

using namespace netcore;

namespace {

RegProxyValues Reg(uint32_t enable, const char* server, uint32_t port, uint32_t version) {
  RegProxyValues r;
  r.keyOpened = true;
  r.proxyEnable = enable;
  r.socksServer = server;
  r.socksPort = port;
  r.socksVersion = version;
  return r;
}

}  // namespace

TEST(ProxySettings, Decision) {
  struct Case {
    const char* name;
    RegProxyValues reg;
    bool via;
    uint32_t kind;
  };
  RegProxyValues noKey;
  RegProxyValues missingPort = Reg(1, "p", 1080, 5);
  missingPort.socksPort.reset();
  const Case cases[] = {
      {"socks5", Reg(1, "127.0.0.1", 1080, 5), true, 5},
      {"socks4", Reg(1, "proxy.lan", 1080, 4), true, 4},
      {"http kind", Reg(1, "127.0.0.1", 8080, 1), true, 1},
      {"kind 3", Reg(1, "127.0.0.1", 1080, 3), false, 0},
      {"disabled", Reg(0, "127.0.0.1", 1080, 5), false, 0},
      {"empty host", Reg(1, "", 1080, 5), false, 0},
      {"port 0", Reg(1, "127.0.0.1", 0, 5), false, 0},
      {"port too big", Reg(1, "127.0.0.1", 70000, 5), false, 0},
      {"value missing", missingPort, false, 0},
      {"no key", noKey, false, 0},
  };
  for (const Case& c : cases) {
    PROXY_SETTINGS s = DecideProxySettings(c.reg, PROXY_SETTINGS());
    EXPECT_EQ(s.viaProxy, c.via) << c.name;
    EXPECT_EQ(s.kind, c.kind) << c.name;
    if (!c.via && c.reg.keyOpened) {
      EXPECT_TRUE(s.host.empty()) << c.name;
    }
  }
}

TEST(ProxySettings, CredentialsMissingKeepEarlierValues) {
  PROXY_SETTINGS prev;
  prev.user = "old";
  prev.password = "oldpw";
  RegProxyValues r = Reg(1, "127.0.0.1", 1080, 5);
  r.userName = "new";
  PROXY_SETTINGS s = DecideProxySettings(r, prev);
  EXPECT_EQ(s.user, "new");
  EXPECT_EQ(s.password, "oldpw");
}

TEST(ProxySettings, RegistryStringsStayInTheirBuffer) {
  char full[4] = {'a', 'b', 'c', 'd'};  // stored without a terminator, fills the buffer
  EXPECT_EQ(RegStringFromBuffer(full, 4, 4), "abc");
  EXPECT_EQ(RegStringFromBuffer(full, 4, 400), "abc") << "a reported size beyond the buffer";
  char mid[6] = {'h', 'i', 0, 'x', 'y', 0};
  EXPECT_EQ(RegStringFromBuffer(mid, 6, 6), "hi");
  EXPECT_EQ(RegStringFromBuffer(mid, 6, 1), "h");
  EXPECT_EQ(RegStringFromBuffer(nullptr, 0, 5), "");
}

TEST(ProxySettings, PortRemapIsAskedPerPort) {
  std::map<uint16_t, int> ini = {{8000, 80}, {9000, 443}};
  int lookups = 0;
  auto lookup = [&](uint16_t p) {
    ++lookups;
    auto it = ini.find(p);
    return it == ini.end() ? 0 : it->second;
  };
  EXPECT_EQ(ResolveRemappedPort(0, 8000, lookup), 80);
  EXPECT_EQ(ResolveRemappedPort(0, 9000, lookup), 443) << "another port gets its own entry";
  EXPECT_EQ(ResolveRemappedPort(0, 7000, lookup), 0);
  EXPECT_EQ(lookups, 3);
  EXPECT_EQ(ResolveRemappedPort(-1, 8000, lookup), 0) << "-1 disables the look-up";
  EXPECT_EQ(ResolveRemappedPort(1234, 8000, lookup), 1234);
  EXPECT_EQ(lookups, 3);

  const std::pair<const char*, int> values[] = {{"80", 80},   {" 443", 443}, {"", 0},  {"0", 0},
                                                {"65536", 0}, {"-80", 0},    {"x", 0}, {"8080abc", 8080}};
  for (auto [v, p] : values) EXPECT_EQ(ParseP80Value(v), p) << v;
}

TEST(ProxySettings, LangRscCandidate) {
  EXPECT_EQ(LangRscCandidate("C:\\Orvane\\Share\\Games\\Vesk\\Vesk.exe"), "c:\\orvane\\Share\\LangRsc.ini");
  EXPECT_EQ(LangRscCandidate("C:\\Orvane\\Games\\Vesk.exe"), "c:\\orvane\\Share\\LangRsc.ini");
  EXPECT_EQ(LangRscCandidate("Vesk.exe"), "");
}

TEST(ProxySettings, ConnectPlans) {
  PROXY_SETTINGS none, s5, s4, http;
  s5.viaProxy = true;
  s5.kind = 5;
  s5.host = "127.0.0.1";
  s5.port = 1080;
  s4 = s5;
  s4.kind = 4;
  http = s5;
  http.kind = 1;
  struct Case {
    const char* name;
    PROXY_SETTINGS proxy;
    TunnelConfig tunnel;
    int remap;
    ConnectPath path;
    const char* host;
    uint16_t port;
    bool via;
    bool p80;
  };
  const Case cases[] = {
      {"direct", none, {}, 0, ConnectPath::kDirect, "game", 7000, false, false},
      {"direct remapped", none, {}, 80, ConnectPath::kDirect, "game", 80, false, true},
      {"socks5", s5, {}, 0, ConnectPath::kSocks5, "127.0.0.1", 1080, true, false},
      {"socks4", s4, {}, 0, ConnectPath::kSocks4, "127.0.0.1", 1080, true, false},
      {"http kind, no tunnel", http, {}, 0, ConnectPath::kDirect, "game", 7000, true, false},
      {"tunnel", http, {true, true}, 0, ConnectPath::kTunnel, "game", 7000, true, false},
      {"tunnel not allowed", s5, {true, false}, 0, ConnectPath::kDirect, "game", 7000, false, false},
  };
  for (const Case& c : cases) {
    ConnectPlan p = PlanConnect(c.proxy, c.tunnel, "game", 7000, c.remap);
    EXPECT_EQ(p.path, c.path) << c.name;
    EXPECT_EQ(p.connectHost, c.host) << c.name;
    EXPECT_EQ(p.connectPort, c.port) << c.name;
    EXPECT_EQ(p.viaProxy, c.via) << c.name;
    EXPECT_EQ(p.sendP80Header, c.p80) << c.name;
  }
  ConnectPlan p = PlanConnect(s5, {}, "game", 8000, 80);
  EXPECT_EQ(p.targetPort, 80) << "the proxy is asked for the remapped port";
  EXPECT_EQ(p.p80RequestedPort, 8000u);
}
