// The crash-report server the crash-report library talks to, for tests and local play:
// accepts connections on 127.0.0.1, keeps every line received and appends it to a file.
#pragma once
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace reportserver {

const size_t kMaxBytesPerConnection = 64 * 1024;  // a report is one short line; more is cut off

class ReportServer {
 public:
  ReportServer(uint16_t port, std::string outPath);  // port 0: any free port
  ~ReportServer();
  bool Start();
  void Stop();
  uint16_t port() const { return port_; }
  std::vector<std::string> Lines() const;

 private:
  void Serve();
  void Take(const std::string& bytes);

  uint16_t port_;
  std::string outPath_;
  int listenFd_ = -1;
  std::atomic<bool> running_{false};
  std::thread thread_;
  mutable std::mutex mutex_;
  std::vector<std::string> lines_;
};

}  // namespace reportserver
