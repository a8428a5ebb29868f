// chatpeer [--port N] [--log FILE] [--seconds N]
// The chat server of one table for the chat control stand-in: every client greets with its
// user-table row (HELLO), hears the rows of everyone present (JOIN) and every line said at
// the table (SAY); a client that goes away is announced (LEAVE). A client may name its room
// first (ROOM, the value the game server gave the table; room 0 without it): it hears only
// those of its own room.
// Prints "listening 127.0.0.1:PORT" once ready; logs "hello USER room N" and "say USER TEXT".
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "ChatCore.h"
#include "PeerBase.h"

namespace {

struct Client {
  qkchat::LineBuffer in;
  std::vector<std::string> row;  // the HELLO cells; row[0] is the user name
  std::string room = "0";
  std::string out;
};

peerbase::Options g_opt;

void Log(const std::string& line) { peerbase::LogLine(g_opt, line); }

void Queue(Client& c, const std::vector<std::string>& fields) { c.out += qkchat::JoinFields(fields) + "\n"; }

void Broadcast(std::map<int, Client>& clients, const std::string& room, const std::vector<std::string>& fields) {
  for (auto& [fd, c] : clients)
    if (!c.row.empty() && c.room == room) Queue(c, fields);
}

void OnLine(std::map<int, Client>& clients, int fd, const std::string& line) {
  Client& c = clients[fd];
  std::vector<std::string> f = qkchat::SplitFields(line);
  if (f[0] == "ROOM" && f.size() >= 2 && c.row.empty()) {
    c.room = f[1].substr(0, 16);
  } else if (f[0] == "HELLO" && f.size() >= 2 && !f[1].empty() && c.row.empty()) {
    c.row.assign(f.begin() + 1, f.end());
    for (auto& [ofd, other] : clients)
      if (ofd != fd && !other.row.empty() && other.room == c.room) {
        std::vector<std::string> join = {"JOIN"};
        join.insert(join.end(), other.row.begin(), other.row.end());
        Queue(c, join);
      }
    std::vector<std::string> join = {"JOIN"};
    join.insert(join.end(), c.row.begin(), c.row.end());
    Broadcast(clients, c.room, join);
    Log("hello " + c.row[0] + " room " + c.room);
  } else if (f[0] == "SAY" && f.size() >= 2 && !c.row.empty()) {
    std::string text = f[1].substr(0, 200);
    Broadcast(clients, c.room, {"SAY", c.row[0], text});
    Log("say " + c.row[0] + " " + text);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (!peerbase::ParseOptions(argc, argv, "chatpeer", &g_opt)) return 2;
  int ls = peerbase::ListenAnnounced("chatpeer", g_opt.port);
  if (ls < 0) return 1;
  peerbase::Deadline deadline(g_opt.seconds);
  std::map<int, Client> clients;
  for (;;) {
    if (deadline.Passed()) break;
    std::vector<pollfd> fds = {{ls, POLLIN, 0}};
    for (auto& [fd, c] : clients) fds.push_back({fd, short(POLLIN | (c.out.empty() ? 0 : POLLOUT)), 0});
    if (poll(fds.data(), fds.size(), 200) < 0) continue;
    if (fds[0].revents & POLLIN) {
      int fd = accept(ls, nullptr, nullptr);
      if (fd >= 0) clients[fd];
    }
    std::vector<int> gone;
    for (size_t i = 1; i < fds.size(); ++i) {
      int fd = fds[i].fd;
      Client& c = clients[fd];
      if (fds[i].revents & (POLLIN | POLLHUP | POLLERR)) {
        char buf[4096];
        ssize_t n = recv(fd, buf, sizeof buf, 0);
        if (n <= 0) {
          gone.push_back(fd);
          continue;
        }
        c.in.Append(buf, size_t(n));
        std::string line;
        while (c.in.Next(&line)) OnLine(clients, fd, line);
      }
      if ((fds[i].revents & POLLOUT) && !c.out.empty()) {
        ssize_t n = send(fd, c.out.data(), c.out.size(), 0);
        if (n > 0)
          c.out.erase(0, size_t(n));
        else
          gone.push_back(fd);
      }
      // A client that does not read cannot make the peer grow without end.
      if (c.out.size() > (1u << 20)) gone.push_back(fd);
    }
    for (int fd : gone) {
      auto it = clients.find(fd);
      if (it == clients.end()) continue;
      std::vector<std::string> row = it->second.row;
      std::string room = it->second.room;
      close(fd);
      clients.erase(it);
      if (!row.empty()) {
        Broadcast(clients, room, {"LEAVE", row[0]});
        Log("leave " + row[0]);
      }
    }
  }
  return 0;
}
