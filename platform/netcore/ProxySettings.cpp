#include "ProxySettings.h"

#include <algorithm>
#include <cctype>

namespace netcore {

std::string RegStringFromBuffer(const char* buf, size_t cap, size_t reported) {
  if (!buf || cap == 0) return std::string();
  size_t n = std::min(reported, cap);
  // Keep room for the terminator inside the buffer.
  if (n == cap) n = cap - 1;
  const char* end = std::find(buf, buf + n, '\0');
  return std::string(buf, end);
}

PROXY_SETTINGS DecideProxySettings(const RegProxyValues& reg, const PROXY_SETTINGS& previous) {
  PROXY_SETTINGS s = previous;
  s.viaProxy = false;
  if (!reg.keyOpened) return s;
  auto cleared = [&] {
    s.viaProxy = false;
    s.host.clear();
    s.port = 0;
    s.kind = 0;
    return s;
  };
  if (!reg.proxyEnable || !reg.socksServer || !reg.socksPort || !reg.socksVersion) return cleared();
  uint32_t kind = *reg.socksVersion;
  bool kindOk = kind == PROXY_KIND_HTTP || kind == PROXY_KIND_SOCKS4 || kind == PROXY_KIND_SOCKS5;
  if (*reg.proxyEnable == 0 || reg.socksServer->empty() || *reg.socksPort == 0 || *reg.socksPort > 65535 || !kindOk)
    return cleared();
  s.host = reg.socksServer->substr(0, PROXY_HOST_BUF - 1);
  s.port = *reg.socksPort;
  s.kind = kind;
  if (reg.userName) s.user = reg.userName->substr(0, PROXY_CRED_BUF - 1);
  if (reg.password) s.password = reg.password->substr(0, PROXY_CRED_BUF - 1);
  s.viaProxy = true;
  return s;
}

int ResolveRemappedPort(int owner, uint16_t port, const std::function<int(uint16_t)>& lookup) {
  if (owner < 0) return 0;
  if (owner > 0) return owner <= 65535 ? owner : 0;
  int p = lookup ? lookup(port) : 0;
  return p > 0 && p <= 65535 ? p : 0;
}

int ParseP80Value(const std::string& value) {
  size_t i = 0;
  while (i < value.size() && (value[i] == ' ' || value[i] == '\t')) ++i;
  long v = 0;
  size_t digits = 0;
  while (i < value.size() && std::isdigit(static_cast<unsigned char>(value[i])) && digits < 6) {
    v = v * 10 + (value[i] - '0');
    ++i;
    ++digits;
  }
  if (digits == 0 || v < 1 || v > 65535) return 0;
  return int(v);
}

std::string LangRscCandidate(const std::string& programPath) {
  size_t cut = programPath.find_last_of("\\:");
  if (cut == std::string::npos) return std::string();
  std::string folder = programPath.substr(0, cut);
  std::string lower = folder;
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  std::string root;
  size_t share = lower.rfind("\\share");
  if (share != std::string::npos) {
    root = lower.substr(0, share);
  } else {
    size_t parent = lower.rfind('\\');
    if (parent == std::string::npos) return std::string();
    root = lower.substr(0, parent);
  }
  return root + "\\Share\\LangRsc.ini";
}

int ConnectFailureCode(bool viaProxy, int socketError) { return viaProxy ? 10201 : socketError; }

int HandshakeFailureCode(bool aborted, int lastError) { return aborted ? lastError : 10202; }

ConnectPlan PlanConnect(const PROXY_SETTINGS& proxy, const TunnelConfig& tunnel, const std::string& host, uint16_t port,
                        int remappedPort) {
  ConnectPlan plan;
  uint16_t gamePort = remappedPort > 0 && remappedPort <= 65535 ? uint16_t(remappedPort) : port;
  plan.viaProxy = proxy.viaProxy;
  plan.targetHost = host;
  plan.targetPort = gamePort;
  plan.connectHost = host;
  plan.connectPort = gamePort;
  if (remappedPort > 0) {
    plan.sendP80Header = true;
    plan.p80RequestedPort = port;
  }
  if (tunnel.tunnelFlag && tunnel.allowed) {
    plan.path = ConnectPath::kTunnel;
    return plan;
  }
  if (tunnel.tunnelFlag) plan.viaProxy = false;
  if (plan.viaProxy && proxy.kind != PROXY_KIND_HTTP) {
    plan.connectHost = proxy.host;
    plan.connectPort = uint16_t(proxy.port);
    plan.path = proxy.kind == PROXY_KIND_SOCKS4 ? ConnectPath::kSocks4 : ConnectPath::kSocks5;
    return plan;
  }
  plan.path = ConnectPath::kDirect;
  return plan;
}

}  // namespace netcore
