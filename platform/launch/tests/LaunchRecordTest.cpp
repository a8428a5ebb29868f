#include "LaunchRecord.h"

#include "GbkText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Args13() {
  return {"Vesk.exe",  "3",    "alice", "Alice",      "Room 7", "17",   "KEY-1",
          "127.0.0.1", "4100", "table", "chat.local", "4200",   "gold", "42"};
}

bool Parse(const std::vector<std::string>& args, GAME_LAUNCH_REC& rec) {
  std::vector<const char*> argv;
  for (const auto& a : args) argv.push_back(a.c_str());
  return ReadLaunchRecordFrom(static_cast<int>(argv.size()), argv.data(), nullptr, rec);
}

GAME_LAUNCH_REC LobbyRecord() {
  GAME_LAUNCH_REC r;
  std::memset(&r, 0, sizeof r);
  r.nSeat = 2;
  std::strcpy(r.szUserName, "bob");
  std::strcpy(r.szServerHost, "127.0.0.1");
  r.wServerPort = 4100;
  r.wChatPort = 4200;
  return r;
}

}  // namespace

TEST(LaunchArgs, ThirteenArgumentsFillEveryField) {
  GAME_LAUNCH_REC rec;
  ASSERT_TRUE(Parse(Args13(), rec));
  EXPECT_EQ(rec.nSeat, 2);
  EXPECT_STREQ(rec.szUserName, "alice");
  EXPECT_STREQ(rec.szNickName, "Alice");
  EXPECT_STREQ(rec.szRoomTitle, "Room 7");
  EXPECT_EQ(rec.wLoginWord, 17);
  EXPECT_STREQ(rec.szLoginKey, "KEY-1");
  EXPECT_STREQ(rec.szServerHost, "127.0.0.1");
  EXPECT_EQ(rec.wServerPort, 4100);
  EXPECT_STREQ(rec.szTableText, "table");
  EXPECT_STREQ(rec.szChatHost, "chat.local");
  EXPECT_EQ(rec.wChatPort, 4200);
  EXPECT_STREQ(rec.szChatColumnText, "gold");
  EXPECT_EQ(rec.nChatColumnNumber, 42);
  EXPECT_EQ(rec.nForceWatch, 0);
}

TEST(LaunchArgs, FourteenthArgumentIsForcedWatch) {
  auto args = Args13();
  args.push_back("1");
  GAME_LAUNCH_REC rec;
  ASSERT_TRUE(Parse(args, rec));
  EXPECT_EQ(rec.nForceWatch, 1);
}

TEST(LaunchArgs, SeatOneBecomesZeroAndWatchSeatsStay) {
  struct Case {
    const char* seat;
    bool ok;
    int stored;
  } cases[] = {{"1", true, 0},  {"4", true, 3},  {"6", true, 5},   {"8", true, 7},  {" +2", true, 1},
               {"0", false, 0}, {"9", false, 0}, {"-1", false, 0}, {"x", false, 0}, {"99999999999999999999", false, 0}};
  for (const auto& c : cases) {
    auto args = Args13();
    args[1] = c.seat;
    GAME_LAUNCH_REC rec;
    EXPECT_EQ(Parse(args, rec), c.ok) << c.seat;
    if (c.ok) {
      EXPECT_EQ(rec.nSeat, c.stored) << c.seat;
    }
  }
}

TEST(LaunchArgs, PortsMustBeOneTo65535) {
  struct Case {
    int index;
    const char* value;
    bool ok;
  } cases[] = {{8, "65535", true}, {8, "0", false}, {8, "65536", false}, {8, "-80", false},
               {11, "1", true},    {11, "", false}, {11, "70000", false}};
  for (const auto& c : cases) {
    auto args = Args13();
    args[c.index] = c.value;
    GAME_LAUNCH_REC rec;
    EXPECT_EQ(Parse(args, rec), c.ok) << c.index << "=" << c.value;
  }
}

TEST(LaunchArgs, WrongCountsFail) {
  for (size_t n : {1u, 3u, 12u, 13u, 16u, 17u}) {
    auto args = Args13();
    args.resize(n, "1");
    GAME_LAUNCH_REC rec;
    EXPECT_FALSE(Parse(args, rec)) << n << " entries";
  }
}

TEST(LaunchArgs, LongTextsAreTruncatedAndTerminated) {
  auto args = Args13();
  args[2] = std::string(50, 'u');
  args[9] = std::string(400, 't');
  args[12] = std::string(16, 'c');
  GAME_LAUNCH_REC rec;
  ASSERT_TRUE(Parse(args, rec));
  EXPECT_EQ(std::string(rec.szUserName), std::string(19, 'u'));
  EXPECT_EQ(std::string(rec.szTableText), std::string(255, 't'));
  EXPECT_EQ(std::string(rec.szChatColumnText), std::string(15, 'c'));
  EXPECT_EQ(rec.szNickName[0], 'A');  // the neighbour field is untouched
}

TEST(LaunchMapping, OneArgumentReadsTheNamedMapping) {
  GAME_LAUNCH_REC lobby = LobbyRecord();
  std::string seen;
  auto reader = [&](const char* name, unsigned char* out, size_t size) {
    seen = name;
    std::memcpy(out, &lobby, size);
    return true;
  };
  const char* argv[] = {"Vesk.exe", "QK_GAME_1234"};
  GAME_LAUNCH_REC rec;
  ASSERT_TRUE(ReadLaunchRecordFrom(2, argv, reader, rec));
  EXPECT_EQ(seen, "QK_GAME_1234");
  EXPECT_EQ(rec.nSeat, 1);
  EXPECT_STREQ(rec.szUserName, "bob");
  EXPECT_EQ(rec.wServerPort, 4100);
}

TEST(LaunchMapping, MissingMappingFails) {
  auto reader = [](const char*, unsigned char*, size_t) { return false; };
  const char* argv[] = {"Vesk.exe", "nothing"};
  GAME_LAUNCH_REC rec;
  EXPECT_FALSE(ReadLaunchRecordFrom(2, argv, reader, rec));
}

TEST(LaunchMapping, UnterminatedFieldsAreCutInsideTheirField) {
  GAME_LAUNCH_REC lobby = LobbyRecord();
  std::memset(lobby.szUserName, 'u', sizeof lobby.szUserName);
  std::memset(lobby.szNickName, 'n', sizeof lobby.szNickName);
  std::memset(lobby.szChatColumnText, 'c', sizeof lobby.szChatColumnText);
  std::memset(lobby.szTableText, 't', sizeof lobby.szTableText);
  GAME_LAUNCH_REC rec;
  ASSERT_TRUE(ParseLaunchRecordBytes(&lobby, sizeof lobby, rec));
  EXPECT_EQ(std::string(rec.szUserName), std::string(19, 'u'));
  EXPECT_EQ(std::string(rec.szNickName), std::string(19, 'n'));
  EXPECT_EQ(std::string(rec.szChatColumnText), std::string(15, 'c'));
  EXPECT_EQ(std::string(rec.szTableText), std::string(255, 't'));
}

// GBK texts longer than their fields lose whole characters, never half of one: the window
// title would otherwise end in a broken character.
TEST(LaunchTexts, CutOnACharacterBoundary) {
  const std::string zhong = "\xD6\xD0";
  std::string chars;
  for (int i = 0; i < 200; ++i) chars += zhong;
  // From the command line: texts of characters only, longer than their fields.
  auto args = Args13();
  args[2] = args[3] = args[4] = args[6] = args[9] = args[12] = chars;
  GAME_LAUNCH_REC rec;
  ASSERT_TRUE(Parse(args, rec));
  // From the lobby's record: fields filled with characters and no terminating zero.
  GAME_LAUNCH_REC lobby = LobbyRecord();
  struct Field {
    char* text;
    size_t size;
  } fields[] = {{lobby.szUserName, sizeof lobby.szUserName},
                {lobby.szNickName, sizeof lobby.szNickName},
                {lobby.szRoomTitle, sizeof lobby.szRoomTitle},
                {lobby.szTableText, sizeof lobby.szTableText},
                {lobby.szChatColumnText, sizeof lobby.szChatColumnText}};
  for (const Field& f : fields) std::memcpy(f.text, chars.data(), f.size);
  GAME_LAUNCH_REC mapped;
  ASSERT_TRUE(ParseLaunchRecordBytes(&lobby, sizeof lobby, mapped));
  // Every field's width is even: one whole character less than the field.
  struct Got {
    const char* text;
    size_t size;
  } got[] = {{rec.szUserName, sizeof rec.szUserName},
             {rec.szNickName, sizeof rec.szNickName},
             {rec.szRoomTitle, sizeof rec.szRoomTitle},
             {rec.szLoginKey, sizeof rec.szLoginKey},
             {rec.szTableText, sizeof rec.szTableText},
             {rec.szChatColumnText, sizeof rec.szChatColumnText},
             {mapped.szUserName, sizeof mapped.szUserName},
             {mapped.szNickName, sizeof mapped.szNickName},
             {mapped.szRoomTitle, sizeof mapped.szRoomTitle},
             {mapped.szTableText, sizeof mapped.szTableText},
             {mapped.szChatColumnText, sizeof mapped.szChatColumnText}};
  for (const Got& g : got) EXPECT_EQ(std::string(g.text), chars.substr(0, g.size - 2)) << g.size;
  // A single-byte letter first shifts the characters: then only the zero's byte goes.
  GAME_LAUNCH_REC shifted = LobbyRecord();
  shifted.szRoomTitle[0] = 'R';
  std::memcpy(shifted.szRoomTitle + 1, chars.data(), sizeof shifted.szRoomTitle - 1);
  ASSERT_TRUE(ParseLaunchRecordBytes(&shifted, sizeof shifted, mapped));
  EXPECT_EQ(std::string(mapped.szRoomTitle), "R" + chars.substr(0, sizeof mapped.szRoomTitle - 2));
}

TEST(LaunchMapping, SeatAndPortsAreChecked) {
  struct Case {
    int seat;
    uint16_t port;
    uint16_t chat;
    bool ok;
  } cases[] = {{1, 1, 1, true},         {8, 4100, 4200, true}, {0, 4100, 4200, false}, {9, 4100, 4200, false},
               {-7, 4100, 4200, false}, {3, 0, 4200, false},   {3, 4100, 0, false}};
  for (const auto& c : cases) {
    GAME_LAUNCH_REC lobby = LobbyRecord();
    lobby.nSeat = c.seat;
    lobby.wServerPort = c.port;
    lobby.wChatPort = c.chat;
    GAME_LAUNCH_REC rec;
    EXPECT_EQ(ParseLaunchRecordBytes(&lobby, sizeof lobby, rec), c.ok) << c.seat << " " << c.port << " " << c.chat;
  }
  GAME_LAUNCH_REC rec;
  GAME_LAUNCH_REC lobby = LobbyRecord();
  EXPECT_FALSE(ParseLaunchRecordBytes(&lobby, sizeof lobby - 1, rec));
}
