// The client's game bodies against the shared byte fixtures: every fixture decodes to the
// values it stands for and those values encode back to the same bytes. Malformed bodies
// are refused, never read past their end.
#include <functional>
#include <map>

#include "BodyFixtures.h"
#include "GameBodies.h"
#include "gtest/gtest.h"

using namespace gamemsg;

namespace {

const std::map<std::string, Bytes>& Fixtures() {
  static const auto f = LoadBodyFixtures(VESK_BODY_FIXTURES);
  return f;
}

// Decodes the fixture, checks the values, encodes them again.
struct Case {
  const char* name;
  std::function<Bytes(const Bytes&)> decodeCheckEncode;
};

template <class T>
T Must(const std::optional<T>& m, const char* name) {
  EXPECT_TRUE(m.has_value()) << name;
  return m ? *m : T{};
}

std::vector<uint32_t> W(std::initializer_list<uint32_t> w) { return w; }

const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = {
      {"ready.notice",
       [](const Bytes& b) {
         auto m = Must(DecodeReadyNotice(b.data(), b.size()), "ready.notice");
         EXPECT_EQ(m.seat, 2u);
         return Encode(m);
       }},
      {"ready.request",
       [](const Bytes& b) {
         auto m = Must(DecodeReadyRequest(b.data(), b.size()), "ready.request");
         EXPECT_EQ(m.seat, 1u);
         EXPECT_EQ(m.allowWatching, 1u);
         return Encode(m);
       }},
      {"deal",
       [](const Bytes& b) {
         auto m = Must(DecodeDeal(b.data(), b.size()), "deal");
         EXPECT_EQ(m.allowWatching, (std::array<uint32_t, 4>{1, 1, 0, 1}));
         EXPECT_EQ(static_cast<int32_t>(m.score[1]), -3);
         EXPECT_EQ(m.score[0], 5u);
         EXPECT_EQ(m.hint, 1u);
         EXPECT_EQ(m.firstBidder, 2u);
         EXPECT_EQ(m.bottomCount, 3u);
         EXPECT_EQ(m.cards, (Bytes{0, 5, 53}));
         return Encode(m);
       }},
      {"bid.notice.next",
       [](const Bytes& b) {
         auto m = Must(DecodeBidNotice(b.data(), b.size()), "bid.notice.next");
         EXPECT_EQ(m.next, 1);
         EXPECT_EQ(m.bid, 2u);
         return Encode(m);
       }},
      {"bid.notice.over",
       [](const Bytes& b) {
         auto m = Must(DecodeBidNotice(b.data(), b.size()), "bid.notice.over");
         EXPECT_EQ(m.next, -1);
         EXPECT_EQ(m.declarer, 2u);
         EXPECT_EQ(m.bid, 3u);
         return Encode(m);
       }},
      {"bid.request",
       [](const Bytes& b) {
         auto m = Must(DecodeBidRequest(b.data(), b.size()), "bid.request");
         EXPECT_EQ(m.bid, 3u);
         return Encode(m);
       }},
      {"bottom",
       [](const Bytes& b) {
         auto m = Must(DecodeBottomCards(b.data(), b.size()), "bottom");
         EXPECT_EQ(m.declarer, 2u);
         EXPECT_EQ(m.codes, W({10, 52, 53}));
         return Encode(m);
       }},
      {"play.cards",
       [](const Bytes& b) {
         auto m = Must(DecodePlay(b.data(), b.size()), "play.cards");
         EXPECT_EQ(m.seat, 1u);
         EXPECT_EQ(m.next, 2);
         EXPECT_EQ(m.multiplier, 4u);
         EXPECT_EQ(m.codes, W({3, 16}));
         return Encode(m);
       }},
      {"play.pass",
       [](const Bytes& b) {
         auto m = Must(DecodePlay(b.data(), b.size()), "play.pass");
         EXPECT_EQ(m.next, -1);
         EXPECT_TRUE(m.codes.empty());
         return Encode(m);
       }},
      {"play.last",
       [](const Bytes& b) {
         auto m = Must(DecodePlay(b.data(), b.size()), "play.last");
         EXPECT_EQ(m.seat, 2u);
         EXPECT_EQ(m.next, -1);
         EXPECT_EQ(m.multiplier, 2u);
         EXPECT_EQ(m.codes, W({53}));
         return Encode(m);
       }},
      {"show_cards",
       [](const Bytes& b) {
         auto m = Must(DecodeShowCards(4, b.data(), b.size()), "show_cards");
         EXPECT_EQ(m.multiplier, 4u);
         EXPECT_EQ(m.cards, (Bytes{0, 5, 53}));
         return Encode(m);
       }},
      {"action_error",
       [](const Bytes& b) {
         auto m = Must(DecodeActionError(1, b.data(), b.size()), "action_error");
         EXPECT_EQ(m.seat, 1u);
         EXPECT_EQ(m.code, 204u);
         return Encode(m);
       }},
      {"pause",
       [](const Bytes& b) {
         auto m = Must(DecodePause(b.data(), b.size()), "pause");
         EXPECT_EQ(m.ms, 10000u);
         return Encode(m);
       }},
      {"timeout",
       [](const Bytes& b) {
         auto m = Must(DecodeTimeout(b.data(), b.size()), "timeout");
         EXPECT_EQ(m.seat, 1u);
         return Encode(m);
       }},
      {"seat_values",
       [](const Bytes& b) {
         auto m = Must(DecodeSeatValues(b.data(), b.size()), "seat_values");
         EXPECT_EQ(m.value, (std::array<uint32_t, 4>{3, 2, 1, 0}));
         return Encode(m);
       }},
      {"watch_permission",
       [](const Bytes& b) {
         auto m = Must(DecodeWatchPermission(b.data(), b.size()), "watch_permission");
         EXPECT_EQ(m.seat, 0u);
         EXPECT_EQ(m.allow, 1u);
         EXPECT_EQ(m.cards, std::optional<Bytes>(Bytes{3, 4}));
         return Encode(m);
       }},
      {"watch_permission.no_cards",
       [](const Bytes& b) {
         auto m = Must(DecodeWatchPermission(b.data(), b.size()), "watch_permission.no_cards");
         EXPECT_EQ(m.seat, 1u);
         EXPECT_EQ(m.allow, 0u);
         return Encode(m);
       }},
      {"ask_watch_permission",
       [](const Bytes& b) {
         auto m = Must(DecodeAskWatchPermission(b.data(), b.size()), "ask_watch_permission");
         EXPECT_EQ(m.quiet, 1u);
         return Encode(m);
       }},
      {"player_states",
       [](const Bytes& b) {
         auto m = Must(DecodePlayerStates(b.data(), b.size()), "player_states");
         EXPECT_EQ(m.players.size(), 2u);
         if (m.players.size() == 2) {
           EXPECT_EQ(m.players[0].name, "alice");
           EXPECT_EQ(m.players[0].state, 0x20u);
           EXPECT_EQ(m.players[1].name, "bob");
           EXPECT_EQ(m.players[1].state, 4u);
         }
         return Encode(m);
       }},
      {"hand_over",
       [](const Bytes& b) {
         auto m = Must(DecodeHandOver(b.data(), b.size()), "hand_over");
         EXPECT_EQ(m.players, 3u);
         EXPECT_EQ(m.hand, 1u);
         EXPECT_EQ(m.seriesValue, 1u);
         EXPECT_EQ(m.seriesOver, 0u);
         EXPECT_EQ(m.change, (std::array<int32_t, 4>{2, -1, -1, 0}));
         EXPECT_EQ(m.seriesTotal, (std::array<int32_t, 4>{2, -1, -1, 0}));
         EXPECT_EQ(m.remaining, (std::vector<std::vector<int32_t>>{{}, {7}, {8, 9}}));
         return Encode(m);
       }},
      {"leave.request",
       [](const Bytes& b) {
         auto m = Must(DecodeLeaveRequest(b.data(), b.size()), "leave.request");
         EXPECT_EQ(m.seat, 1u);
         EXPECT_EQ(m.value, 0u);
         return Encode(m);
       }},
      {"leave.answer",
       [](const Bytes& b) {
         auto m = Must(DecodeLeaveAnswer(b.data(), b.size()), "leave.answer");
         EXPECT_EQ(m.seat, 2u);
         EXPECT_EQ(m.value, 5u);
         EXPECT_EQ(m.agree, 1u);
         return Encode(m);
       }},
      {"trusteeship.request",
       [](const Bytes& b) {
         auto m = Must(DecodeTrusteeshipRequest(b.data(), b.size()), "trusteeship.request");
         EXPECT_EQ(m.mode, 2u);
         EXPECT_EQ(m.name, "alice");
         return Encode(m);
       }},
      {"complaint",
       [](const Bytes& b) {
         auto m = Must(DecodeComplaint(b.data(), b.size()), "complaint");
         EXPECT_EQ(m.name, "alice");
         EXPECT_EQ(m.accused, "bob");
         EXPECT_EQ(m.reason, "slow");
         return Encode(m);
       }},
      {"net_skin",
       [](const Bytes& b) {
         auto m = Must(DecodeNetSkinData(b.data(), b.size()), "net_skin");
         EXPECT_EQ(m.text, "skin");
         return Encode(m);
       }},
      {"button_text",
       [](const Bytes& b) {
         auto m = Must(DecodeButtonText(b.data(), b.size()), "button_text");
         EXPECT_EQ(m.flag, 1u);
         EXPECT_EQ(m.text, "http://x/");
         return Encode(m);
       }},
      {"notice",
       [](const Bytes& b) {
         auto m = Must(DecodeNotice(b.data(), b.size()), "notice");
         EXPECT_EQ(m.text, "hello");
         return Encode(m);
       }},
      {"seat_flags",
       [](const Bytes& b) {
         auto m = Must(DecodeSeatFlags(b.data(), b.size()), "seat_flags");
         EXPECT_EQ(m.flags, (std::array<uint8_t, 4>{1, 2, 3, 4}));
         return Encode(m);
       }},
      {"host_name",
       [](const Bytes& b) {
         auto m = Must(DecodeHostName(b.data(), b.size()), "host_name");
         EXPECT_EQ(m.name, "host");
         return Encode(m);
       }},
  };
  return cases;
}

}  // namespace

TEST(GameBodies, FixturesDecodeToTheirValuesAndEncodeBack) {
  for (const auto& c : Cases()) {
    SCOPED_TRACE(c.name);
    auto it = Fixtures().find(c.name);
    ASSERT_NE(it, Fixtures().end()) << "no fixture " << c.name;
    EXPECT_EQ(c.decodeCheckEncode(it->second), it->second);
  }
}

TEST(GameBodies, EveryFixtureHasAClientCase) {
  // A body added to the fixtures without a check here would pin nothing on this side.
  for (const auto& [name, bytes] : Fixtures()) {
    bool found = false;
    for (const auto& c : Cases()) found = found || name == c.name;
    EXPECT_TRUE(found) << name;
  }
}

namespace {
Bytes Words(std::initializer_list<uint32_t> w) {
  Bytes b;
  for (uint32_t x : w)
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(x >> (8 * i)));
  return b;
}
}  // namespace

TEST(GameBodies, BodiesShorterThanTheyAnnounceAreRefused) {
  struct Bad {
    const char* what;
    std::function<bool(const Bytes&)> accepted;
    Bytes body;
  };
  auto play = [](const Bytes& b) { return DecodePlay(b.data(), b.size()).has_value(); };
  auto bottom = [](const Bytes& b) { return DecodeBottomCards(b.data(), b.size()).has_value(); };
  auto handOver = [](const Bytes& b) { return DecodeHandOver(b.data(), b.size()).has_value(); };
  auto states = [](const Bytes& b) { return DecodePlayerStates(b.data(), b.size()).has_value(); };
  Bytes handHead = Words({3, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  auto handWith = [&](std::initializer_list<uint32_t> counts, std::initializer_list<uint32_t> cards) {
    Bytes b = handHead;
    Bytes c = Words(counts), d = Words(cards);
    b.insert(b.end(), c.begin(), c.end());
    b.insert(b.end(), d.begin(), d.end());
    return b;
  };
  Bytes fiveSeats = handWith({0, 0, 0, 0}, {});
  fiveSeats[0] = 5;
  const std::vector<Bad> bad = {
      {"play: two cards announced, one there", play, Words({0, 1, 2, 1, 7})},
      {"play: a count that wraps when multiplied", play, Words({0, 1, 0x40000001, 1, 7})},
      {"play: header cut short", play, Words({0, 1, 0})},
      {"bottom: three announced, two there", bottom, Words({3, 0, 1, 2})},
      {"bottom: count near the top of the range", bottom, Words({0xFFFFFFFF, 0, 1})},
      {"hand over: more cards left than the body holds", handOver, handWith({1, 1, 1, 0}, {4, 5})},
      {"hand over: counts whose sum wraps 32 bits", handOver, handWith({0x80000000, 0x80000000, 1, 0}, {4})},
      {"hand over: five seats", handOver, fiveSeats},
      {"hand over: head cut short", handOver, Bytes(handHead.begin(), handHead.end() - 4)},
      {"player states: more entries than bytes", states, Words({0, 2, 0, 0, 0, 0, 0, 1})},
      {"deal: 47 bytes", [](const Bytes& b) { return DecodeDeal(b.data(), b.size()).has_value(); }, Bytes(47, 0)},
      {"complaint: 403 bytes", [](const Bytes& b) { return DecodeComplaint(b.data(), b.size()).has_value(); },
       Bytes(403, 0)},
      {"seat flags: three bytes", [](const Bytes& b) { return DecodeSeatFlags(b.data(), b.size()).has_value(); },
       Bytes(3, 0)},
      {"leave answer: two words", [](const Bytes& b) { return DecodeLeaveAnswer(b.data(), b.size()).has_value(); },
       Words({1, 2})},
      {"action error: empty", [](const Bytes& b) { return DecodeActionError(0, b.data(), b.size()).has_value(); },
       Bytes()},
  };
  for (const auto& c : bad) EXPECT_FALSE(c.accepted(c.body)) << c.what;
  // The last hand-over seat may keep its cards in the very last bytes.
  EXPECT_TRUE(handOver(handWith({1, 1, 1, 0}, {4, 5, 6})));
}

TEST(GameBodies, TextsAndOptionalCardsStopAtTheBody) {
  // A text without its zero runs to the end of the body; cards announced beyond the body
  // are left out, the permission itself still read.
  Bytes notice = {'a', 'b'};
  EXPECT_EQ(DecodeNotice(notice.data(), notice.size())->text, "ab");
  Bytes watch = Words({0, 1, 5});
  watch.push_back(9);
  auto w = DecodeWatchPermission(watch.data(), watch.size());
  ASSERT_TRUE(w);
  EXPECT_EQ(w->allow, 1u);
  EXPECT_FALSE(w->cards.has_value());
  Bytes host = {'h', 'o'};
  EXPECT_EQ(DecodeHostName(host.data(), host.size())->name, "ho");
  // Encoders cut names so that a zero still ends them.
  TrusteeshipRequest t{1, std::string(30, 'n')};
  EXPECT_EQ(DecodeTrusteeshipRequest(Encode(t).data(), 24)->name, std::string(19, 'n'));
}
