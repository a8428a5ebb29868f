// A client document at a table of the table server, over a loopback connection:
// login, the option flags, then a whole hand against two bots.
#include <gtest/gtest.h>

#include <cstring>

#include "DocPlayer.h"
#include "LoopbackNet.h"
#include "NetFrame.h"
#include "SystemMessages.h"
#include "TableSession.h"

using namespace tablegame;

TEST(TableSessionTest, ClientLogsInAndPlaysAHand) {
  peers::TableServerOptions so;
  so.maxSeconds = 60;
  peers::CTableServer server(so);
  SessionOptions opt;
  opt.seed = 7;
  TableSession session(server, opt);
  session.Install();
  ASSERT_TRUE(server.Start());

  peers::CLoopbackClient client;
  ASSERT_TRUE(client.Connect(server.Port()));
  auto login = sysmsg::BuildLoginBody("alice", "key", "room", 0, 1);
  ASSERT_TRUE(client.SendFrame(netcore::BuildFrame(sysmsg::MSG_LOGIN, login.data(), login.size())));
  std::vector<uint8_t> f;
  ASSERT_TRUE(client.ReadFrame(&f));
  netcore::NET_MSG_HEADER h;
  ASSERT_TRUE(netcore::DecodeHeader(f.data(), f.size(), &h));
  ASSERT_EQ(h.id, sysmsg::MSG_LOGIN_REPLY);
  auto reply = sysmsg::ParseLoginReply(h.status, netcore::FrameBody(f), h.length);
  ASSERT_TRUE(sysmsg::ValidatePlayerList(reply));
  EXPECT_EQ(reply.players[1].userName, "alice");
  ASSERT_TRUE(client.ReadFrame(&f));
  netcore::DecodeHeader(f.data(), f.size(), &h);
  EXPECT_EQ(h.id, sysmsg::MSG_STATE540);
  EXPECT_EQ(h.status, 1u);

  CHANNEL_STATE ch;
  ch.nPlayerCount = 3;
  for (int p = 0; p < 3; ++p) {
    ch.seats[p].wServerSeat = static_cast<uint16_t>(p);
    std::strncpy(ch.seats[p].szUserName, reply.players[p].userName.c_str(), 19);
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

  auto flush = [&]() {
    while (!host.sent.empty()) {
      ASSERT_TRUE(client.SendFrame(host.sent.front()));
      host.sent.pop_front();
    }
  };
  doc.SendReady();
  flush();
  bool over = false;
  bool bidPending = false;  // our bid is on its way; the turn moves when the server answers
  for (int frames = 0; frames < 400 && !over; ++frames) {
    ASSERT_TRUE(client.ReadFrame(&f)) << "after " << frames << " frames";
    netcore::DecodeHeader(f.data(), f.size(), &h);
    ASSERT_TRUE(table.Dispatch(h.id, f.data())) << std::hex << h.id;
    over = h.id == MSG_HAND_OVER;
    if (h.id == MSG_BID) bidPending = false;
    bool bidding = doc.GetSchedule() == SCHEDULE_BID;
    if (!over && !(bidding && bidPending) && ActForOwnSeat(doc)) {
      bidPending = bidding;
      flush();
    }
  }
  ASSERT_TRUE(over);
  EXPECT_EQ(doc.GetSchedule(), SCHEDULE_WAIT);
  EXPECT_TRUE(host.boxes.empty());
  EXPECT_EQ(doc.Seat(0).nScoreTotal + doc.Seat(1).nScoreTotal + doc.Seat(2).nScoreTotal, 0);
  EXPECT_TRUE(server.WaitForLog("login alice seat 1", 1000));
  server.Stop();
}

TEST(TableSessionTest, TrusteeshipPlaysTheHandForTheClient) {
  peers::TableServerOptions so;
  so.maxSeconds = 60;
  peers::CTableServer server(so);
  SessionOptions opt;
  opt.seed = 11;
  TableSession session(server, opt);
  session.Install();
  ASSERT_TRUE(server.Start());
  peers::CLoopbackClient client;
  ASSERT_TRUE(client.Connect(server.Port()));
  auto login = sysmsg::BuildLoginBody("bob", "", "", 0, 0);
  ASSERT_TRUE(client.SendFrame(netcore::BuildFrame(sysmsg::MSG_LOGIN, login.data(), login.size())));
  std::vector<uint8_t> ready(52, 0);
  ASSERT_TRUE(client.SendFrame(netcore::BuildFrame(MSG_READY, ready.data(), ready.size())));
  // The clock ran out: the server plays for the client (mode 2) until the hand is over.
  std::vector<uint8_t> trust = {2, 0, 0, 0};
  trust.resize(24, 0);
  std::memcpy(&trust[4], "bob", 3);
  ASSERT_TRUE(client.SendFrame(netcore::BuildFrame(MSG_TRUSTEESHIP, trust.data(), trust.size())));
  bool result = false, over = false;
  std::vector<uint8_t> f;
  netcore::NET_MSG_HEADER h;
  for (int i = 0; i < 400 && !over; ++i) {
    ASSERT_TRUE(client.ReadFrame(&f));
    netcore::DecodeHeader(f.data(), f.size(), &h);
    result = result || h.id == sysmsg::MSG_TRUSTEESHIP_RESULT;
    over = h.id == MSG_HAND_OVER;
  }
  EXPECT_TRUE(result);
  EXPECT_TRUE(over);
  EXPECT_EQ(session.Game().HandsPlayed(), 1) << "the next hand waits for the client";
  server.Stop();
}
