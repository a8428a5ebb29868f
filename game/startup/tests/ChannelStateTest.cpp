#include "ChannelState.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

struct Player {
  uint32_t seat;
  std::string user;
  std::string nick;
  int32_t gender;
};

std::vector<uint8_t> PlayerList(const std::vector<Player>& players) {
  std::vector<uint8_t> out(players.size() * PLAYER_ENTRY_SIZE, 0);
  for (size_t i = 0; i < players.size(); ++i) {
    uint8_t* e = out.data() + i * PLAYER_ENTRY_SIZE;
    std::memcpy(e, &players[i].seat, 4);
    std::memcpy(e + 4, players[i].user.data(), std::min<size_t>(20, players[i].user.size()));
    std::memcpy(e + 24, players[i].nick.data(), std::min<size_t>(20, players[i].nick.size()));
    std::memcpy(e + 44, &players[i].gender, 4);
  }
  return out;
}

std::vector<uint8_t> ThreePlayers() { return PlayerList({{0, "a", "A", 0}, {1, "b", "B", 1}, {2, "c", "C", 3}}); }

std::vector<uint8_t> WatchBlock(uint32_t series, uint32_t hand, std::vector<uint32_t> seriesTotals,
                                std::vector<uint32_t> scores) {
  std::vector<uint8_t> out(44, 0);
  std::memcpy(&out[0], &series, 4);
  std::memcpy(&out[4], &hand, 4);
  for (size_t i = 0; i < 4; ++i) {
    std::memcpy(&out[12 + 4 * i], &seriesTotals[i], 4);
    std::memcpy(&out[28 + 4 * i], &scores[i], 4);
  }
  return out;
}

EnterChannelResult Enter(int32_t& seat, int32_t force, int count, const std::vector<uint8_t>& players,
                         const std::string& options, const std::vector<uint8_t>& watch, CHANNEL_STATE& st) {
  return EnterChannelCore(seat, force, count, players.data(), players.size(), options.c_str(), options.size(),
                          watch.data(), watch.size(), st);
}

}  // namespace

TEST(SeatMapping, ServerSeatsToViewPositions) {
  struct Case {
    int count, own, seat, pos;
  } cases[] = {{3, 2, 0, 2}, {3, 2, 1, 0}, {3, 2, 2, 1}, {3, 0, 0, 1}, {3, 1, 1, 1},
               {4, 3, 0, 2}, {4, 3, 3, 1}, {4, 0, 3, 0}, {4, 2, 1, 0}};
  for (const auto& c : cases)
    EXPECT_EQ(SeatToViewPosition(c.count, c.own, c.seat), c.pos) << c.count << "/" << c.own << "/" << c.seat;
}

TEST(TableOptions, NumbersBlanksAndCommas) {
  struct Case {
    const char* text;
    int expect[TABLE_OPTION_COUNT];
  } cases[] = {{"2,1,0,0,30", {2, 1, 0, 0, 30, 1, 1}},
               {"", {2, 0, 0, 0, 60, 1, 1}},
               {"  5  ,, 7", {5, 7, 0, 0, 60, 1, 1}},
               {"1 1 1 1 45 9 3 99", {1, 1, 1, 1, 45, 9, 3}},
               {"-4,+6,x,12abc,3", {-4, 6, 0, 12, 3, 1, 1}},
               {"99999999999999", {2147483647, 0, 0, 0, 60, 1, 1}},
               {",,,", {2, 0, 0, 0, 60, 1, 1}}};
  for (const auto& c : cases) {
    int opts[TABLE_OPTION_COUNT] = {2, 0, 0, 0, 60, 1, 1};
    ParseTableOptions(c.text, std::strlen(c.text) + 1, opts);
    for (int i = 0; i < TABLE_OPTION_COUNT; ++i) EXPECT_EQ(opts[i], c.expect[i]) << c.text << " #" << i;
  }
}

TEST(TableOptions, UnterminatedTextStopsAtItsLength) {
  const char text[] = {'3', ',', '4', '4'};
  int opts[TABLE_OPTION_COUNT] = {2, 0, 0, 0, 60, 1, 1};
  ParseTableOptions(text, 3, opts);
  EXPECT_EQ(opts[0], 3);
  EXPECT_EQ(opts[1], 4);
  EXPECT_EQ(opts[2], 0);
}

TEST(EnterChannel, PlayerFillsEveryPositionAndOptions) {
  int32_t seat = 2;
  CHANNEL_STATE st;
  ASSERT_EQ(Enter(seat, 0, 3, ThreePlayers(), "2,1,0,0,30", {}, st), ENTER_OK);
  EXPECT_EQ(st.nWatchMode, 0);
  EXPECT_EQ(st.seats[1].wServerSeat, 2);  // the local player
  EXPECT_STREQ(st.seats[1].szUserName, "c");
  EXPECT_EQ(st.seats[2].wServerSeat, 0);
  EXPECT_STREQ(st.seats[0].szNickName, "B");
  EXPECT_EQ(st.nGender[1], 1);
  EXPECT_EQ(st.nGender[2], 3);
  EXPECT_EQ(st.nOptions[OPT_SERIES], 1);
  EXPECT_EQ(st.nOptions[OPT_TURN_TIME], 30);
  EXPECT_EQ(st.nOptions[OPT_OPTION6], 1);
  EXPECT_EQ(st.nOptions[OPT_BASE_MULTIPLIER], 1);
}

TEST(EnterChannel, WatchSeatAndForcedWatchUseTheWatchBlock) {
  auto watch = WatchBlock(3, 4, {10, 11, 12, 13}, {100, 101, 102, 103});
  int32_t seat = 5;  // watch server seat 1
  CHANNEL_STATE st;
  ASSERT_EQ(Enter(seat, 0, 3, ThreePlayers(), "", watch, st), ENTER_OK);
  EXPECT_EQ(seat, 1);
  EXPECT_EQ(st.nWatchMode, 1);
  EXPECT_EQ(st.nWatchModeEntered, 1);
  EXPECT_EQ(st.nSeriesValue, 3u);
  EXPECT_EQ(st.nHandNumber, 4u);
  EXPECT_EQ(st.seats[1].wServerSeat, 1);
  EXPECT_EQ(st.nSeriesTotal[1], 11);
  EXPECT_EQ(st.nScoreTotal[1], 101);
  EXPECT_EQ(st.nScoreTotal[0], 100);  // server seat 0 sits at position 0 from seat 1

  seat = 0;
  ASSERT_EQ(Enter(seat, 1, 3, ThreePlayers(), "", watch, st), ENTER_OK);
  EXPECT_EQ(st.nWatchMode, 1);
  EXPECT_EQ(st.nWatchModeEntered, 0);
  seat = 0;
  EXPECT_EQ(Enter(seat, 1, 3, ThreePlayers(), "", std::vector<uint8_t>(43), st), ENTER_BAD_WATCH_BLOCK);
}

TEST(EnterChannel, RefusesBadSeatsAndBadPlayerLists) {
  auto three = ThreePlayers();
  struct Case {
    const char* what;
    int32_t seat;
    int count;
    std::vector<uint8_t> players;
    EnterChannelResult result;
  } cases[] = {
      {"seat 8", 8, 3, three, ENTER_BAD_SEAT},
      {"negative seat", -1, 3, three, ENTER_BAD_SEAT},
      {"seat beyond count", 3, 3, three, ENTER_BAD_SEAT},
      {"watch seat beyond count", 7, 3, three, ENTER_BAD_SEAT},
      {"count 2", 0, 2, three, ENTER_BAD_PLAYERS},
      {"count 5", 0, 5, three, ENTER_BAD_PLAYERS},
      {"list too short", 0, 3, std::vector<uint8_t>(three.begin(), three.end() - 1), ENTER_BAD_PLAYERS},
      {"seat twice", 0, 3, PlayerList({{0, "a", "", 0}, {1, "b", "", 0}, {1, "c", "", 0}}), ENTER_BAD_PLAYERS},
      {"seat above count", 0, 3, PlayerList({{0, "a", "", 0}, {1, "b", "", 0}, {3, "c", "", 0}}), ENTER_BAD_PLAYERS},
      {"high bits ignored", 0, 3, PlayerList({{0x10000, "a", "", 0}, {1, "b", "", 0}, {2, "c", "", 0}}), ENTER_OK},
  };
  for (auto& c : cases) {
    CHANNEL_STATE st;
    int32_t seat = c.seat;
    EXPECT_EQ(Enter(seat, 0, c.count, c.players, "", {}, st), c.result) << c.what;
  }
}

TEST(EnterChannel, FourPlayersAndLongNames) {
  auto players = PlayerList({{3, std::string(20, 'd'), "D", 0}, {2, "c", "C", 0}, {1, "b", "B", 0}, {0, "a", "A", 0}});
  int32_t seat = 3;
  CHANNEL_STATE st;
  ASSERT_EQ(Enter(seat, 0, 4, players, "", {}, st), ENTER_OK);
  EXPECT_EQ(std::string(st.seats[1].szUserName), std::string(19, 'd'));
  EXPECT_EQ(st.seats[2].wServerSeat, 0);
  EXPECT_EQ(st.seats[0].wServerSeat, 2);
}

// Names that fill their 20 bytes without a zero lose their last whole character.
TEST(EnterChannel, LongGbkNamesAreCutOnACharacterBoundary) {
  std::string chars;
  for (int i = 0; i < 10; ++i) chars += "\xD6\xD0";
  auto players = PlayerList({{0, chars, "x" + chars, 0}, {1, "b", "B", 0}, {2, "c", "C", 0}});
  int32_t seat = 0;
  CHANNEL_STATE st;
  ASSERT_EQ(Enter(seat, 0, 3, players, "", {}, st), ENTER_OK);
  EXPECT_EQ(std::string(st.seats[1].szUserName), chars.substr(0, 18));
  EXPECT_EQ(std::string(st.seats[1].szNickName), "x" + chars.substr(0, 18));
}
