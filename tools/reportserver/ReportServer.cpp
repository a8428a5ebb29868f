#include "ReportServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <utility>

namespace reportserver {

ReportServer::ReportServer(uint16_t port, std::string outPath) : port_(port), outPath_(std::move(outPath)) {}

ReportServer::~ReportServer() { Stop(); }

bool ReportServer::Start() {
  listenFd_ = socket(AF_INET, SOCK_STREAM, 0);
  if (listenFd_ < 0) return false;
  int one = 1;
  setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in a = {};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = htons(port_);
  socklen_t len = sizeof a;
  if (bind(listenFd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || listen(listenFd_, 16) != 0 ||
      getsockname(listenFd_, reinterpret_cast<sockaddr*>(&a), &len) != 0) {
    close(listenFd_);
    listenFd_ = -1;
    return false;
  }
  port_ = ntohs(a.sin_port);
  running_ = true;
  thread_ = std::thread([this] { Serve(); });
  return true;
}

void ReportServer::Stop() {
  running_ = false;
  if (thread_.joinable()) thread_.join();
  if (listenFd_ >= 0) close(listenFd_);
  listenFd_ = -1;
}

std::vector<std::string> ReportServer::Lines() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return lines_;
}

void ReportServer::Serve() {
  while (running_) {
    pollfd p = {listenFd_, POLLIN, 0};
    if (poll(&p, 1, 100) <= 0) continue;
    int fd = accept(listenFd_, nullptr, nullptr);
    if (fd < 0) continue;
    std::string bytes;
    char buf[4096];
    // One report per connection; a peer that stops sending is given up after a few seconds.
    for (int idle = 0; running_ && idle < 50 && bytes.size() < kMaxBytesPerConnection;) {
      pollfd c = {fd, POLLIN, 0};
      if (poll(&c, 1, 100) <= 0) {
        ++idle;
        continue;
      }
      ssize_t n = recv(fd, buf, sizeof buf, 0);
      if (n <= 0) break;
      bytes.append(buf, static_cast<size_t>(n));
    }
    close(fd);
    if (bytes.size() > kMaxBytesPerConnection) bytes.resize(kMaxBytesPerConnection);
    Take(bytes);
  }
}

void ReportServer::Take(const std::string& bytes) {
  std::lock_guard<std::mutex> lock(mutex_);
  FILE* out = outPath_.empty() ? nullptr : std::fopen(outPath_.c_str(), "ab");
  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t nl = bytes.find('\n', pos);
    std::string line = bytes.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos);
    pos = nl == std::string::npos ? bytes.size() : nl + 1;
    if (line.empty()) continue;
    lines_.push_back(line);
    if (out) std::fprintf(out, "%s\n", line.c_str());
  }
  if (out) std::fclose(out);
}

}  // namespace reportserver
