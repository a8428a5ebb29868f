// The table against bots and against the client's own document: every frame the
// server sends goes through the document's handlers, and every frame the document
// sends goes back to the server.
#include <gtest/gtest.h>

#include <cstring>
#include <deque>

#include "DocPlayer.h"
#include "GameDocCore.h"
#include "TableGame.h"
#include "WireBytes.h"

using namespace tablegame;

namespace {

int Sum(const std::vector<int>& v) {
  int s = 0;
  for (int x : v) s += x;
  return s;
}

std::vector<uint8_t> WithHeader(const OutFrame& f) {
  wire::Writer w;
  w.U32(f.id);
  w.U32(static_cast<uint32_t>(f.body.size()));
  if (f.id & 0x80000000u) w.U32(f.status);
  w.Bytes(f.body.data(), f.body.size());
  return w.Take();
}

}  // namespace

TEST(TableGameTest, BotsPlayWholeHandsThatAddUp) {
  for (int players : {3, 4}) {
    for (uint32_t seed = 1; seed <= 20; ++seed) {
      TableOptions o;
      o.players = players;
      o.seed = seed;
      TableGame g(o);
      for (int s = 0; s < players; ++s) g.SetBot(s, true);
      std::vector<OutFrame> out;
      g.RunBots(out);
      ASSERT_GE(g.HandsPlayed(), 1) << players << " players, seed " << seed;
      EXPECT_EQ(Sum(g.Scores()), 0);
      int handOvers = 0;
      for (const auto& f : out) handOvers += f.id == MSG_HAND_OVER;
      EXPECT_EQ(handOvers, g.HandsPlayed());
    }
  }
}

TEST(TableGameTest, RefusesPlaysThatBreakTheRules) {
  TableOptions o;
  TableGame g(o);
  std::vector<OutFrame> out;
  for (int s = 0; s < 3; ++s) g.OnClientFrame(s, MSG_READY, {}, out);
  ASSERT_EQ(g.phase(), TableGame::Bidding);
  int t = g.Turn();
  wire::Writer bid;
  bid.I32(-1);
  bid.U32(3);
  bid.I32(-1);
  bid.U32(0);
  g.OnClientFrame(t, MSG_BID, bid.bytes(), out);
  ASSERT_EQ(g.phase(), TableGame::Playing);
  EXPECT_EQ(g.Declarer(), t);
  EXPECT_EQ(g.Hand(t).size(), 20u);

  auto play = [&](int seat, std::vector<int> codes) {
    wire::Writer w;
    w.U32(static_cast<uint32_t>(seat));
    w.I32(-1);
    w.U32(static_cast<uint32_t>(codes.size()));
    w.U32(0);
    for (int c : codes) w.U32(static_cast<uint32_t>(c));
    out.clear();
    g.OnClientFrame(seat, MSG_PLAY, w.bytes(), out);
    return out.empty() ? 0u : (out[0].id == MSG_ACTION_ERROR ? out[0].body[0] + 0u : 1u);
  };
  int other = (t + 1) % 3;
  EXPECT_EQ(play(other, {g.Hand(other)[0]}), static_cast<unsigned>(ERR_NOT_YOUR_TURN));
  EXPECT_EQ(play(t, {}), static_cast<unsigned>(ERR_NOT_BIGGER)) << "no pass on a free lead";
  EXPECT_EQ(play(t, {g.Hand(other)[0]}), static_cast<unsigned>(ERR_NOT_IN_HAND));
  // Two cards of different ranks.
  const auto& h = g.Hand(t);
  int a = -1, b = -1;
  for (size_t i = 0; i < h.size() && b < 0; ++i)
    for (size_t j = i + 1; j < h.size(); ++j)
      if (h[i] % 54 < 52 && h[j] % 54 < 52 && h[i] % 13 != h[j] % 13) {
        a = h[i];
        b = h[j];
        break;
      }
  ASSERT_GE(b, 0);
  EXPECT_EQ(play(t, {a, b}), static_cast<unsigned>(ERR_INVALID));

  // A time-out from another seat changes nothing; the leader's own time-out has the
  // server lead for it.
  wire::Writer timeout;
  timeout.U32(0);
  const std::vector<uint8_t>& seatWord = timeout.bytes();
  out.clear();
  g.OnClientFrame(other, MSG_TIMEOUT, seatWord, out);
  EXPECT_TRUE(out.empty());
  size_t before = g.Hand(t).size();
  g.OnClientFrame(t, MSG_TIMEOUT, seatWord, out);
  ASSERT_FALSE(out.empty());
  EXPECT_EQ(out[0].id, static_cast<uint32_t>(MSG_PLAY));
  EXPECT_LT(g.Hand(t).size(), before);
  EXPECT_EQ(g.Turn(), other);
}

TEST(TableGameTest, ClientDocumentPlaysAHandAgainstBots) {
  for (uint32_t seed = 1; seed <= 10; ++seed) {
    TableOptions o;
    o.seed = seed;
    TableGame server(o);
    server.SetBot(0, true);
    server.SetBot(2, true);

    CHANNEL_STATE ch;
    ch.nPlayerCount = 3;
    for (int p = 0; p < 3; ++p) {
      ch.seats[p].wServerSeat = static_cast<uint16_t>(p);
      std::snprintf(ch.seats[p].szUserName, 20, "player%d", p);
    }
    QueueHost host;
    CGameDocCore doc(host.Hosts(), ch);
    doc.AttachTableView(&host);
    doc.LoadSeats();
    CGameDocCore::SETTINGS quiet = doc.GetSettings();
    quiet.bVoice = 0;
    doc.SetSettings(quiet);
    CMessageHandlerTable<CGameDocCore> table;
    doc.RegisterMessageHandlers(table);

    std::vector<OutFrame> out;
    auto deliver = [&]() {
      for (const auto& f : out) {
        if (f.toSeat != -1 && f.toSeat != 1) continue;
        auto frame = WithHeader(f);
        ASSERT_TRUE(table.Dispatch(f.id, frame.data())) << std::hex << f.id;
      }
      out.clear();
    };
    auto flush = [&]() {
      while (!host.sent.empty()) {
        auto f = host.sent.front();
        host.sent.pop_front();
        uint32_t id, len;
        std::memcpy(&id, f.data(), 4);
        std::memcpy(&len, f.data() + 4, 4);
        size_t head = (id & 0x80000000u) ? 12 : 8;
        server.OnClientFrame(1, id, std::vector<uint8_t>(f.begin() + static_cast<long>(head), f.end()), out);
        deliver();
      }
    };
    doc.SendReady();
    flush();
    for (int step = 0; step < 200 && server.HandsPlayed() == 0; ++step) {
      if (!ActForOwnSeat(doc)) break;
      flush();
    }
    ASSERT_EQ(server.HandsPlayed(), 1) << "seed " << seed;
    EXPECT_TRUE(host.boxes.empty()) << "the document refused its own hint, seed " << seed;
    EXPECT_EQ(doc.GetSchedule(), SCHEDULE_WAIT);
    EXPECT_EQ(doc.Seat(1).nScoreTotal, server.Scores()[1]);
    EXPECT_EQ(doc.Seat(0).nScoreTotal + doc.Seat(1).nScoreTotal + doc.Seat(2).nScoreTotal, 0);
  }
}

TEST(TableGameTest, WhenEverySeatPassesTheClosingNoticeNamesTheOnePointTheHandIsPlayedFor) {
  for (int players : {3, 4}) {
    TableOptions o;
    o.players = players;
    TableGame server(o);
    CHANNEL_STATE ch;
    ch.nPlayerCount = players;
    for (int p = 0; p < players; ++p) {
      ch.seats[p].wServerSeat = static_cast<uint16_t>(p);
      std::snprintf(ch.seats[p].szUserName, 20, "player%d", p);
    }
    QueueHost host;
    CGameDocCore doc(host.Hosts(), ch);
    doc.AttachTableView(&host);
    doc.LoadSeats();
    CGameDocCore::SETTINGS quiet = doc.GetSettings();
    quiet.bVoice = 0;
    doc.SetSettings(quiet);
    CMessageHandlerTable<CGameDocCore> table;
    doc.RegisterMessageHandlers(table);

    std::vector<OutFrame> out;
    std::vector<uint32_t> lastBidWords;
    auto deliver = [&]() {
      for (const auto& f : out) {
        if (f.toSeat != -1 && f.toSeat != 1) continue;
        if (f.id == MSG_BID && f.body.size() >= 16) {
          uint32_t w;
          std::memcpy(&w, f.body.data() + 12, 4);
          lastBidWords.push_back(w);
        }
        auto frame = WithHeader(f);
        ASSERT_TRUE(table.Dispatch(f.id, frame.data())) << std::hex << f.id;
      }
      out.clear();
    };
    for (int s = 0; s < players; ++s) server.OnClientFrame(s, MSG_READY, {}, out);
    deliver();
    ASSERT_EQ(server.phase(), TableGame::Bidding);
    const int first = server.Turn();
    wire::Writer pass;
    pass.I32(-1);
    pass.U32(0);
    pass.I32(-1);
    pass.U32(0);
    for (int i = 0; i < players; ++i) {
      server.OnClientFrame(server.Turn(), MSG_BID, pass.bytes(), out);
      deliver();
    }
    ASSERT_EQ(server.phase(), TableGame::Playing) << players;
    EXPECT_EQ(server.Declarer(), first);
    ASSERT_EQ(lastBidWords.size(), static_cast<size_t>(players));
    EXPECT_EQ(lastBidWords.back(), 1u) << "the closing notice names the point the table plays for";
    EXPECT_EQ(doc.GetSchedule(), SCHEDULE_PLAY);
    EXPECT_EQ(doc.BidValue(), 1) << "the client shows a base of 1, not 0";
  }
}
