// Which way a connect goes, decided from the registry-shaped proxy settings, the tunnel's
// configuration and the port remapping; pure functions so that every path can be tested.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace netcore {

constexpr uint32_t PROXY_KIND_HTTP = 1;
constexpr uint32_t PROXY_KIND_SOCKS4 = 4;
constexpr uint32_t PROXY_KIND_SOCKS5 = 5;

// Values as read from Software\Orvane\Game\Share\Proxy; a missing value is nullopt.
struct RegProxyValues {
  bool keyOpened = false;
  std::optional<uint32_t> proxyEnable;
  std::optional<std::string> socksServer;
  std::optional<uint32_t> socksPort;
  std::optional<uint32_t> socksVersion;
  std::optional<std::string> userName;
  std::optional<std::string> password;
};

struct PROXY_SETTINGS {
  bool viaProxy = false;
  std::string host;  // up to 40 bytes
  uint32_t port = 0;
  uint32_t kind = 0;
  std::string user;  // up to 64 bytes each
  std::string password;
};

// Sizes of the registry buffers the values are read into.
constexpr size_t PROXY_HOST_BUF = 40;
constexpr size_t PROXY_CRED_BUF = 64;

// A registry string as it sits in a buffer of cap bytes after a read that reported `reported`
// bytes: never beyond the buffer, ending at the first zero (a value stored without one is
// still terminated inside the buffer, losing its last byte as the system call would).
std::string RegStringFromBuffer(const char* buf, size_t cap, size_t reported);

// ReadProxySettings' decision. User and password missing from the key stay as in `previous`.
PROXY_SETTINGS DecideProxySettings(const RegProxyValues& reg, const PROXY_SETTINGS& previous);

// Port remapping. `owner` is what the owner set (SetRemappedPort): -1 disables the remapping,
// a positive port is used as given, 0 means look the connect's own port up (every connect asks
// again for its port; nothing is cached between ports). Returns the port to use or 0 for none.
int ResolveRemappedPort(int owner, uint16_t port, const std::function<int(uint16_t)>& lookup);
// The value of a P80Port entry: a decimal port 1..65535, else 0 (no remapping).
int ParseP80Value(const std::string& value);
// The LangRsc.ini that holds P80Port, from the program's full path (Windows separators):
// "<root>\Share\LangRsc.ini" where root is the part before the last "\share" of the lower-cased
// program folder, else the program folder's parent. Empty when the path has no folder.
std::string LangRscCandidate(const std::string& programPath);

enum class ConnectPath {
  kDirect,  // TCP to the game server (also proxy kind 1 without a tunnel)
  kSocks4,
  kSocks5,
  kTunnel,  // the HTTP tunnel or HTTP proxy of the tunnel object
};

struct TunnelConfig {
  bool tunnelFlag = false;  // the tunnel's relay settings are complete
  bool allowed = false;     // the owner allows the tunnel
};

struct ConnectPlan {
  ConnectPath path = ConnectPath::kDirect;
  bool viaProxy = false;
  std::string connectHost;  // where the TCP connect goes
  uint16_t connectPort = 0;
  std::string targetHost;  // the game server as the proxy or tunnel is asked for it
  uint16_t targetPort = 0;
  bool sendP80Header = false;
  uint32_t p80RequestedPort = 0;
};

// The last error of a failed attempt: a TCP connect through a proxy fails with 10201, a direct
// one with the socket's own code; a failed proxy handshake is 10202 unless the user gave up
// (the wait's own code then stands).
int ConnectFailureCode(bool viaProxy, int socketError);
int HandshakeFailureCode(bool aborted, int lastError);

ConnectPlan PlanConnect(const PROXY_SETTINGS& proxy, const TunnelConfig& tunnel, const std::string& host, uint16_t port,
                        int remappedPort);

}  // namespace netcore
