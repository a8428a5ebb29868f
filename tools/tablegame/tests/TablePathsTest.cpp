// The table's paths besides plain play, each through loopback clients that speak the bytes:
// leaving (by trusteeship, by the others' consent, anyway), trusteeship with its counts and
// limit, watchers, series numbers, complaints, the speed probe and refused logins.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>

#include "GameMessages.h"
#include "LoopbackNet.h"
#include "NetFrame.h"
#include "SystemMessages.h"
#include "TableBodies.h"
#include "TableSession.h"

using namespace tablegame;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Words(std::initializer_list<uint32_t> words) {
  Bytes b;
  for (uint32_t v : words)
    for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i)));
  return b;
}

uint32_t Word(const Bytes& b, size_t at) {
  if (b.size() < at + 4) return 0xDEADBEEF;
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (uint32_t(b[at + 3]) << 24);
}

Bytes Name(const char* name) {
  Bytes b(20, 0);
  std::memcpy(b.data(), name, std::strlen(name));
  return b;
}

struct Got {
  uint32_t id = 0, status = 0;
  Bytes body;
};

// One client at the table.
struct Peer {
  peers::CLoopbackClient c;
  std::vector<Got> seen;  // every frame read so far

  bool Send(uint32_t id, const Bytes& body) { return c.SendFrame(netcore::BuildFrame(id, body.data(), body.size())); }
  // Logs in; the reply's status (0 when none came).
  uint32_t Login(uint16_t port, const char* user, uint16_t seat, sysmsg::LoginReply* reply = nullptr) {
    if (!c.Connect(port)) return 0;
    auto body = sysmsg::BuildLoginBody(user, "key", "room", 0, seat);
    Send(sysmsg::MSG_LOGIN, body);
    auto r = Until(sysmsg::MSG_LOGIN_REPLY);
    if (!r) return 0;
    if (reply) *reply = sysmsg::ParseLoginReply(r->status, r->body.data(), r->body.size());
    return r->status;
  }
  // Reads frames until one with `id` (and a body word `word` at `at`, when given) arrives.
  std::optional<Got> Until(uint32_t id, int maxFrames = 3000, std::optional<std::pair<size_t, uint32_t>> word = {}) {
    std::vector<uint8_t> f;
    for (int i = 0; i < maxFrames && c.ReadFrame(&f); ++i) {
      netcore::NET_MSG_HEADER h;
      netcore::DecodeHeader(f.data(), f.size(), &h);
      Got g{h.id, h.status, Bytes(f.begin() + long(netcore::HeaderSizeForId(h.id)), f.end())};
      seen.push_back(g);
      if (g.id == id && (!word || Word(g.body, word->first) == word->second)) return g;
    }
    return std::nullopt;
  }
  bool Saw(uint32_t id) const {
    for (const Got& g : seen)
      if (g.id == id) return true;
    return false;
  }
  void Ready(uint32_t seat) {
    Bytes b = Words({seat});
    b.resize(48, 0);
    Bytes allow = Words({1});
    b.insert(b.end(), allow.begin(), allow.end());
    Send(MSG_READY, b);
  }
  void Trust(uint32_t mode, const char* name) {
    Bytes b = Words({mode});
    Bytes n = Name(name);
    b.insert(b.end(), n.begin(), n.end());
    Send(MSG_TRUSTEESHIP, b);
  }
};

// A table on a loopback port with bots in the free seats.
struct Table {
  peers::CTableServer server;
  TableSession session;
  explicit Table(SessionOptions opt) : server(Opts()), session(server, Fill(opt)) {
    session.Install();
    EXPECT_TRUE(server.Start());
  }
  // The serving thread calls into the session: it stops first.
  ~Table() { server.Stop(); }
  static peers::TableServerOptions Opts() {
    peers::TableServerOptions so;
    so.maxSeconds = 60;
    return so;
  }
  static SessionOptions Fill(SessionOptions o) {
    if (o.seed == 1) o.seed = 7;
    return o;
  }
  uint16_t Port() const { return server.Port(); }
  bool Logged(const std::string& text) { return server.WaitForLog(text, 5000); }
};

// The status word of the last MSG_TRUSTEESHIP_RESULT read, its mode, times and limit.
struct TrustResult {
  uint32_t status, mode, times, limit;
};
std::optional<TrustResult> NextTrustResult(Peer& p) {
  auto g = p.Until(sysmsg::MSG_TRUSTEESHIP_RESULT);
  if (!g || g->body.size() < 4) return std::nullopt;
  return TrustResult{g->status, uint32_t(g->body[0] | g->body[1] << 8), g->body[2], g->body[3]};
}

}  // namespace

// Closing between hands and during one: the connection-ended word is 1 before the first deal,
// 0 while the hand runs and 1 again at its end; quiet close stays on outside a series.
TEST(TablePathsTest, ConnectionEndedWordFollowsTheHand) {
  Table t({});
  Peer a;
  ASSERT_EQ(a.Login(t.Port(), "alice", 1), 1u);
  auto before = a.Until(sysmsg::MSG_SET_STATE557);
  ASSERT_TRUE(before);
  EXPECT_EQ(Word(before->body, 0), 1u);
  a.Ready(1);
  auto during = a.Until(sysmsg::MSG_SET_STATE557);
  ASSERT_TRUE(during);
  EXPECT_EQ(Word(during->body, 0), 0u);
  ASSERT_TRUE(a.Until(MSG_DEAL)) << "the word goes out before the deal";
  a.Trust(1, "alice");
  ASSERT_TRUE(a.Until(MSG_HAND_OVER));
  auto after = a.Until(sysmsg::MSG_SET_STATE557);
  ASSERT_TRUE(after);
  EXPECT_EQ(Word(after->body, 0), 1u);
  auto quiet = a.Until(MSG_ASK_WATCH_PERMISSION);
  ASSERT_TRUE(quiet);
  EXPECT_EQ(Word(quiet->body, 0), 1u) << "no series: leaving between hands costs nobody anything";
}

// Leave by trusteeship: granted with the name when the table allows trusteeship, refused
// otherwise; a granted seat is played by a bot once the client is gone.
TEST(TablePathsTest, TrustExitIsGrantedOnlyWhereTrusteeshipIsAllowed) {
  for (uint32_t flags : {1u, 0u}) {
    SessionOptions o;
    o.optionFlags = flags;
    Table t(o);
    Peer a;
    ASSERT_EQ(a.Login(t.Port(), "alice", 1), 1u);
    a.Ready(1);
    ASSERT_TRUE(a.Until(MSG_DEAL));
    a.Send(sysmsg::MSG_TRUST_EXIT, Name("alice"));
    auto r = a.Until(sysmsg::MSG_TRUST_EXIT_RESULT);
    ASSERT_TRUE(r) << "flags " << flags;
    EXPECT_EQ(r->status, flags) << "granted (1) only with option bit 0";
    EXPECT_STREQ(reinterpret_cast<const char*>(r->body.data()), "alice");
    if (flags) {
      a.c.Close();
      EXPECT_TRUE(t.Logged("seat 1 alice left (trust exit), a bot plays it"));
      EXPECT_TRUE(t.server.WaitForLog("hand over 1", 10000)) << "the bot finishes the hand";
    } else {
      EXPECT_TRUE(t.Logged("trust exit refused: the table allows no trusteeship"));
    }
  }
}

// Asking the others during a hand: a person gets the request, a bot refuses at once (it wants
// the hand played out) and its refusal goes to the requester; leaving anyway after that is
// confirmed, the client is told to quit (action error 500) and the others hear the forced quit.
TEST(TablePathsTest, LeaveRequestDuringAHandIsRefusedByTheBot) {
  Table t({});
  Peer a, b;
  ASSERT_EQ(a.Login(t.Port(), "alice", 1), 1u);
  ASSERT_EQ(b.Login(t.Port(), "bob", 2), 1u);
  a.Ready(1);
  b.Ready(2);
  ASSERT_TRUE(a.Until(MSG_DEAL));
  ASSERT_TRUE(b.Until(MSG_DEAL));
  a.Send(MSG_LEAVE_REQUEST, Words({1, 0}));
  auto counts = a.Until(MSG_SEAT_VALUES);
  ASSERT_TRUE(counts);
  EXPECT_EQ(Word(counts->body, 4), 1u) << "alice's requests in this hand";
  auto asked = b.Until(MSG_LEAVE_REQUEST);
  ASSERT_TRUE(asked);
  EXPECT_EQ(Word(asked->body, 0), 1u);
  uint32_t value = Word(asked->body, 4);
  EXPECT_NE(value, 0u);
  auto refused = a.Until(MSG_LEAVE_ANSWER, 3000, std::make_pair(size_t(0), 0u));
  ASSERT_TRUE(refused);
  EXPECT_EQ(Word(refused->body, 4), value);
  EXPECT_EQ(Word(refused->body, 8), 0u);
  // Bob's late answer belongs to a closed request.
  b.Send(MSG_LEAVE_ANSWER, Words({2, value, 1}));
  EXPECT_TRUE(t.Logged("leave answer of bob to " + std::to_string(value) + " ignored"));

  a.Send(MSG_LEAVE_CONFIRM, Words({1, 0, 1}));
  auto quit = a.Until(MSG_ACTION_ERROR);
  ASSERT_TRUE(quit);
  EXPECT_EQ(quit->status, 1u);
  EXPECT_EQ(Word(quit->body, 0), 500u);
  a.Send(sysmsg::MSG_QUIT, {});
  auto fatal = b.Until(sysmsg::MSG_FATAL);
  ASSERT_TRUE(fatal);
  EXPECT_EQ(fatal->status, 1u);
  EXPECT_STREQ(reinterpret_cast<const char*>(fatal->body.data()), "alice");
  EXPECT_TRUE(t.Logged("seat 1 alice left (quit forced), a bot plays it"));
}

// Between hands of a series: a person's refusal closes the request with his name; asked
// again, everyone agrees (the last answer in the requester's own seat's name); the confirmed
// leave tells the client to quit, and its quit is the plain quit notice to the others.
TEST(TablePathsTest, LeaveRequestBetweenHandsIsAnsweredAndConfirmed) {
  SessionOptions o;
  o.series = 3;
  Table t(o);
  Peer a, b;
  ASSERT_EQ(a.Login(t.Port(), "alice", 1), 1u);
  ASSERT_EQ(b.Login(t.Port(), "bob", 2), 1u);
  a.Ready(1);
  b.Ready(2);
  ASSERT_TRUE(a.Until(MSG_DEAL));
  a.Trust(1, "alice");
  b.Trust(1, "bob");
  ASSERT_TRUE(a.Until(MSG_HAND_OVER));
  ASSERT_TRUE(b.Until(MSG_HAND_OVER));
  for (uint32_t bobSays : {0u, 1u}) {
    a.Send(MSG_LEAVE_REQUEST, Words({1, 0}));
    auto asked = b.Until(MSG_LEAVE_REQUEST);
    ASSERT_TRUE(asked);
    uint32_t value = Word(asked->body, 4);
    auto bot = a.Until(MSG_LEAVE_ANSWER, 3000, std::make_pair(size_t(0), 0u));
    ASSERT_TRUE(bot);
    EXPECT_EQ(Word(bot->body, 8), 1u) << "the bot lets alice go between hands";
    b.Send(MSG_LEAVE_ANSWER, Words({2, value, bobSays}));
    auto answer = a.Until(MSG_LEAVE_ANSWER, 3000, std::make_pair(size_t(0), bobSays ? 1u : 2u));
    ASSERT_TRUE(answer) << "bob says " << bobSays;
    EXPECT_EQ(Word(answer->body, 4), value);
    EXPECT_EQ(Word(answer->body, 8), bobSays);
    if (!bobSays) continue;
    a.Send(MSG_LEAVE_CONFIRM, Words({1, value, 0}));
    ASSERT_TRUE(a.Until(MSG_ACTION_ERROR));
    a.Send(sysmsg::MSG_QUIT, {});
    auto notice = b.Until(sysmsg::MSG_QUIT_NOTICE);
    ASSERT_TRUE(notice);
    EXPECT_STREQ(reinterpret_cast<const char*>(notice->body.data()), "alice");
  }
}

// Counts are real and the limit holds: with a limit of 2 the first trusteeship can be
// cancelled, the second lasts to the hand's end (refused with the counts), and the end is told.
TEST(TablePathsTest, TrusteeshipCountsAndLimit) {
  SessionOptions o;
  o.trustLimit = 2;
  Table t(o);
  Peer a, b;
  ASSERT_EQ(a.Login(t.Port(), "alice", 1), 1u);
  ASSERT_EQ(b.Login(t.Port(), "bob", 2), 1u);
  a.Trust(1, "alice");
  auto early = NextTrustResult(a);
  ASSERT_TRUE(early);
  EXPECT_EQ(early->status, 0u) << "no hand runs yet";
  EXPECT_EQ(early->times + early->limit, 0u);

  // Bob holds the hand up (he does not act) until alice's trusteeship has been tried out.
  a.Ready(1);
  b.Ready(2);
  ASSERT_TRUE(a.Until(MSG_DEAL));
  struct Step {
    uint32_t mode, status, times;
  } steps[] = {{1, 1, 1}, {0, 1, 1}, {2, 1, 2}, {0, 0, 2}};
  for (const Step& s : steps) {
    a.Trust(s.mode, "alice");
    auto r = NextTrustResult(a);
    ASSERT_TRUE(r) << "mode " << s.mode;
    EXPECT_EQ(r->status, s.status) << "mode " << s.mode << " times " << s.times;
    EXPECT_EQ(r->mode, s.mode);
    EXPECT_EQ(r->times, s.times);
    EXPECT_EQ(r->limit, 2u);
  }
  // The server finishes the hand and says that trusteeship ended with it.
  b.Trust(1, "bob");
  auto bobOn = NextTrustResult(a);
  ASSERT_TRUE(bobOn);
  EXPECT_EQ(bobOn->status, 1u) << "bob's grant, told to everyone";
  auto end = NextTrustResult(a);
  ASSERT_TRUE(end);
  EXPECT_EQ(end->status, 1u);
  EXPECT_EQ(end->mode, 0u);
  EXPECT_EQ(end->times, 2u);
  ASSERT_TRUE(a.Until(MSG_HAND_OVER)) << "the end is told before the result";
  // Cancelling outside trusteeship is refused without counts (the plain refusal text).
  a.Trust(0, "alice");
  auto plain = NextTrustResult(a);
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->status, 0u);
  EXPECT_EQ(plain->times + plain->limit, 0u);
}

// Watchers: seats 4 to 7 watch 0 to 3. The login reply holds the watch block; once the client
// is up it gets MSG_GAME_PROGRESS and the running hand from its deal on; two watchers of one
// seat both see it; game actions of a watcher are ignored; "allow watching" is relayed.
TEST(TablePathsTest, WatchersSeeTheRunningHand) {
  SessionOptions o;
  o.series = 3;
  Table t(o);
  Peer a, w1, w2;
  ASSERT_EQ(a.Login(t.Port(), "alice", 1), 1u);
  a.Ready(1);
  auto deal = a.Until(MSG_DEAL);
  ASSERT_TRUE(deal);
  for (Peer* w : {&w1, &w2}) {
    sysmsg::LoginReply reply;
    ASSERT_EQ(w->Login(t.Port(), w == &w1 ? "wendy" : "walt", 5, &reply), 1u);
    ASSERT_EQ(reply.watch.size(), 44u);
    EXPECT_EQ(Word(reply.watch, 0), 0u) << "the first series is series 0";
    EXPECT_EQ(Word(reply.watch, 4), 0u) << "no hand counted yet";
    // Frames keep their order: nothing of the table came before the probe's echo.
    w->Send(272, Words({1, 2}));
    ASSERT_TRUE(w->Until(272));
    EXPECT_FALSE(w->Saw(MSG_GAME_PROGRESS) || w->Saw(MSG_DEAL)) << "nothing before the client is up";
    w->Send(sysmsg::MSG_CLIENT_START, {});
    ASSERT_TRUE(w->Until(MSG_GAME_PROGRESS));
    auto seen = w->Until(MSG_DEAL);
    ASSERT_TRUE(seen);
    EXPECT_EQ(seen->body, deal->body) << "the watched seat's deal";
  }
  w1.Send(MSG_BID, Words({0xFFFFFFFF, 3, 0xFFFFFFFF, 0}));
  EXPECT_TRUE(t.Logged("game action of watcher"));
  a.Send(MSG_WATCH_PERMISSION, Words({1, 0, 0}));
  auto perm = w2.Until(MSG_WATCH_PERMISSION);
  ASSERT_TRUE(perm);
  EXPECT_EQ(Word(perm->body, 0), 1u);
  EXPECT_EQ(Word(perm->body, 4), 0u);
  EXPECT_EQ(perm->body.size(), 12 + size_t(Word(perm->body, 8)));
  EXPECT_EQ(Word(perm->body, 8), 17u) << "alice's cards";
  // Alice's hand ends in trusteeship; the watchers get the result too.
  a.Trust(1, "alice");
  auto over = w1.Until(MSG_HAND_OVER);
  ASSERT_TRUE(over);
  auto facts = bodies::ReadHandOver(over->body);
  ASSERT_TRUE(facts);
  EXPECT_EQ(facts->hand, 1);
  EXPECT_TRUE(w1.Saw(sysmsg::MSG_TRUSTEESHIP_RESULT));
  // A watcher may always close: its connection-ended word is never cleared.
  EXPECT_TRUE(w1.Saw(sysmsg::MSG_SET_STATE557));
  for (const Got& g : w1.seen) {
    if (g.id == sysmsg::MSG_SET_STATE557) {
      EXPECT_EQ(Word(g.body, 0), 1u);
    }
  }
}

// A series of two: the hand number counts within the series and the series' last hand
// leaves none counted for the next one; quiet close is off while a series is under way.
TEST(TablePathsTest, SeriesNumbersAndTotals) {
  SessionOptions o;
  o.series = 2;
  Table t(o);
  Peer a;
  ASSERT_EQ(a.Login(t.Port(), "alice", 1), 1u);
  struct Want {
    int hand;
    bool over;
    uint32_t seriesValue;  // the next series' value once one ends (the client takes it then)
    uint32_t quiet;
  } wants[] = {{1, false, 0, 0}, {0, true, 1, 1}};
  for (const Want& want : wants) {
    a.Ready(1);
    ASSERT_TRUE(a.Until(MSG_DEAL));
    a.Trust(1, "alice");
    auto over = a.Until(MSG_HAND_OVER);
    ASSERT_TRUE(over);
    auto f = bodies::ReadHandOver(over->body);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->hand, want.hand);
    EXPECT_EQ(f->seriesOver, want.over);
    EXPECT_EQ(f->seriesValue, want.seriesValue);
    int sum = 0;
    for (int v : f->seriesTotals) sum += v;
    EXPECT_EQ(sum, 0);
    auto quiet = a.Until(MSG_ASK_WATCH_PERMISSION);
    ASSERT_TRUE(quiet);
    EXPECT_EQ(Word(quiet->body, 0), want.quiet);
  }
}

// Complaints on request: the farmers get the prompt and the fees; a complaint closes with the
// result (flag 1, the configured outcome) and the game ends; without one the result hides
// the dialogs and the table deals again.
TEST(TablePathsTest, ComplaintPromptAndResult) {
  for (bool complain : {true, false}) {
    SessionOptions o;
    o.complaints = true;
    o.complaintOutcome = 7;
    o.seed = 5;
    Table t(o);
    Peer a;
    ASSERT_EQ(a.Login(t.Port(), "alice", 1), 1u);
    a.Ready(1);
    ASSERT_TRUE(a.Until(MSG_DEAL));
    a.Trust(1, "alice");
    ASSERT_TRUE(a.Until(MSG_HAND_OVER));
    ASSERT_NE(t.session.Game().Declarer(), 1) << "the seed must make alice a farmer";
    auto prompt = a.Until(MSG_COMPLAINT_PROMPT);
    ASSERT_TRUE(prompt);
    EXPECT_EQ(Word(prompt->body, 0), 15000u);
    auto fees = a.Until(MSG_COMPLAINT_UPDATE);
    ASSERT_TRUE(fees);
    EXPECT_GT(Word(fees->body, 0), 0u);
    a.Send(complain ? MSG_COMPLAINT : MSG_COMPLAINT_DECLINE, complain ? Bytes(404, 0) : Bytes());
    auto result = a.Until(MSG_COMPLAINT_RESULT);
    ASSERT_TRUE(result);
    EXPECT_EQ(Word(result->body, 0), complain ? 1u : 0u);
    EXPECT_EQ(Word(result->body, 4), complain ? 7u : 0u);
    if (complain) {
      EXPECT_TRUE(a.Until(sysmsg::MSG_KICKED));
    } else {
      a.Ready(1);
      EXPECT_TRUE(a.Until(MSG_DEAL)) << "the table deals again";
    }
  }
}

// The speed probe wants its own id back with the body it sent; no login is needed.
TEST(TablePathsTest, SpeedProbeIsEchoed) {
  Table t({});
  Peer p;
  ASSERT_TRUE(p.c.Connect(t.Port()));
  p.Send(272, Words({42, 123456}));
  auto echo = p.Until(272);
  ASSERT_TRUE(echo);
  EXPECT_EQ(echo->body, Words({42, 123456}));
}

// Logins the table refuses (status 2), each logged with the reason; a second login of a
// user also ends the first connection with MSG_FATAL code 2.
TEST(TablePathsTest, RefusedLogins) {
  struct Case {
    const char* user;
    uint16_t seat;
    const char* why;
  } cases[] = {
      {"carol", 3, "seat 3 out of range"},           {"carol", 9, "seat 9 out of range"},
      {"carol", 4, "watcher of the empty seat 0"},   {"carol", 1, "seat 1 is taken"},
      {"ALICE", 2, "ALICE is already at the table"},
  };
  for (const Case& k : cases) {
    Table t({});
    Peer a, c;
    ASSERT_EQ(a.Login(t.Port(), "alice", 1), 1u);
    EXPECT_EQ(c.Login(t.Port(), k.user, k.seat), 2u) << k.why;
    EXPECT_TRUE(t.Logged(std::string("login refused: ") + k.why)) << k.why;
    bool same = std::strcmp(k.user, "ALICE") == 0;
    if (same) {
      auto fatal = a.Until(sysmsg::MSG_FATAL);
      ASSERT_TRUE(fatal);
      EXPECT_EQ(fatal->status, 2u);
      EXPECT_TRUE(t.Logged("seat 1 alice left (replaced)"));
    } else {
      a.Send(272, Words({1, 2}));
      ASSERT_TRUE(a.Until(272));
      EXPECT_FALSE(a.Saw(sysmsg::MSG_FATAL)) << k.why;
    }
  }
}
