#include "TunnelProtocol.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace tunnel {

std::string Base64Encode(const std::string& bytes) {
  static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    uint32_t v = (uint8_t(bytes[i]) << 16) | (uint8_t(bytes[i + 1]) << 8) | uint8_t(bytes[i + 2]);
    out += kAlphabet[v >> 18];
    out += kAlphabet[(v >> 12) & 63];
    out += kAlphabet[(v >> 6) & 63];
    out += kAlphabet[v & 63];
  }
  size_t rest = bytes.size() - i;
  if (rest) {
    uint32_t v = uint8_t(bytes[i]) << 16;
    if (rest == 2) v |= uint8_t(bytes[i + 1]) << 8;
    out += kAlphabet[v >> 18];
    out += kAlphabet[(v >> 12) & 63];
    out += rest == 2 ? kAlphabet[(v >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

std::string BuildAuthLine(const std::string& user, const std::string& pass) {
  if (user.empty() || pass.empty()) return std::string();
  return "Proxy-Authorization: Basic " + Base64Encode(user + ":" + pass);
}

std::string AddHeaderLine(const std::string& request, const std::string& line) {
  if (line.empty()) return request;
  size_t cr = request.rfind('\r');
  std::string out = cr == std::string::npos ? request : request.substr(0, cr);
  out += line;
  out += "\r\n\r\n";
  return out;
}

std::string DottedAddress(const uint8_t addr[4]) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%u.%u.%u.%u", addr[0], addr[1], addr[2], addr[3]);
  return buf;
}

std::string HostText(const uint8_t addr[4], uint16_t port) {
  std::string text = DottedAddress(addr);
  if (port != 80) text += ":" + std::to_string(port);
  return text;
}

uint32_t ServerIpParam(const uint8_t addr[4]) {
  return uint32_t(addr[0]) | (uint32_t(addr[1]) << 8) | (uint32_t(addr[2]) << 16) | (uint32_t(addr[3]) << 24);
}

uint16_t ServerPortParam(uint16_t port) {
  // Network order is high byte first; read little-endian that swaps the bytes.
  return uint16_t((port >> 8) | (port << 8));
}

std::string BuildConnectRequest(const uint8_t target[4], uint16_t port, const std::string& authLine) {
  std::string req = "CONNECT " + DottedAddress(target) + ":" + std::to_string(port) +
                    " HTTP/1.1\r\nContent-Type: text/html\r\nProxy-Connection: Keep-Alive\r\n"
                    "Content-length: 0\r\n\r\n";
  return AddHeaderLine(req, authLine);
}

std::string BuildGetRequest(const uint8_t target[4], uint16_t port, const std::string& hostText,
                            const std::string& redirectLine, const std::string& authLine) {
  std::string req =
      "GET /default.asp?SERIALNO=&METHOD=CONNECT&USERID=&SERVERIP=" + std::to_string(ServerIpParam(target)) +
      "&SERVERPORT=" + std::to_string(ServerPortParam(port)) +
      " HTTP/1.0\r\nAccept: */*\r\nAccept-Language: zh-cn\r\nAccept-Encoding: gzip, deflate\r\n"
      "USERAGENT: QKHTTPCLIENT\r\nCache-Control: no-cache, max-age=0\r\nHost: " +
      hostText + "\r\nConnection: keep-alive\r\n\r\n";
  req = AddHeaderLine(req, redirectLine);
  return AddHeaderLine(req, authLine);
}

std::string BuildPostRequest(const std::string& serial, const std::string& hostText, const std::string& authLine) {
  std::string req = "POST /default.asp HTTP/1.0\r\nUSERAGENT: QKHTTPCLIENT\r\nMETHOD: SEND\r\nSERIALNO: " + serial +
                    "\r\nHost: " + hostText +
                    "\r\nContent-Length: 1073741824\r\nProxy-Connection: Keep-Alive\r\n"
                    "Cache-Control: no-cache, max-age=0\r\nContent-Type: application/octet-stream\r\n\r\n";
  return AddHeaderLine(req, authLine);
}

HeaderReader::State HeaderReader::Feed(const char* data, size_t n) {
  if (state_ != State::Reading) return state_;
  for (size_t i = 0; i < n; ++i) {
    if (text_.size() >= kMaxHeader) return state_ = State::Failed;
    text_ += data[i];
    size_t len = text_.size();
    if ((len >= 4 && text_.compare(len - 4, 4, "\r\n\r\n") == 0) ||
        (len >= 2 && text_.compare(len - 2, 2, "\n\n") == 0)) {
      // Bytes after the end belong to the body; the reader never asks for them.
      return state_ = i + 1 == n ? State::Done : State::Failed;
    }
  }
  if (text_.size() >= kMaxHeader) state_ = State::Failed;
  return state_;
}

int ParseStatus(const std::string& header) {
  size_t p = header.find(' ');
  if (p == std::string::npos) return -1;
  while (p < header.size() && header[p] == ' ') ++p;
  size_t end = header.find(' ', p);
  if (end == std::string::npos) return -1;
  if (end == p || end - p > 3) return -1;
  int code = 0;
  for (size_t i = p; i < end; ++i) {
    if (!std::isdigit(static_cast<unsigned char>(header[i]))) return -1;
    code = code * 10 + (header[i] - '0');
  }
  return code;
}

std::optional<std::string> HeaderValue(const std::string& header, const std::string& name) {
  if (name.empty()) return std::nullopt;
  size_t lineStart = 0;
  while (lineStart < header.size()) {
    size_t lineEnd = header.find('\n', lineStart);
    if (lineEnd == std::string::npos) lineEnd = header.size();
    if (lineEnd - lineStart > name.size() && header[lineStart + name.size()] == ':') {
      bool same = true;
      for (size_t i = 0; i < name.size() && same; ++i)
        same = std::tolower(static_cast<unsigned char>(header[lineStart + i])) ==
               std::tolower(static_cast<unsigned char>(name[i]));
      if (same) {
        size_t v = lineStart + name.size() + 1;
        if (v < lineEnd && header[v] == ' ') ++v;
        size_t e = v;
        while (e < lineEnd && header[e] != '\r' && header[e] != '\0') ++e;
        return header.substr(v, std::min<size_t>(e - v, 127));
      }
    }
    lineStart = lineEnd + 1;
  }
  return std::nullopt;
}

bool ParseDottedEndpoint(const std::string& text, uint8_t addr[4], uint16_t* port) {
  unsigned a[4];
  unsigned p;
  char tail;
  int n = std::sscanf(text.c_str(), "%3u.%3u.%3u.%3u:%5u%c", &a[0], &a[1], &a[2], &a[3], &p, &tail);
  if (n != 5 || p == 0 || p > 65535) return false;
  for (unsigned v : a)
    if (v > 255) return false;
  // sscanf accepts signs and blanks; the text must be digits, dots and one colon only.
  for (char c : text)
    if (!std::isdigit(static_cast<unsigned char>(c)) && c != '.' && c != ':') return false;
  for (int i = 0; i < 4; ++i) addr[i] = static_cast<uint8_t>(a[i]);
  *port = static_cast<uint16_t>(p);
  return true;
}

GetVerdict JudgeGetResponse(const std::string& header) {
  GetVerdict v;
  int status = ParseStatus(header);
  if (status == 100) {
    v.kind = GetVerdict::ReadNext;
  } else if (status == 200) {
    auto serial = HeaderValue(header, "SERIALNO");
    if (serial && !serial->empty()) {
      v.kind = GetVerdict::Success;
      v.serial = *serial;
    }
  } else if (status == 302) {
    auto location = HeaderValue(header, "Location");
    if (location && ParseDottedEndpoint(*location, v.relay, &v.relayPort)) {
      v.kind = GetVerdict::Redirect;
      if (auto route = HeaderValue(header, "Redirect-Route")) v.redirectLine = "Redirect-Route: " + *route;
    }
  }
  return v;
}

namespace {
bool IsDotted(const std::string& host, uint8_t out[4]) {
  unsigned a[4];
  char tail;
  if (std::sscanf(host.c_str(), "%3u.%3u.%3u.%3u%c", &a[0], &a[1], &a[2], &a[3], &tail) != 4) return false;
  for (char c : host)
    if (!std::isdigit(static_cast<unsigned char>(c)) && c != '.') return false;
  for (int i = 0; i < 4; ++i) {
    if (a[i] > 255) return false;
    out[i] = static_cast<uint8_t>(a[i]);
  }
  return true;
}
}  // namespace

TunnelConfig DecideTunnelConfig(const TunnelRegistry& reg, const Resolver& resolve) {
  TunnelConfig c;
  if (reg.proxyEnable.value_or(0) != 1 || reg.socksVersion.value_or(0) != 1) return c;
  if (!reg.httpProxyType) {
    c.configured = true;
    return c;
  }
  uint32_t type = *reg.httpProxyType;
  if (type > 2) return c;
  if (!reg.transServer || reg.transServer->empty() || reg.transServerPort.value_or(0) == 0 ||
      *reg.transServerPort > 65535)
    return c;
  if (type == 2 && (!reg.httpProxyServer || reg.httpProxyServer->empty() || !reg.httpProxyPort)) return c;
  if (!resolve(*reg.transServer, c.relay)) return c;
  c.relayPort = static_cast<uint16_t>(*reg.transServerPort);
  c.hostText = HostText(c.relay, c.relayPort);

  if (type == 2) {
    if (!resolve(*reg.httpProxyServer, c.proxy)) return c;
    uint32_t port = *reg.httpProxyPort;
    if (port > 65535) return c;
    c.proxyPort = static_cast<uint16_t>(port ? port : 80);
    c.useHttpProxy = true;
  } else if (type == 1 && reg.systemProxyEnable.value_or(0) != 0 && reg.systemProxyServer) {
    // Internet Settings' "host:port": the host must be a dotted address.
    const std::string& sys = *reg.systemProxyServer;
    size_t colon = sys.find(':');
    if (colon == std::string::npos || !IsDotted(sys.substr(0, colon), c.proxy)) return c;
    long port = std::atol(sys.c_str() + colon + 1);
    if (port <= 0 || port > 65535) return c;
    c.proxyPort = static_cast<uint16_t>(port);
    c.useHttpProxy = true;
  }
  c.authLine = BuildAuthLine(reg.httpProxyUser.value_or(""), reg.httpProxyPass.value_or(""));
  c.configured = true;
  c.tunnel = true;
  return c;
}

}  // namespace tunnel

namespace tunnel {

bool ReadResponseHeader(TunnelIo& io, int ch, std::string* header) {
  HeaderReader r;
  char buf[4];
  while (r.Wanted()) {
    size_t want = r.Wanted();
    size_t got = 0;
    while (got < want) {
      int n = io.Recv(ch, buf + got, want - got);
      if (n <= 0) return false;
      got += static_cast<size_t>(n);
    }
    r.Feed(buf, want);
  }
  *header = r.text();
  return r.state() == HeaderReader::State::Done;
}

OpenResult OpenTunnel(TunnelIo& io, TunnelConfig& cfg, const uint8_t target[4], uint16_t port,
                      std::string* redirectLine) {
  OpenResult res;
  if (cfg.useHttpProxy) {
    int ch = io.Connect(cfg.proxy, cfg.proxyPort);
    if (ch >= 0) {
      std::string header;
      if (io.SendAll(ch, BuildConnectRequest(target, port, cfg.authLine)) && ReadResponseHeader(io, ch, &header) &&
          ParseStatus(header) == 200) {
        res.channel = res.connectCh = ch;
        res.connectMode = true;
        return res;
      }
      io.Close(ch);
    }
  }
  for (int attempt = 0; attempt < kMaxGetAttempts && res.serial.empty(); ++attempt) {
    int ch = cfg.useHttpProxy ? io.Connect(cfg.proxy, cfg.proxyPort) : io.Connect(cfg.relay, cfg.relayPort);
    if (ch < 0) return res;
    if (!io.SendAll(ch, BuildGetRequest(target, port, cfg.hostText, *redirectLine, cfg.authLine))) {
      io.Close(ch);
      return res;
    }
    for (;;) {
      std::string header;
      if (!ReadResponseHeader(io, ch, &header)) {
        io.Close(ch);
        return res;
      }
      GetVerdict v = JudgeGetResponse(header);
      if (v.kind == GetVerdict::ReadNext) continue;
      if (v.kind == GetVerdict::Success) {
        res.serial = v.serial;
        res.getCh = ch;
      } else if (v.kind == GetVerdict::Redirect) {
        std::copy(v.relay, v.relay + 4, cfg.relay);
        cfg.relayPort = v.relayPort;
        cfg.hostText = HostText(cfg.relay, cfg.relayPort);
        *redirectLine = v.redirectLine;
        io.Close(ch);
      } else {
        io.Close(ch);
        return res;
      }
      break;
    }
  }
  if (res.serial.empty()) return res;
  int post = cfg.useHttpProxy ? io.Connect(cfg.proxy, cfg.proxyPort) : io.Connect(cfg.relay, cfg.relayPort);
  if (post < 0 || !io.SendAll(post, BuildPostRequest(res.serial, cfg.hostText, cfg.authLine))) {
    if (post >= 0) io.Close(post);
    io.Close(res.getCh);
    res.getCh = -1;
    return res;
  }
  res.postCh = post;
  res.channel = res.getCh;
  return res;
}

}  // namespace tunnel
