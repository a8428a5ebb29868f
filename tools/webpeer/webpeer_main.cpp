// webpeer [--port N] [--log FILE] [--seconds N]
// The web server of the live panel, the server's notices, the help page and the message
// service: every request is logged as its request line ("GET /panel?user=...&ticket=...").
//   /panel      the live panel: a header picture, the player and ticket it was given, a table
//               of tiers and news items (UTF-8, said so in the reply's header)
//   /tip        a notice with a picture and a link that closes its window (GBK, said so only
//               by the page's meta charset)
//   /help...    the program's help folder as built (Help.htm in GBK and its pictures)
//   /pictures/  the panel's and the notice's pictures, drawn here (BMP)
//   /tiers      the ranked-tier query ("usernames" a comma-separated list): tiers 1, 2, 3, 1, ...
//   /endless    a page that never ends: a paragraph every 50 ms until the reader goes
//   /huge       a page of 50 MB
//   otherwise   a short "OK" page.
// Each connection is answered on a thread of its own, so a slow reader holds up nobody.
// Prints "listening 127.0.0.1:PORT" once ready.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "PeerBase.h"

namespace {

peerbase::Options g_opt;
std::mutex g_logLock;

void Log(const std::string& line) {
  std::lock_guard<std::mutex> hold(g_logLock);
  peerbase::LogLine(g_opt, line);
}

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
  return R"(<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>Trebbin 直播</title>
<style>
body { margin: 0; background: #fdf8ec; font-family: "宋体"; font-size: 12px; color: #333; }
.head { background: #8c1c13 url(/pictures/header.bmp) no-repeat; height: 60px; }
.who { padding: 4px 8px; background: #f3e2b3; border-bottom: 1px solid #d0b070; }
h3 { color: #8c1c13; font-size: 14px; margin: 8px; }
table { border-collapse: collapse; margin: 0 8px; }
th { background: #8c1c13; color: #fff; padding: 2px 8px; }
td { border: 1px solid #d0b070; padding: 2px 8px; }
ul { margin: 4px 8px 8px 24px; padding: 0; }
li { margin: 2px 0; }
.date { color: #999; }
</style></head><body>
<div class="head"><img src="/pictures/header.bmp" width="400" height="60" alt="Trebbin"></div>
<div class="who">玩家：)" +
         Escape(q["user"]) + "　票据：" + Escape(q["ticket"]) + R"(</div>
<h3>门派排行</h3>
<table>
<tr><th>门派</th><th>积分</th><th>称号</th></tr>
<tr><td>第1门派</td><td>0 - 999</td><td>新手</td></tr>
<tr><td>第2门派</td><td>1000 - 4999</td><td>高手</td></tr>
<tr><td>第3门派</td><td>5000 以上</td><td>大师</td></tr>
</table>
<h3>最新消息</h3>
<ul>
<li>今晚八点开放新牌桌，欢迎参加。<span class="date">12-11</span></li>
<li>三局一轮的比赛已经开始，前三名有奖励。<span class="date">12-10</span></li>
<li>请文明游戏，不要在聊天中透露牌情。<span class="date">12-09</span></li>
</ul>
</body></html>)";
}

// The notice of the server's tip window, in GBK as such pages are: its title, a picture, the
// text and a link that closes the window.
std::string TipPage() {
  return "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">"
         "<title>\xCF\xB5\xCD\xB3\xB9\xAB\xB8\xE6</title></head>"  // 系统公告
         "<body style=\"margin:8px;background:#fffbe6;font-size:12px\">"
         "<table><tr><td><img src=\"/pictures/notice.bmp\" width=\"48\" height=\"48\"></td><td>"
         "<h3 style=\"color:#b22222\">\xCF\xB5\xCD\xB3\xB9\xAB\xB8\xE6</h3></td></tr></table>"
         // 今晚八点起服务器维护三十分钟，请提前结束牌局。
         "<p>\xBD\xF1\xCD\xED\xB0\xCB\xB5\xE3\xC6\xF0\xB7\xFE\xCE\xF1\xC6\xF7\xCE\xAC\xBB\xA4\xC8\xFD\xCA\xAE\xB7\xD6"
         "\xD6\xD3\xA3\xAC\xC7\xEB\xCC\xE1\xC7\xB0\xBD\xE1\xCA\xF8\xC5\xC6\xBE\xD6\xA1\xA3</p>"
         "<p align=\"right\"><a href=\"javascript:window.close()\">\xB9\xD8\xB1\xD5</a></p>"  // 关闭
         "</body></html>";
}

// A 24-bit BMP of w x h pixels, each from `colour(x, y)` as 0xRRGGBB.
template <typename F>
std::string Bitmap(int w, int h, F colour) {
  const int stride = (w * 3 + 3) & ~3;
  std::string b(54 + size_t(stride) * h, '\0');
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = char((v >> (8 * i)) & 0xFF);
  };
  b[0] = 'B';
  b[1] = 'M';
  put32(2, uint32_t(b.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, uint32_t(w));
  put32(22, uint32_t(h));
  b[26] = 1;
  b[28] = 24;
  put32(34, uint32_t(stride) * h);
  for (int y = 0; y < h; ++y) {
    char* row = &b[54 + size_t(stride) * (h - 1 - y)];
    for (int x = 0; x < w; ++x) {
      uint32_t c = colour(x, y);
      row[3 * x] = char(c & 0xFF);
      row[3 * x + 1] = char((c >> 8) & 0xFF);
      row[3 * x + 2] = char((c >> 16) & 0xFF);
    }
  }
  return b;
}

// The panel's header: dark red fading to gold, with a row of card-like white boxes.
std::string HeaderPicture() {
  return Bitmap(400, 60, [](int x, int y) -> uint32_t {
    const int card = (x - 250) / 26;
    if (x >= 250 && card < 5 && (x - 250) % 26 < 22 && y >= 12 && y < 48)
      return (x - 250) % 26 == 0 ? 0x808080 : 0xFFFFFF;
    const uint32_t r = 140 + 100 * x / 400, g = 28 + 160 * x / 400, b = 19 + 40 * x / 400;
    return (r << 16) | (g << 8) | b;
  });
}

// The notice's picture: an orange disc with a white bar and dot (an exclamation mark).
std::string NoticePicture() {
  return Bitmap(48, 48, [](int x, int y) -> uint32_t {
    const int dx = x - 24, dy = y - 24;
    if (dx * dx + dy * dy > 22 * 22) return 0xFFFBE6;
    if (dx >= -3 && dx <= 3 && ((y >= 9 && y <= 29) || (y >= 34 && y <= 39))) return 0xFFFFFF;
    return 0xE8801A;
  });
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

bool SendAll(int fd, const char* data, size_t size) {
  size_t sent = 0;
  while (sent < size) {
    ssize_t n = send(fd, data + sent, size - sent, MSG_NOSIGNAL);
    if (n <= 0) return false;
    sent += size_t(n);
  }
  return true;
}

void Reply(int fd, const std::string& type, const std::string& body, int status = 200) {
  std::string head = "HTTP/1.0 " + std::to_string(status) + (status == 200 ? " OK" : " Not Found") +
                     "\r\nContent-Type: " + type + "\r\nContent-Length: " + std::to_string(body.size()) +
                     "\r\nConnection: close\r\n\r\n";
  if (SendAll(fd, head.data(), head.size())) SendAll(fd, body.data(), body.size());
}

// A file of the help folder: "/help" is its page, "/help/images/x.png" a picture. Names are
// letters, digits, '.', '-' and '_' only (no way out of the folder).
bool HelpFile(const std::string& target, std::string* type, std::string* body) {
  std::string path = target.substr(0, target.find_first_of("?#"));
  std::string rel = path == "/help" || path == "/help/" ? "Help.htm" : path.substr(6);
  if (rel.empty() || rel.size() > 64 || rel[0] == '.' || rel.find("..") != std::string::npos) return false;
  for (char c : rel)
    if (!std::isalnum((unsigned char)c) && c != '.' && c != '-' && c != '_' && c != '/') return false;
  std::ifstream in(std::string(VESK_HELP_DIR) + "/" + rel, std::ios::binary);
  if (!in) return false;
  body->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  const std::string ext = rel.substr(rel.find_last_of('.') + 1);
  *type = ext == "png" ? "image/png" : ext == "bmp" ? "image/bmp" : "text/html";
  return true;
}

// Paragraphs until the reader closes the connection (or ten minutes pass).
void Endless(int fd) {
  const std::string head =
      "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nConnection: close\r\n\r\n"
      "<html><head><title>Endless</title></head><body><p>The start of a page that never ends.</p>";
  if (!SendAll(fd, head.data(), head.size())) return;
  for (int i = 0; i < 12000; ++i) {
    const std::string part = "<p>Paragraph " + std::to_string(i) + "</p>\n";
    if (!SendAll(fd, part.data(), part.size())) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

// 50 MB of page, sent as fast as it is read.
void Huge(int fd) {
  const size_t total = 50u << 20;
  const std::string head = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nContent-Length: " + std::to_string(total) +
                           "\r\nConnection: close\r\n\r\n";
  std::string start = "<html><head><title>Huge</title></head><body><p>The start of a page of fifty megabytes.</p>";
  std::string part(64 * 1024, 'x');
  for (size_t i = 0; i < part.size(); i += 64) part.replace(i, 7, "<p>row ");
  if (!SendAll(fd, head.data(), head.size()) || !SendAll(fd, start.data(), start.size())) return;
  for (size_t sent = start.size(); sent < total; sent += part.size())
    if (!SendAll(fd, part.data(), std::min(part.size(), total - sent))) return;
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
  Log(line);
  size_t sp1 = line.find(' '), sp2 = line.rfind(' ');
  std::string target = sp1 != std::string::npos && sp2 > sp1 ? line.substr(sp1 + 1, sp2 - sp1 - 1) : "/";
  auto is = [&](const char* prefix) { return target.compare(0, std::strlen(prefix), prefix) == 0; };
  std::string type, body;
  if (is("/tiers")) {
    Reply(fd, "application/json", TierReply(target));
  } else if (is("/panel")) {
    Reply(fd, "text/html; charset=utf-8", PanelPage(target));
  } else if (is("/tip")) {
    Reply(fd, "text/html", TipPage());
  } else if (is("/pictures/header.bmp")) {
    Reply(fd, "image/bmp", HeaderPicture());
  } else if (is("/pictures/notice.bmp")) {
    Reply(fd, "image/bmp", NoticePicture());
  } else if (is("/help")) {
    if (HelpFile(target, &type, &body))
      Reply(fd, type, body);
    else
      Reply(fd, "text/html", "<html><body>Not found</body></html>", 404);
  } else if (is("/endless")) {
    Endless(fd);
  } else if (is("/huge")) {
    Huge(fd);
  } else {
    Reply(fd, "text/html", "<html><body>OK</body></html>");
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
    if (fd >= 0) std::thread(Serve, fd).detach();
  }
  return 0;
}
