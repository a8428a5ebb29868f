// The table view in a plain frame over a document core fed by game frames, wired the
// way the program's document forwards its view calls. Clicks go in as messages; PNG
// pictures of the table at the bidding, during play and at the hand's end are saved in
// the working folder for people to look at.
#include <afxext.h>
#include <afxwin.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "GameView.h"
#include "GdiplusCodec.h"
#include "QKCtrls.h"
#include "ResLoad.h"
#include "StepTickSource.h"
#include "ThemeBitmaps.h"
#include "../../dialogs/win/WaitDlg.h"
#include "WinProbe.h"
#include "WireBytes.h"
#include "tests/NullDocHost.h"
#include "tests/TestDoc.h"
#include "resource.h"

namespace {

// The document's hosts; the view attaches itself as the table view.
struct ViewHost : CNullDocHost {
  CGameView* view = nullptr;
  std::vector<std::vector<uint8_t>> sent;
  bool SendFrame(const std::vector<uint8_t>& f) override {
    sent.push_back(f);
    return true;
  }
  uint32_t OptionFlags() override { return 1; }

  uint32_t LastId() const {
    uint32_t id = 0;
    if (!sent.empty()) std::memcpy(&id, sent.back().data(), 4);
    return id;
  }
};

struct Site : CGameViewSite {
  int yesNo = 0;
  int tiers[4] = {0, 0, 0, 0};
  std::vector<std::string> ticker;
  uint32_t OptionFlags() override { return 1; }
  bool AskYesNo(const char*, UINT style) override {
    ++yesNo;
    askStyle = style;
    return false;
  }
  UINT askStyle = 0;
  int SeatTier(int p) override { return tiers[p & 3]; }
  void TickerText(const std::string& t) override { ticker.push_back(t); }
  void PlaceTicker(CWnd* parent, const RECT& r) override {
    tickerParent = parent;
    tickerPlaces.push_back(r);
  }
  CWnd* tickerParent = nullptr;
  std::vector<RECT> tickerPlaces;
  bool GameProgressArrived() override { return true; }
  int IdleSeconds() override { return idleSeconds; }
  void SendKeepAlive() override { ++keepAlives; }
  void ToggleScoreBoard() override {}
  void OpenSettings() override {}
  std::string SaveScreenshot() override { return shotPath; }
  void ChatNotice(const std::string& text, COLORREF color, int size) override {
    notices.push_back(text);
    noticeColor = color;
    noticeSize = size;
  }
  std::string NickNameOf(const char* user) override { return std::string(user) == knownUser ? knownNick : ""; }
  void PlayWave(int id) override { waves.push_back(id); }
  std::string shotPath;
  std::vector<std::string> notices;
  COLORREF noticeColor = 0;
  int noticeSize = 0;
  std::string knownUser, knownNick;
  std::vector<int> waves;
  void OpenUrl(const std::string&) override {}
  void HoldMessages(bool hold) override { holds.push_back(hold); }
  CWnd* MainWindow() override { return mainWnd; }
  CWnd* mainWnd = nullptr;
  int idleSeconds = 120;
  int keepAlives = 0;
  std::vector<bool> holds;
};

std::vector<uint8_t> Frame(uint32_t id, const std::vector<uint8_t>& body) {
  wire::Writer w;
  w.U32(id);
  w.U32(static_cast<uint32_t>(body.size()));
  if (id & 0x80000000u) w.U32(0);
  w.Bytes(body.data(), body.size());
  return w.Take();
}

std::vector<uint8_t> Words(std::initializer_list<uint32_t> words) {
  wire::Writer w;
  for (uint32_t x : words) w.U32(x);
  return w.Take();
}

uint32_t Code(int suit, int rank) { return static_cast<uint32_t>(suit * 13 + rank); }

const int kViewW = 784, kViewH = 650;

class GameViewTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    AfxWinInit(::GetModuleHandleA(nullptr), nullptr, (LPSTR) "", SW_HIDE);
    HINSTANCE hRes = ::LoadLibraryA("Vesk_Res_936.dll");
    ASSERT_NE(hRes, nullptr);
    AfxSetResourceHandle(hRes);
    ASSERT_TRUE(AfxOleInit());
    AfxEnableControlContainer();
    RegisterAvatarStandIn();
  }

  // The avatar stand-in from the test's folder, registered for this process only.
  static void RegisterAvatarStandIn() {
    HMODULE h = ::LoadLibraryA("QKChatEx.dll");
    ASSERT_NE(h, nullptr);
    auto get = (HRESULT(WINAPI*)(REFCLSID, REFIID, void**))::GetProcAddress(h, "DllGetClassObject");
    ASSERT_NE(get, nullptr);
    IClassFactory* f = nullptr;
    ASSERT_EQ(get(CQKAvatar::clsid, IID_IClassFactory, (void**)&f), S_OK);
    DWORD cookie = 0;
    ASSERT_EQ(::CoRegisterClassObject(CQKAvatar::clsid, f, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie), S_OK);
  }

  void SetUp() override {
    ch.nPlayerCount = players;
    ch.nOwnSeat = 1;
    const char* users[4] = {"west01", "me2026", "east99", "north7"};
    // 老王 小明 阿花 北方
    const char* nicks[4] = {"\xC0\xCF\xCD\xF5", "\xD0\xA1\xC3\xF7", "\xB0\xA2\xBB\xA8", "\xB1\xB1\xB7\xBD"};
    for (int p = 0; p < players; ++p) {
      ch.seats[p].wServerSeat = static_cast<uint16_t>(p);
      std::strcpy(ch.seats[p].szUserName, users[p]);
      std::strcpy(ch.seats[p].szNickName, nicks[p]);
    }
    doc.LoadSeats();
    doc.RegisterMessageHandlers(table);
    doc.m_bVoice = 0;
    doc.m_bSound = 0;
    doc.m_bTurnClockEnabled = 1;
    doc.m_bOrder = 1;

    frame = new CFrameWnd;
    ASSERT_TRUE(
        frame->Create(nullptr, "Vesk table", WS_OVERLAPPED | WS_CAPTION, CRect(0, 0, kViewW + 40, kViewH + 60)));
    site.mainWnd = frame;
    view = new CGameView;
    host.view = view;
    view->SetGameDoc(&doc);
    view->SetSite(&site);
    BeforeCreate();
    ASSERT_TRUE(view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, kViewW, kViewH), frame,
                             AFX_IDW_PANE_FIRST, nullptr));
    view->OnInitialUpdate();
    frame->ShowWindow(SW_SHOWNOACTIVATE);
  }

  virtual void BeforeCreate() {}

  void TearDown() override {
    frame->DestroyWindow();  // deletes the view and the frame
    Pump();
  }

  static void Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
  }

  bool Deliver(uint32_t id, const std::vector<uint8_t>& body) {
    auto f = Frame(id, body);
    return table.Dispatch(id, f.data());
  }

  void Deal(uint32_t firstBidder, uint32_t hint = 1, uint32_t allowOwn = 1) {
    std::vector<uint8_t> own;
    for (int r = 0; r < 13; ++r) own.push_back(static_cast<uint8_t>(Code(r % 4, r)));
    for (int r = 0; r < 4; ++r) own.push_back(static_cast<uint8_t>(Code((r + 1) % 4, r + 3)));
    auto body = Words({1, allowOwn, 1, 0, 120, 80, 95, 0, 0, hint, firstBidder, 3});
    body.insert(body.end(), own.begin(), own.end());
    ASSERT_TRUE(Deliver(MSG_DEAL, body));
  }

  // Bidding: west bids 1, we bid 3 and become the declarer with the bottom cards.
  void BidAndTakeBottom() {
    Deal(0);
    ASSERT_TRUE(Deliver(MSG_BID, Words({1, 0, 0, 1})));
    view->OnBid3();
    ASSERT_EQ(host.LastId(), MSG_BID);
    ASSERT_TRUE(Deliver(MSG_BID, Words({0xFFFFFFFF, 0, 1, 3})));
    ASSERT_TRUE(Deliver(MSG_BOTTOM_CARDS, Words({3, 1, Code(2, 5), Code(3, 9), 53})));
  }

  int IndexOfCode(int code) {
    for (int i = 0; i < doc.m_Seats[1].nCardCount; ++i)
      if (doc.m_Hands[1][i].nCode == code) return i;
    return -1;
  }

  void ClickCard(int index, bool ctrl = false) {
    const tableview::Layout& l = view->GetLayout();
    const CARD_INFO& c = doc.m_Hands[1][index];
    tableview::Box b = tableview::OwnCardBox(l, index, c.bSelected != 0);
    // Inside the part of the card that the next card leaves uncovered.
    const int x = b.left + 4, y = b.top + 30;
    view->SendMessage(WM_LBUTTONDOWN, ctrl ? MK_LBUTTON | MK_CONTROL : MK_LBUTTON, MAKELPARAM(x, y));
    view->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  }

  std::vector<int> Selected() {
    std::vector<int> v;
    for (int i = 0; i < doc.m_Seats[1].nCardCount; ++i)
      if (doc.m_Hands[1][i].bSelected) v.push_back(i);
    return v;
  }

  bool Visible(UINT id) {
    CWnd* w = view->GetControl(id);
    return w && (w->GetStyle() & WS_VISIBLE);
  }
  bool Enabled(UINT id) {
    CWnd* w = view->GetControl(id);
    return w && w->IsWindowEnabled();
  }

  // Paints the table with its buttons into a memory bitmap, saves it, and returns a
  // pixel probe.
  struct Shot {
    HDC dc = nullptr;
    HBITMAP bmp = nullptr;
    HGDIOBJ old = nullptr;
    ~Shot() {
      if (dc) {
        ::SelectObject(dc, old);
        ::DeleteDC(dc);
      }
      if (bmp) ::DeleteObject(bmp);
    }
    COLORREF At(int x, int y) const { return ::GetPixel(dc, x, y); }
  };
  void Snap(const char* name, Shot& s) {
    CRect rc;
    view->GetClientRect(&rc);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = rc.Width();
    bi.bmiHeader.biHeight = -rc.Height();
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    s.bmp = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    s.dc = ::CreateCompatibleDC(nullptr);
    s.old = ::SelectObject(s.dc, s.bmp);
    CDC cdc;
    cdc.Attach(s.dc);
    view->RenderWithControls(&cdc);
    cdc.Detach();
    ::SelectObject(s.dc, s.old);
    std::string n(name);
    EXPECT_TRUE(winprobe::SaveBitmapPng(s.bmp, std::wstring(n.begin(), n.end())));
    s.old = ::SelectObject(s.dc, s.bmp);
  }

  int players = 3;
  CHANNEL_STATE ch;
  ViewHost host;
  Site site;
  CTestDoc doc{host.Hosts(), ch};
  CMessageHandlerTable<CGameDocCore> table;
  CFrameWnd* frame = nullptr;
  CGameView* view = nullptr;
};

// What the avatar controls' windows received: position * 10000 + message + wParam.
std::vector<int> s_avatarMsgs;
WNDPROC s_avatarProcs[4];
LRESULT CALLBACK RecordAvatar(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  const int p = (int)(INT_PTR)::GetPropA(h, "seat") - 1;
  if (msg == CGameView::AVATAR_MSG_PLAYER || msg == CGameView::AVATAR_MSG_WATCHER)
    s_avatarMsgs.push_back(p * 10000 + (int)msg + (int)wp);
  return ::CallWindowProcA(s_avatarProcs[p & 3], h, msg, wp, lp);
}

bool IsGreen(COLORREF c) { return GetGValue(c) > 60 && GetRValue(c) < 40 && GetBValue(c) < 90; }
// A card's face: near white on every channel.
bool IsCardFace(COLORREF c) { return GetRValue(c) > 235 && GetGValue(c) > 235 && GetBValue(c) > 235; }

}  // namespace

TEST_F(GameViewTest, WaitingTableShowsStart) {
  EXPECT_EQ(doc.GetSchedule(), SCHEDULE_WAIT);
  EXPECT_TRUE(Visible(IDC_START));
  EXPECT_TRUE(Enabled(IDC_START));
  EXPECT_FALSE(Visible(IDC_CALL1));
  EXPECT_FALSE(Visible(IDC_TAKEOUT));
  EXPECT_EQ(view->GetToolTipText(IDC_TRUSTEE), "\xB7\xFE\xCE\xF1\xC6\xF7\xCD\xD0\xB9\xDC");
  EXPECT_FALSE(view->GetToolTipText(IDC_SETTINGS).empty());
  view->OnStart();
  EXPECT_EQ(host.LastId(), MSG_READY);
  EXPECT_FALSE(Enabled(IDC_START));
  Shot s;
  Snap("table_waiting.png", s);
  EXPECT_TRUE(IsGreen(s.At(kViewW / 2, kViewH / 2)));
}

TEST_F(GameViewTest, BiddingButtonsFollowTheCurrentBid) {
  Deal(0);
  EXPECT_EQ(doc.GetSchedule(), SCHEDULE_BID);
  EXPECT_FALSE(Visible(IDC_CALL1)) << "west bids first";
  EXPECT_TRUE(view->IsMarkerShown());
  EXPECT_EQ(view->GetMarkerPosition(), 0);
  ASSERT_TRUE(Deliver(MSG_BID, Words({1, 0, 0, 1})));
  EXPECT_EQ(doc.m_nTurnPosition, 1);
  EXPECT_TRUE(Visible(IDC_CALL1));
  EXPECT_FALSE(Enabled(IDC_CALL1));
  EXPECT_TRUE(Enabled(IDC_CALL2));
  EXPECT_TRUE(Enabled(IDC_CALL3));
  EXPECT_TRUE(Enabled(IDC_CALL0));
  EXPECT_FALSE(Visible(IDC_START));
  EXPECT_EQ(view->GetClockSeconds(), 60);
  // Clicks select nothing outside the playing phase.
  ClickCard(3);
  EXPECT_TRUE(Selected().empty());
  Shot s;
  Snap("table_bidding.png", s);
  // Own cards are drawn face up at the bottom: a white card face.
  const tableview::Layout& l = view->GetLayout();
  EXPECT_TRUE(IsCardFace(s.At(l.hand[1].x + 8, l.hand[1].y + 60)));
  // Three backs of the bottom cards at the top centre, not the felt.
  EXPECT_FALSE(IsGreen(s.At(kViewW / 2, 40)));
}

TEST_F(GameViewTest, PlayingWithClicksAndHandEnd) {
  BidAndTakeBottom();
  EXPECT_EQ(doc.GetSchedule(), SCHEDULE_PLAY);
  EXPECT_EQ(doc.m_Seats[1].nCardCount, 20);
  EXPECT_EQ(view->GetSelectedCount(), 3) << "the bottom cards come in raised";
  EXPECT_TRUE(Visible(IDC_TAKEOUT));
  EXPECT_TRUE(Enabled(IDC_TAKEOUT));
  EXPECT_FALSE(Enabled(IDC_PASS)) << "the declarer leads";
  EXPECT_TRUE(Visible(IDC_TRUSTEE));
  Shot raised;
  Snap("table_bottom_cards_raised.png", raised);
  {
    // A raised card shows its face 20 pixels above the row.
    const tableview::Layout& l = view->GetLayout();
    const int i = IndexOfCode(53);
    ASSERT_GE(i, 0);
    const int x = l.hand[1].x + i * l.step + 5;
    EXPECT_TRUE(IsCardFace(raised.At(x, l.hand[1].y - 12)));
  }

  // Ctrl on a selected card clears every selection.
  const int big = IndexOfCode(53);
  ClickCard(big, true);
  EXPECT_TRUE(Selected().empty());
  EXPECT_FALSE(Enabled(IDC_TAKEOUT));
  // One card, then Ctrl on another: the whole run between them.
  ClickCard(2);
  ClickCard(6, true);
  EXPECT_EQ(Selected(), (std::vector<int>{2, 3, 4, 5, 6}));
  EXPECT_TRUE(Enabled(IDC_TAKEOUT));
  // Ctrl with several selected only toggles the clicked card.
  ClickCard(9, true);
  EXPECT_EQ(Selected(), (std::vector<int>{2, 3, 4, 5, 6, 9}));
  // A click outside every card changes nothing, also with Ctrl.
  view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MAKELPARAM(kViewW / 2, 200));
  EXPECT_EQ(Selected().size(), 6u);
  // Moving with the button held selects nothing.
  view->SendMessage(WM_MOUSEMOVE, MK_LBUTTON,
                    MAKELPARAM(view->GetLayout().hand[1].x + 20, view->GetLayout().hand[1].y + 40));
  EXPECT_EQ(Selected().size(), 6u);
  ClickCard(2, true);
  EXPECT_TRUE(Selected().empty());

  // While a send is in flight, clicks are refused.
  host.BeginSend();
  ClickCard(0);
  EXPECT_TRUE(Selected().empty());
  host.EndSend();

  // Play a pair of threes with two clicks and the play button's command.
  const int a = IndexOfCode(static_cast<int>(Code(0, 0)));
  const int b = IndexOfCode(static_cast<int>(Code(1, 3)));  // a four, not a pair with the three
  ASSERT_GE(a, 0);
  ASSERT_GE(b, 0);
  ClickCard(a);
  EXPECT_EQ(Selected(), (std::vector<int>{a}));
  const size_t before = host.sent.size();
  view->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_TAKEOUT, BN_CLICKED),
                    (LPARAM)view->GetControl(IDC_TAKEOUT)->GetSafeHwnd());
  ASSERT_EQ(host.sent.size(), before + 1);
  EXPECT_EQ(host.LastId(), MSG_PLAY);
  ASSERT_TRUE(Deliver(MSG_PLAY, Words({1, 2, 1, 1, Code(0, 0)})));
  EXPECT_EQ(doc.m_Seats[1].nCardCount, 19);
  EXPECT_FALSE(Visible(IDC_TAKEOUT)) << "east's turn";
  EXPECT_EQ(view->GetMarkerPosition(), 2);
  // East beats it with a five, west passes: our turn with both plays on the table.
  // East's five slides in from its hand.
  view->SetMoveCards(true);
  const tableview::Box band = view->GetBandBox();
  EXPECT_EQ(band.top, view->GetLayout().H * 30 / 100) << "the band behind moving cards";
  EXPECT_EQ(band.Height(), view->GetLayout().H * 55 / 100);
  ASSERT_TRUE(Deliver(MSG_PLAY, Words({2, 0, 1, 1, Code(3, 2)})));
  EXPECT_EQ(doc.m_Seats[2].nLastPlayCount, 1) << "the moving play is left in the document";
  ASSERT_TRUE(Deliver(MSG_PLAY, Words({0, 1, 0, 1})));
  view->SetMoveCards(false);
  EXPECT_EQ(doc.m_nTurnPosition, 1);
  EXPECT_TRUE(Visible(IDC_TAKEOUT));
  EXPECT_TRUE(Enabled(IDC_PASS));
  EXPECT_TRUE(Visible(IDC_SEARCH));
  // Hint selects a play that beats the five.
  view->OnSearch();
  EXPECT_FALSE(Selected().empty());
  EXPECT_TRUE(Enabled(IDC_TAKEOUT));
  Shot play;
  Snap("table_playing.png", play);
  {
    const tableview::Layout& l = view->GetLayout();
    const tableview::Box east = tableview::PlayRowBox(l, 2, 1);
    EXPECT_TRUE(IsCardFace(play.At(east.left + 8, east.top + 60))) << "east's five on the table";
  }
  // Pass clears the selection.
  view->OnPass();
  EXPECT_EQ(host.LastId(), MSG_PLAY);
  EXPECT_TRUE(Selected().empty());

  // The trusteeship button asks first; No sends nothing.
  const size_t n = host.sent.size();
  view->OnTrustee();
  EXPECT_EQ(site.yesNo, 1);
  EXPECT_EQ(host.sent.size(), n);

  // Hand over: east emptied its hand; the others' cards are laid open.
  wire::Writer w;
  for (uint32_t v : {3u, 1u, 0u, 0u, 0u, 0u}) w.U32(v);
  for (int32_t c : {-30, -30, 60, 0}) w.I32(c);
  for (int32_t c : {-30, -30, 60, 0}) w.I32(c);
  for (int i = 0; i < 4; ++i) w.U32(0);
  for (uint32_t c : {4u, 5u, 0u, 0u}) w.U32(c);
  for (uint32_t c : {Code(0, 11), Code(1, 11), Code(2, 8), 52u}) w.U32(c);
  for (uint32_t c : {Code(3, 12), Code(2, 12), Code(1, 7), Code(0, 6), Code(2, 4)}) w.U32(c);
  ASSERT_TRUE(Deliver(MSG_HAND_OVER, w.Take()));
  EXPECT_EQ(doc.GetSchedule(), SCHEDULE_WAIT);
  EXPECT_TRUE(Visible(IDC_START));
  EXPECT_FALSE(Visible(IDC_TAKEOUT));
  EXPECT_FALSE(view->IsMarkerShown());
  Shot end;
  Snap("table_hand_end.png", end);
  {
    // West's remaining cards are shown face up in its column.
    const tableview::Layout& l = view->GetLayout();
    const tableview::Pt p = tableview::SideCardOrigin(l, 0, 3, 4);
    EXPECT_TRUE(IsCardFace(end.At(p.x + 3, p.y + 50)));
  }
}

// The server's trusteeship result for a user: status 1, on or off, the name.
std::vector<uint8_t> TrusteeshipResult(uint32_t on, const char* user) {
  wire::Writer w;
  w.U32(0x8000021B);
  w.U32(24);
  w.U32(1);
  w.U32(on);
  char name[20] = {};
  std::strncpy(name, user, sizeof name - 1);
  w.Bytes(reinterpret_cast<const uint8_t*>(name), sizeof name);
  return w.Take();
}

TEST_F(GameViewTest, TrusteeshipToTheHandsEndGivesTheWaitingTableBack) {
  BidAndTakeBottom();
  view->ShowShowCardsButton();
  ASSERT_TRUE(Visible(IDC_SHOWCARD));
  // Our single three goes to the table, then the server plays the seat.
  ASSERT_TRUE(Deliver(MSG_PLAY, Words({1, 2, 1, 1, Code(0, 0)})));
  ASSERT_EQ(doc.m_Seats[1].nLastPlayCount, 1);
  ASSERT_EQ(doc.OnTrusteeship(TrusteeshipResult(1, "me2026").data()), 1);
  EXPECT_TRUE(Visible(IDC_CANCELTRUSTEE));
  EXPECT_FALSE(Visible(IDC_TRUSTEE));

  // The hand ends while the server still plays the seat: the table waits as it stands.
  wire::Writer w;
  for (uint32_t v : {3u, 1u, 0u, 0u, 0u, 0u}) w.U32(v);
  for (int32_t c : {-30, 60, -30, 0}) w.I32(c);
  for (int32_t c : {-30, 60, -30, 0}) w.I32(c);
  for (int i = 0; i < 4; ++i) w.U32(0);
  for (uint32_t c : {1u, 0u, 1u, 0u}) w.U32(c);
  for (uint32_t c : {Code(0, 11), Code(1, 11)}) w.U32(c);
  ASSERT_TRUE(Deliver(MSG_HAND_OVER, w.Take()));
  EXPECT_EQ(doc.GetSchedule(), SCHEDULE_WAIT);
  EXPECT_FALSE(Visible(IDC_SHOWCARD)) << "nothing to lay open once the hand is over";

  // Trusteeship ends: the waiting table of a player in charge, own play taken off.
  ASSERT_EQ(doc.OnTrusteeship(TrusteeshipResult(0, "me2026").data()), 1);
  EXPECT_EQ(doc.m_Seats[1].nLastPlayCount, 0) << "the own last play stays under start";
  EXPECT_TRUE(Visible(IDC_START));
  EXPECT_TRUE(Enabled(IDC_START));
  EXPECT_FALSE(Visible(IDC_CANCELTRUSTEE));
  EXPECT_TRUE(Visible(IDC_TRUSTEE));
  EXPECT_FALSE(Enabled(IDC_TRUSTEE)) << "trusteeship belongs to the playing phase";
  Shot waiting;
  Snap("table_after_trusteeship.png", waiting);

  // The next bidding keeps trusteeship off until the play begins.
  Deal(0);
  EXPECT_EQ(doc.GetSchedule(), SCHEDULE_BID);
  EXPECT_FALSE(Enabled(IDC_TRUSTEE));
  ASSERT_TRUE(Deliver(MSG_BID, Words({1, 0, 0, 1})));
  EXPECT_TRUE(Visible(IDC_CALL3));
  EXPECT_FALSE(Enabled(IDC_TRUSTEE));
}

TEST_F(GameViewTest, DirectionFlagMirrorsTheSides) {
  Deal(0);
  Shot right;
  Snap("table_direction_set.png", right);
  const tableview::Layout l = view->GetLayout();
  doc.m_nShowOrder = 0;
  view->OnSwitchDirection();
  EXPECT_EQ(doc.m_bOrder, 0);
  EXPECT_FALSE(Visible(IDC_SEAT_CCW));
  EXPECT_TRUE(Visible(IDC_SEAT_CW));
  // The marker of west (position 0) now stands on the left.
  EXPECT_EQ(view->GetMarkerPosition(), 0);
  Shot left;
  Snap("table_direction_clear.png", left);
  const tableview::Pt m = l.marker[2];
  int differ = 0;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) differ += left.At(m.x + x, m.y + y) != right.At(m.x + x, m.y + y);
  EXPECT_GT(differ, 20) << "the marker moved to the left seat";
}

TEST_F(GameViewTest, ChatEchoAndAvatarClicks) {
  std::strcpy(doc.m_szHostName, "host");
  std::string line = "<font>host<x>\xA3\xBA<i>hi</i>good luck";
  view->SendMessage(CGameView::WM_CHAT_ECHO, 0, (LPARAM)line.c_str());
  ASSERT_EQ(site.ticker.size(), 1u);
  EXPECT_EQ(site.ticker[0], "host:good luck");
  std::string other = "<font>guest<x>\xA3\xBAhello";
  view->SendMessage(CGameView::WM_CHAT_ECHO, 0, (LPARAM)other.c_str());
  EXPECT_EQ(site.ticker.size(), 1u);
  view->SendMessage(CGameView::WM_CHAT_ECHO, 0, 0);

  // The ticker stands 600 by 30 at the top centre of the table.
  ASSERT_FALSE(site.tickerPlaces.empty());
  EXPECT_EQ(site.tickerParent, view);
  const RECT t = site.tickerPlaces.back();
  CRect client;
  view->GetClientRect(&client);
  EXPECT_EQ(t.left, client.Width() / 2 - 300);
  EXPECT_EQ(t.top, 0);
  EXPECT_EQ(t.right - t.left, 600);
  EXPECT_EQ(t.bottom - t.top, 30);

  // Clicks on the avatars reach the avatar controls' windows: the own one on a left click,
  // any seat's (the watcher's message) on a right click.
  const tableview::Layout& l = view->GetLayout();
  s_avatarMsgs.clear();
  for (int p = 0; p < 3; ++p) {
    HWND h = view->GetAvatarPanel(p).GetAvatarWindow();
    ASSERT_NE(h, nullptr);
    s_avatarProcs[p] = (WNDPROC)::SetWindowLongPtrA(h, GWLP_WNDPROC, (LONG_PTR)&RecordAvatar);
    ::SetPropA(h, "seat", (HANDLE)(INT_PTR)(p + 1));
  }
  view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(l.avatar[1].x + 10, l.avatar[1].y + 10));
  view->SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(l.avatar[0].x + 10, l.avatar[0].y + 10));
  // A left click on another player's avatar posts nothing.
  view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(l.avatar[0].x + 10, l.avatar[0].y + 10));
  Pump();
  EXPECT_EQ(s_avatarMsgs, (std::vector<int>{10000 + 1235, 0 + 1236 + 3}));
}

TEST_F(GameViewTest, AvatarsAndTiersAtTheSeats) {
  Deal(0);
  // The others' tiers come from the query; west goes offline, east is ready.
  site.tiers[0] = 3;
  site.tiers[2] = 1;
  doc.m_Seats[0].dwState = SEAT_OFFLINE;
  doc.m_Seats[2].dwState = SEAT_READY;
  view->RedrawAvatar(0);
  view->RedrawAvatar(2);
  Shot s;
  Snap("table_avatars_tiers.png", s);
  EXPECT_EQ(view->GetSeatTier(0), 3);
  EXPECT_EQ(view->GetSeatTier(1), 0);
  const tableview::Layout& l = view->GetLayout();
  for (int p = 0; p < 3; ++p) {
    // The avatar panel stands where the layout puts the seat's avatar, hidden: the view
    // paints its picture (not the table's green) inside its frame.
    CAvatarPanel& a = view->GetAvatarPanel(p);
    ASSERT_TRUE(a.GetSafeHwnd());
    EXPECT_FALSE(a.IsWindowVisible());
    CRect r;
    a.GetWindowRect(&r);
    view->ScreenToClient(&r);
    EXPECT_EQ(r.TopLeft(), CPoint(l.avatar[p].x, l.avatar[p].y)) << "the direction flag is set: no exchange";
    EXPECT_EQ(r.Width(), tableview::AVATAR_W);
    EXPECT_EQ(r.Height(), tableview::AVATAR_H);
    EXPECT_FALSE(IsGreen(s.At(r.left + 45, r.top + 55))) << "avatar " << p;
  }
  // The status marks follow the seats' flags: offline west, ready east, none for the own seat.
  EXPECT_EQ(view->GetAvatarPanel(0).GetStatusFlags(), (uint32_t)SEAT_OFFLINE);
  EXPECT_EQ(view->GetAvatarPanel(2).GetStatusFlags(), (uint32_t)SEAT_READY);
  // A tier badge where the tier area is.
  for (int p : {0, 2}) {
    const tableview::Box t = view->TierArea(p);
    EXPECT_FALSE(IsGreen(s.At(t.left + 2, t.top + 8))) << "tier badge " << p;
  }
}

TEST_F(GameViewTest, LargeCardsTable) {
  CGameView::SetLargeCards(true);
  frame->SetWindowPos(nullptr, 0, 0, 1200, 900, SWP_NOZORDER | SWP_NOMOVE);
  view->SetWindowPos(nullptr, 0, 0, kViewW, kViewH, SWP_NOZORDER | SWP_NOMOVE);
  BidAndTakeBottom();
  EXPECT_EQ(view->GetLayout().cardW, 142);
  Shot s;
  Snap("table_large_cards.png", s);
  CGameView::SetLargeCards(false);
}

TEST_F(GameViewTest, TimersKeepAliveClockAndLastCard) {
  struct IdleSite : Site {
    int keepAlives = 0;
    int IdleSeconds() override { return 3; }
    void SendKeepAlive() override { ++keepAlives; }
  } idle;
  view->SetSite(&idle);
  // The keep-alive goes out every IdleSecond ticks, clicks or not.
  for (int i = 0; i < 7; ++i) {
    view->SendMessage(WM_TIMER, CGameView::IDT_IDLE, 0);
    view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  }
  EXPECT_EQ(idle.keepAlives, 2);
  // The view's other timers tick the same count.
  view->SendMessage(WM_TIMER, CGameView::IDT_AUTOPLAY, 0);
  EXPECT_EQ(idle.keepAlives, 2);
  view->SendMessage(WM_TIMER, CGameView::IDT_AUTOPLAY, 0);
  EXPECT_EQ(idle.keepAlives, 3);
  view->SetSite(&site);

  // The clock counts on its own thread; at zero the command is the document's: in the
  // bidding it bids nothing. Its tick sounds go through the site's sound player.
  CStepTickSource ticks;
  view->GetTurnClock().SetTickSource(&ticks);
  Deal(1);
  ASSERT_EQ(view->GetClockSeconds(), 60);
  EXPECT_TRUE(view->GetTurnClock().IsWindowVisible());
  view->ShowTurnClock(6);
  ASSERT_TRUE(ticks.Step(view->GetTurnClock(), 4));
  EXPECT_EQ(view->GetClockSeconds(), 5);
  ASSERT_TRUE(ticks.Step(view->GetTurnClock(), 16));
  EXPECT_EQ(view->GetClockSeconds(), 1);
  EXPECT_EQ(site.waves, (std::vector<int>{IDW_TICK})) << "the tick after five seconds";
  const size_t n = host.sent.size();
  ASSERT_TRUE(ticks.Step(view->GetTurnClock(), 4));
  ASSERT_EQ(host.sent.size(), n + 1);
  EXPECT_EQ(host.LastId(), MSG_BID);
  EXPECT_EQ(site.waves, (std::vector<int>{IDW_TICK, IDW_TIMEUP}));
  view->GetTurnClock().SetTickSource(nullptr);

  // Declarer with one card left on a free lead: the auto-play timer plays it.
  ASSERT_TRUE(Deliver(MSG_BID, Words({0xFFFFFFFF, 0, 1, 1})));
  ASSERT_TRUE(Deliver(MSG_BOTTOM_CARDS, Words({3, 1, Code(2, 5), Code(3, 9), 53})));
  doc.m_Seats[1].nCardCount = 1;
  doc.m_Hands[1][0] = doc.m_Hands[1][19];
  doc.m_Hands[1][0].bSelected = 0;
  doc.SetSchedule(SCHEDULE_PLAY);
  view->SendMessage(WM_TIMER, CGameView::IDT_AUTOPLAY, 0);
  EXPECT_EQ(host.LastId(), MSG_PLAY);
  EXPECT_EQ(doc.m_bPlaySent, 1);
}

TEST_F(GameViewTest, RightClickPlaysTheSelection) {
  BidAndTakeBottom();
  ASSERT_EQ(view->GetSelectedCount(), 3);
  // The three bottom cards are no valid play: the document refuses before sending.
  const size_t n = host.sent.size();
  ClickCard(IndexOfCode(53));  // leave two: not a pair either
  ClickCard(IndexOfCode(static_cast<int>(Code(3, 9))));
  ASSERT_EQ(Selected().size(), 1u);
  const tableview::Layout& l = view->GetLayout();
  view->SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(l.cx, 100));
  ASSERT_EQ(host.sent.size(), n + 1);
  EXPECT_EQ(host.LastId(), MSG_PLAY);
  // While the play is on its way, further clicks are refused.
  ClickCard(0);
  EXPECT_EQ(Selected().size(), 1u);
}

TEST_F(GameViewTest, CardClickRepaintsOnlyThatCard) {
  BidAndTakeBottom();
  view->UpdateWindow();
  const tableview::Layout& l = view->GetLayout();
  const int i = IndexOfCode(53);
  const tableview::Box card = tableview::OwnCardRepaintBox(l, i);
  // Marks straight on the window: one on the felt, one inside the card's area.
  const COLORREF mark = RGB(255, 0, 255);
  HDC dc = ::GetDC(view->GetSafeHwnd());
  HBRUSH brush = ::CreateSolidBrush(mark);
  const RECT felt{l.cx, l.cy - 40, l.cx + 6, l.cy - 34};
  const RECT inCard{card.left + 2, card.bottom - 8, card.left + 8, card.bottom - 2};
  ::FillRect(dc, &felt, brush);
  ::FillRect(dc, &inCard, brush);
  ::GdiFlush();
  ASSERT_EQ(::GetPixel(dc, felt.left + 2, felt.top + 2), mark) << "the window DC reads back";
  ClickCard(i);
  ::GdiFlush();
  EXPECT_NE(::GetPixel(dc, inCard.left + 2, inCard.top + 2), mark) << "the clicked card is repainted";
  EXPECT_EQ(::GetPixel(dc, felt.left + 2, felt.top + 2), mark) << "the rest of the table is not";
  ::DeleteObject(brush);
  ::ReleaseDC(view->GetSafeHwnd(), dc);
  Shot s;
  Snap("table_card_lowered.png", s);
}

class FourPlayerViewTest : public GameViewTest {
 protected:
  void SetUp() override {
    players = 4;
    GameViewTest::SetUp();
  }
};

TEST_F(FourPlayerViewTest, TopSeatAndNoBottomCards) {
  std::vector<uint8_t> own;
  for (int i = 0; i < 25; ++i) own.push_back(static_cast<uint8_t>((i * 4) % 108));
  auto body = Words({1, 1, 1, 1, 50, 60, 70, 80, 0, 1, 3, 8});
  body.insert(body.end(), own.begin(), own.end());
  ASSERT_TRUE(Deliver(MSG_DEAL, body));
  EXPECT_EQ(doc.m_Seats[3].nCardCount, 25);
  EXPECT_EQ(view->GetMarkerPosition(), 3);
  EXPECT_FALSE(Visible(IDC_START));
  EXPECT_FALSE(Visible(IDC_CALL1));
  const tableview::Layout& l = view->GetLayout();
  EXPECT_EQ(l.tool.x, 10);
  EXPECT_EQ(l.avatar[3].x, l.cx - 70 + 6);
  Shot s;
  Snap("table_four_players.png", s);
  // The top avatar is drawn where the three-player table shows its bottom cards.
  EXPECT_FALSE(IsGreen(s.At(l.avatar[3].x + 45, l.avatar[3].y + 50)));
}

TEST_F(GameViewTest, WithoutHintsTheOwnTurnHasNoHintButton) {
  Deal(1, 0);
  view->OnBid1();
  ASSERT_TRUE(Deliver(MSG_BID, Words({0xFFFFFFFF, 0, 1, 1})));
  EXPECT_EQ(doc.m_nTurnPosition, 1);
  EXPECT_TRUE(Visible(IDC_TAKEOUT));
  EXPECT_TRUE(Visible(IDC_PASS));
  EXPECT_FALSE(Visible(IDC_SEARCH));
  // The hint command does nothing either.
  const size_t n = host.sent.size();
  view->OnSearch();
  EXPECT_EQ(host.sent.size(), n);
}

class WatcherViewTest : public GameViewTest {
 protected:
  void SetUp() override {
    ch.nWatchMode = 1;
    ch.nWatchModeEntered = 1;
    GameViewTest::SetUp();
  }
};

TEST_F(WatcherViewTest, HiddenHandWhenWatchingIsRefused) {
  Deal(1, 1, 0);
  EXPECT_FALSE(Visible(IDC_CALL1)) << "a watcher never bids";
  EXPECT_FALSE(Visible(IDC_START));
  Shot s;
  Snap("table_watcher_refused.png", s);
  const tableview::Layout& l = view->GetLayout();
  EXPECT_FALSE(IsCardFace(s.At(l.hand[1].x + 8, l.hand[1].y + 60))) << "card backs only";
  // A watcher's clicks select nothing, also in play.
  ASSERT_TRUE(Deliver(MSG_BID, Words({0xFFFFFFFF, 0, 1, 1})));
  ClickCard(2);
  EXPECT_TRUE(Selected().empty());
}

// ---- what players found wrong on the table ----

// Without a main window there is nowhere to show a status text.
TEST_F(GameViewTest, NoStatusBoxWithoutAMainWindow) {
  site.mainWnd = nullptr;
  ASSERT_TRUE(Deliver(MSG_READY, Words({1})));
  EXPECT_EQ(view->GetWaitNotice(), nullptr);
}

// The tool buttons' tips come from the skinned tooltip, which keeps working while a modal
// dialog (settings, questions) runs.
TEST_F(GameViewTest, ToolTipIsTheSkinnedOne) {
  CToolTipCtrl& tip = view->GetToolTip();
  ASSERT_TRUE(tip.GetSafeHwnd());
  EXPECT_TRUE(tip.IsKindOf(RUNTIME_CLASS(CQKToolTipCtrl)));
  EXPECT_NE(::SendMessageA(tip.GetSafeHwnd(), WM_DISABLEMODAL, 0, 0), 1);
  EXPECT_FALSE(view->GetToolTipText(IDC_SETTINGS).empty());
}

TEST_F(GameViewTest, WaitTextLeavesTheTableWhenTheBiddingBegins) {
  ASSERT_TRUE(Deliver(MSG_READY, Words({1})));
  EXPECT_FALSE(view->GetStatusText().empty()) << "the own ready shows the wait text";
  Deal(0);
  EXPECT_EQ(doc.GetSchedule(), SCHEDULE_BID);
  EXPECT_EQ(view->GetStatusText(), "") << "nobody waits for players once the cards are dealt";
}

class SettledDirectionViewTest : public GameViewTest {
 protected:
  void SetUp() override {
    doc.m_nShowOrder = 10;  // the settings were saved ten times
    GameViewTest::SetUp();
  }
};

TEST_F(SettledDirectionViewTest, DirectionButtonsStayHidden) {
  EXPECT_FALSE(Visible(IDC_SEAT_CCW));
  EXPECT_FALSE(Visible(IDC_SEAT_CW));
  Deal(0);
  view->OnSwitchDirection();
  EXPECT_EQ(doc.m_bOrder, 0) << "the direction still changes";
  EXPECT_FALSE(Visible(IDC_SEAT_CCW));
  EXPECT_FALSE(Visible(IDC_SEAT_CW));
  view->OnSwitchDirection();
  EXPECT_FALSE(Visible(IDC_SEAT_CCW));
  EXPECT_FALSE(Visible(IDC_SEAT_CW));
}

TEST_F(GameViewTest, OpenCardsAtHandEndDoNotCoverTheLastPlays) {
  BidAndTakeBottom();
  // West's last play: three cards, lying left of its card column.
  doc.m_Seats[0].nLastPlayCount = 3;
  for (int i = 0; i < 3; ++i) {
    CCardRules::SetCardFromCode(&doc.m_LastPlays[0][i], static_cast<int>(Code(i, 6)));
    doc.m_LastPlays[0][i].bFaceUp = 1;
  }
  view->RedrawPlays();
  const tableview::Layout l = view->GetLayout();
  const tableview::Box row = tableview::PlayRowBox(l, 0, 3);
  const int x = row.left + 5, y = row.top + 60;
  {
    Shot during;
    Snap("table_west_play.png", during);
    ASSERT_TRUE(IsCardFace(during.At(x, y))) << "the play is on the table during the hand";
  }
  wire::Writer w;
  for (uint32_t v : {3u, 1u, 0u, 0u, 0u, 0u}) w.U32(v);
  for (int32_t c : {-30, -30, 60, 0}) w.I32(c);
  for (int32_t c : {-30, -30, 60, 0}) w.I32(c);
  for (int i = 0; i < 4; ++i) w.U32(0);
  for (uint32_t c : {4u, 5u, 0u, 0u}) w.U32(c);
  for (uint32_t c : {Code(0, 11), Code(1, 11), Code(2, 8), 52u}) w.U32(c);
  for (uint32_t c : {Code(3, 12), Code(2, 12), Code(1, 7), Code(0, 6), Code(2, 4)}) w.U32(c);
  ASSERT_TRUE(Deliver(MSG_HAND_OVER, w.Take()));
  Shot end;
  Snap("table_hand_end_open_cards.png", end);
  const tableview::Layout& l2 = view->GetLayout();
  const tableview::Pt first = tableview::SideCardOrigin(l2, 0, 0, 4);
  EXPECT_TRUE(IsCardFace(end.At(first.x + 3, first.y + 50))) << "west's open cards";
  EXPECT_TRUE(x < first.x);
  EXPECT_FALSE(IsCardFace(end.At(x, y))) << "no play half hidden under the open column";
}

TEST_F(GameViewTest, PreviousTrickOnTheFirstTrickChangesNothing) {
  BidAndTakeBottom();
  ClickCard(IndexOfCode(53), true);  // clears the raised bottom cards
  ClickCard(IndexOfCode(static_cast<int>(Code(0, 0))));
  view->OnTakeOut();
  ASSERT_TRUE(Deliver(MSG_PLAY, Words({1, 2, 1, 1, Code(0, 0)})));
  ASSERT_TRUE(Deliver(MSG_PLAY, Words({2, 0, 0, 1})));  // east passes
  ASSERT_EQ(doc.m_Seats[1].nLastPlayCount, 1);
  view->OnLastRound();
  EXPECT_EQ(doc.m_Seats[1].nLastPlayCount, 1) << "there was no previous trick to show";
  Shot s;
  Snap("table_first_trick_last_round.png", s);
  const tableview::Layout& l = view->GetLayout();
  const tableview::Pt west = l.play[0];
  // West has not played yet: no pass mark where it would stand.
  EXPECT_TRUE(IsGreen(s.At(west.x - 30, west.y + 45)));

  // West passes too: the trick is over and the next one shows it, passes marked.
  ASSERT_TRUE(Deliver(MSG_PLAY, Words({0, 1, 0, 1})));
  view->OnLastRound();
  EXPECT_EQ(doc.m_Seats[1].nLastPlayCount, 1);
  Shot prev;
  Snap("table_previous_trick.png", prev);
  EXPECT_FALSE(IsGreen(prev.At(west.x - 30, west.y + 45))) << "west's pass in the previous trick";
  view->SendMessage(WM_TIMER, CGameView::IDT_LASTROUND, 0);
}

TEST_F(GameViewTest, PlaysAreShownHighToLow) {
  BidAndTakeBottom();
  // East's straight as the server sent it: Q 10 J 9 8.
  const int ranks[5] = {9, 7, 8, 6, 5};
  doc.m_Seats[2].nLastPlayCount = 5;
  for (int i = 0; i < 5; ++i)
    CCardRules::SetCardFromCode(&doc.m_LastPlays[2][i], static_cast<int>(Code(i % 4, ranks[i])));
  std::vector<int> shown;
  for (const CARD_INFO& c : view->PlayShown(2)) shown.push_back(c.nRank);
  EXPECT_EQ(shown, (std::vector<int>{9, 8, 7, 6, 5}));
  EXPECT_EQ(doc.m_LastPlays[2][0].nRank, 9) << "the document's record is left as it came";
  EXPECT_EQ(doc.m_LastPlays[2][1].nRank, 7);
}

TEST_F(GameViewTest, TrusteeshipQuestionDefaultsToNo) {
  view->OnTrustee();
  ASSERT_EQ(site.yesNo, 1);
  EXPECT_EQ(site.askStyle, 0x124u);
}

TEST_F(GameViewTest, OwnPanelShowsTheNickname) {
  // The server repeated the user name as the nickname; the lobby knows the real one.
  std::strcpy(doc.m_Seats[1].szNickName, "me2026");
  site.knownUser = "me2026";
  site.knownNick = "\xD0\xA1\xC3\xF7";
  EXPECT_EQ(view->PanelNickName(1), "\xD0\xA1\xC3\xF7");
  EXPECT_EQ(view->PanelNickName(0), "\xC0\xCF\xCD\xF5") << "a real nickname stays";
  // Fields filled to the brim are not read past their end.
  std::memset(doc.m_Seats[2].szNickName, 'N', sizeof doc.m_Seats[2].szNickName);
  EXPECT_EQ(view->PanelNickName(2), std::string(20, 'N'));
}

TEST_F(GameViewTest, DeclarerBadgeTextIsReadable) {
  BidAndTakeBottom();
  Shot s;
  Snap("table_declarer_badge.png", s);
  const tableview::Pt b = view->GetLayout().badge[1];
  int top = -1, bottom = -1;
  for (int y = b.y; y < b.y + 45; ++y)
    for (int x = b.x; x < b.x + 40; ++x) {
      const COLORREF c = s.At(x, y);
      if (GetRValue(c) < 160 && GetGValue(c) < 40 && GetBValue(c) < 40) {
        if (top < 0) top = y;
        bottom = y;
      }
    }
  ASSERT_GE(top, 0) << "no badge text";
  EXPECT_GE(bottom - top + 1, 13) << "the text is too small to read";
}

TEST_F(GameViewTest, ScreenshotTellsThePlayerWhere) {
  view->OnScreenshot();
  EXPECT_TRUE(site.notices.empty()) << "nothing saved, nothing said";
  site.shotPath = "C:\\snapshot\\a.jpg";
  view->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SCREENSHOT, BN_CLICKED),
                    (LPARAM)view->GetControl(IDC_SCREENSHOT)->GetSafeHwnd());
  ASSERT_EQ(site.notices.size(), 1u);
  EXPECT_EQ(site.notices[0], "\xBD\xD8\xCD\xBC\xCE\xC4\xBC\xFE\xB1\xA3\xB4\xE6\xD4\xDA:C:\\snapshot\\a.jpg");
  EXPECT_EQ(site.noticeColor, 0xFF0000u);
  EXPECT_EQ(site.noticeSize, 10);
}

// ---- theme pictures and the soft mask ----

namespace {

// A 24-bit bottom-up picture of w × h filled by `colour(x, y)`.
template <class F>
HBITMAP MakeBitmap(int w, int h, F colour) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bmp = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  uint8_t* p = static_cast<uint8_t*>(bits);
  const int stride = (w * 3 + 3) & ~3;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const COLORREF c = colour(x, y);
      uint8_t* row = p + (h - 1 - y) * stride;
      row[x * 3] = GetBValue(c);
      row[x * 3 + 1] = GetGValue(c);
      row[x * 3 + 2] = GetRValue(c);
    }
  return bmp;
}

bool SaveBmp(HBITMAP bmp, const std::string& path) {
  DIBSECTION ds;
  if (!::GetObjectA(bmp, sizeof ds, &ds)) return false;
  const int stride = (ds.dsBm.bmWidth * 3 + 3) & ~3;
  const DWORD size = (DWORD)(stride * ds.dsBm.bmHeight);
  BITMAPFILEHEADER fh{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof fh + sizeof(BITMAPINFOHEADER);
  fh.bfSize = fh.bfOffBits + size;
  BITMAPINFOHEADER ih = ds.dsBmih;
  ih.biSizeImage = size;
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  std::fwrite(&fh, sizeof fh, 1, f);
  std::fwrite(&ih, sizeof ih, 1, f);
  std::fwrite(ds.dsBm.bmBits, 1, size, f);
  std::fclose(f);
  return true;
}

}  // namespace

TEST(ThemeDrawing, MaskedHalfBlendsTheLeftHalfByTheRightHalf) {
  // 40 by 20: a red left half; its mask white on the left 10 columns, black on the
  // right 10, so the red shows only where the mask is white.
  HBITMAP pic = MakeBitmap(40, 20, [](int x, int) {
    if (x < 20) return RGB(255, 0, 0);
    return x < 30 ? RGB(255, 255, 255) : RGB(0, 0, 0);
  });
  HBITMAP target = MakeBitmap(60, 40, [](int, int) { return RGB(0, 0, 200); });
  HDC dc = ::CreateCompatibleDC(nullptr);
  HGDIOBJ old = ::SelectObject(dc, target);
  DrawMaskedHalf(dc, RECT{0, 0, 60, 40}, pic);  // centred: at (20, 10)
  EXPECT_EQ(::GetPixel(dc, 25, 15), RGB((255 * 255) >> 8, 0, 0)) << "mask 255: the image";
  EXPECT_EQ(::GetPixel(dc, 35, 15), RGB(0, 0, (200 * 255) >> 8)) << "mask 0: the background";
  EXPECT_EQ(::GetPixel(dc, 15, 15), RGB(0, 0, 200)) << "outside the picture nothing changes";
  EXPECT_EQ(::GetPixel(dc, 25, 5), RGB(0, 0, 200));
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  ::DeleteObject(pic);
  ::DeleteObject(target);
  EXPECT_EQ(GetThemeBitmapPath(999, "C:\\x", "C:\\y"), "");
}

const COLORREF kBidCells[4] = {RGB(255, 0, 0), RGB(0, 0, 255), RGB(255, 255, 0), RGB(128, 0, 128)};
const COLORREF kLevelCells[5] = {RGB(10, 10, 10), RGB(250, 0, 120), RGB(0, 250, 120), RGB(120, 0, 250),
                                 RGB(250, 120, 0)};

class ThemedViewTest : public GameViewTest {
 protected:
  void BeforeCreate() override {
    char dir[MAX_PATH];
    ::GetCurrentDirectoryA(sizeof dir, dir);
    folder = std::string(dir) + "\\themed_view";
    for (const char* sub : {"", "\\theme", "\\theme\\respic"}) ::CreateDirectoryA((folder + sub).c_str(), nullptr);
    // A blue badge (mask all white) and a magenta order picture for server seat 0.
    HBITMAP badge = MakeBitmap(80, 45, [](int x, int) { return x < 40 ? RGB(0, 0, 255) : RGB(255, 255, 255); });
    HBITMAP order = MakeBitmap(46, 46, [](int, int) { return RGB(255, 0, 255); });
    // The farmers' badge: green, a little smaller than the declarer's cell.
    HBITMAP farmer = MakeBitmap(60, 40, [](int x, int) { return x < 30 ? RGB(0, 255, 0) : RGB(255, 255, 255); });
    ASSERT_TRUE(SaveBmp(badge, folder + "\\theme\\respic\\VESK32.bmp"));
    if (Keep("Farmer")) {
      ASSERT_TRUE(SaveBmp(farmer, folder + "\\theme\\respic\\Farmer.bmp"));
    } else {
      ::DeleteFileA((folder + "\\theme\\respic\\Farmer.bmp").c_str());  // left by an earlier case
    }
    ::DeleteObject(farmer);
    ASSERT_TRUE(SaveBmp(order, folder + "\\theme\\order_0.bmp"));
    // Bids 0 to 3 in four coloured cells; a plain cyan pass mark.
    HBITMAP bids = MakeBitmap(4 * 58, 19, [](int x, int) { return kBidCells[(x / 58) & 3]; });
    HBITMAP pass = MakeBitmap(50, 24, [](int, int) { return RGB(0, 255, 255); });
    ASSERT_TRUE(SaveBmp(bids, folder + "\\theme\\respic\\JF.bmp"));
    ASSERT_TRUE(SaveBmp(pass, folder + "\\theme\\respic\\Pass.bmp"));
    // Five 20 by 20 level icons.
    HBITMAP levels = MakeBitmap(5 * 20, 20, [](int x, int) { return kLevelCells[(x / 20) % 5]; });
    ASSERT_TRUE(SaveBmp(levels, folder + "\\theme\\respic\\level.bmp"));
    for (HBITMAP b : {badge, order, bids, pass, levels}) ::DeleteObject(b);
    // The table's fill and, over it, an orange background picture in JPEG.
    HBITMAP fill = MakeBitmap(16, 16, [](int, int) { return RGB(0, 0, 0); });
    if (Keep("bkgFill")) {
      ASSERT_TRUE(SaveBmp(fill, folder + "\\theme\\bkgFill.bmp"));
    } else {
      ::DeleteFileA((folder + "\\theme\\bkgFill.bmp").c_str());  // left by an earlier case
    }
    ::DeleteObject(fill);
    standin::GdiplusScope gdiplus;
    ASSERT_TRUE(gdiplus.ok());
    standin::Pixels px;
    px.width = px.height = 32;
    for (int i = 0; i < 32 * 32; ++i) px.bgra.insert(px.bgra.end(), {20, 120, 230, 255});
    std::vector<unsigned char> jpeg;
    ASSERT_TRUE(standin::EncodePixels(px, L"image/jpeg", 95, jpeg));
    FILE* f = std::fopen((folder + "\\theme\\background.jpg").c_str(), "wb");
    ASSERT_TRUE(f);
    std::fwrite(jpeg.data(), 1, jpeg.size(), f);
    std::fclose(f);
    view->SetThemeFolders("", folder);
  }
  // Whether the theme has the picture of that name.
  virtual bool Keep(const char*) const { return true; }
  std::string folder;
};

TEST_F(ThemedViewTest, BadgeAndOrderPicturesComeFromTheTheme) {
  BidAndTakeBottom();
  Shot s;
  Snap("table_themed.png", s);
  const tableview::Layout& l = view->GetLayout();
  const tableview::Pt b = l.badge[1];
  EXPECT_EQ(s.At(b.x + 20, b.y + 22), RGB(0, 0, (255 * 255) >> 8)) << "the theme's badge";
  // West (server seat 0) sits on the right: its order picture 50 above the panel, 90 right.
  const tableview::Pt p = l.panel[0];
  EXPECT_EQ(s.At(p.x + 90 + 20, p.y - 50 + 20), RGB(255, 0, 255));
  // The felt is the theme's JPEG background, stretched over the table.
  const COLORREF felt = s.At(l.cx, l.cy - 40);
  EXPECT_NEAR(GetRValue(felt), 230, 12);
  EXPECT_NEAR(GetGValue(felt), 120, 12);
  EXPECT_NEAR(GetBValue(felt), 20, 12);
}

TEST_F(ThemedViewTest, FarmersWearTheThemeBadgeAndTheDigitsLoad) {
  const TableTheme& theme = view->GetTheme();
  EXPECT_EQ(theme.badgeCell.cx, 30) << "the farmer's picture half gives the badge cell";
  EXPECT_EQ(theme.badgeCell.cy, 40);
  int cx = 0, cy = 0;
  ASSERT_TRUE(view->GetDigitImages().GetSafeHandle()) << "image list from bitmap 153";
  EXPECT_TRUE(view->GetDigitImages().GetIconSize(&cx, &cy));
  EXPECT_EQ(cx, 11);
  EXPECT_GT(view->GetDigitImages().GetImageCount(), 1);
  {
    Shot s;
    Snap("table_themed_no_declarer.png", s);
    const tableview::Pt b = view->GetLayout().badge[0];
    EXPECT_NE(s.At(b.x + 15, b.y + 20), RGB(0, 255 * 255 >> 8, 0)) << "no farmers before a declarer";
  }
  BidAndTakeBottom();
  Shot s;
  Snap("table_themed_farmers.png", s);
  const tableview::Layout& l = view->GetLayout();
  for (int slot : {0, 2}) {
    const tableview::Pt b = l.badge[slot];
    EXPECT_EQ(s.At(b.x + 15, b.y + 20), RGB(0, 255 * 255 >> 8, 0)) << "farmer badge at slot " << slot;
  }
  const tableview::Pt d = l.badge[1];
  EXPECT_EQ(s.At(d.x + 15, d.y + 20), RGB(0, 0, 255 * 255 >> 8)) << "the declarer keeps its own badge";
}

// A theme that lacks a badge or the fill ends loading there: the pictures after it stay
// unloaded and the table draws its own, while the cards still come from the card library.
class ThemeWithoutTest : public ThemedViewTest, public ::testing::WithParamInterface<const char*> {
 protected:
  bool Keep(const char* name) const override { return std::strcmp(name, GetParam()) != 0; }
};

TEST_P(ThemeWithoutTest, LoadingStopsAtTheMissingPicture) {
  const TableTheme& theme = view->GetTheme();
  const bool noFarmer = std::strcmp(GetParam(), "Farmer") == 0;
  EXPECT_TRUE(theme.hBadge);
  EXPECT_EQ(theme.hFarmer != nullptr, !noFarmer);
  EXPECT_EQ(view->GetDigitImages().GetSafeHandle() != nullptr, !noFarmer);
  EXPECT_FALSE(theme.hFill);
  for (HBITMAP after : {theme.hBackground, theme.hBidStrip, theme.hPass}) EXPECT_FALSE(after);
  BidAndTakeBottom();
  Shot s;
  Snap((std::string("table_theme_without_") + GetParam() + ".png").c_str(), s);
  const tableview::Layout& l = view->GetLayout();
  const COLORREF felt = s.At(l.cx, l.cy - 40);
  EXPECT_FALSE(std::abs(GetRValue(felt) - 230) < 13 && std::abs(GetBValue(felt) - 20) < 13)
      << "the theme's background picture is not drawn";
  EXPECT_EQ(s.At(l.badge[0].x + 15, l.badge[0].y + 20) == RGB(0, 255 * 255 >> 8, 0), !noFarmer)
      << "a farmer badge only when the theme has one";
}

INSTANTIATE_TEST_SUITE_P(Missing, ThemeWithoutTest, ::testing::Values("Farmer", "bkgFill"));

TEST_F(ThemedViewTest, BidAndPassMarksComeFromTheTheme) {
  // West bids 1: its mark is cell 1 of the strip, beside its play anchor.
  Deal(0);
  ASSERT_TRUE(Deliver(MSG_BID, Words({1, 0, 0, 1})));
  {
    Shot s;
    Snap("table_themed_bid.png", s);
    const tableview::Pt pl = view->GetLayout().play[0];
    EXPECT_EQ(s.At(pl.x - 58 - 26 + 29, pl.y + 30 + 9), kBidCells[1]) << "west's bid from the strip";
  }
  ASSERT_TRUE(Deliver(MSG_BID, Words({0xFFFFFFFF, 0, 1, 3})));
  ASSERT_TRUE(Deliver(MSG_BOTTOM_CARDS, Words({3, 1, Code(2, 5), Code(3, 9), 53})));
  // We lead a three, east a five, west passes: west's pass mark is the theme's picture.
  ClickCard(IndexOfCode(53), true);
  ClickCard(IndexOfCode(static_cast<int>(Code(0, 0))));
  view->OnTakeOut();
  ASSERT_TRUE(Deliver(MSG_PLAY, Words({1, 2, 1, 1, Code(0, 0)})));
  ASSERT_TRUE(Deliver(MSG_PLAY, Words({2, 0, 1, 1, Code(3, 2)})));
  ASSERT_TRUE(Deliver(MSG_PLAY, Words({0, 1, 0, 1})));
  Shot s;
  Snap("table_themed_pass.png", s);
  const tableview::Pt a = view->GetLayout().play[0];
  EXPECT_EQ(s.At(a.x - 25, a.y + 30 + 12), RGB(0, 255, 255)) << "west's pass mark";
}

TEST_F(ThemedViewTest, LevelIconsComeFromTheThemeStrip) {
  // The table's records: west at level 2, east at level 9 (past the strip's last cell).
  std::vector<uint8_t> body(4 * 44, 0);
  auto record = [&](int i, const char* user, int32_t level) {
    std::memcpy(&body[44 * i], user, std::strlen(user));
    std::memcpy(&body[44 * i + 20], &level, 4);
  };
  record(0, "west01", 2);
  record(1, "east99", 9);
  ASSERT_TRUE(Deliver(MSG_TABLE_INFO, body));
  ASSERT_GE(doc.FindTableInfo("west01"), 0);
  Shot s;
  Snap("table_themed_levels.png", s);
  const tableview::Layout& l = view->GetLayout();
  EXPECT_EQ(l.levelW, 20) << "the cell is as wide as the strip is high";
  EXPECT_EQ(s.At(l.level[0].x + 10, l.level[0].y + 10), kLevelCells[2]) << "west: cell 2";
  EXPECT_EQ(s.At(l.level[2].x + 10, l.level[2].y + 10), kLevelCells[4]) << "east: the last cell";
}

TEST_F(GameViewTest, BombFloatsTheDoubledScoreOverTheTable) {
  doc.m_bFlyMsg = 1;
  BidAndTakeBottom();
  ClickCard(IndexOfCode(53), true);
  ClickCard(IndexOfCode(static_cast<int>(Code(0, 0))));
  view->OnTakeOut();
  ASSERT_TRUE(Deliver(MSG_PLAY, Words({1, 2, 1, 1, Code(0, 0)})));
  const tableview::Layout& l = view->GetLayout();
  Shot before;
  Snap("table_before_bomb.png", before);
  // The row through the text, left of the own play.
  const int y = l.H * 65 / 100 + 12;
  auto changed = [&](const Shot& shot) {
    int n = 0;
    for (int x = l.cx - 70; x < l.cx - 35; ++x) n += shot.At(x, y) != before.At(x, y);
    return n;
  };
  // East's four sixes double the score: the text rises from 65 % of the height.
  ASSERT_TRUE(Deliver(MSG_PLAY, Words({2, 0, 4, 2, Code(0, 3), Code(1, 3), Code(2, 3), Code(3, 3)})));
  EXPECT_EQ(doc.m_nMultiplier, 2);
  ASSERT_TRUE(view->GetFloatingText().IsAnimating());
  Shot s;
  Snap("table_floating_text.png", s);
  EXPECT_GT(changed(s), 25) << "the text's box over the felt";
  // An overlay: once it has risen away the table underneath is as it was.
  for (int i = 0; i < 100 && view->GetFloatingText().IsAnimating(); ++i)
    view->GetFloatingText().SendMessage(WM_TIMER, 13528, 0);
  EXPECT_FALSE(view->GetFloatingText().IsAnimating()) << "gone after its frames";
  Shot again;
  Snap("table_floating_text_gone.png", again);
  EXPECT_EQ(changed(again), 0);
}

TEST_F(GameViewTest, ChosenBackgroundIsPainted) {
  const tableview::Layout& l = view->GetLayout();
  const int y = l.cy - 40;
  {
    view->SetBackground(1, RGB(200, 30, 30), "", true);
    Shot s;
    Snap("table_background_colour.png", s);
    EXPECT_EQ(s.At(l.cx, y), RGB(200, 30, 30)) << "a plain colour";
  }
  // A 16 by 16 picture, blue on the left half and yellow on the right.
  char dir[MAX_PATH];
  ::GetCurrentDirectoryA(sizeof dir, dir);
  const std::string file = std::string(dir) + "\\chosen_background.bmp";
  HBITMAP pic = MakeBitmap(16, 16, [](int x, int) { return x < 8 ? RGB(0, 0, 255) : RGB(255, 255, 0); });
  ASSERT_TRUE(SaveBmp(pic, file));
  ::DeleteObject(pic);
  {
    view->SetBackground(2, 0, file, true);
    Shot s;
    Snap("table_background_tiled.png", s);
    const int x = l.cx / 16 * 16;
    EXPECT_EQ(s.At(x + 2, y), RGB(0, 0, 255)) << "tiled from the corner";
    EXPECT_EQ(s.At(x + 12, y), RGB(255, 255, 0));
    EXPECT_EQ(s.At(x + 18, y), RGB(0, 0, 255));
  }
  {
    view->SetBackground(2, 0, file, false);
    Shot s;
    Snap("table_background_stretched.png", s);
    EXPECT_EQ(s.At(l.W / 4, y), RGB(0, 0, 255)) << "stretched over the table";
    EXPECT_EQ(s.At(l.W * 3 / 4, y), RGB(255, 255, 0));
  }
  // Back to the theme's table: the felt.
  view->SetBackground(0, 0, file, false);
  Shot s;
  Snap("table_background_theme.png", s);
  EXPECT_TRUE(IsGreen(s.At(l.cx, y)));
}

TEST_F(GameViewTest, TierBalloonOverATierArea) {
  BalloonTipWnd& b = view->GetBalloon();
  ASSERT_TRUE(b.GetSafeHwnd());
  EXPECT_EQ(b.GetOpacity(), 80);
  site.tiers[0] = 2;
  const tableview::Box a = view->TierArea(0);
  view->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(a.left + 3, a.top + 3));
  ASSERT_TRUE(b.IsShown());
  EXPECT_EQ(b.GetText(),
            "Trebbin\xB5\xDA"
            "2\xC3\xC5\xC5\xC9");
  EXPECT_EQ(b.GetBodySize().cx, 150) << "at least the view's minimum width";
  EXPECT_EQ(b.GetBodySize().cy, 60);
  EXPECT_EQ(b.GetPlacement(), 7) << "the anchor 10 pixels below the body's bottom edge";
  // Away from it the balloon goes; a seat without a tier shows none.
  view->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_FALSE(b.IsShown());
  const tableview::Box own = view->TierArea(1);
  view->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(own.left + 3, own.top + 3));
  EXPECT_FALSE(b.IsShown());
  // A click on the balloon hides it.
  view->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(a.left + 3, a.top + 3));
  ASSERT_TRUE(b.IsShown());
  b.SendMessage(WM_LBUTTONUP, 0, 0);
  EXPECT_FALSE(b.IsShown());
}

TEST_F(GameViewTest, PainterDrawsTheTableWithoutAWindow) {
  Deal(0);
  // Only the document, a layout and fonts: no view window involved.
  TableTheme theme;
  CCardPainter cards;
  CTablePainter painter(theme, cards);
  tableview::LayoutInput in;
  in.clientW = 700;
  in.clientH = 560;
  in.ownCount = doc.m_Seats[1].nCardCount;
  in.phase = doc.GetSchedule();
  tableview::Layout l;
  tableview::ComputeLayout(in, &l);
  painter.Set(&doc, l, TableFonts(), false);
  HBITMAP bmp = ::CreateBitmap(700, 560, 1, 32, nullptr);
  HDC dc = ::CreateCompatibleDC(nullptr);
  HGDIOBJ old = ::SelectObject(dc, bmp);
  CDC cdc;
  cdc.Attach(dc);
  painter.BuildTable(&cdc);
  EXPECT_TRUE(IsCardFace(::GetPixel(dc, l.hand[1].x + 30, l.hand[1].y + 60))) << "the own hand, plain cards";
  EXPECT_TRUE(IsGreen(::GetPixel(dc, l.cx, l.cy))) << "the felt";
  EXPECT_EQ(painter.PanelNickName(0), "\xC0\xCF\xCD\xF5");
  cdc.Detach();
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  ::DeleteObject(bmp);
}

// The status text is a wait box of its own over the table, owned by the main window: the
// own cards stay clear of it; it hides while the main window is hidden and goes with the
// waiting.
// Last in this file, a suite of its own: it reads the window skin from the Theme folder
// beside the test, which the tables before it do without.
class StatusBoxViewTest : public GameViewTest {};

TEST_F(StatusBoxViewTest, StatusTextShowsInAWaitBoxClearOfTheOwnCards) {
  BuildConfigPaths("Vesk", FALSE, nullptr);
  // A hand on the table first: the own cards and a play of the own seat in their rows.
  Deal(1);
  doc.m_Seats[1].nLastPlayCount = 3;
  for (int i = 0; i < 3; ++i) doc.m_LastPlays[1][i] = doc.m_Hands[1][i];
  view->RepaintTable();
  ASSERT_TRUE(Deliver(MSG_READY, Words({1})));
  CWaitDlg* box = view->GetWaitNotice();
  ASSERT_NE(box, nullptr) << "the own ready shows the wait text in a box";
  HWND h = box->GetSafeHwnd();
  ASSERT_TRUE(::IsWindow(h));
  EXPECT_TRUE(::IsWindowVisible(h));
  EXPECT_EQ(::GetWindow(h, GW_OWNER), frame->GetSafeHwnd()) << "made with the view as its parent";
  char text[128] = "";
  ::GetDlgItemTextA(h, IDC_WAIT_TEXT, text, sizeof text);
  EXPECT_EQ(std::string(text), view->GetStatusText());
  CString wait;
  wait.LoadString(IDS_WAITSTART);
  EXPECT_EQ(std::string(text), (const char*)wait);
  // Centred on the table, over none of the own cards nor the own play.
  CRect onScreen, viewRect;
  ::GetWindowRect(h, &onScreen);
  view->GetWindowRect(&viewRect);
  EXPECT_LE(std::abs(onScreen.CenterPoint().x - viewRect.CenterPoint().x), 1);
  EXPECT_LE(std::abs(onScreen.CenterPoint().y - viewRect.CenterPoint().y), 1);
  CRect inView = onScreen;
  view->ScreenToClient(&inView);
  const tableview::Layout& l = view->GetLayout();
  auto clear = [&](const tableview::Box& b) {
    return b.right <= inView.left || b.left >= inView.right || b.bottom <= inView.top || b.top >= inView.bottom;
  };
  for (int i = 0; i < doc.m_Seats[1].nCardCount; ++i) EXPECT_TRUE(clear(tableview::OwnCardBox(l, i, true))) << i;
  EXPECT_TRUE(clear(tableview::PlayRowBox(l, 1, 3)));
  EXPECT_TRUE(winprobe::SaveScreenArea(frame->GetSafeHwnd(), L"table_wait_box.png"));
  // The box hides with the main window and comes back with it.
  frame->ShowWindow(SW_HIDE);
  view->SendMessage(WM_TIMER, CGameView::IDT_IDLE);
  EXPECT_FALSE(::IsWindowVisible(h));
  frame->ShowWindow(SW_SHOWNOACTIVATE);
  view->SendMessage(WM_TIMER, CGameView::IDT_IDLE);
  EXPECT_TRUE(::IsWindowVisible(h));
  // A text given while the main window is hidden keeps the box hidden.
  frame->ShowWindow(SW_HIDE);
  view->SetStatusText("x");
  EXPECT_FALSE(::IsWindowVisible(view->GetWaitNotice()->GetSafeHwnd()));
  frame->ShowWindow(SW_SHOWNOACTIVATE);
  // The waiting ends: the box is destroyed.
  view->CloseWaitNotice();
  EXPECT_EQ(view->GetWaitNotice(), nullptr);
  EXPECT_FALSE(::IsWindow(h));
  EXPECT_EQ(view->GetStatusText(), "");
}
