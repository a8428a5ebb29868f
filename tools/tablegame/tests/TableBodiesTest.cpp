// The table server's bodies against the byte fixtures the client's codec is pinned to:
// what the table writes must be those bytes, what it reads must give those values.
#include "BodyFixtures.h"
#include "TableBodies.h"
#include "gtest/gtest.h"

using namespace tablegame::bodies;

namespace {
const Bytes& Fixture(const std::string& name) {
  static const auto all = LoadBodyFixtures(VESK_BODY_FIXTURES);
  auto it = all.find(name);
  if (it == all.end()) throw std::runtime_error("no fixture " + name);
  return it->second;
}
}  // namespace

TEST(TableBodies, WhatTheTableWritesIsTheFixtureBytes) {
  HandOverFacts over;
  over.players = 3;
  over.hand = 1;
  over.seriesValue = 1;
  over.change = {2, -1, -1};
  over.seriesTotals = {2, -1, -1};
  over.left = {{}, {7}, {8, 9}};
  const std::vector<std::pair<const char*, Bytes>> cases = {
      {"ready.notice", ReadyNotice(2)},
      {"deal", Deal({1, 1, 0, 1}, {5, -3}, true, 2, 3, {0, 5, 53})},
      {"bid.notice.next", BidNotice(1, 0, -1, 2)},
      {"bid.notice.over", BidNotice(-1, 0, 2, 3)},
      {"bottom", BottomCards(2, {10, 52, 53})},
      {"play.cards", Play(1, 2, 4, {3, 16})},
      {"play.last", Play(2, -1, 2, {53})},
      {"action_error", ActionError(204)},
      {"hand_over", HandOver(over)},
  };
  for (const auto& [name, bytes] : cases) EXPECT_EQ(bytes, Fixture(name)) << name;
}

TEST(TableBodies, WhatTheTableReadsFromTheFixtures) {
  auto play = ReadPlay(Fixture("play.cards"));
  ASSERT_TRUE(play);
  EXPECT_EQ(play->seat, 1);
  EXPECT_EQ(play->next, 2);
  EXPECT_EQ(play->multiplier, 4u);
  EXPECT_EQ(play->cards, (std::vector<int>{3, 16}));
  auto pass = ReadPlay(Fixture("play.pass"));
  ASSERT_TRUE(pass);
  EXPECT_EQ(pass->next, -1);
  EXPECT_TRUE(pass->cards.empty());
  EXPECT_EQ(ReadBid(Fixture("bid.request")), 3);
  EXPECT_EQ(ReadTrusteeshipMode(Fixture("trusteeship.request")), 2u);
  EXPECT_EQ(ReadDealCards(Fixture("deal")), (std::vector<int>{0, 5, 53}));
  auto bottom = ReadBottomCards(Fixture("bottom"));
  ASSERT_TRUE(bottom);
  EXPECT_EQ(bottom->declarer, 2);
  EXPECT_EQ(bottom->cards, (std::vector<int>{10, 52, 53}));
  auto over = ReadHandOver(Fixture("hand_over"));
  ASSERT_TRUE(over);
  EXPECT_EQ(over->hand, 1);
  EXPECT_EQ(over->change, (std::vector<int>{2, -1, -1}));
  EXPECT_EQ(over->seriesTotals, (std::vector<int>{2, -1, -1}));
  EXPECT_EQ(over->left, (std::vector<std::vector<int>>{{}, {7}, {8, 9}}));
}

TEST(TableBodies, ClientBodiesShortOfWhatTheyAnnounceAreIgnored) {
  Bytes play = Fixture("play.cards");
  play.resize(play.size() - 1);
  EXPECT_FALSE(ReadPlay(play));
  Bytes huge = Fixture("play.pass");
  huge[8] = 0xFF, huge[9] = 0xFF, huge[10] = 0xFF, huge[11] = 0x7F;
  EXPECT_FALSE(ReadPlay(huge));
  EXPECT_FALSE(ReadBid(Bytes(12, 0)));
  EXPECT_FALSE(ReadTrusteeshipMode(Bytes(3, 0)));
}
