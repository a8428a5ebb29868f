// hostile --server-port N [--port N] [--seed N] [--frames N] [--every-ms N] [--blow KIND]
//         [--liveness-ms N] [--seconds N] [--log FILE] [--replay LOG]
// A loopback relay between one client and the table server. It relays the real game and,
// after the login reply, injects seeded noise between whole server frames; after --frames
// noise frames it sends the blow (if any). It asks the client for its local port every
// --liveness-ms and logs when each answer comes. --replay takes the injected frames of an
// earlier run's log, in order, instead of new noise (to replay or narrow down a failure). Every line of the log starts
// with the wall clock in milliseconds, so it can be matched with the box watcher's log:
//   <ms> inject <n> <kind> id=0x........ len=N hex=...
//   <ms> liveness-ask <n> / <ms> liveness-answer <n>
//   <ms> blow <kind> hex=... / <ms> client-closed / <ms> server-closed / <ms> summary ...
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>

#include "FrameAssembler.h"
#include "HostileFrames.h"
#include "LoopbackNet.h"
#include "NetFrame.h"
#include "SystemMessages.h"

namespace {

long long NowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

FILE* g_log = stdout;

void Log(const std::string& s) {
  std::fprintf(g_log, "%lld %s\n", NowMs(), s.c_str());
  std::fflush(g_log);
}

// Reads what the socket has into the assembler and moves complete frames to the queue.
// False when the peer closed or the stream broke.
bool Pump(int fd, netcore::CFrameAssembler& as, std::deque<hostile::Bytes>* frames) {
  peers::CSocketSource src(fd);
  for (;;) {
    int err = 0;
    auto st = as.ReadOnce(src, &err);
    if (st == netcore::CFrameAssembler::kFrame) {
      frames->push_back(as.TakeFrame());
      continue;
    }
    if (st == netcore::CFrameAssembler::kIncomplete) continue;
    if (st == netcore::CFrameAssembler::kWouldBlock) return true;
    return false;
  }
}

}  // namespace

int main(int argc, char** argv) {
  uint16_t port = 0, serverPort = 0;
  uint32_t seed = 1;
  int frames = 100, everyMs = 150, livenessMs = 1500, seconds = 300;
  std::string blowName = "none", logPath, replayPath;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    bool v = i + 1 < argc;
    if (a == "--port" && v)
      port = uint16_t(std::atoi(argv[++i]));
    else if (a == "--server-port" && v)
      serverPort = uint16_t(std::atoi(argv[++i]));
    else if (a == "--seed" && v)
      seed = uint32_t(std::strtoul(argv[++i], nullptr, 10));
    else if (a == "--frames" && v)
      frames = std::atoi(argv[++i]);
    else if (a == "--every-ms" && v)
      everyMs = std::max(1, std::atoi(argv[++i]));
    else if (a == "--liveness-ms" && v)
      livenessMs = std::max(100, std::atoi(argv[++i]));
    else if (a == "--seconds" && v)
      seconds = std::atoi(argv[++i]);
    else if (a == "--blow" && v)
      blowName = argv[++i];
    else if (a == "--log" && v)
      logPath = argv[++i];
    else if (a == "--replay" && v)
      replayPath = argv[++i];
    else {
      std::fprintf(stderr,
                   "usage: hostile --server-port N [--port N] [--seed N] [--frames N] [--every-ms N] [--blow KIND]"
                   " [--liveness-ms N] [--seconds N] [--log FILE]\n");
      return 2;
    }
  }
  hostile::Blow blow = hostile::BlowFromName(blowName);
  if (serverPort == 0 || (blow == hostile::Blow::kNone && blowName != "none")) {
    std::fprintf(stderr, "hostile: a server port and a known blow are needed\n");
    return 2;
  }
  if (!logPath.empty()) {
    g_log = std::fopen(logPath.c_str(), "w");
    if (!g_log) {
      std::fprintf(stderr, "hostile: cannot write %s\n", logPath.c_str());
      return 2;
    }
  }
  std::deque<hostile::Bytes> replay;
  if (!replayPath.empty()) {
    if (!hostile::ReadInjectedFrames(replayPath, &replay)) {
      std::fprintf(stderr, "hostile: cannot read injected frames from %s\n", replayPath.c_str());
      return 2;
    }
    frames = int(replay.size());
  }
  uint16_t actual = 0;
  int lfd = peers::ListenLoopback(port, &actual);
  if (lfd < 0) {
    std::fprintf(stderr, "hostile: cannot listen\n");
    return 1;
  }
  std::printf("listening 127.0.0.1:%u\n", actual);
  std::fflush(stdout);

  const long long deadline = NowMs() + seconds * 1000LL;
  if (!peers::WaitReadable(lfd, seconds * 1000)) return 1;
  int cfd = ::accept(lfd, nullptr, nullptr);
  peers::CloseFd(lfd);
  if (cfd < 0) return 1;
  int err = 0;
  int sfd = peers::ConnectLoopback(serverPort, 5000, &err);
  if (sfd < 0) {
    Log("server-unreachable");
    peers::CloseFd(cfd);
    return 1;
  }
  Log("client-accepted");

  hostile::CNoise noise(seed);
  // The server's frames are relayed as they are; the client's bound is the relay's too.
  netcore::CFrameAssembler fromServer(netcore::NET_MAX_BODY), fromClient(netcore::NET_MAX_BODY);
  std::deque<hostile::Bytes> sq, cq;
  bool loggedIn = false, blown = false, clientOpen = true;
  int injected = 0, asked = 0, answered = 0;
  long long lastInject = 0, lastAsk = 0, blowAt = 0;
  while (NowMs() < deadline && clientOpen) {
    pollfd p[2] = {{cfd, POLLIN, 0}, {sfd, POLLIN, 0}};
    ::poll(p, sfd >= 0 ? 2 : 1, 50);
    if (p[0].revents) {
      if (!Pump(cfd, fromClient, &cq)) {
        Log("client-closed");
        clientOpen = false;
      }
      for (auto& f : cq) {
        uint32_t id = netcore::ReadU32(f.data());
        if (id == sysmsg::MSG_LOCAL_PORT_REPLY && answered < asked) {
          Log("liveness-answer " + std::to_string(++answered));
          continue;  // our own question: the server never asked it
        }
        if (sfd >= 0 && !peers::SendAll(sfd, f.data(), f.size(), 5000)) {
          Log("server-closed");
          peers::CloseFd(sfd);
          sfd = -1;
        }
      }
      cq.clear();
    }
    if (sfd >= 0 && p[1].revents) {
      bool open = Pump(sfd, fromServer, &sq);
      for (auto& f : sq) {
        if (blown) continue;  // after the blow the client gets nothing more of the game
        uint32_t id = netcore::ReadU32(f.data());
        if (!peers::SendAll(cfd, f.data(), f.size(), 5000)) {
          Log("client-closed");
          clientOpen = false;
          break;
        }
        if (id == sysmsg::MSG_LOGIN_REPLY)
          loggedIn = true;
        else
          noise.Remember(f);
      }
      sq.clear();
      if (!open && clientOpen) {
        Log("server-closed");
        peers::CloseFd(sfd);
        sfd = -1;
      }
    }
    if (!clientOpen) break;
    long long now = NowMs();
    if (loggedIn && !blown && injected < frames && now - lastInject >= everyMs) {
      // The client's stream is always between two whole frames here: only whole frames are relayed.
      std::string kind = "replayed";
      hostile::Bytes n;
      if (!replay.empty()) {
        n = replay.front();
        replay.pop_front();
      } else {
        n = noise.Next(&kind);
      }
      char head[96];
      std::snprintf(head, sizeof head, "inject %d %s id=0x%08X len=%zu hex=", injected + 1, kind.c_str(),
                    netcore::ReadU32(n.data()), n.size());
      Log(head + hostile::Hex(n));
      if (!peers::SendAll(cfd, n.data(), n.size(), 5000)) {
        Log("client-closed");
        break;
      }
      ++injected;
      lastInject = now;
    }
    if (loggedIn && !blown && now - lastAsk >= livenessMs) {
      hostile::Bytes ask = netcore::BuildFrame(sysmsg::MSG_GET_LOCAL_PORT, nullptr, 0);
      Log("liveness-ask " + std::to_string(++asked));
      if (!peers::SendAll(cfd, ask.data(), ask.size(), 5000)) {
        Log("client-closed");
        break;
      }
      lastAsk = now;
    }
    if (loggedIn && !blown && injected >= frames && blow != hostile::Blow::kNone) {
      hostile::Bytes b = noise.MakeBlow(blow);
      Log(std::string("blow ") + hostile::BlowName(blow) + " len=" + std::to_string(b.size()) +
          " hex=" + hostile::Hex(b, 256));
      blown = true;
      blowAt = now;
      if (!peers::SendAll(cfd, b.data(), b.size(), 5000)) {
        Log("client-closed");
        break;
      }
      if (blow == hostile::Blow::kTruncated) {
        // The rest of the frame never comes: the connection ends mid-frame.
        ::shutdown(cfd, SHUT_WR);
      }
      if (sfd >= 0) {
        peers::CloseFd(sfd);
        sfd = -1;
      }
    }
    if (blown && now - blowAt > 60000) break;
  }
  Log("summary injected=" + std::to_string(injected) + " asked=" + std::to_string(asked) + " answered=" +
      std::to_string(answered) + " blow=" + hostile::BlowName(blow) + (clientOpen ? " client-open" : " client-gone"));
  peers::CloseFd(cfd);
  if (sfd >= 0) peers::CloseFd(sfd);
  return 0;
}
