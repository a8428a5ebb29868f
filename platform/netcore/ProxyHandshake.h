// Proxy handshakes as state machines over a byte stream: the caller sends TakeOutput(), reads
// exactly Wanted() bytes (a blocking exact read on the client) and feeds them, until the
// status leaves kNeedMore. No state machine ever asks for more bytes than the reply holds, so the
// game-server frames that follow stay in the stream.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace netcore {

// Strict dotted IPv4 "a.b.c.d" (decimal, 0..255 each); out in network order.
bool ParseDottedIPv4(const std::string& text, uint8_t out[4]);
std::string Base64Encode(const std::string& text);

class CProxyHandshake {
 public:
  enum Status { kNeedMore, kDone, kFailed };
  virtual ~CProxyHandshake() = default;

  // Bytes to send now (empty when nothing is due). Call after construction and after every Feed.
  std::vector<uint8_t> TakeOutput();
  // Bytes wanted next; 0 once done or failed.
  size_t Wanted() const;
  // Takes at most Wanted() bytes; returns how many were taken.
  size_t Feed(const uint8_t* data, size_t n);
  Status GetStatus() const { return m_status; }
  // Why the handshake failed, for the log.
  const std::string& Failure() const { return m_failure; }

 protected:
  // Called when the bytes asked for with Expect have all arrived.
  virtual void OnReply(const std::vector<uint8_t>& reply) = 0;
  void Expect(size_t n);
  void Queue(const std::vector<uint8_t>& bytes);
  void Done() { m_status = kDone; }
  void Fail(const char* why);

 private:
  std::vector<uint8_t> m_out;
  std::vector<uint8_t> m_in;
  size_t m_want = 0;
  Status m_status = kNeedMore;
  std::string m_failure;
};

// SOCKS4 CONNECT; a host that is not a dotted address goes as SOCKS4a (0.0.0.1 and the name).
class CSocks4Handshake : public CProxyHandshake {
 public:
  CSocks4Handshake(const std::string& host, uint16_t port, const std::string& userId);

 protected:
  void OnReply(const std::vector<uint8_t>& reply) override;
};

// SOCKS5 CONNECT offering no authentication and user/password; the reply is read by its address
// type. Host names longer than 255 bytes are refused before anything is sent.
class CSocks5Handshake : public CProxyHandshake {
 public:
  CSocks5Handshake(const std::string& host, uint16_t port, const std::string& user, const std::string& password);

 protected:
  void OnReply(const std::vector<uint8_t>& reply) override;

 private:
  enum Step { kMethod, kAuth, kReplyHead, kReplyNameLen, kReplyTail };
  void SendConnect();
  std::string m_host, m_user, m_password;
  uint16_t m_port;
  Step m_step = kMethod;
};

// HTTP CONNECT through a proxy, with Basic proxy authorisation when user and password are set.
// The response header is read 4 bytes and then one byte at a time up to its blank line.
class CHttpConnectHandshake : public CProxyHandshake {
 public:
  static constexpr size_t kMaxHeader = 1024;
  CHttpConnectHandshake(const std::string& host, uint16_t port, const std::string& user, const std::string& password);
  int StatusCode() const { return m_code; }
  // The request text, for tests and logs.
  const std::string& Request() const { return m_request; }

 protected:
  void OnReply(const std::vector<uint8_t>& reply) override;

 private:
  std::string m_request;
  std::string m_header;
  int m_code = 0;
};

// Appends a header line as the request's last header.
std::string AddHeaderLine(const std::string& request, const std::string& line);
// The status code of an HTTP response header: the number after the first blank(s); -1 if none.
int ParseHttpStatus(const std::string& header);

}  // namespace netcore
