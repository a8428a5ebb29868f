// socksproxy / httpproxy [--port N] [--seconds N] [--user U --password P]
//                        [--fault none|refuse|wrong-method|bad-reply|close-early|slow] [--slow-ms N]
//                        [--reply-type 1|3|4]   (SOCKS5 reply address type)
// Prints "listening 127.0.0.1:PORT" once ready and a line per event. Runs until killed, or
// stops by itself after --seconds.
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <thread>

#include "ProxyPeers.h"

int main(int argc, char** argv) {
  peers::ProxyOptions opt;
  opt.maxSeconds = 0;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    bool v = i + 1 < argc;
    if (a == "--port" && v)
      opt.port = uint16_t(std::atoi(argv[++i]));
    else if (a == "--seconds" && v)
      opt.maxSeconds = std::max(1, std::atoi(argv[++i]));
    else if (a == "--user" && v)
      opt.user = argv[++i];
    else if (a == "--password" && v)
      opt.password = argv[++i];
    else if (a == "--slow-ms" && v)
      opt.slowMs = std::atoi(argv[++i]);
    else if (a == "--reply-type" && v)
      opt.socks5ReplyType = uint8_t(std::atoi(argv[++i]));
    else if (a == "--fault" && v && peers::ParseProxyFault(argv[i + 1], &opt.fault))
      ++i;
    else {
      std::cerr << "usage: " << argv[0] << " [--port N] [--seconds N] [--user U --password P] [--fault F]"
                << " [--slow-ms N] [--reply-type 1|3|4]\n";
      return 2;
    }
  }
#ifdef VESK_HTTP_PROXY
  std::unique_ptr<peers::CProxyPeer> peer = std::make_unique<peers::CHttpProxy>(opt);
#else
  std::unique_ptr<peers::CProxyPeer> peer = std::make_unique<peers::CSocksProxy>(opt);
#endif
  if (!peer->Start()) {
    std::cerr << "cannot listen on 127.0.0.1:" << opt.port << "\n";
    return 1;
  }
  std::cout << "listening 127.0.0.1:" << peer->Port() << std::endl;
  size_t shown = 0;
  for (bool last = false; !last;) {
    last = !peer->Running();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    auto lines = peer->Log();
    for (; shown < lines.size(); ++shown) std::cout << lines[shown] << std::endl;
  }
  peer->Stop();
  return 0;
}
