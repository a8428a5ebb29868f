// The tunnel's open sequence against the relay, over loopback, with an echo server
// standing in for the game server.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>
#include <chrono>
#include <map>
#include <thread>

#include "Relay.h"
#include "TunnelProtocol.h"

namespace {

class EchoServer {
 public:
  EchoServer() {
    fd_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a);
    listen(fd_, 4);
    socklen_t len = sizeof a;
    getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len);
    port_ = ntohs(a.sin_port);
    thread_ = std::thread([this] {
      pollfd p{fd_, POLLIN, 0};
      if (poll(&p, 1, 10000) <= 0) return;
      int c = accept(fd_, nullptr, nullptr);
      char buf[256];
      ssize_t n;
      while ((n = recv(c, buf, sizeof buf, 0)) > 0) send(c, buf, static_cast<size_t>(n), MSG_NOSIGNAL);
      close(c);
    });
  }
  ~EchoServer() {
    shutdown(fd_, SHUT_RDWR);
    thread_.join();
    close(fd_);
  }
  uint16_t port() const { return port_; }

 private:
  int fd_;
  uint16_t port_ = 0;
  std::thread thread_;
};

// POSIX sockets behind the tunnel's interface.
class PosixIo : public tunnel::TunnelIo {
 public:
  ~PosixIo() override {
    for (auto& [ch, fd] : fds_) close(fd);
  }
  int Connect(const uint8_t addr[4], uint16_t port) override {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    std::memcpy(&a.sin_addr.s_addr, addr, 4);
    a.sin_port = htons(port);
    if (connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
      close(fd);
      return -1;
    }
    ++connects;
    fds_[next_] = fd;
    return next_++;
  }
  bool SendAll(int ch, const std::string& b) override {
    return send(fds_.at(ch), b.data(), b.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(b.size());
  }
  int Recv(int ch, char* buf, size_t n) override {
    pollfd p{fds_.at(ch), POLLIN, 0};
    if (poll(&p, 1, 5000) <= 0) return -1;
    return static_cast<int>(recv(fds_.at(ch), buf, n, 0));
  }
  void Close(int ch) override {
    close(fds_.at(ch));
    fds_.erase(ch);
  }
  int connects = 0;

 private:
  std::map<int, int> fds_;
  int next_ = 0;
};

tunnel::TunnelConfig RelayConfig(uint16_t relayPort) {
  tunnel::TunnelConfig c;
  c.configured = c.tunnel = true;
  const uint8_t lo[4] = {127, 0, 0, 1};
  std::copy(lo, lo + 4, c.relay);
  c.relayPort = relayPort;
  c.hostText = tunnel::HostText(c.relay, relayPort);
  return c;
}

const uint8_t kLoopback[4] = {127, 0, 0, 1};

}  // namespace

TEST(RelayTunnel, StreamsBothWaysThroughGetAndPost) {
  EchoServer echo;
  relay::RelayOptions o;
  o.sendContinue = true;
  relay::Relay r(o);
  ASSERT_TRUE(r.Start());
  PosixIo io;
  auto cfg = RelayConfig(r.port());
  std::string route;
  auto res = tunnel::OpenTunnel(io, cfg, kLoopback, echo.port(), &route);
  ASSERT_GE(res.channel, 0);
  EXPECT_FALSE(res.connectMode);
  EXPECT_FALSE(res.serial.empty());
  ASSERT_TRUE(io.SendAll(res.postCh, "frame bytes"));
  std::string got;
  char buf[64];
  while (got.size() < 11) {
    int n = io.Recv(res.channel, buf, sizeof buf);
    ASSERT_GT(n, 0);
    got.append(buf, static_cast<size_t>(n));
  }
  EXPECT_EQ(got, "frame bytes");
  auto reqs = r.Requests();
  ASSERT_FALSE(reqs.empty());
  EXPECT_EQ(reqs[0], "GET 127.0.0.1:" + std::to_string(echo.port()));
}

TEST(RelayTunnel, RedirectsCarryTheRouteAndFourFail) {
  EchoServer echo;
  relay::RelayOptions o;
  o.redirects = 3;
  o.redirectRoute = "hop";
  relay::Relay r(o);
  ASSERT_TRUE(r.Start());
  PosixIo io;
  auto cfg = RelayConfig(r.port());
  std::string route;
  auto res = tunnel::OpenTunnel(io, cfg, kLoopback, echo.port(), &route);
  EXPECT_GE(res.channel, 0) << "three redirects are allowed";
  EXPECT_EQ(route, "Redirect-Route: hop");
  // The relay notes the POST on its own thread; wait for it (bounded).
  auto reqs = r.Requests();
  for (int i = 0; i < 200 && reqs.size() < 5; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    reqs = r.Requests();
  }
  ASSERT_EQ(reqs.size(), 5u);  // three redirected GETs, the answered GET, the POST
  EXPECT_EQ(reqs[1], "GET redirected route=hop");

  relay::RelayOptions o4;
  o4.redirects = 4;
  relay::Relay r4(o4);
  ASSERT_TRUE(r4.Start());
  auto cfg4 = RelayConfig(r4.port());
  std::string route4;
  EXPECT_LT(tunnel::OpenTunnel(io, cfg4, kLoopback, echo.port(), &route4).channel, 0);
}

TEST(RelayTunnel, AnswerWithoutSerialFails) {
  EchoServer echo;
  relay::RelayOptions o;
  o.omitSerial = true;
  relay::Relay r(o);
  ASSERT_TRUE(r.Start());
  PosixIo io;
  auto cfg = RelayConfig(r.port());
  std::string route;
  EXPECT_LT(tunnel::OpenTunnel(io, cfg, kLoopback, echo.port(), &route).channel, 0);
}
