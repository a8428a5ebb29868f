// The services' portable rules: log line, ticket body and reply, tier address and reply,
// the ticker's queue and timer motion.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "ServicesCore.h"

namespace {

std::vector<uint8_t> Reply(uint32_t id, uint32_t status, const std::vector<uint8_t>& body, int lengthDelta = 0) {
  std::vector<uint8_t> f(12);
  uint32_t words[3] = {id, uint32_t(int(body.size()) + lengthDelta), status};
  for (int w = 0; w < 3; ++w)
    for (int b = 0; b < 4; ++b) f[w * 4 + b] = uint8_t(words[w] >> (8 * b));
  f.insert(f.end(), body.begin(), body.end());
  return f;
}

TEST(LogLine, FormatAndCut) {
  EXPECT_EQ(FormatLogLine("12/10/26", "14:05:09", 0x1a2b, 7, "hello"), "12/10/26 14:05:09 00001a2b:7 hello\n");
  std::string longMsg(3000, 'x');
  std::string line = FormatLogLine("d", "t", 1, 1, longMsg);
  EXPECT_EQ(line, "d t 00000001:1 " + std::string(LOG_MESSAGE_MAX, 'x') + "\n");
}

TEST(TicketRequest, BodyCutsAndZeroFills) {
  std::string user(40, 'u'), text(300, 't');
  auto body = BuildUserQueryBody(user.c_str(), text.c_str());
  ASSERT_EQ(body.size(), 148u);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(body.data())), std::string(19, 'u'));
  EXPECT_EQ(std::string(reinterpret_cast<char*>(body.data() + 20)), std::string(127, 't'));
  auto shortBody = BuildUserQueryBody("bob", nullptr);
  EXPECT_EQ(std::memcmp(shortBody.data(), "bob\0\0", 5), 0);
  for (size_t i = 20; i < 148; ++i) EXPECT_EQ(shortBody[i], 0) << i;
}

TEST(TicketReply, Cases) {
  const std::vector<uint8_t> good = {0x39, 0x30, 0, 0, 'a', 'b', 'c', 0, 'z'};
  struct Case {
    const char* what;
    std::vector<uint8_t> frame;
    int code;
    int ticket;
    const char* text;
  } cases[] = {
      {"ok", Reply(0x8000065B, 1, good), TICKET_OK, 12345, "abc"},
      {"status 2", Reply(0x8000065B, 2, good), TICKET_BAD_REPLY, 0, ""},
      {"not a reply id", Reply(0x65B, 1, good), TICKET_BAD_REPLY, 0, ""},
      {"length beyond the bytes", Reply(0x8000065B, 1, good, 1), TICKET_BAD_REPLY, 0, ""},
      {"body without the value", Reply(0x8000065B, 1, {1, 2}), TICKET_BAD_REPLY, 0, ""},
      {"value only", Reply(0x8000065B, 1, {7, 0, 0, 0}), TICKET_OK, 7, ""},
      {"text without its NUL stays in the body", Reply(0x8000065B, 1, {1, 0, 0, 0, 'x', 'y'}), TICKET_OK, 1, "xy"},
      {"header only", {0, 0, 0, 0x80, 0, 0}, TICKET_BAD_REPLY, 0, ""},
  };
  for (const auto& c : cases) {
    TICKET_RESULT r;
    EXPECT_EQ(ParseTicketReply(c.frame.data(), c.frame.size(), &r), c.code) << c.what;
    EXPECT_EQ(r.nTicket, c.ticket) << c.what;
    EXPECT_EQ(r.strTicket, c.text) << c.what;
  }
  EXPECT_EQ(ParseTicketReply(nullptr, 0, nullptr), TICKET_BAD_REPLY);
}

TEST(TierUrl, NamesOrderEncodingAndTemplate) {
  EXPECT_EQ(JoinTierNames({"a", "b", "c"}), "b,c,a");
  EXPECT_EQ(JoinTierNames({"a", "b", "c", "d"}), "b,c,a,d");
  EXPECT_EQ(UrlEncode("Az09-._~"), "Az09-._~");
  EXPECT_EQ(UrlEncode("a b,c"), "a+b%2Cc");
  // A Chinese name goes as its UTF-8 bytes.
  EXPECT_EQ(UrlEncode("\xE5\xBC\xA0"), "%E5%BC%A0");
  EXPECT_EQ(BuildTierUrl("http://h/q?u=%usernames%&again=%usernames%", "x%2Cy"), "http://h/q?u=x%2Cy&again=x%2Cy");
  EXPECT_EQ(BuildTierUrl("http://h/fixed", "x"), "http://h/fixed");
  // A replacement holding the placeholder is not replaced again.
  EXPECT_EQ(ReplaceAll("%a%", "%a%", "%a%%a%"), "%a%%a%");
}

TEST(TierUrl, SplitUrl) {
  struct Case {
    const char* url;
    bool ok;
    const char* host;
    const char* page;
    int port;
  } cases[] = {
      {"http://tier.example:8080/api/q?x=1", true, "tier.example", "/api/q?x=1", 8080},
      {"tier.example/a", true, "tier.example", "/a", 80},
      {"http://127.0.0.1", true, "127.0.0.1", "/", 80},
      {"http://h:0/a", false, "", "", 0},
      {"http://h:99999/a", false, "", "", 0},
      {"http:///a", false, "", "", 0},
      {"", false, "", "", 0},
  };
  for (const auto& c : cases) {
    std::string host, page;
    int port = 0;
    EXPECT_EQ(SplitUrl(c.url, &host, &page, &port), c.ok) << c.url;
    if (!c.ok) continue;
    EXPECT_EQ(host, c.host) << c.url;
    EXPECT_EQ(page, c.page) << c.url;
    EXPECT_EQ(port, c.port) << c.url;
  }
}

TEST(Json, ParsesWithCommentsAndRejectsJunk) {
  JsonValue v;
  ASSERT_TRUE(ParseJson("// head\n{\"a\": [1, 2.5e1, true, null, \"x\\u00e9\\n\"], /* c */ \"b\": {}}", &v));
  ASSERT_EQ(v.type, JsonValue::kObject);
  const JsonValue* a = v.Find("a");
  ASSERT_TRUE(a && a->type == JsonValue::kArray && a->items.size() == 5);
  EXPECT_EQ(a->items[1].number, 25);
  EXPECT_EQ(a->items[4].text, "x\xC3\xA9\n");
  for (const char* bad :
       {"", "{", "{\"a\":}", "[1,]", "{\"a\" 1}", "tru", "\"open", "/* open", "{} x", "-", "1.", "[\"\\q\"]"})
    EXPECT_FALSE(ParseJson(bad, &v)) << bad;
  std::string deep(100, '[');
  EXPECT_FALSE(ParseJson(deep + std::string(100, ']'), &v));
}

std::vector<TIER_MATCH> Interpret(const std::string& reply, const std::vector<std::string>& names, bool* ok) {
  JsonValue v;
  std::vector<TIER_MATCH> m;
  *ok = ParseJson(reply, &v) && InterpretTierReply(v, names, &m);
  return m;
}

TEST(TierReply, Cases) {
  const std::vector<std::string> seats = {"west", "me", "east"};
  struct Case {
    const char* what;
    const char* reply;
    bool ok;
    std::vector<std::pair<int, int>> tiers;  // position, tier
  } cases[] = {
      {"matches by name",
       R"({"code":0,"data":[{"username":"east","levels":5},{"username":"me","levels":"x"},{"username":"west","levels":2.9}]})",
       true,
       {{2, 5}, {1, 0}, {0, 2}}},
      {"code 1 changes nothing", R"({"code":1,"data":[{"username":"me","levels":3}]})", false, {}},
      {"code as text", R"({"code":"0","data":[{"username":"me","levels":3}]})", false, {}},
      {"a name not at the table", R"({"code":0,"data":[{"username":"ghost","levels":3}]})", true, {}},
      {"missing code reads as 0", R"({"data":[{"username":"me","levels":4}]})", true, {{1, 4}}},
      {"data not an array", R"({"code":0,"data":{"username":"me"}})", true, {}},
      {"junk elements are skipped",
       R"({"code":0,"data":[1,"me",{"username":7},{"username":"me","levels":-3},{"username":"east","levels":1}]})",
       true,
       {{1, 0}, {2, 1}}},
      {"not an object", R"([{"code":0}])", false, {}},
  };
  for (const auto& c : cases) {
    bool ok;
    auto m = Interpret(c.reply, seats, &ok);
    EXPECT_EQ(ok, c.ok) << c.what;
    std::vector<std::pair<int, int>> got;
    for (auto& x : m) got.emplace_back(x.nPosition, x.nTier);
    EXPECT_EQ(got, c.tiers) << c.what;
  }
  // An empty seat never matches an empty name.
  bool ok;
  EXPECT_TRUE(Interpret(R"({"code":0,"data":[{"username":"","levels":3}]})", {"", "me", ""}, &ok).empty());
}

TEST(TickerText, CutsWithoutSplittingPairs) {
  std::string ascii(2000, 'a');
  EXPECT_EQ(CutTickerText(ascii.c_str(), ascii.size()).size(), TICKER_TEXT_MAX);
  std::string gbk;
  for (int i = 0; i < 600; ++i) gbk += "\xC8\xB7";
  EXPECT_EQ(CutTickerText(gbk.c_str(), gbk.size()).size(), 1022u);
  EXPECT_EQ(CutTickerText("ab\0cd", 5), "ab");
  EXPECT_EQ(CutTickerText("abcdef", 3), "abc");
  EXPECT_EQ(CutTickerText(nullptr, 3), "");
}

// Runs the motion until it is waiting again, counting elapses of each timer.
struct MotionRun {
  std::vector<int> timers;
  int maxHeight = 0;
  int closesBetweenLines = 0;
};
MotionRun RunUntilClosed(CTickerMotion& m, CTickerQueue& q) {
  MotionRun r;
  int guard = 100000;
  do {
    r.timers.push_back(m.ActiveTimer());
    int before = m.ActiveTimer();
    m.Tick(q);
    if (before == CTickerMotion::TIMER_SCROLL && m.ActiveTimer() == CTickerMotion::TIMER_CLOSE) ++r.closesBetweenLines;
    r.maxHeight = std::max(r.maxHeight, m.WindowHeight());
  } while (m.ActiveTimer() != CTickerMotion::TIMER_WAIT && --guard);
  return r;
}

TEST(TickerMotion, EmptyQueueStaysClosed) {
  CTickerMotion m(300, 20);
  CTickerQueue q;
  for (int i = 0; i < 10; ++i) EXPECT_EQ(m.Tick(q), CTickerMotion::TIMER_WAIT);
  EXPECT_EQ(m.WindowHeight(), 0);
}

TEST(TickerMotion, OpensScrollsAndCloses) {
  CTickerMotion m(300, 20);
  CTickerQueue q;
  q.Add({"one", 50, 12});
  EXPECT_EQ(m.Tick(q), CTickerMotion::TIMER_OPEN);
  // Opening heights follow step^2/2 + step: 1, 4, 7, 12, 17, then the full 20.
  std::vector<int> heights;
  while (m.ActiveTimer() == CTickerMotion::TIMER_OPEN) {
    m.Tick(q);
    heights.push_back(m.WindowHeight());
  }
  EXPECT_EQ(heights, (std::vector<int>{1, 4, 7, 12, 17, 20}));
  EXPECT_EQ(m.LineY(), 4);
  // The line is on the strip for width + line width elapses.
  int scrolls = 0;
  while (m.ActiveTimer() == CTickerMotion::TIMER_SCROLL) {
    m.Tick(q);
    ++scrolls;
    if (scrolls == 1) {
      EXPECT_EQ(m.LineX(), 299);
    }
  }
  EXPECT_EQ(scrolls, 350);
  EXPECT_FALSE(m.HasLine());
  std::vector<int> closing;
  while (m.ActiveTimer() == CTickerMotion::TIMER_CLOSE) {
    m.Tick(q);
    closing.push_back(m.WindowHeight());
  }
  EXPECT_EQ(closing, (std::vector<int>{17, 12, 7, 4, 1, 0}));
}

TEST(TickerMotion, QueuedLinesScrollWithoutClosing) {
  CTickerMotion m(100, 10);
  CTickerQueue q;
  q.Add({"one", 30, 8});
  q.Add({"two", 40, 8});
  MotionRun r = RunUntilClosed(m, q);
  EXPECT_EQ(r.closesBetweenLines, 1);
  EXPECT_EQ(std::count(r.timers.begin(), r.timers.end(), int(CTickerMotion::TIMER_SCROLL)), 130 + 140);
  EXPECT_EQ(r.maxHeight, 10);
  EXPECT_EQ(q.Count(), 0u);
}

TEST(TickerQueue, AddFromManyThreads) {
  CTickerQueue q;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&q] {
      for (int i = 0; i < 250; ++i) q.Add({"x", 1, 1});
    });
  for (auto& t : threads) t.join();
  EXPECT_EQ(q.Count(), 1000u);
  TICKER_LINE l;
  int n = 0;
  while (q.Take(&l)) ++n;
  EXPECT_EQ(n, 1000);
}

}  // namespace
