#include "Relay.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace relay {
namespace {

std::mutex g_pairLock;

bool SendAll(int fd, const char* p, size_t n) {
  while (n) {
    ssize_t k = send(fd, p, n, MSG_NOSIGNAL);
    if (k <= 0) return false;
    p += k;
    n -= static_cast<size_t>(k);
  }
  return true;
}

bool SendText(int fd, const std::string& s) { return SendAll(fd, s.data(), s.size()); }

// Reads up to the blank line; at most 8 KiB, 10 s.
bool ReadHeader(int fd, std::string* out) {
  out->clear();
  char c;
  while (out->size() < 8192) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 10000) <= 0) return false;
    if (recv(fd, &c, 1, 0) != 1) return false;
    *out += c;
    if (out->size() >= 4 && out->compare(out->size() - 4, 4, "\r\n\r\n") == 0) return true;
  }
  return false;
}

std::string QueryValue(const std::string& line, const std::string& name) {
  size_t p = line.find(name + "=");
  if (p == std::string::npos) return std::string();
  p += name.size() + 1;
  size_t e = line.find_first_of("& ", p);
  return line.substr(p, e == std::string::npos ? std::string::npos : e - p);
}

std::string HeaderValue(const std::string& h, const std::string& name) {
  size_t p = h.find("\r\n" + name + ":");
  if (p == std::string::npos) return std::string();
  p += name.size() + 3;
  while (p < h.size() && h[p] == ' ') ++p;
  size_t e = h.find("\r\n", p);
  return h.substr(p, e - p);
}

// Copies bytes one way until either side closes.
void Pump(int from, int to) {
  char buf[4096];
  for (;;) {
    ssize_t n = recv(from, buf, sizeof buf, 0);
    if (n <= 0 || !SendAll(to, buf, static_cast<size_t>(n))) break;
  }
  shutdown(to, SHUT_WR);
}

}  // namespace

struct Relay::Pending {
  std::string serial;
  int getFd;
  int serverFd;
  bool paired = false;
};

Relay::Relay(RelayOptions opt) : opt_(std::move(opt)) { redirectsLeft_ = opt_.redirects; }

Relay::~Relay() { Stop(); }

bool Relay::Start() {
  listenFd_ = socket(AF_INET, SOCK_STREAM, 0);
  if (listenFd_ < 0) return false;
  int one = 1;
  setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = htons(opt_.port);
  if (bind(listenFd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || listen(listenFd_, 16) != 0) return false;
  socklen_t len = sizeof a;
  getsockname(listenFd_, reinterpret_cast<sockaddr*>(&a), &len);
  port_ = ntohs(a.sin_port);
  thread_ = std::thread([this] { Serve(); });
  return true;
}

void Relay::Stop() {
  if (stop_.exchange(true)) return;
  if (listenFd_ >= 0) shutdown(listenFd_, SHUT_RDWR);
  if (thread_.joinable()) thread_.join();
  if (listenFd_ >= 0) close(listenFd_);
  {
    std::lock_guard<std::mutex> g(g_pairLock);
    for (Pending* p : pending_) shutdown(p->serverFd, SHUT_RDWR);
    for (int fd : clientFds_) shutdown(fd, SHUT_RDWR);
  }
  for (auto& w : workers_)
    if (w.joinable()) w.join();
  for (Pending* p : pending_) {
    close(p->serverFd);
    delete p;
  }
  for (int fd : clientFds_) close(fd);
  clientFds_.clear();
  pending_.clear();
}

std::vector<std::string> Relay::Requests() const {
  std::lock_guard<std::mutex> g(g_pairLock);
  return requests_;
}

void Relay::Note(const std::string& s) {
  std::lock_guard<std::mutex> g(g_pairLock);
  requests_.push_back(s);
  if (opt_.verbose) std::fprintf(stderr, "relay: %s\n", s.c_str());
}

void Relay::Serve() {
  while (!stop_) {
    pollfd p{listenFd_, POLLIN, 0};
    int r = poll(&p, 1, 200);
    if (r <= 0) continue;
    int fd = accept(listenFd_, nullptr, nullptr);
    if (fd < 0) continue;
    {
      std::lock_guard<std::mutex> g(g_pairLock);
      clientFds_.push_back(fd);
    }
    workers_.emplace_back([this, fd] { HandleClient(fd); });
  }
}

void Relay::HandleClient(int fd) {
  std::string h;
  if (!ReadHeader(fd, &h)) {
    shutdown(fd, SHUT_RDWR);  // closed by Stop
    return;
  }
  std::string first = h.substr(0, h.find("\r\n"));
  if (first.rfind("GET /default.asp?", 0) == 0) {
    std::string route = HeaderValue(h, "Redirect-Route");
    if (redirectsLeft_.fetch_sub(1) > 0) {
      std::string to = opt_.redirectTo.empty() ? "127.0.0.1:" + std::to_string(port_) : opt_.redirectTo;
      Note("GET redirected" + (route.empty() ? std::string() : " route=" + route));
      SendText(fd, "HTTP/1.1 302 Found\r\nLocation: " + to + "\r\nRedirect-Route: " + opt_.redirectRoute + "\r\n\r\n");
      shutdown(fd, SHUT_RDWR);  // closed by Stop
      return;
    }
    uint32_t ip = static_cast<uint32_t>(std::strtoul(QueryValue(first, "SERVERIP").c_str(), nullptr, 10));
    uint16_t portLe = static_cast<uint16_t>(std::strtoul(QueryValue(first, "SERVERPORT").c_str(), nullptr, 10));
    // Both values are the network-order bytes read little-endian: the bytes as they stand.
    sockaddr_in target{};
    target.sin_family = AF_INET;
    std::memcpy(&target.sin_addr.s_addr, &ip, 4);
    std::memcpy(&target.sin_port, &portLe, 2);
    char dotted[32];
    inet_ntop(AF_INET, &target.sin_addr, dotted, sizeof dotted);
    Note(std::string("GET ") + dotted + ":" + std::to_string(ntohs(target.sin_port)) +
         (route.empty() ? std::string() : " route=" + route));
    int server = socket(AF_INET, SOCK_STREAM, 0);
    if (connect(server, reinterpret_cast<sockaddr*>(&target), sizeof target) != 0) {
      SendText(fd, "HTTP/1.1 502 Bad Gateway\r\n\r\n");
      close(server);
      shutdown(fd, SHUT_RDWR);  // closed by Stop
      return;
    }
    if (opt_.sendContinue) SendText(fd, "HTTP/1.1 100 Continue\r\n\r\n");
    std::string serial = std::to_string(nextSerial_++);
    if (opt_.omitSerial) {
      SendText(fd, "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\n\r\n");
      close(server);
      shutdown(fd, SHUT_RDWR);  // closed by Stop
      return;
    }
    SendText(fd, "HTTP/1.1 200 OK\r\nSERIALNO: " + serial + "\r\nContent-Type: application/octet-stream\r\n\r\n");
    auto* p = new Pending{serial, fd, server};
    {
      std::lock_guard<std::mutex> g(g_pairLock);
      pending_.push_back(p);
    }
    Pump(server, fd);  // the stream down, until the server closes
    return;
  }
  if (first.rfind("POST /default.asp", 0) == 0) {
    std::string serial = HeaderValue(h, "SERIALNO");
    int server = -1;
    {
      std::lock_guard<std::mutex> g(g_pairLock);
      for (Pending* p : pending_)
        if (p->serial == serial && !p->paired) {
          p->paired = true;
          server = p->serverFd;
        }
    }
    Note("POST " + serial + (server < 0 ? " unpaired" : ""));
    if (server >= 0) Pump(fd, server);  // the stream up
    shutdown(fd, SHUT_RDWR);            // closed by Stop
    return;
  }
  Note("refused: " + first);
  SendText(fd, "HTTP/1.1 400 Bad Request\r\n\r\n");
  shutdown(fd, SHUT_RDWR);  // closed by Stop
}

}  // namespace relay
