#include "PeerBase.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <iostream>

namespace peerbase {

bool ParseOptions(int argc, char** argv, const char* name, Options* out) {
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    bool v = i + 1 < argc;
    if (a == "--port" && v)
      out->port = std::atoi(argv[++i]);
    else if (a == "--log" && v)
      out->log.open(argv[++i]);
    else if (a == "--seconds" && v)
      out->seconds = std::atoi(argv[++i]);
    else {
      std::cerr << "usage: " << name << " [--port N] [--log FILE] [--seconds N]\n";
      return false;
    }
  }
  return true;
}

int ListenAnnounced(const char* name, int port) {
  signal(SIGPIPE, SIG_IGN);
  int ls = socket(AF_INET, SOCK_STREAM, 0);
  int one = 1;
  setsockopt(ls, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in addr = {};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = htons(uint16_t(port));
  if (ls < 0 || bind(ls, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(ls, 16) != 0) {
    std::cerr << name << ": cannot listen on 127.0.0.1:" << port << "\n";
    if (ls >= 0) close(ls);
    return -1;
  }
  socklen_t len = sizeof addr;
  getsockname(ls, reinterpret_cast<sockaddr*>(&addr), &len);
  std::cout << "listening 127.0.0.1:" << ntohs(addr.sin_port) << std::endl;
  return ls;
}

void LogLine(Options& opt, const std::string& line) {
  std::ostream& o = opt.log.is_open() ? static_cast<std::ostream&>(opt.log) : std::cout;
  o << line << std::endl;
}

}  // namespace peerbase
