#include "ProxyHandshake.h"

#include <algorithm>
#include <cstdio>

namespace netcore {

bool ParseDottedIPv4(const std::string& text, uint8_t out[4]) {
  uint8_t tmp[4];
  size_t i = 0;
  for (int part = 0; part < 4; ++part) {
    if (part > 0) {
      if (i >= text.size() || text[i] != '.') return false;
      ++i;
    }
    unsigned v = 0;
    size_t digits = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9' && digits < 4) {
      v = v * 10 + unsigned(text[i] - '0');
      ++i;
      ++digits;
    }
    if (digits == 0 || digits > 3 || v > 255) return false;
    tmp[part] = uint8_t(v);
  }
  if (i != text.size()) return false;
  std::copy(tmp, tmp + 4, out);
  return true;
}

std::string Base64Encode(const std::string& text) {
  static const char kAlpha[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  size_t i = 0;
  for (; i + 2 < text.size(); i += 3) {
    uint32_t v = uint32_t(uint8_t(text[i])) << 16 | uint32_t(uint8_t(text[i + 1])) << 8 | uint8_t(text[i + 2]);
    out += kAlpha[v >> 18];
    out += kAlpha[(v >> 12) & 63];
    out += kAlpha[(v >> 6) & 63];
    out += kAlpha[v & 63];
  }
  size_t rest = text.size() - i;
  if (rest) {
    uint32_t v = uint32_t(uint8_t(text[i])) << 16;
    if (rest == 2) v |= uint32_t(uint8_t(text[i + 1])) << 8;
    out += kAlpha[v >> 18];
    out += kAlpha[(v >> 12) & 63];
    out += rest == 2 ? kAlpha[(v >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

std::vector<uint8_t> CProxyHandshake::TakeOutput() {
  std::vector<uint8_t> o;
  o.swap(m_out);
  return o;
}

size_t CProxyHandshake::Wanted() const { return m_status == kNeedMore ? m_want - m_in.size() : 0; }

size_t CProxyHandshake::Feed(const uint8_t* data, size_t n) {
  size_t take = std::min(n, Wanted());
  m_in.insert(m_in.end(), data, data + take);
  if (m_status == kNeedMore && m_want && m_in.size() == m_want) {
    std::vector<uint8_t> got;
    got.swap(m_in);
    m_want = 0;
    OnReply(got);
  }
  return take;
}

void CProxyHandshake::Expect(size_t n) {
  m_in.clear();
  m_want = n;
}

void CProxyHandshake::Queue(const std::vector<uint8_t>& bytes) {
  m_out.insert(m_out.end(), bytes.begin(), bytes.end());
}

void CProxyHandshake::Fail(const char* why) {
  m_status = kFailed;
  m_failure = why;
  m_want = 0;
  m_out.clear();
}

// --- SOCKS4 ---

CSocks4Handshake::CSocks4Handshake(const std::string& host, uint16_t port, const std::string& userId) {
  if (host.empty() || host.size() > 255) {
    Fail("host name empty or longer than 255 bytes");
    return;
  }
  uint8_t ip[4];
  bool dotted = ParseDottedIPv4(host, ip);
  if (!dotted) {
    ip[0] = ip[1] = ip[2] = 0;
    ip[3] = 1;
  }
  std::vector<uint8_t> req = {4, 1, uint8_t(port >> 8), uint8_t(port), ip[0], ip[1], ip[2], ip[3]};
  // The user id ends at its first zero; an empty one is a single zero.
  std::string user = userId.substr(0, std::min<size_t>(userId.find('\0'), 256));
  req.insert(req.end(), user.begin(), user.end());
  req.push_back(0);
  if (!dotted) {
    req.insert(req.end(), host.begin(), host.end());
    req.push_back(0);
  }
  Queue(req);
  Expect(8);
}

void CSocks4Handshake::OnReply(const std::vector<uint8_t>& reply) {
  if (reply[1] == 90)
    Done();
  else
    Fail("SOCKS4 request rejected");
}

// --- SOCKS5 ---

CSocks5Handshake::CSocks5Handshake(const std::string& host, uint16_t port, const std::string& user,
                                   const std::string& password)
    : m_host(host), m_user(user), m_password(password), m_port(port) {
  if (host.empty() || host.size() > 255) {
    Fail("host name empty or longer than 255 bytes");
    return;
  }
  Queue({5, 2, 0, 2});
  Expect(2);
}

void CSocks5Handshake::SendConnect() {
  std::vector<uint8_t> req = {5, 1, 0};
  uint8_t ip[4];
  if (ParseDottedIPv4(m_host, ip)) {
    req.push_back(1);
    req.insert(req.end(), ip, ip + 4);
  } else {
    req.push_back(3);
    req.push_back(uint8_t(m_host.size()));
    req.insert(req.end(), m_host.begin(), m_host.end());
  }
  req.push_back(uint8_t(m_port >> 8));
  req.push_back(uint8_t(m_port));
  Queue(req);
  m_step = kReplyHead;
  Expect(4);
}

void CSocks5Handshake::OnReply(const std::vector<uint8_t>& r) {
  switch (m_step) {
    case kMethod:
      if (r[1] == 0) {
        SendConnect();
      } else if (r[1] == 2) {
        // User and password each fit in one length byte.
        if (m_user.size() > 255 || m_password.size() > 255) return Fail("SOCKS5 user or password too long");
        std::vector<uint8_t> a = {1, uint8_t(m_user.size())};
        a.insert(a.end(), m_user.begin(), m_user.end());
        a.push_back(uint8_t(m_password.size()));
        a.insert(a.end(), m_password.begin(), m_password.end());
        Queue(a);
        m_step = kAuth;
        Expect(2);
      } else {
        Fail("SOCKS5 proxy chose no offered method");
      }
      return;
    case kAuth:
      if (r[1] != 0) return Fail("SOCKS5 user or password refused");
      SendConnect();
      return;
    case kReplyHead:
      if (r[1] != 0) return Fail("SOCKS5 connect refused");
      switch (r[3]) {
        case 1:
          m_step = kReplyTail;
          Expect(4 + 2);
          return;
        case 4:
          m_step = kReplyTail;
          Expect(16 + 2);
          return;
        case 3:
          m_step = kReplyNameLen;
          Expect(1);
          return;
        default:
          return Fail("SOCKS5 reply with unknown address type");
      }
    case kReplyNameLen:
      m_step = kReplyTail;
      Expect(size_t(r[0]) + 2);
      return;
    case kReplyTail:
      Done();
      return;
  }
}

// --- HTTP CONNECT ---

std::string AddHeaderLine(const std::string& request, const std::string& line) {
  size_t cr = request.rfind('\r');
  std::string out = cr == std::string::npos ? request : request.substr(0, cr);
  return out + line + "\r\n\r\n";
}

int ParseHttpStatus(const std::string& header) {
  size_t sp = header.find(' ');
  if (sp == std::string::npos) return -1;
  while (sp < header.size() && header[sp] == ' ') ++sp;
  int code = 0;
  size_t digits = 0;
  while (sp < header.size() && header[sp] >= '0' && header[sp] <= '9' && digits < 3) {
    code = code * 10 + (header[sp] - '0');
    ++sp;
    ++digits;
  }
  if (digits != 3) return -1;
  // The code ends at a blank or at the line's end ("HTTP/1.0 200\r\n" is a valid status line).
  if (sp >= header.size() || (header[sp] != ' ' && header[sp] != '\r' && header[sp] != '\n')) return -1;
  return code;
}

CHttpConnectHandshake::CHttpConnectHandshake(const std::string& host, uint16_t port, const std::string& user,
                                             const std::string& password) {
  if (host.empty() || host.size() > 255 || host.find_first_of("\r\n ") != std::string::npos) {
    Fail("bad host name");
    return;
  }
  char head[400];
  std::snprintf(head, sizeof head,
                "CONNECT %s:%d HTTP/1.1\r\nContent-Type: text/html\r\nProxy-Connection: Keep-Alive\r\n"
                "Content-length: 0\r\n\r\n",
                host.c_str(), int(port));
  m_request = head;
  if (!user.empty() && !password.empty())
    m_request = AddHeaderLine(m_request, "Proxy-Authorization: Basic " + Base64Encode(user + ":" + password));
  Queue(std::vector<uint8_t>(m_request.begin(), m_request.end()));
  Expect(4);
}

void CHttpConnectHandshake::OnReply(const std::vector<uint8_t>& reply) {
  m_header.append(reply.begin(), reply.end());
  auto endsWith = [&](const char* s) {
    std::string t(s);
    return m_header.size() >= t.size() && m_header.compare(m_header.size() - t.size(), t.size(), t) == 0;
  };
  if (endsWith("\r\n\r\n") || endsWith("\n\n")) {
    m_code = ParseHttpStatus(m_header);
    if (m_code == 200)
      Done();
    else
      Fail(m_code < 0 ? "HTTP proxy sent no status" : "HTTP proxy refused the tunnel");
    return;
  }
  if (m_header.size() >= kMaxHeader) return Fail("HTTP proxy header too long");
  Expect(1);
}

}  // namespace netcore
