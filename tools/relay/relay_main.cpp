// relay: the HTTP tunnel's relay server on 127.0.0.1.
//   relay [--port N] [--continue] [--redirects N] [--redirect-to A:P] [--route TEXT] [--no-serial] [-v]
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "Relay.h"

static volatile std::sig_atomic_t g_stop = 0;

int main(int argc, char** argv) {
  relay::RelayOptions o;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto next = [&]() -> const char* { return i + 1 < argc ? argv[++i] : ""; };
    if (a == "--port")
      o.port = static_cast<uint16_t>(std::atoi(next()));
    else if (a == "--continue")
      o.sendContinue = true;
    else if (a == "--redirects")
      o.redirects = std::atoi(next());
    else if (a == "--redirect-to")
      o.redirectTo = next();
    else if (a == "--route")
      o.redirectRoute = next();
    else if (a == "--no-serial")
      o.omitSerial = true;
    else if (a == "-v")
      o.verbose = true;
    else {
      std::fprintf(stderr, "relay: unknown option %s\n", a.c_str());
      return 2;
    }
  }
  relay::Relay r(o);
  if (!r.Start()) {
    std::perror("relay");
    return 1;
  }
  std::printf("%u\n", r.port());
  std::fflush(stdout);
  std::signal(SIGINT, [](int) { g_stop = 1; });
  std::signal(SIGTERM, [](int) { g_stop = 1; });
  while (!g_stop) pause();
  return 0;
}
