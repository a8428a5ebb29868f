// tableserver [--port N] [--seconds N] [--script FILE] [--log FILE] [--game] [--bots] [--players 3|4] [--seed N]
// [--turn SECONDS] [--series HANDS] [--no-trusteeship] [--refuse-trust-exit] [--untold-trust-end] [--trust-limit N]
// [--complaints OUTCOME]
// [--watch-delay MS]
// [--chat-room N] [--stamp]
// --game plays the card game at the table (login, deal, bidding, plays, results); --bots also
// seats bots in every seat no client holds. --series ends a series every HANDS hands;
// --trust-limit is how often a seat may enter trusteeship in a hand; --complaints offers the
// farmers a complaint after every hand, and a complaint ends with that outcome code;
// --watch-delay holds a watcher's table back that long once its client is up.
// --stamp starts every log line with the wall clock in Unix milliseconds.
// Prints "listening 127.0.0.1:PORT" once ready and logs every frame. Runs until killed, or
// stops by itself after --seconds.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <iostream>
#include <sstream>
#include <thread>

#include "TableServer.h"
#include "TableSession.h"

int main(int argc, char** argv) {
  peers::TableServerOptions opt;
  opt.maxSeconds = 0;
  std::string script, logPath;
  int port = -1, seconds = -1;
  bool bots = false, game = false;
  int players = 3;
  unsigned seed = 0;
  int turn = 30;
  int series = 0;
  unsigned chatRoom = 0;
  bool trusteeship = true;
  int trustLimit = 3;
  bool refuseTrustExit = false;
  bool untoldTrustEnd = false;
  long complaintOutcome = -1;
  int watchDelay = 0;
  bool stamp = false;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    bool hasValue = i + 1 < argc;
    if (a == "--port" && hasValue)
      port = std::atoi(argv[++i]);
    else if (a == "--seconds" && hasValue)
      seconds = std::atoi(argv[++i]);
    else if (a == "--script" && hasValue)
      script = argv[++i];
    else if (a == "--log" && hasValue)
      logPath = argv[++i];
    else if (a == "--bots")
      bots = game = true;
    else if (a == "--game")
      game = true;
    else if (a == "--stamp")
      stamp = true;
    else if (a == "--players" && hasValue)
      players = std::atoi(argv[++i]) == 4 ? 4 : 3;
    else if (a == "--seed" && hasValue)
      seed = unsigned(std::strtoul(argv[++i], nullptr, 10));
    else if (a == "--turn" && hasValue)
      turn = std::atoi(argv[++i]);
    else if (a == "--series" && hasValue)
      series = std::atoi(argv[++i]);
    else if (a == "--no-trusteeship")
      trusteeship = false;
    else if (a == "--refuse-trust-exit")
      refuseTrustExit = true;
    else if (a == "--untold-trust-end")
      untoldTrustEnd = true;
    else if (a == "--chat-room" && hasValue)
      chatRoom = unsigned(std::strtoul(argv[++i], nullptr, 10));
    else if (a == "--trust-limit" && hasValue)
      trustLimit = std::atoi(argv[++i]);
    else if (a == "--watch-delay" && hasValue)
      watchDelay = std::atoi(argv[++i]);
    else if (a == "--complaints" && hasValue)
      complaintOutcome = std::strtol(argv[++i], nullptr, 10);
    else {
      std::cerr << "usage: tableserver [--port N] [--seconds N] [--script FILE] [--log FILE] [--game] [--bots]"
                   " [--players 3|4] [--seed N] [--turn SECONDS] [--series HANDS] [--no-trusteeship]"
                   " [--trust-limit N] [--complaints OUTCOME] [--watch-delay MS] [--chat-room N] [--stamp]\n";
      return 2;
    }
  }
  if (!script.empty()) {
    std::ifstream in(script);
    std::stringstream ss;
    ss << in.rdbuf();
    std::string err;
    if (!in || !peers::ParseTableScript(ss.str(), &opt, &err)) {
      std::cerr << "tableserver: bad script " << script << " " << err << "\n";
      return 2;
    }
  }
  if (port >= 0 && port <= 65535) opt.port = uint16_t(port);
  if (seconds > 0) opt.maxSeconds = seconds;
  opt.bots = bots;
  opt.stampLog = stamp;
  peers::CTableServer server(opt);
  std::unique_ptr<tablegame::TableSession> session;
  if (game) {
    tablegame::SessionOptions so;
    so.players = players;
    so.bots = bots;
    so.turnSeconds = turn > 0 && turn < 100 ? turn : 30;
    so.series = series > 0 && series < 100 ? series : 0;
    if (!trusteeship) so.optionFlags &= ~1u;
    so.trustLimit = trustLimit >= 0 && trustLimit < 256 ? trustLimit : 3;
    so.refuseTrustExit = refuseTrustExit;
    so.untoldTrustEnd = untoldTrustEnd;
    so.watchDelayMs = watchDelay > 0 && watchDelay <= 60000 ? watchDelay : 0;
    so.complaints = complaintOutcome >= 0;
    so.complaintOutcome = complaintOutcome >= 0 ? uint32_t(complaintOutcome) : 0;
    so.chatRoom = uint16_t(chatRoom);
    so.seed = seed ? seed : unsigned(std::chrono::steady_clock::now().time_since_epoch().count());
    session = std::make_unique<tablegame::TableSession>(server, so);
    session->Install();
  }
  if (!server.Start()) {
    std::cerr << "tableserver: cannot listen on 127.0.0.1:" << opt.port << "\n";
    return 1;
  }
  std::cout << "listening 127.0.0.1:" << server.Port() << std::endl;
  std::ofstream logFile;
  if (!logPath.empty()) logFile.open(logPath);
  std::ostream& log = logPath.empty() ? std::cout : logFile;
  size_t shown = 0;
  while (server.Running()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    auto lines = server.Log();
    for (; shown < lines.size(); ++shown) log << lines[shown] << std::endl;
  }
  auto lines = server.Log();
  for (; shown < lines.size(); ++shown) log << lines[shown] << std::endl;
  server.Stop();
  return 0;
}
