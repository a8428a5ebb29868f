// The relay server of the HTTP tunnel, for tests and local play: a long GET whose
// response body carries the stream down and a POST whose body carries the stream
// up, paired by SERIALNO, relayed to the game server named in the GET's query.
#pragma once
#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace relay {

struct RelayOptions {
  uint16_t port = 0;          // 0: any free port
  bool sendContinue = false;  // answer a GET with "100 Continue" before the real answer
  int redirects = 0;          // answer this many GETs with 302 first
  std::string redirectTo;     // Location of the 302 ("a.b.c.d:port"; default: this relay)
  std::string redirectRoute;  // Redirect-Route value sent with the 302
  bool omitSerial = false;    // answer 200 without SERIALNO
  bool verbose = false;
};

class Relay {
 public:
  explicit Relay(RelayOptions opt);
  ~Relay();
  bool Start();  // binds 127.0.0.1 and serves on a thread of its own
  void Stop();
  uint16_t port() const { return port_; }
  // What the GETs carried (SERVERIP/SERVERPORT decoded) and the route lines seen.
  std::vector<std::string> Requests() const;

 private:
  void Serve();
  void HandleClient(int fd);
  void Note(const std::string& s);

  RelayOptions opt_;
  int listenFd_ = -1;
  uint16_t port_ = 0;
  std::atomic<bool> stop_{false};
  std::atomic<int> redirectsLeft_{0};
  std::atomic<int> nextSerial_{1000};
  std::thread thread_;
  std::vector<std::string> requests_;
  std::vector<int> clientFds_;
  struct Pending;
  std::vector<Pending*> pending_;
  std::vector<std::thread> workers_;
};

}  // namespace relay
