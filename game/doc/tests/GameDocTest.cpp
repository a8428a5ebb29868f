// A whole hand driven through the handler table, with a host that records what the
// document asks of the views, boxes and socket.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <utility>
#include <vector>

#include "GameDocCore.h"
#include "tests/NullDocHost.h"
#include "tests/TestDoc.h"
#include "WireBytes.h"

namespace {

struct RecordingHost : CNullDocHost {
  std::vector<std::vector<uint8_t>> sent;
  std::vector<int> boxes;
  std::vector<int> waves;
  std::vector<int> clock;  // seconds shown, -1 hidden
  std::vector<std::string> status;
  int boxAnswer = 7;  // IDNO
  uint32_t optionFlags = 1;
  int closes = 0, quits = 0, brackets = 0, scoreBoardShown = 0;
  bool active = false, minimised = false;
  std::vector<std::pair<int, int>> flashes;  // count, ms
  std::string survey;
  std::map<std::string, int> profile;

  bool SendFrame(const std::vector<uint8_t>& f) override {
    sent.push_back(f);
    return true;
  }
  void BeginSend() override { ++brackets; }
  bool IsMainWindowActive() override { return active; }
  bool IsMainWindowMinimised() override { return minimised; }
  void FlashMainWindow(int count, int ms) override { flashes.emplace_back(count, ms); }
  uint32_t OptionFlags() override { return optionFlags; }
  void QuitAndClose() override { ++quits; }
  void PostCloseMainWindow() override { ++closes; }
  int ShowBoxId(int id, uint32_t, int, const std::string&) override {
    boxes.push_back(id);
    return boxAnswer;
  }
  void PlayWave(int id) override { waves.push_back(id); }
  void ShowTurnClock(int s) override { clock.push_back(s); }
  void HideTurnClock() override { clock.push_back(-1); }
  void SetStatusTextId(int id) override { status.push_back(std::to_string(id)); }
  void SetStatusText(const std::string& t) override { status.push_back(t); }
  void SetSurveyTarget(const std::string& u) override { survey = u; }
  void ShowScoreBoard(bool) override { ++scoreBoardShown; }
  void SetPlayButtons(bool play, bool passAndHint) override { buttons = {play, passAndHint}; }
  std::pair<bool, bool> buttons{false, false};
  int GetProfileInt(const char* key, int def) override {
    auto it = profile.find(key);
    return it == profile.end() ? def : it->second;
  }
  void WriteProfileInt(const char* key, int v) override { profile[key] = v; }

  uint32_t LastId() const {
    uint32_t id;
    std::memcpy(&id, sent.back().data(), 4);
    return id;
  }
  std::vector<uint8_t> LastBody() const {
    size_t head = (LastId() & 0x80000000u) ? 12 : 8;
    return std::vector<uint8_t>(sent.back().begin() + static_cast<long>(head), sent.back().end());
  }
};

std::vector<uint8_t> Frame(uint32_t id, const std::vector<uint8_t>& body, uint32_t status = 0) {
  wire::Writer w;
  w.U32(id);
  w.U32(static_cast<uint32_t>(body.size()));
  if (id & 0x80000000u) w.U32(status);
  w.Bytes(body.data(), body.size());
  return w.Take();
}

std::vector<uint8_t> Words(std::initializer_list<uint32_t> words) {
  wire::Writer w;
  for (uint32_t x : words) w.U32(x);
  return w.Take();
}

// Card codes: suit * 13 + rank; rank 0 is the three.
int32_t Code(int suit, int rank) { return suit * 13 + rank; }

class Table : public ::testing::Test {
 protected:
  void SetUp() override {
    ch.nPlayerCount = 3;
    ch.nOwnSeat = 1;
    // Own seat 1 is position 1; seat 2 -> position 2; seat 0 -> position 0.
    const char* names[3] = {"west", "me", "east"};
    for (int p = 0; p < 3; ++p) {
      ch.seats[p].wServerSeat = static_cast<uint16_t>(p);
      std::strcpy(ch.seats[p].szUserName, names[p]);
    }
    ch.nOptions[OPT_TURN_TIME] = 60;
    doc.AttachTableView(&host);
    doc.LoadSeats();
    doc.RegisterMessageHandlers(table);
    doc.m_bVoice = 0;
  }
  bool Deliver(uint32_t id, const std::vector<uint8_t>& body, uint32_t status = 0) {
    auto f = Frame(id, body, status);
    return table.Dispatch(id, f.data());
  }
  void Deal(std::vector<uint8_t> own, uint32_t firstBidder, uint32_t bottom = 3, uint32_t hint = 1) {
    auto body = Words({1, 1, 1, 0, 10, 20, 30, 0, 0, hint, firstBidder, bottom});
    body.insert(body.end(), own.begin(), own.end());
    ASSERT_TRUE(Deliver(MSG_DEAL, body));
  }
  void SelectCodes(std::initializer_list<int32_t> codes) {
    for (int i = 0; i < doc.m_Seats[1].nCardCount; ++i) {
      doc.m_Hands[1][i].bSelected = 0;
      for (int32_t c : codes)
        if (doc.m_Hands[1][i].nCode == c) doc.m_Hands[1][i].bSelected = 1;
    }
  }

  CHANNEL_STATE ch;
  RecordingHost host;
  CTestDoc doc{host.Hosts(), ch};
  CMessageHandlerTable<CGameDocCore> table;
};

std::vector<uint8_t> SeventeenCards() {
  std::vector<uint8_t> v;
  for (int r = 0; r < 13; ++r) v.push_back(static_cast<uint8_t>(Code(0, r)));
  for (int r = 0; r < 4; ++r) v.push_back(static_cast<uint8_t>(Code(1, r)));
  return v;
}

}  // namespace

TEST_F(Table, RegistrationOrderAndLimits) {
  ASSERT_EQ(table.GetCount(), 27);
  EXPECT_EQ(table.GetId(0), MSG_READY);
  EXPECT_EQ(table.GetId(2), MSG_PLAY);
  EXPECT_EQ(table.GetId(26), MSG_PANEL_DATA);
  for (int i = table.GetCount(); i < 100; ++i) EXPECT_EQ(table.AddHandler(0x9999, &CGameDocCore::OnNotice), 1);
  EXPECT_EQ(table.AddHandler(0x9999, &CGameDocCore::OnNotice), 0);
  EXPECT_EQ(table.GetCount(), 100);
  // The first registration of an id wins.
  CMessageHandlerTable<CGameDocCore> t2;
  t2.SetUserData(&doc);
  t2.AddHandler(MSG_NOTICE, &CGameDocCore::OnSeatFlags);
  t2.AddHandler(MSG_NOTICE, &CGameDocCore::OnNotice);
  EXPECT_EQ(t2.Find(MSG_NOTICE), &CGameDocCore::OnSeatFlags);
}

// The turn clock flashes the window only when the table is minimised (and not active): a
// player with another window in front is not flashed at each turn.
TEST_F(Table, TurnClockFlashesOnlyAMinimisedTable) {
  struct Case {
    bool active, minimised, flashes;
  } cases[] = {{false, false, false}, {true, false, false}, {false, true, true}, {true, true, false}};
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << "active " << k.active << " minimised " << k.minimised);
    host.active = k.active;
    host.minimised = k.minimised;
    host.flashes.clear();
    doc.SetSchedule(SCHEDULE_WAIT);
    ASSERT_EQ(host.clock.back(), 60) << "the waiting phase shows the clock";
    if (k.flashes)
      EXPECT_EQ(host.flashes, (std::vector<std::pair<int, int>>{{5, 20}}));
    else
      EXPECT_TRUE(host.flashes.empty());
  }
}

TEST_F(Table, WholeHandFromDealToResult) {
  ASSERT_TRUE(Deliver(MSG_READY, Words({1})));
  EXPECT_EQ(doc.m_Seats[1].dwState, static_cast<uint32_t>(SEAT_READY));
  EXPECT_EQ(host.status.back(), "3002");

  Deal(SeventeenCards(), 1);
  EXPECT_EQ(doc.GetSchedule(), SCHEDULE_BID);
  EXPECT_EQ(doc.m_Seats[1].nCardCount, 17);
  EXPECT_EQ(doc.m_Seats[0].nCardCount, 17);
  EXPECT_EQ(doc.m_Hands[0][0].nCode, 255);  // others are face-down placeholders
  EXPECT_EQ(doc.m_nTurnPosition, 1);
  EXPECT_EQ(doc.m_Seats[2].nScoreTotal, 30);
  EXPECT_EQ(host.clock.back(), 60);

  doc.SendBid(3);
  EXPECT_EQ(host.LastId(), MSG_BID);
  EXPECT_EQ(host.LastBody(), Words({0xFFFFFFFF, 3, 0xFFFFFFFF, 0}));

  // Bidding over: seat 1 (us) is the declarer.
  ASSERT_TRUE(Deliver(MSG_BID, Words({0xFFFFFFFF, 0, 1, 3})));
  EXPECT_EQ(doc.GetSchedule(), SCHEDULE_PLAY);
  EXPECT_EQ(doc.m_nDeclarerSeat, 1);
  EXPECT_EQ(host.clock.back(), 99) << "the declarer's first clock is doubled and capped";

  ASSERT_TRUE(
      Deliver(MSG_BOTTOM_CARDS, Words({3, 1, static_cast<uint32_t>(Code(2, 5)), static_cast<uint32_t>(Code(2, 6)),
                                       static_cast<uint32_t>(Code(3, 12))})));
  EXPECT_EQ(doc.m_Seats[1].nCardCount, 20);

  // Free lead: a pair of threes.
  SelectCodes({Code(0, 0), Code(1, 0)});
  doc.PlaySelectedCards();
  EXPECT_EQ(host.LastId(), MSG_PLAY);
  auto body = host.LastBody();
  ASSERT_EQ(body.size(), 24u);
  EXPECT_EQ(std::vector<uint8_t>(body.begin(), body.begin() + 16), Words({1, 0xFFFFFFFF, 2, 0}));
  EXPECT_EQ(doc.m_bPlaySent, 1);
  EXPECT_GE(host.brackets, 1);

  // The server echoes our play; east passes, west passes: a new round for us.
  ASSERT_TRUE(
      Deliver(MSG_PLAY, Words({1, 2, 2, 1, static_cast<uint32_t>(Code(0, 0)), static_cast<uint32_t>(Code(1, 0))})));
  EXPECT_EQ(doc.m_Seats[1].nCardCount, 18);
  EXPECT_EQ(doc.m_bPlaySent, 0);
  ASSERT_TRUE(Deliver(MSG_PLAY, Words({2, 0, 0, 1})));
  ASSERT_TRUE(Deliver(MSG_PLAY, Words({0, 1, 0, 1})));
  EXPECT_EQ(doc.m_nTurnPosition, 1);
  EXPECT_EQ(doc.m_bFreeLead, 1);
  EXPECT_EQ(doc.m_Seats[0].nLastPlayCount, 0);
  EXPECT_EQ(doc.m_nPrevPlayCount[1], 2) << "the previous round is kept for the last-round view";

  // A bomb doubles the multiplier.
  ASSERT_TRUE(Deliver(MSG_PLAY, Words({2, 0, 4, 2, 5, 18, 31, 44})));
  EXPECT_EQ(doc.m_nMultiplier, 2);
  EXPECT_EQ(doc.m_Seats[2].nCardCount, 13);

  // Hand over: east (seat 2) emptied its hand; our change is negative.
  wire::Writer w;
  w.U32(3);
  w.U32(1);
  w.U32(0);
  w.U32(0);
  w.U32(0);
  w.U32(0);
  for (int32_t c : {10, -20, 10, 0}) w.I32(c);
  for (int32_t c : {10, -20, 10, 0}) w.I32(c);
  for (int i = 0; i < 4; ++i) w.U32(0);
  for (uint32_t c : {1u, 1u, 0u, 0u}) w.U32(c);
  w.U32(static_cast<uint32_t>(Code(3, 11)));
  w.U32(static_cast<uint32_t>(Code(3, 10)));
  ASSERT_TRUE(Deliver(MSG_HAND_OVER, w.Take()));
  EXPECT_EQ(doc.GetSchedule(), SCHEDULE_WAIT);
  EXPECT_EQ(host.waves.back(), 186);
  EXPECT_EQ(doc.m_Seats[1].nScoreTotal, 20 - 20);
  EXPECT_EQ(doc.m_Seats[0].nCardCount, 1);
  EXPECT_EQ(doc.m_Hands[0][0].nCode, Code(3, 11));
  EXPECT_EQ(doc.m_nDeclarerSeat, -1);
  EXPECT_EQ(doc.m_nMultiplier, 1);
  EXPECT_GE(host.scoreBoardShown, 1);
  EXPECT_EQ(ch.nHandNumber, 1u);
}

TEST_F(Table, PlayChecksRefuseBeforeSending) {
  Deal(SeventeenCards(), 0);
  ASSERT_TRUE(Deliver(MSG_BID, Words({0xFFFFFFFF, 0, 0, 1})));  // west declares
  ASSERT_TRUE(Deliver(MSG_PLAY, Words({0, 1, 1, 1, static_cast<uint32_t>(Code(2, 10))})));
  size_t before = host.sent.size();
  SelectCodes({Code(0, 0), Code(0, 5)});  // not a combination
  doc.PlaySelectedCards();
  EXPECT_EQ(host.boxes.back(), 5002);
  SelectCodes({Code(0, 3)});  // a six does not beat a king
  doc.PlaySelectedCards();
  EXPECT_EQ(host.boxes.back(), 5001);
  EXPECT_EQ(host.sent.size(), before);
  SelectCodes({Code(0, 12)});  // a two does
  doc.PlaySelectedCards();
  EXPECT_EQ(host.sent.size(), before + 1);

  // With the deal's hint flag 0 the same unclassifiable selection is sent.
  Deal(SeventeenCards(), 1, 3, 0);
  ASSERT_TRUE(Deliver(MSG_BID, Words({0xFFFFFFFF, 0, 1, 1})));
  SelectCodes({Code(0, 0), Code(0, 5)});
  before = host.sent.size();
  doc.PlaySelectedCards();
  EXPECT_EQ(host.sent.size(), before + 1);
}

TEST_F(Table, ActionErrorsAndLeaveDialogue) {
  Deal(SeventeenCards(), 1);
  ASSERT_TRUE(Deliver(MSG_ACTION_ERROR, Words({201}), 2));  // another seat: nothing
  EXPECT_TRUE(host.boxes.empty());
  doc.m_bPlaySent = 1;
  ASSERT_TRUE(Deliver(MSG_ACTION_ERROR, Words({203}), 1));
  EXPECT_EQ(host.boxes.back(), 5002);
  EXPECT_EQ(doc.m_bPlaySent, 0);
  EXPECT_EQ(doc.GetSchedule(), SCHEDULE_PLAY);
  ASSERT_TRUE(Deliver(MSG_ACTION_ERROR, Words({500}), 1));
  EXPECT_EQ(host.closes, 1);
  EXPECT_EQ(host.quits, 1);

  host.boxAnswer = 6;  // Yes
  ASSERT_TRUE(Deliver(MSG_LEAVE_REQUEST, Words({2, 77})));
  EXPECT_EQ(host.boxes.back(), 3023);
  EXPECT_EQ(host.LastId(), MSG_LEAVE_ANSWER);
  EXPECT_EQ(host.LastBody(), Words({1, 77, 1}));
  size_t before = host.sent.size();
  ASSERT_TRUE(Deliver(MSG_LEAVE_ANSWER, Words({2, 0, 0})));  // request value 0: ignored
  EXPECT_EQ(host.sent.size(), before);
  ASSERT_TRUE(Deliver(MSG_LEAVE_ANSWER, Words({2, 77, 0})));  // refused: leave anyway?
  EXPECT_EQ(host.LastId(), MSG_LEAVE_CONFIRM);
  EXPECT_EQ(host.LastBody(), Words({1, 0, 1}));
}

// On its own free lead the seat has nothing to pass: the clock's expiry hands the seat to
// the server (trusteeship when allowed, MSG_TIMEOUT otherwise), a pass is never sent, and
// a refused play leaves pass and hint disabled.
TEST_F(Table, FreeLeadIsNeverPassed) {
  struct {
    uint32_t flags;
    uint32_t id;
    std::vector<uint8_t> head;  // the body's first bytes
  } cases[] = {{0, MSG_TIMEOUT, Words({1})}, {1, MSG_TRUSTEESHIP, Words({2})}};
  for (const auto& c : cases) {
    host.optionFlags = c.flags;
    Deal(SeventeenCards(), 1);
    ASSERT_TRUE(Deliver(MSG_BID, Words({0xFFFFFFFF, 0, 1, 1})));  // the own seat declares and leads
    ASSERT_EQ(doc.GetSchedule(), SCHEDULE_PLAY);
    size_t before = host.sent.size();
    doc.Pass();
    EXPECT_EQ(host.sent.size(), before) << "no pass on a free lead";
    doc.OnClockExpired();
    ASSERT_EQ(host.sent.size(), before + 1);
    EXPECT_EQ(host.LastId(), c.id);
    std::vector<uint8_t> body = host.LastBody();
    EXPECT_EQ(std::vector<uint8_t>(body.begin(), body.begin() + 4), c.head);
    doc.OnClockExpired();
    doc.Pass();
    EXPECT_LE(host.sent.size(), before + 2) << "no pass after the expiry either";
    for (size_t i = before; i < host.sent.size(); ++i) {
      uint32_t id;
      std::memcpy(&id, host.sent[i].data(), 4);
      EXPECT_NE(id, static_cast<uint32_t>(MSG_PLAY));
    }
    doc.m_bPlaySent = 0;
    host.ReleaseInput();
  }

  // A refused play on the free lead: play again, but pass and hint stay off.
  ASSERT_TRUE(Deliver(MSG_ACTION_ERROR, Words({204}), 1));
  EXPECT_EQ(host.buttons, std::make_pair(true, false));
  // Following a play, both are on again after a refusal.
  ASSERT_TRUE(Deliver(MSG_PLAY, Words({1, 2, 1, 1, static_cast<uint32_t>(Code(0, 0))})));
  ASSERT_TRUE(Deliver(MSG_PLAY, Words({2, 0, 1, 1, static_cast<uint32_t>(Code(2, 10))})));
  ASSERT_TRUE(Deliver(MSG_PLAY, Words({0, 1, 0, 0})));
  ASSERT_EQ(doc.m_bFreeLead, 0);
  ASSERT_TRUE(Deliver(MSG_ACTION_ERROR, Words({204}), 1));
  EXPECT_EQ(host.buttons, std::make_pair(true, true));
}

TEST_F(Table, MalformedFramesAreDropped) {
  struct {
    uint32_t id;
    std::vector<uint8_t> body;
  } cases[] = {
      {MSG_DEAL, std::vector<uint8_t>(47, 0)},
      {MSG_DEAL,
       [] {  // 30 cards + 8 bottom cards would overflow a hand
         auto b = Words({1, 1, 1, 0, 0, 0, 0, 0, 0, 1, 0, 8});
         b.resize(48 + 30, 1);
         return b;
       }()},
      {MSG_DEAL,
       [] {  // first bidder seat 7 maps to no position
         auto b = Words({1, 1, 1, 0, 0, 0, 0, 0, 0, 1, 7, 3});
         b.resize(48 + 17, 1);
         return b;
       }()},
      {MSG_BOTTOM_CARDS, Words({9, 1})},
      {MSG_BOTTOM_CARDS, Words({3, 1, 5})},
      {MSG_PLAY, Words({1, 2, 40, 1})},
      {MSG_PLAY, Words({9, 2, 0, 1})},
      {MSG_HAND_OVER, Words({3, 1})},
      {MSG_PLAYER_STATES, Words({0, 1000})},
      {MSG_WATCH_PERMISSION, Words({8, 1, 0})},
      {MSG_READY, {}},
  };
  for (const auto& c : cases) {
    auto f = Frame(c.id, c.body);
    auto pfn = table.Find(c.id);
    ASSERT_NE(pfn, nullptr);
    EXPECT_EQ((doc.*pfn)(f.data()), 0) << std::hex << c.id << " size " << std::dec << c.body.size();
  }
  EXPECT_EQ(doc.GetSchedule(), SCHEDULE_WAIT);
}

TEST_F(Table, ServerTextsAndTableInfo) {
  auto text = [](const std::string& s, uint32_t flag) {
    wire::Writer w;
    w.U32(flag);
    w.CString(s);
    return w.Take();
  };
  ASSERT_TRUE(Deliver(MSG_BUTTON_TEXT, text("file:///c:/evil.exe", 1)));
  EXPECT_EQ(host.survey, "");
  ASSERT_TRUE(Deliver(MSG_BUTTON_TEXT, text("https://survey.test/q", 1)));
  EXPECT_EQ(host.survey, "https://survey.test/q");

  wire::Writer info;
  for (const char* n : {"west", "me", "east", "other"}) {
    info.Field(n, 20);
    info.I32(3);
    info.Field("", 20);
  }
  ASSERT_EQ(info.bytes().size(), 176u);
  ASSERT_TRUE(Deliver(MSG_TABLE_INFO, info.Take()));
  EXPECT_EQ(doc.FindTableInfo("east"), 2);
  EXPECT_EQ(doc.FindTableInfo("nobody"), -1);
}

TEST_F(Table, SettingsAndPhaseRules) {
  host.profile["ShowOrder"] = 9;
  doc.LoadSettings();
  doc.SaveSettings();
  EXPECT_EQ(host.profile["ShowOrder"], 10);
  doc.SaveSettings();
  EXPECT_EQ(host.profile["ShowOrder"], 10);

  doc.m_bOwnTrusteeship = 1;
  host.clock.clear();
  for (int phase : {SCHEDULE_WAIT, SCHEDULE_PHASE3, SCHEDULE_BID, SCHEDULE_PLAY}) doc.SetSchedule(phase);
  for (int s : host.clock) EXPECT_EQ(s, -1) << "no clock while in trusteeship";
}

#include "SocketCloseLog.h"

TEST(SocketClose, RemoteLogLines) {
  struct {
    int error, reason;
    int level;
    const char* text;
    const char* why;
  } cases[] = {
      {10054, 0, 0, "software caused connection abort or connection reset by peer,ErrorCode=10054,Schedule=7",
       "connection abort"},
      {10060, 3, 0, "connection timed out,ErrorCode=10060,Schedule=7", "connection timeout"},
      {0, 1, 5, "player escape,game over,Schedule=7", "player escape"},
      {0, 5, 5, "exit channel,Schedule=7", "exit channel"},
      {0, 6, 5, "server command close,Schedule=7", "svrcmdclose"},
      {-1, 9, 5, "server command close,Schedule=7,nErrorCode=-1,CloseReason=9", "svrcmdclose"},
  };
  for (const auto& c : cases) {
    auto l = MakeSocketCloseLog(c.error, c.reason, 7);
    EXPECT_EQ(l.level, c.level) << c.text;
    EXPECT_EQ(l.text, c.text);
    EXPECT_EQ(l.reason, c.why);
  }
}

// The last card in the hand is played by the document itself, only where the player could
// play it: never for a trusteeship, never while input is held or on another's turn.
TEST_F(Table, AutoPlayOfTheLastCard) {
  struct {
    const char* name;
    int turn;
    bool trusteeship, held, alreadySelected;
    bool acts, sent;
  } cases[] = {
      {"own turn", 1, false, false, false, true, true},
      {"another's turn: selected, not played", 0, false, false, false, true, false},
      {"a trusteeship plays for the seat", 1, true, false, false, false, false},
      {"input held by a timeout", 1, false, true, false, true, false},
      {"the card is already selected", 1, false, false, true, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    host.ReleaseInput();
    if (c.held) host.HoldInput();
    doc.m_nSchedule = SCHEDULE_PLAY;
    doc.m_bPlaySent = 0;
    doc.m_bFreeLead = 1;
    doc.m_bOwnTrusteeship = c.trusteeship ? 1 : 0;
    doc.m_nTurnPosition = c.turn;
    doc.m_Seats[1].nCardCount = 1;
    CCardRules::SetCardFromCode(&doc.m_Hands[1][0], Code(2, 5));
    doc.m_Hands[1][0].bSelected = c.alreadySelected ? 1 : 0;
    const size_t before = host.sent.size();
    EXPECT_EQ(doc.AutoPlayLastCard(), c.acts);
    EXPECT_EQ(host.sent.size() > before, c.sent);
    if (c.sent) {
      EXPECT_EQ(host.LastId(), static_cast<uint32_t>(MSG_PLAY));
      EXPECT_TRUE(doc.IsPlaySent());
    }
  }
  host.ReleaseInput();
}

namespace {

// A hand-over body for three players with the given changes; no cards left.
std::vector<uint8_t> HandOverBody(uint32_t hand, std::initializer_list<int32_t> change) {
  wire::Writer w;
  for (uint32_t x : {3u, hand, 0u, 0u, 0u, 0u}) w.U32(x);
  for (int32_t c : change) w.I32(c);
  for (size_t i = change.size(); i < 4; ++i) w.I32(0);
  for (int i = 0; i < 12; ++i) w.U32(0);  // series totals, reserved, cards left
  return w.Take();
}

}  // namespace

// Score changes from the server are added without bound: totals stop at the int range's ends
// (hand after hand) instead of wrapping to the other sign.
TEST_F(Table, ScoreTotalsSaturateAtTheIntRange) {
  struct {
    const char* name;
    int32_t start, change, expected;
  } cases[] = {
      {"ordinary", 100, -30, 70},
      {"up to the top", INT32_MAX - 5, 100, INT32_MAX},
      {"at the top", INT32_MAX, INT32_MAX, INT32_MAX},
      {"down to the bottom", INT32_MIN + 1, INT32_MIN, INT32_MIN},
      {"back from the top", INT32_MAX, INT32_MIN, -1},
  };
  uint32_t hand = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    for (int p = 0; p < 3; ++p) doc.m_Seats[p].nScoreTotal = c.start;
    ASSERT_TRUE(Deliver(MSG_HAND_OVER, HandOverBody(hand++, {c.change, c.change, c.change})));
    for (int p = 0; p < 3; ++p) EXPECT_EQ(doc.m_Seats[p].nScoreTotal, c.expected);
  }
  // The largest hand number the server can send still ends the hand.
  ASSERT_TRUE(Deliver(MSG_HAND_OVER, HandOverBody(0xFFFFFFFFu, {1, 2, 3})));
  ASSERT_TRUE(Deliver(MSG_HAND_OVER, HandOverBody(0, {1, 2, 3})));
  EXPECT_EQ(ch.nHandNumber, 0u);
}

// The table's turn time comes from the server's options text (saturated to the int range):
// the declarer's doubled clock stays within 0..99 at both ends.
TEST_F(Table, TurnClockOfExtremeTurnTimes) {
  struct {
    int turn;
    int shown;
  } cases[] = {{INT32_MAX, 99}, {INT32_MAX / 2 + 1, 99}, {INT32_MIN, 0}, {30, 60}, {-1, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.turn);
    ch.nOptions[OPT_TURN_TIME] = c.turn;
    doc.m_nTurnPosition = 1;
    doc.m_Seats[1].nCardCount = 5;
    host.clock.clear();
    Deal(SeventeenCards(), 1);
    ASSERT_TRUE(Deliver(MSG_BID, Words({0xFFFFFFFF, 0, 1, 3})));  // we are the declarer
    ASSERT_FALSE(host.clock.empty());
    EXPECT_EQ(host.clock.back(), c.shown);
  }
}

namespace {

// The voices' folder and files as the program's profile and disk would give them.
struct VoiceHost : RecordingHost {
  std::string folder;
  std::map<std::string, std::string> ini;  // "file|section|key" -> value
  std::vector<std::string> files, iniReads;
  std::string GetDocumentFolder() override { return folder; }
  std::string ReadIniString(const std::string& file, const std::string& section, const std::string& key,
                            const std::string& def) override {
    iniReads.push_back(file);
    auto it = ini.find(file + "|" + section + "|" + key);
    return it == ini.end() ? def : it->second;
  }
  int ReadIniInt(const std::string& file, const std::string&, const std::string&, int def) override {
    iniReads.push_back(file);
    return def;
  }
  bool FileExists(const std::string& path) override {
    return std::find(files.begin(), files.end(), path) != files.end();
  }
};

}  // namespace

// The voices come from the game's own folder (the profile's "Path"), not from the drive's root.
TEST(Voices, AreChosenFromTheGamesFolder) {
  for (const char* folder : {"C:\\Games\\Vesk", "C:\\Games\\Vesk\\"}) {
    SCOPED_TRACE(folder);
    CHANNEL_STATE ch;
    ch.nPlayerCount = 3;
    ch.nOwnSeat = 1;
    for (int p = 0; p < 3; ++p) ch.seats[p].wServerSeat = static_cast<uint16_t>(p);
    ch.nGender[2] = 1;  // a woman in seat 2
    VoiceHost host;
    host.folder = folder;
    host.ini["C:\\Games\\Vesk\\sound.ini|4|MALE"] = "m4.wav";
    host.ini["C:\\Games\\Vesk\\sound.ini|4|FEMALE"] = "f4.wav,";
    host.files = {"C:\\Games\\Vesk\\sound\\m4.wav", "C:\\Games\\Vesk\\sound\\f4.wav"};
    CTestDoc doc{host.Hosts(), ch};
    doc.AttachTableView(&host);
    doc.LoadSeats();
    doc.LoadSettings();
    CMessageHandlerTable<CGameDocCore> table;
    doc.RegisterMessageHandlers(table);
    auto f = Frame(MSG_GAME_PROGRESS, {});
    ASSERT_TRUE(table.Dispatch(MSG_GAME_PROGRESS, f.data()));
    doc.m_nSchedule = SCHEDULE_BID;
    EXPECT_EQ(doc.PlayVoice(4, 1), "C:\\Games\\Vesk\\sound\\m4.wav");
    EXPECT_EQ(doc.PlayVoice(4, 2), "C:\\Games\\Vesk\\sound\\f4.wav");
    EXPECT_EQ(doc.PlayVoice(5, 1), "") << "a voice without a list";
    ASSERT_FALSE(host.iniReads.empty());
    for (const auto& r : host.iniReads) EXPECT_EQ(r, "C:\\Games\\Vesk\\sound.ini");
  }
}
