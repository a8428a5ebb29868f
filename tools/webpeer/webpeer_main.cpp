// webpeer [--port N] [--log FILE] [--seconds N]
// The web server of the live panel and the message service: every request is logged as its
// request line ("GET /panel?user=...&ticket=..."); /panel answers a generated page that
// names the player and the ticket it was given; /tiers answers the ranked-tier query
// ("usernames" a comma-separated list) with tiers 1, 2, 3, 1, ... in the list's order;
// every other path a short "OK" page.
// Prints "listening 127.0.0.1:PORT" once ready.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <string>

#include "PeerBase.h"

namespace {

peerbase::Options g_opt;

// Percent-decoding of a query value ('+' is a space).
std::string Decode(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '+') {
      out += ' ';
    } else if (s[i] == '%' && i + 2 < s.size() && std::isxdigit((unsigned char)s[i + 1]) &&
               std::isxdigit((unsigned char)s[i + 2])) {
      out += char(std::strtol(s.substr(i + 1, 2).c_str(), nullptr, 16));
      i += 2;
    } else {
      out += s[i];
    }
  }
  return out;
}

std::string Escape(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '<')
      out += "&lt;";
    else if (c == '>')
      out += "&gt;";
    else if (c == '&')
      out += "&amp;";
    else if (c == '"')
      out += "&quot;";
    else
      out += c;
  }
  return out;
}

std::map<std::string, std::string> Query(const std::string& target) {
  std::map<std::string, std::string> q;
  size_t qm = target.find('?');
  if (qm == std::string::npos) return q;
  std::string rest = target.substr(qm + 1);
  size_t start = 0;
  while (start <= rest.size()) {
    size_t amp = rest.find('&', start);
    std::string pair = rest.substr(start, amp == std::string::npos ? std::string::npos : amp - start);
    size_t eq = pair.find('=');
    if (eq != std::string::npos) q[pair.substr(0, eq)] = Decode(pair.substr(eq + 1));
    if (amp == std::string::npos) break;
    start = amp + 1;
  }
  return q;
}

std::string PanelPage(const std::string& target) {
  auto q = Query(target);
  return "<html><head><title>Vesk live panel</title></head><body>"
         "<h2>Live panel</h2>"
         "<p>Player: " +
         Escape(q["user"]) +
         "</p>"
         "<p>Ticket: " +
         Escape(q["ticket"]) +
         "</p>"
         "<h3>Tonight</h3><ul><li>Table 1: three players</li><li>Series of three hands</li></ul>"
         "</body></html>";
}

std::string JsonString(const std::string& s) {
  std::string out = "\"";
  for (char c : s) {
    if (c == '"' || c == '\\') out += '\\';
    if ((unsigned char)c >= 0x20) out += c;
  }
  return out + "\"";
}

std::string TierReply(const std::string& target) {
  std::string names = Query(target)["usernames"], data;
  size_t start = 0;
  for (int i = 0; start <= names.size() && i < 8; ++i) {
    size_t comma = names.find(',', start);
    std::string name = names.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    if (!data.empty()) data += ",";
    data += "{\"username\":" + JsonString(name) + ",\"levels\":" + std::to_string(i % 3 + 1) + "}";
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return "{\"code\":0,\"data\":[" + data + "]}";
}

void Serve(int fd) {
  std::string req;
  char buf[4096];
  // The request line and headers; a body (the message service's empty POST) is not read.
  while (req.find("\r\n\r\n") == std::string::npos && req.size() < 16384) {
    pollfd p = {fd, POLLIN, 0};
    if (poll(&p, 1, 5000) <= 0) break;
    ssize_t n = recv(fd, buf, sizeof buf, 0);
    if (n <= 0) break;
    req.append(buf, size_t(n));
  }
  std::string line = req.substr(0, req.find("\r\n"));
  if (line.size() > 2048) line.resize(2048);
  peerbase::LogLine(g_opt, line);
  size_t sp1 = line.find(' '), sp2 = line.rfind(' ');
  std::string target = sp1 != std::string::npos && sp2 > sp1 ? line.substr(sp1 + 1, sp2 - sp1 - 1) : "/";
  const bool tiers = target.compare(0, 6, "/tiers") == 0;
  std::string body = tiers                                 ? TierReply(target)
                     : target.compare(0, 6, "/panel") == 0 ? PanelPage(target)
                                                           : "<html><body>OK</body></html>";
  std::string type = tiers ? "application/json" : "text/html";
  std::string resp = "HTTP/1.0 200 OK\r\nContent-Type: " + type + "\r\nContent-Length: " + std::to_string(body.size()) +
                     "\r\nConnection: close\r\n\r\n" + body;
  size_t sent = 0;
  while (sent < resp.size()) {
    ssize_t n = send(fd, resp.data() + sent, resp.size() - sent, 0);
    if (n <= 0) break;
    sent += size_t(n);
  }
  close(fd);
}

}  // namespace

int main(int argc, char** argv) {
  if (!peerbase::ParseOptions(argc, argv, "webpeer", &g_opt)) return 2;
  int ls = peerbase::ListenAnnounced("webpeer", g_opt.port);
  if (ls < 0) return 1;
  peerbase::Deadline deadline(g_opt.seconds);
  for (;;) {
    if (deadline.Passed()) break;
    pollfd p = {ls, POLLIN, 0};
    if (poll(&p, 1, 200) <= 0) continue;
    int fd = accept(ls, nullptr, nullptr);
    if (fd >= 0) Serve(fd);
  }
  return 0;
}
