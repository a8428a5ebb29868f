// What the small line and web peers share: their command line (--port, --log, --seconds),
// a listening socket on 127.0.0.1 announced as "listening 127.0.0.1:PORT", and the log.
#pragma once
#include <chrono>
#include <fstream>
#include <string>

namespace peerbase {

struct Options {
  int port = 0;
  int seconds = 0;  // 0: runs until killed
  std::ofstream log;
};

// Reads the options; false (after printing the usage) for anything else.
bool ParseOptions(int argc, char** argv, const char* name, Options* out);
// Listens on 127.0.0.1 and prints the "listening" line; -1 (after a message) on failure.
int ListenAnnounced(const char* name, int port);
// A line into the log file, or standard output without one.
void LogLine(Options& opt, const std::string& line);

// True once the peer has run for its seconds.
class Deadline {
 public:
  explicit Deadline(int seconds) : m_seconds(seconds), m_start(std::chrono::steady_clock::now()) {}
  bool Passed() const {
    return m_seconds > 0 && std::chrono::steady_clock::now() - m_start > std::chrono::seconds(m_seconds);
  }

 private:
  int m_seconds;
  std::chrono::steady_clock::time_point m_start;
};

}  // namespace peerbase
