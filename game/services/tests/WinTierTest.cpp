// The ranked-tier query under Wine: WinINet against a small HTTP peer on 127.0.0.1 that
// records each request and answers from a canned reply.
#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <fstream>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "HttpClient.h"
#include "LogFile.h"
#include "TierQuery.h"

namespace {

class HttpPeer {
 public:
  explicit HttpPeer(std::string reply) : m_reply(std::move(reply)) {
    WSADATA d;
    ::WSAStartup(MAKEWORD(2, 2), &d);
    m_listen = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(m_listen, reinterpret_cast<sockaddr*>(&a), sizeof a);
    int len = sizeof a;
    ::getsockname(m_listen, reinterpret_cast<sockaddr*>(&a), &len);
    m_port = ntohs(a.sin_port);
    ::listen(m_listen, 4);
    m_thread = std::thread([this] { Serve(); });
  }
  ~HttpPeer() {
    m_stop = true;
    ::closesocket(m_listen);
    m_thread.join();
  }
  int Port() const { return m_port; }
  std::vector<std::string> Requests() {
    std::lock_guard<std::mutex> g(m_lock);
    return m_requests;
  }

 private:
  void Serve() {
    while (!m_stop) {
      SOCKET c = ::accept(m_listen, nullptr, nullptr);
      if (c == INVALID_SOCKET) return;
      std::string req;
      char buf[2048];
      while (req.find("\r\n\r\n") == std::string::npos) {
        int n = ::recv(c, buf, sizeof buf, 0);
        if (n <= 0) break;
        req.append(buf, size_t(n));
      }
      {
        std::lock_guard<std::mutex> g(m_lock);
        m_requests.push_back(req.substr(0, req.find("\r\n")));
      }
      ::send(c, m_reply.data(), int(m_reply.size()), 0);
      ::shutdown(c, SD_BOTH);
      ::closesocket(c);
    }
  }
  std::string m_reply;
  SOCKET m_listen;
  int m_port = 0;
  std::atomic<bool> m_stop{false};
  std::thread m_thread;
  std::mutex m_lock;
  std::vector<std::string> m_requests;
};

std::string Ok(const std::string& body) {
  return "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: " + std::to_string(body.size()) +
         "\r\nConnection: close\r\n\r\n" + body;
}

std::string Url(int port, const char* rest) { return "http://127.0.0.1:" + std::to_string(port) + rest; }

TEST(HttpClient, GetsTheBodyAndFailsOnStatus) {
  HttpPeer ok(Ok("{\"a\":\"\xE4\xB8\xAD\"}"));  // UTF-8 "中"
  CHttpClient c;
  std::string reply;
  ASSERT_TRUE(c.Request(Url(ok.Port(), "/q?x=1").c_str(), FALSE, nullptr, nullptr, &reply)) << c.GetLastHttpError();
  EXPECT_EQ(reply, "{\"a\":\"\xD6\xD0\"}");  // in code page 936
  c.Close();
  ASSERT_EQ(ok.Requests().size(), 1u);
  EXPECT_EQ(ok.Requests()[0], "GET /q?x=1 HTTP/1.1");

  HttpPeer missing("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
  EXPECT_FALSE(c.Request(Url(missing.Port(), "/q").c_str(), FALSE, nullptr, nullptr, &reply));
  EXPECT_EQ(c.GetLastHttpError(), HTTP_ERR_NOT_FOUND);
  // "404" in another header is not a failure.
  HttpPeer length404("HTTP/1.1 200 OK\r\nX-Count: 404\r\nContent-Length: 2\r\nConnection: close\r\n\r\nok");
  EXPECT_TRUE(c.Request(Url(length404.Port(), "/").c_str(), FALSE, nullptr, nullptr, &reply));
  EXPECT_EQ(reply, "ok");
  EXPECT_FALSE(c.Request("http://:80/x", FALSE, nullptr, nullptr, &reply));
  EXPECT_EQ(c.GetLastHttpError(), HTTP_ERR_SETUP);
}

struct TierFixture : ::testing::Test {
  std::shared_ptr<CTierTable> tablePtr = std::make_shared<CTierTable>();
  CTierTable& table = *tablePtr;
  CLogFile log;
  std::string logPath;
  void SetUp() override {
    char dir[MAX_PATH];
    ::GetCurrentDirectoryA(MAX_PATH, dir);
    logPath = std::string(dir) + "\\tier_log.txt";
    ::DeleteFileA(logPath.c_str());
    log.SetPath(logPath.c_str());
    log.Open();
  }
  TIER_QUERY Query(const std::string& tmpl, std::vector<std::string> names) {
    TIER_QUERY q;
    q.strTemplate = tmpl;
    q.seatNames = std::move(names);
    q.pTable = tablePtr;
    q.pLog = &log;
    q.nGeneration = table.Clear();
    return q;
  }
  std::string Log() {
    log.Close();
    std::ifstream f(logPath, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
  }
};

TEST_F(TierFixture, QueryAsksForTheNamesAndWritesTiers) {
  // A Chinese name (GBK "张") goes as its UTF-8 bytes, a blank as "+".
  HttpPeer peer(
      Ok("/* tiers */ {\"code\":0,\"data\":[{\"username\":\"\xE5\xBC\xA0\",\"levels\":6},"
         "{\"username\":\"me too\",\"levels\":3},{\"username\":\"ghost\",\"levels\":9}]}"));
  TIER_QUERY q = Query(Url(peer.Port(), "/rank?names=%usernames%&v=1"), {"\xD5\xC5", "me too", "east"});
  QueryPlayerTiers(q);
  ASSERT_EQ(peer.Requests().size(), 1u);
  EXPECT_EQ(peer.Requests()[0], "GET /rank?names=me+too%2Ceast%2C%E5%BC%A0&v=1 HTTP/1.1");
  EXPECT_EQ(table.Get(0), 6);
  EXPECT_EQ(table.Get(1), 3);
  EXPECT_EQ(table.Get(2), 0);
  std::string text = Log();
  EXPECT_NE(text.find("Trebbin\xC7\xEB\xC7\xF3\xB1\xEA\xD6\xBE\xC1\xAC\xBD\xD3 http://127.0.0.1"), std::string::npos);
  EXPECT_NE(text.find("strPlayerName = \xD5\xC5 \xB5\xB1\xC7\xB0\xB6\xCE\xCE\xBB m_nPlayerOrder = 6 "),
            std::string::npos);
}

TEST_F(TierFixture, RepliesThatChangeNothing) {
  const char* replies[] = {
      "{\"code\":1,\"data\":[{\"username\":\"me\",\"levels\":3}]}",
      "{\"code\":0,\"data\":[{\"username\":\"nobody\",\"levels\":3}]}",
      "{\"code\":0,\"data\":[{\"username\":\"me\",",
      "not json at all",
      "",
  };
  for (const char* r : replies) {
    TIER_QUERY q = Query("x", {"west", "me", "east"});
    EXPECT_EQ(ParseTierReply(r, q), 0) << r;
    for (int p = 0; p < 4; ++p) EXPECT_EQ(table.Get(p), 0) << r;
  }
}

TEST_F(TierFixture, FourPlayersAndStaleQueries) {
  TIER_QUERY old = Query("x", {"a", "b", "c", "d"});
  EXPECT_EQ(BuildTierQueryUrl("u=%usernames%", old.seatNames), "u=b%2Cc%2Ca%2Cd");
  EXPECT_EQ(BuildTierQueryUrl("http://h/fixed", old.seatNames), "http://h/fixed");
  TIER_QUERY now = Query("x", {"a", "b", "c", "d"});
  const char* reply = "{\"code\":0,\"data\":[{\"username\":\"d\",\"levels\":4}]}";
  // A reply of the previous deal's query arrives after the next deal started: dropped.
  EXPECT_EQ(ParseTierReply(reply, old), 0);
  EXPECT_EQ(table.Get(3), 0);
  // The view is repainted after a reply it can use.
  HWND view =
      ::CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
  ::ValidateRect(view, nullptr);
  now.hView = view;
  EXPECT_EQ(ParseTierReply(reply, now), 1);
  EXPECT_EQ(table.Get(3), 4);
  RECT dirty;
  EXPECT_TRUE(::GetUpdateRect(view, &dirty, FALSE));
  ::DestroyWindow(view);
}

TEST_F(TierFixture, WorkerThreadAndFailedRequests) {
  HttpPeer peer(Ok("{\"code\":0,\"data\":[{\"username\":\"east\",\"levels\":2}]}"));
  ASSERT_TRUE(StartTierQuery(Url(peer.Port(), "/r?u=%usernames%"), {"west", "me", "east"}, tablePtr, &log, nullptr));
  for (int i = 0; i < 200 && table.Get(2) == 0; ++i) ::Sleep(25);
  EXPECT_EQ(table.Get(2), 2);
  // Empty template: no request at all; a dead port: the tiers stay 0.
  ASSERT_TRUE(StartTierQuery("", {"west", "me", "east"}, tablePtr, &log, nullptr));
  EXPECT_EQ(table.Get(2), 0);
  TIER_QUERY dead = Query("http://127.0.0.1:1/r?u=%usernames%", {"west", "me", "east"});
  QueryPlayerTiers(dead);
  EXPECT_EQ(table.Get(2), 0);
  ::Sleep(100);
  EXPECT_EQ(peer.Requests().size(), 1u);
}

}  // namespace
