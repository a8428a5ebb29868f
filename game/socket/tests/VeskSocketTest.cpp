// CVeskSocket's handler table and callbacks, driven with frames directly (no connection).
#include <gtest/gtest.h>

#include <vector>

#include "VeskSocket.h"
#include "tests/NullDocHost.h"

namespace {

class NullHost : public CNullDocHost {};

// A document that records which of its handlers ran.
class RecordingDoc : public CGameDocCore {
 public:
  RecordingDoc(const CDocHost& h, CHANNEL_STATE& c) : CGameDocCore(h, c) {}
  int First(const uint8_t* f) {
    calls.push_back({1, netcore::ReadU32(f)});
    return 0;
  }
  int Second(const uint8_t* f) {
    calls.push_back({2, netcore::ReadU32(f)});
    return 0;
  }
  int Reason(int r) {
    reasons.push_back(r);
    return 0;
  }
  std::vector<std::pair<int, uint32_t>> calls;
  std::vector<int> reasons;
};

CVeskSocket::HANDLER H(int (RecordingDoc::*p)(const uint8_t*)) { return static_cast<CVeskSocket::HANDLER>(p); }

std::vector<UINT> g_ids;
int IdBox(UINT id, UINT, int) {
  g_ids.push_back(id);
  return IDOK;
}
int TextBox(LPCSTR, UINT, int) { return IDOK; }

class VeskSocketTest : public ::testing::Test {
 protected:
  VeskSocketTest() : doc(host.Hosts(), channel) { g_ids.clear(); }
  NullHost host;
  CHANNEL_STATE channel{};
  RecordingDoc doc;
};

TEST_F(VeskSocketTest, TableHoldsAHundredAndTheFirstMatchWins) {
  CVeskSocket s;
  s.SetHandlerUserData(&doc);
  EXPECT_EQ(s.AddHandler(0x20C, H(&RecordingDoc::First)), 1);
  EXPECT_EQ(s.AddHandler(0x20C, H(&RecordingDoc::Second)), 1);  // never reached
  for (int i = 2; i < 100; ++i) EXPECT_EQ(s.AddHandler(0x1000 + i, H(&RecordingDoc::Second)), 1);
  EXPECT_EQ(s.AddHandler(0x99999, H(&RecordingDoc::First)), 0);
  EXPECT_EQ(s.GetHandlerCount(), 100);

  std::vector<uint8_t> deal = netcore::BuildFrame(0x20C, "x", 1);
  EXPECT_EQ(s.OnMessage(deal.data()), 1);
  ASSERT_EQ(doc.calls.size(), 1u);
  EXPECT_EQ(doc.calls[0].first, 1);
  // Unknown ids stay unhandled; ids compare with bits 31 and 30.
  std::vector<uint8_t> other = netcore::BuildFrame(0x8000020C, "x", 1);
  EXPECT_EQ(s.OnMessage(other.data()), 0);
  EXPECT_EQ(doc.calls.size(), 1u);
  // Notifications are back on after the handler.
  EXPECT_TRUE(s.Session().NotificationsOn());
}

TEST_F(VeskSocketTest, SystemMessagesNeverReachTheTable) {
  CVeskSocket s;
  s.SetHandlerUserData(&doc);
  s.AddHandler(0x8000021C, H(&RecordingDoc::First));  // MSG_STATE540, handled by the base
  std::vector<uint8_t> f = netcore::BuildFrame(0x8000021C, nullptr, 0, 9);
  EXPECT_EQ(s.OnMessage(f.data()), 1);
  EXPECT_TRUE(doc.calls.empty());
  EXPECT_EQ(s.GetOptionFlags(), 9u);
}

TEST_F(VeskSocketTest, RegistrationFillsTheTableInItsOrder) {
  CVeskSocket s;
  s.RegisterDocument(&doc);
  ASSERT_EQ(s.GetHandlerCount(), 27);
  EXPECT_EQ(s.Handlers().GetId(0), 0x8000020Au);
  EXPECT_EQ(s.Handlers().GetId(17), 0x8000022Bu);
  EXPECT_EQ(s.Handlers().GetId(26), 0x80012053u);
  EXPECT_NE(s.m_pfnClose, nullptr);
  EXPECT_EQ(s.m_bPassOnUserCut, 0);
}

TEST_F(VeskSocketTest, CloseLogsAndCallsBack) {
  struct Case {
    BOOL crash;
    bool quiet;
    int error;
    bool logged;
    int level;
    const char* reason;
  } cases[] = {
      {TRUE, false, 10054, true, 0, "connection abort"},
      {TRUE, false, 10060, true, 0, "connection timeout"},
      {TRUE, true, 10054, false, 0, ""},
      {FALSE, false, 10054, false, 0, ""},
  };
  for (const Case& c : cases) {
    CVeskSocket s;
    s.SetBoxHooks(TextBox, IdBox);
    s.m_pCallbackData = &doc;
    s.m_pfnClose = static_cast<CVeskSocket::REASONCALLBACK>(&RecordingDoc::Reason);
    std::vector<SocketCloseLog> logs;
    s.SetCloseLog(
        c.crash,
        [&](int* schedule) {
          *schedule = 7;
          return !c.quiet;
        },
        [&](const SocketCloseLog& l) { logs.push_back(l); });
    s.m_nCloseReason = 2;
    doc.reasons.clear();
    s.OnClose(c.error);
    ASSERT_EQ(logs.size(), c.logged ? 1u : 0u);
    if (c.logged) {
      EXPECT_EQ(logs[0].level, c.level);
      EXPECT_EQ(logs[0].reason, c.reason);
      EXPECT_NE(logs[0].text.find("Schedule=7"), std::string::npos);
    }
    // The callback runs in every case, with the reason taken before the base reset it.
    ASSERT_EQ(doc.reasons.size(), 1u);
    EXPECT_EQ(doc.reasons[0], 2);
    EXPECT_EQ(s.m_nCloseReason, 0);
  }
}

TEST_F(VeskSocketTest, CutAndBackPassOnWhenAsked) {
  CVeskSocket s;
  s.SetBoxHooks(TextBox, IdBox);
  s.m_pCallbackData = &doc;
  s.m_pfnUserCut = H(&RecordingDoc::First);
  std::vector<uint8_t> cut = netcore::BuildFrame(553, "bob", 4);
  EXPECT_EQ(s.OnMessage(cut.data()), 1);
  ASSERT_EQ(doc.calls.size(), 1u);
  EXPECT_EQ(doc.calls[0].second, 553u);
  // Back without a callback: only the base's box; a short name body is dropped.
  std::vector<uint8_t> back = netcore::BuildFrame(554, "", 0);
  EXPECT_EQ(s.OnMessage(back.data()), 1);
  EXPECT_EQ(doc.calls.size(), 1u);
}

}  // namespace
