// reportserver [--port N] [--out FILE]: receives crash-report lines until interrupted.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "ReportServer.h"

static volatile std::sig_atomic_t g_stop = 0;

static void OnSignal(int) { g_stop = 1; }

int main(int argc, char** argv) {
  long port = 10007;
  std::string out;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--port") && i + 1 < argc) {
      port = std::strtol(argv[++i], nullptr, 10);
    } else if (!std::strcmp(argv[i], "--out") && i + 1 < argc) {
      out = argv[++i];
    } else {
      std::fprintf(stderr, "usage: reportserver [--port N] [--out FILE]\n");
      return 2;
    }
  }
  if (port < 0 || port > 65535) {
    std::fprintf(stderr, "reportserver: port must be 0 to 65535\n");
    return 2;
  }
  reportserver::ReportServer server(static_cast<uint16_t>(port), out);
  if (!server.Start()) {
    std::fprintf(stderr, "reportserver: cannot listen on port %ld\n", port);
    return 1;
  }
  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);
  std::printf("reportserver: listening on 127.0.0.1:%u\n", server.port());
  std::fflush(stdout);
  size_t shown = 0;
  while (!g_stop) {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    auto lines = server.Lines();
    for (; shown < lines.size(); ++shown) std::printf("report: %s\n", lines[shown].c_str());
    std::fflush(stdout);
  }
  server.Stop();
  return 0;
}
