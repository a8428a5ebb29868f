// HTTP tunnel protocol: the texts the client sends to an HTTP proxy or to the
// relay's "/default.asp", and the reading of their response headers.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace tunnel {

// Standard Base64 (RFC 4648 alphabet, "=" padding).
std::string Base64Encode(const std::string& bytes);

// "Proxy-Authorization: Basic <base64(user:pass)>", or empty unless both are non-empty.
std::string BuildAuthLine(const std::string& user, const std::string& pass);

// Puts `line` as the last header: the request's final "\r\n" (from its last
// carriage return on) is replaced by the line, then "\r\n\r\n" is appended.
// An empty line leaves the request unchanged.
std::string AddHeaderLine(const std::string& request, const std::string& line);

// Dotted text of an IPv4 address given as its four bytes in network order.
std::string DottedAddress(const uint8_t addr[4]);

// The relay's host text: the dotted address, plus ":port" unless the port is 80.
std::string HostText(const uint8_t addr[4], uint16_t port);

// The SERVERIP value: the four address bytes in network order read as a little-endian number.
uint32_t ServerIpParam(const uint8_t addr[4]);
// The SERVERPORT value: the port's two bytes in network order read as a little-endian number.
uint16_t ServerPortParam(uint16_t port);

std::string BuildConnectRequest(const uint8_t target[4], uint16_t port, const std::string& authLine);
std::string BuildGetRequest(const uint8_t target[4], uint16_t port, const std::string& hostText,
                            const std::string& redirectLine, const std::string& authLine);
// The upstream channel: a POST whose body is the byte stream up (announced as 1 GiB).
std::string BuildPostRequest(const std::string& serial, const std::string& hostText, const std::string& authLine);

// Reads one response header without taking a byte of the body: the first read
// asks for 4 bytes, every later one for 1, until the text ends in "\r\n\r\n" or
// "\n\n". 1024 bytes without an end fail.
class HeaderReader {
 public:
  static constexpr size_t kMaxHeader = 1024;
  enum class State { Reading, Done, Failed };

  size_t Wanted() const { return state_ != State::Reading ? 0 : (text_.empty() ? 4 : 1); }
  State Feed(const char* data, size_t n);
  State state() const { return state_; }
  const std::string& text() const { return text_; }
  void Reset() {
    text_.clear();
    state_ = State::Reading;
  }

 private:
  std::string text_;
  State state_ = State::Reading;
};

// The status code: the number after the first blank (further blanks skipped), up to
// the next blank. -1 when there is none.
int ParseStatus(const std::string& header);

// The value of a header line `name: value` (name matched at a line start, case-insensitively),
// up to the end of its line, at most 127 characters. nullopt when absent.
std::optional<std::string> HeaderValue(const std::string& header, const std::string& name);

// "a.b.c.d:port" -> address bytes and port; anything else (host names, junk, port 0) fails.
bool ParseDottedEndpoint(const std::string& text, uint8_t addr[4], uint16_t* port);

// One relay GET attempt's answer, read header by header.
struct GetVerdict {
  enum Kind { ReadNext, Success, Redirect, Fail } kind = Fail;
  std::string serial;        // Success
  uint8_t relay[4] = {};     // Redirect: the new relay address
  uint16_t relayPort = 0;    // Redirect
  std::string redirectLine;  // Redirect: "Redirect-Route: <value>" or empty
};
GetVerdict JudgeGetResponse(const std::string& header);

// Attempts of the GET channel: the first and three redirects.
constexpr int kMaxGetAttempts = 4;

}  // namespace tunnel

namespace tunnel {

// What the tunnel reads from the registry (Share\Proxy and the system's Internet Settings).
struct TunnelRegistry {
  std::optional<uint32_t> proxyEnable, socksVersion, httpProxyType, transServerPort, httpProxyPort;
  std::optional<std::string> transServer, httpProxyServer, httpProxyUser, httpProxyPass;
  std::optional<uint32_t> systemProxyEnable;
  std::optional<std::string> systemProxyServer;
};

struct TunnelConfig {
  bool configured = false;  // the proxy settings are of the HTTP kind and consistent
  bool tunnel = false;      // the relay settings are complete: connects go through the tunnel
  uint8_t relay[4] = {};
  uint16_t relayPort = 0;
  bool useHttpProxy = false;
  uint8_t proxy[4] = {};
  uint16_t proxyPort = 0;
  std::string hostText;
  std::string authLine;
};

// Dotted text, else a name look-up; false when the host cannot be resolved.
using Resolver = std::function<bool(const std::string& host, uint8_t out[4])>;

TunnelConfig DecideTunnelConfig(const TunnelRegistry& reg, const Resolver& resolve);

}  // namespace tunnel

namespace tunnel {

// The sockets the tunnel opens, behind an interface so the open sequence runs the
// same over Windows Sockets and in native tests. Channels are small integers.
class TunnelIo {
 public:
  virtual ~TunnelIo() = default;
  virtual int Connect(const uint8_t addr[4], uint16_t port) = 0;  // -1 on failure
  virtual bool SendAll(int ch, const std::string& bytes) = 0;
  // Waits until readable (the tunnel's 60 s) and reads at most n bytes; <= 0 on failure.
  virtual int Recv(int ch, char* buf, size_t n) = 0;
  virtual void Close(int ch) = 0;
};

// Reads one response header from a channel; false on a read failure or overlong header.
bool ReadResponseHeader(TunnelIo& io, int ch, std::string* header);

struct OpenResult {
  int channel = -1;          // the socket the game-server stream is read from; -1 failed
  bool connectMode = false;  // the CONNECT socket carries both directions
  int connectCh = -1, getCh = -1, postCh = -1;
  std::string serial;
};

// The open sequence: CONNECT through the HTTP proxy when one is used, else (or when
// that fails) the relay's GET channel (the first attempt and up to three redirects),
// then the POST channel. `redirectLine` carries the last redirect between opens.
OpenResult OpenTunnel(TunnelIo& io, TunnelConfig& cfg, const uint8_t target[4], uint16_t port,
                      std::string* redirectLine);

}  // namespace tunnel
