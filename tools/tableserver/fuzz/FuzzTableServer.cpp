// The table server's frame reader and the game table behind it, fed one client's bytes:
// the stream is assembled into frames exactly as a socket delivers them and every frame goes
// to the table's handlers (login, game actions, leaving, trusteeship, watchers, complaints).
// Input: byte 0 picks the table (players, series, complaints); the rest is the client's stream.
#include <sys/socket.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>

#include "TableServer.h"
#include "TableSession.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The socket buffer holds the whole stream; the server's answers fit in the other one.
  if (size < 1 || size > 16384) return 0;
  int fds[2];
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0) return 0;
  int big = 1 << 20;
  setsockopt(fds[1], SOL_SOCKET, SO_SNDBUF, &big, sizeof big);
  setsockopt(fds[0], SOL_SOCKET, SO_RCVBUF, &big, sizeof big);
  setsockopt(fds[0], SOL_SOCKET, SO_SNDBUF, &big, sizeof big);
  setsockopt(fds[1], SOL_SOCKET, SO_RCVBUF, &big, sizeof big);
  size_t sent = 0;
  while (sent < size - 1) {
    ssize_t n = send(fds[1], data + 1 + sent, size - 1 - sent, MSG_NOSIGNAL);
    if (n <= 0) break;
    sent += size_t(n);
  }
  shutdown(fds[1], SHUT_WR);

  peers::TableServerOptions so;
  so.maxSeconds = 0;
  peers::CTableServer server(so);
  tablegame::SessionOptions opt;
  opt.players = data[0] & 1 ? 4 : 3;
  opt.series = data[0] & 2 ? 2 : 0;
  opt.complaints = (data[0] & 4) != 0;
  opt.optionFlags = data[0] & 8 ? 0 : 1;
  opt.trustLimit = (data[0] >> 4) & 3;
  opt.seed = 5;
  tablegame::TableSession session(server, opt);
  session.Install();
  server.ServeDescriptor(fds[0], 4096);
  close(fds[1]);
  return 0;
}
