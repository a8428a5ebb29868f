#include "TableSession.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <strings.h>

#include "GameMessages.h"
#include "SystemMessages.h"
#include "TableBodies.h"
#include "WireBytes.h"

namespace tablegame {

namespace {
constexpr size_t kHead = 8;

uint32_t FrameId(const std::vector<uint8_t>& f) {
  uint32_t id;
  std::memcpy(&id, f.data(), 4);
  return id;
}

std::vector<uint8_t> Body(const std::vector<uint8_t>& f) {
  size_t head = (FrameId(f) & 0x80000000u) ? 12 : kHead;
  return std::vector<uint8_t>(f.begin() + static_cast<long>(head), f.end());
}

// "<what> seat <seat>: <numbers>" with every card code (or the bid) of a game frame, so a
// test can check what was dealt and what a client played; empty for other frames.
std::string DescribeCards(uint32_t id, int seat, const std::vector<uint8_t>& body, bool outgoing = false) {
  std::string what, list;
  auto add = [&list](long v) { list += " " + std::to_string(v); };
  auto addAll = [&add](const std::vector<int>& cards) {
    for (int c : cards) add(static_cast<uint32_t>(c));
  };
  switch (id & 0x7FFFFFFFu) {
    case MSG_DEAL: {
      auto cards = bodies::ReadDealCards(body);
      if (!cards) return std::string();
      what = "deal";
      addAll(*cards);
      break;
    }
    case MSG_BOTTOM_CARDS: {
      auto bottom = bodies::ReadBottomCards(body);
      if (!bottom || bottom->cards.size() > 16) return std::string();
      what = "bottom";
      seat = bottom->declarer;
      addAll(bottom->cards);
      break;
    }
    case MSG_PLAY: {
      auto play = bodies::ReadPlay(body);
      if (!play || play->cards.size() > 33) return std::string();
      // What the table tells everyone: who played and whose turn it is now.
      what = outgoing ? "table play next " + std::to_string(play->next) + " by" : "client play";
      if (outgoing) seat = play->seat;
      addAll(play->cards);
      break;
    }
    case MSG_BID: {
      auto bid = bodies::ReadBid(body);
      if (!bid) return std::string();
      what = "client bid";
      add(static_cast<uint32_t>(*bid));
      break;
    }
    default:
      return std::string();
  }
  return what + " seat " + std::to_string(seat) + ":" + list;
}
// How a seat's client left, for the notice the others get.
enum : uint32_t {
  kLeftLost = 0,      // the connection broke
  kLeftReplaced = 2,  // the same user logged in again
  kLeftQuit = sysmsg::MSG_QUIT,
  kLeftForced = sysmsg::MSG_QUIT_FORCED,
  kLeftTrust = sysmsg::MSG_TRUST_EXIT,
};
constexpr uint32_t kSpeedProbe = 272;
constexpr uint32_t kQuitToClose = 500;  // MSG_ACTION_ERROR: the client quits quietly
constexpr uint32_t kKeepAliveMs = 30000;
constexpr uint32_t kMemberFee = 50, kNonMemberFee = 100;

std::vector<uint8_t> Words(std::initializer_list<uint32_t> words) {
  wire::Writer w;
  for (uint32_t v : words) w.U32(v);
  return w.Take();
}

std::vector<uint8_t> NameBody(const std::string& name) {
  wire::Writer w;
  w.Field(name, sysmsg::kNameField);
  return w.Take();
}

// The first n words of a body; nullopt when it is shorter.
std::optional<std::vector<uint32_t>> ReadWords(const std::vector<uint8_t>& body, size_t n) {
  wire::Reader r(body.data(), body.size());
  std::vector<uint32_t> v(n);
  for (uint32_t& x : v) r.U32(&x);
  if (!r.ok()) return std::nullopt;
  return v;
}
}  // namespace

TableSession::TableSession(peers::CTableServer& server, const SessionOptions& opt)
    : server_(server),
      opt_(opt),
      trusted_(opt.players, false),
      trustTimes_(opt.players, 0),
      leaveCount_(4, 0),
      dealBodies_(opt.players) {
  TableOptions t;
  t.players = opt.players;
  t.seed = opt.seed;
  t.series = opt.series > 0;
  if (opt.series > 0) t.handsPerSeries = opt.series;
  game_ = std::make_unique<TableGame>(t);
  // Once the last person has left, the bots finish the hand and deal no more.
  game_->SetBotsAlone(false);
  for (int s = 0; s < opt.players; ++s) game_->SetBot(s, opt.bots);
}

void TableSession::Install() {
  using Member = void (TableSession::*)(Conn&, const Frame&);
  auto on = [this](uint32_t id, Member m) {
    server_.SetHandler(id, [this, m](Conn& c, const Frame& f) { (this->*m)(c, f); });
  };
  server_.SetCloseHook([this](Conn& c) { OnClosed(c.Number()); });
  server_.SetTickHook([this] { LetWatchersIn(); });
  on(sysmsg::MSG_LOGIN, &TableSession::OnLogin);
  on(sysmsg::MSG_QUIT, &TableSession::OnQuit);
  on(sysmsg::MSG_QUIT_FORCED, &TableSession::OnQuit);
  on(sysmsg::MSG_TRUST_EXIT, &TableSession::OnTrustExit);
  server_.SetHandler(sysmsg::MSG_CLIENT_START, [this](Conn& c, const Frame&) { OnClientStart(c); });
  // Keep-alive needs no answer.
  server_.SetHandler(sysmsg::MSG_KEEPALIVE, [](Conn&, const Frame&) {});
  // The speed probe wants its own id back with the body it sent (the tick it echoes).
  server_.SetHandler(kSpeedProbe, [this](Conn& c, const Frame& f) {
    server_.AddLog("speed probe #" + std::to_string(c.Number()));
    c.Send(kSpeedProbe, Body(f));
  });
  on(MSG_TRUSTEESHIP, &TableSession::OnTrusteeship);
  on(MSG_WATCH_PERMISSION, &TableSession::OnWatchPermission);
  on(MSG_LEAVE_REQUEST, &TableSession::OnLeaveRequest);
  on(MSG_LEAVE_ANSWER, &TableSession::OnLeaveAnswer);
  on(MSG_LEAVE_CONFIRM, &TableSession::OnLeaveConfirm);
  on(MSG_COMPLAINT, &TableSession::OnComplaint);
  on(MSG_COMPLAINT_DECLINE, &TableSession::OnComplaint);
  for (uint32_t id : {static_cast<uint32_t>(MSG_READY), static_cast<uint32_t>(MSG_BID), static_cast<uint32_t>(MSG_PLAY),
                      static_cast<uint32_t>(MSG_TIMEOUT)})
    on(id, &TableSession::OnGame);
}

std::string TableSession::NameOf(int seat) const {
  auto it = names_.find(seat);
  return it != names_.end() ? it->second : "bot" + std::to_string(seat);
}

int TableSession::SeatOf(const Conn& c) const {
  for (const auto& [seat, conn] : seats_)
    if (conn == &c) return seat;
  return -1;
}

TableSession::Watcher* TableSession::WatcherOf(const Conn& c) {
  auto it = watchers_.find(c.Number());
  return it != watchers_.end() && it->second.conn == &c ? &it->second : nullptr;
}

bool TableSession::NameAtTable(const std::string& user) const {
  for (const auto& [seat, name] : names_)
    if (strcasecmp(name.c_str(), user.c_str()) == 0) return true;
  for (const auto& [n, w] : watchers_)
    if (strcasecmp(w.name.c_str(), user.c_str()) == 0) return true;
  return false;
}

bool TableSession::AtStake() const {
  return game_->phase() != TableGame::Waiting || (opt_.series > 0 && game_->HandsInSeries() > 0);
}

// ---- login -------------------------------------------------------------------------------

void TableSession::OnLogin(Conn& c, const Frame& frame) {
  Frame body = Body(frame);
  wire::Reader r(body.data(), body.size());
  std::string user, key, title;
  uint16_t word = 0, seat = 0;
  r.Field(20, &user);
  r.Field(40, &key);
  r.Field(40, &title);
  r.U16(&word);
  r.U16(&seat);
  if (!r.ok()) {
    c.Reply(sysmsg::MSG_LOGIN, 2, {});
    server_.AddLog("login refused: a login of " + std::to_string(body.size()) + " bytes is too short");
    return;
  }
  if (RefuseLogin(c, user, seat)) return;
  if (seat < opt_.players)
    SeatPlayer(c, user, seat);
  else
    SeatWatcher(c, user, seat - 4);
}

// Refuses (status 2) and logs why, or returns false for a login the table takes.
bool TableSession::RefuseLogin(Conn& c, const std::string& user, int seat) {
  std::string why;
  if (user.empty()) {
    why = "no user name";
  } else if (NameAtTable(user)) {
    // The account is in use: the first connection ends with the platform's "logged in elsewhere".
    for (auto& [s, conn] : seats_)
      if (strcasecmp(names_[s].c_str(), user.c_str()) == 0) {
        leaving_[s] = kLeftReplaced;
        conn->Send(sysmsg::MSG_FATAL, NameBody(names_[s]), 2);
        conn->Close();
      }
    for (auto& [n, w] : watchers_)
      if (strcasecmp(w.name.c_str(), user.c_str()) == 0) {
        w.conn->Send(sysmsg::MSG_FATAL, NameBody(w.name), 2);
        w.conn->Close();
      }
    why = user + " is already at the table (MSG_FATAL 2 to the first connection)";
  } else if (seat < opt_.players) {
    if (seats_.count(seat)) why = "seat " + std::to_string(seat) + " is taken";
  } else if (seat >= 4 && seat - 4 < opt_.players) {
    if (!seats_.count(seat - 4)) why = "watcher of the empty seat " + std::to_string(seat - 4);
  } else {
    why = "seat " + std::to_string(seat) + " out of range";
  }
  if (why.empty()) return false;
  c.Reply(sysmsg::MSG_LOGIN, 2, {});
  server_.AddLog("login refused: " + why);
  return true;
}

TableSession::Frame TableSession::LoginReply(bool watcher) const {
  wire::Writer w;
  w.U16(static_cast<uint16_t>(opt_.players));
  w.U16(opt_.chatRoom);
  for (int s = 0; s < opt_.players; ++s) {
    w.U32(static_cast<uint32_t>(s));
    w.Field(NameOf(s), 20);
    w.Field(NameOf(s), 20);
    w.I32(s % 2);
  }
  std::string options =
      std::string("2 ") + (opt_.series > 0 ? "1" : "0") + " 0 0 " + std::to_string(opt_.turnSeconds) + " 1 1";
  w.U32(static_cast<uint32_t>(options.size() + 1));
  w.CString(options);
  if (watcher) {
    // The watch block: series value, hands in the series, a word not read, the series
    // totals and the score totals by seat.
    w.U32(44);
    w.U32(game_->SeriesValue());
    w.U32(static_cast<uint32_t>(game_->HandsInSeries()));
    w.U32(0);
    for (int s = 0; s < 4; ++s) w.I32(s < opt_.players ? game_->SeriesTotals()[s] : 0);
    for (int s = 0; s < 4; ++s) w.I32(s < opt_.players ? game_->Scores()[s] : 0);
  }
  return w.Take();
}

void TableSession::SeatPlayer(Conn& c, const std::string& user, int seat) {
  seats_[seat] = &c;
  names_[seat] = user;
  trusted_[seat] = false;
  game_->SetBot(seat, false);
  game_->SetAutoReady(seat, true);
  c.Reply(sysmsg::MSG_LOGIN, 1, LoginReply(false));
  c.Send(sysmsg::MSG_STATE540, {}, opt_.optionFlags);
  // Between hands closing takes the exit path; leaving mid-series costs the others their game.
  bool running = game_->phase() != TableGame::Waiting;
  c.Send(sysmsg::MSG_SET_STATE557, Words({running ? 0u : 1u}));
  c.Send(MSG_ASK_WATCH_PERMISSION, Words({AtStake() ? 0u : 1u}));
  server_.AddLog("login " + user + " seat " + std::to_string(seat));
  // A seat taken over mid-hand: the client learns the hand from its deal on.
  if (running && !dealBodies_[seat].empty()) {
    c.Send(MSG_DEAL, dealBodies_[seat]);
    for (const OutFrame& f : handFrames_) c.Send(f.id, f.body, f.status);
  }
}

void TableSession::SeatWatcher(Conn& c, const std::string& user, int seat) {
  watchers_[c.Number()] = Watcher{&c, seat, user, false, {}, false};
  c.Reply(sysmsg::MSG_LOGIN, 1, LoginReply(true));
  c.Send(sysmsg::MSG_STATE540, {}, opt_.optionFlags);
  // Nothing is at stake for a watcher: closing always takes the exit path, which lets it go.
  c.Send(sysmsg::MSG_SET_STATE557, Words({1}));
  server_.AddLog("watcher " + user + " watches seat " + std::to_string(seat));
}

// The client is up (its handlers are in place): a watcher may see the table now.
void TableSession::OnClientStart(Conn& c) {
  Watcher* w = WatcherOf(c);
  if (!w || w->started || w->waiting) return;
  w->waiting = true;
  w->due = std::chrono::steady_clock::now() + std::chrono::milliseconds(opt_.watchDelayMs);
  LetWatchersIn();
}

void TableSession::LetWatchersIn() {
  auto now = std::chrono::steady_clock::now();
  for (auto& [n, w] : watchers_) {
    if (!w.waiting || w.due > now) continue;
    w.waiting = false;
    w.started = true;
    SendReplay(w);
  }
}

void TableSession::SendReplay(Watcher& w) {
  w.conn->Send(MSG_GAME_PROGRESS, {});
  server_.AddLog("game progress to watcher " + w.name);
  if (game_->phase() == TableGame::Waiting || dealBodies_[w.seat].empty()) return;
  w.conn->Send(MSG_DEAL, dealBodies_[w.seat]);
  for (const OutFrame& f : handFrames_) w.conn->Send(f.id, f.body, f.status);
}

// ---- leaving -----------------------------------------------------------------------------

void TableSession::OnQuit(Conn& c, const Frame& frame) {
  int seat = SeatOf(c);
  if (seat >= 0 && !leaving_.count(seat)) leaving_[seat] = FrameId(frame);
  OnClosed(c.Number());
  c.Close();
}

void TableSession::OnClosed(int connectionNumber) {
  auto w = watchers_.find(connectionNumber);
  if (w != watchers_.end()) {
    server_.AddLog("watcher " + w->second.name + " left");
    watchers_.erase(w);
    return;
  }
  for (const auto& [seat, conn] : seats_) {
    if (conn->Number() != connectionNumber) continue;
    auto how = leaving_.find(seat);
    EndSeat(seat, how != leaving_.end() ? how->second : kLeftLost);
    return;
  }
}

// The seat's client is gone: a bot plays it; when the game was at stake the others are told.
void TableSession::EndSeat(int seat, uint32_t how) {
  bool stake = AtStake();
  std::string name = NameOf(seat);
  seats_.erase(seat);
  names_.erase(seat);
  leaving_.erase(seat);
  trustExited_.erase(seat);
  trusted_[seat] = false;
  game_->SetBot(seat, opt_.bots);
  game_->SetAutoReady(seat, true);
  static const std::map<uint32_t, std::string> kWhy = {{kLeftLost, "lost"},
                                                       {kLeftReplaced, "replaced"},
                                                       {kLeftQuit, "quit"},
                                                       {kLeftForced, "quit forced"},
                                                       {kLeftTrust, "trust exit"}};
  server_.AddLog("seat " + std::to_string(seat) + " " + name + " left (" + kWhy.at(how) + "), a bot plays it");
  if (leave_.seat == seat) leave_ = LeaveRequest();
  if (leave_.waiting.erase(seat) && leave_.waiting.empty()) TakeLeaveAnswer(-1, leave_.value, true);
  complaintWaiting_.erase(seat);
  CloseComplaintIfDone();
  if (stake) {
    if (how == kLeftQuit) {
      SendToAll(sysmsg::MSG_QUIT_NOTICE, NameBody(name));
    } else if (how == kLeftForced || how == kLeftLost) {
      SendToAll(sysmsg::MSG_FATAL, NameBody(name), how == kLeftForced ? 1 : 8);
    }
  }
  std::vector<OutFrame> out;
  game_->RunBots(out);
  Deliver(out);
}

// Leave by trusteeship: granted when the table allows trusteeship; the server plays the seat.
void TableSession::OnTrustExit(Conn& c, const Frame&) {
  int seat = SeatOf(c);
  if (seat < 0 || !(opt_.optionFlags & 1) || opt_.refuseTrustExit) {
    Watcher* w = WatcherOf(c);
    c.Reply(sysmsg::MSG_TRUST_EXIT, 0, NameBody(seat >= 0 ? NameOf(seat) : w ? w->name : ""));
    server_.AddLog("trust exit refused: " + std::string(seat < 0                  ? "not a player"
                                                        : !(opt_.optionFlags & 1) ? "the table allows no trusteeship"
                                                                                  : "the table refuses leave"));
    return;
  }
  leaving_[seat] = kLeftTrust;
  trustExited_.insert(seat);
  if (game_->phase() != TableGame::Waiting) {
    trusted_[seat] = true;
    game_->SetBot(seat, true);
  }
  Frame body = NameBody(NameOf(seat));
  c.Reply(sysmsg::MSG_TRUST_EXIT, 1, body);
  for (const auto& [s, conn] : seats_)
    if (s != seat) conn->Send(sysmsg::MSG_TRUST_EXIT_RESULT, body, 1);
  for (const auto& [n, w] : watchers_) w.conn->Send(sysmsg::MSG_TRUST_EXIT_RESULT, body, 1);
  server_.AddLog("trust exit " + NameOf(seat) + " granted");
  std::vector<OutFrame> out;
  game_->RunBots(out);
  Deliver(out);
}

void TableSession::OnLeaveRequest(Conn& c, const Frame&) {
  int seat = SeatOf(c);
  if (seat < 0) return;
  if (leave_.seat >= 0) {
    server_.AddLog("leave request of " + NameOf(seat) + " ignored: another is open");
    return;
  }
  leave_ = LeaveRequest();
  leave_.seat = seat;
  leave_.value = ++leaveSerial_;
  for (int s = 0; s < opt_.players; ++s)
    if (s != seat) leave_.waiting.insert(s);
  ++leaveCount_[seat];
  SendToPlayers(MSG_SEAT_VALUES, Words({leaveCount_[0], leaveCount_[1], leaveCount_[2], leaveCount_[3]}));
  server_.AddLog("leave request " + std::to_string(leave_.value) + " of " + NameOf(seat));
  uint32_t value = leave_.value;
  for (int s : std::set<int>(leave_.waiting))
    if (seats_.count(s)) seats_[s]->Send(MSG_LEAVE_REQUEST, Words({static_cast<uint32_t>(seat), value}));
  // A bot lets a seat go between hands; a running hand it wants played out.
  bool botsAgree = game_->phase() == TableGame::Waiting;
  for (int s : std::set<int>(leave_.waiting))
    if (!seats_.count(s)) TakeLeaveAnswer(s, value, botsAgree);
}

void TableSession::OnLeaveAnswer(Conn& c, const Frame& frame) {
  int seat = SeatOf(c);
  auto w = ReadWords(Body(frame), 3);
  if (seat < 0 || !w) return;
  TakeLeaveAnswer(seat, (*w)[1], (*w)[2] != 0);
}

// One seat's answer goes to the requester; the last agreement tells it that all agreed
// (the answer in its own seat's name). Seat -1: nobody is left to answer.
void TableSession::TakeLeaveAnswer(int seat, uint32_t value, bool agree) {
  if (leave_.seat < 0 || value != leave_.value || (seat >= 0 && !leave_.waiting.count(seat))) {
    server_.AddLog("leave answer of " + NameOf(seat) + " to " + std::to_string(value) + " ignored");
    return;
  }
  int requester = leave_.seat;
  auto conn = seats_.find(requester);
  if (conn == seats_.end()) {
    leave_ = LeaveRequest();
    return;
  }
  if (seat >= 0) {
    leave_.waiting.erase(seat);
    server_.AddLog("leave answer " + NameOf(seat) + " agree " + std::to_string(agree ? 1 : 0));
    conn->second->Send(MSG_LEAVE_ANSWER, Words({static_cast<uint32_t>(seat), value, agree ? 1u : 0u}));
  }
  if (!agree) {
    leave_ = LeaveRequest();
    return;
  }
  if (!leave_.waiting.empty()) return;
  server_.AddLog("leave request " + std::to_string(value) + " agreed by all");
  conn->second->Send(MSG_LEAVE_ANSWER, Words({static_cast<uint32_t>(requester), value, 1}));
  leave_.seat = -1;
  leave_.waiting.clear();
  agreed_[requester] = value;
}

// {seat, value, 0} after the others agreed, {seat, 0, 1} to leave anyway after a refusal:
// the client is told to quit, and its quit ends the seat.
void TableSession::OnLeaveConfirm(Conn& c, const Frame& frame) {
  int seat = SeatOf(c);
  auto w = ReadWords(Body(frame), 3);
  if (seat < 0 || !w) return;
  uint32_t value = (*w)[1], anyway = (*w)[2];
  auto agreed = agreed_.find(seat);
  if (value != 0 && agreed != agreed_.end() && agreed->second == value) {
    leaving_[seat] = kLeftQuit;
    server_.AddLog("leave confirmed by " + NameOf(seat));
  } else if (value == 0 && anyway) {
    leaving_[seat] = kLeftForced;
    server_.AddLog("leave anyway by " + NameOf(seat));
  } else {
    server_.AddLog("leave confirm of " + NameOf(seat) + " ignored");
    return;
  }
  agreed_.erase(seat);
  c.Send(MSG_ACTION_ERROR, bodies::ActionError(kQuitToClose), static_cast<uint32_t>(seat));
}

// ---- the game ----------------------------------------------------------------------------

void TableSession::OnGame(Conn& c, const Frame& frame) {
  int seat = SeatOf(c);
  if (seat < 0) {
    if (WatcherOf(c)) server_.AddLog("game action of watcher #" + std::to_string(c.Number()) + " ignored");
    return;
  }
  const std::string said = DescribeCards(FrameId(frame), seat, Body(frame));
  if (!said.empty()) server_.AddLog(said);
  std::vector<OutFrame> out;
  game_->OnClientFrame(seat, FrameId(frame), Body(frame), out);
  Deliver(out);
}

// Trusteeship on (1, or 2 when the client's clock ran out) hands the seat to a bot until the
// client asks for it back (0) or the hand ends. A seat may enter it trustLimit times a hand;
// the last time it stays until the hand's end.
void TableSession::OnTrusteeship(Conn& c, const Frame& frame) {
  int seat = SeatOf(c);
  auto read = bodies::ReadTrusteeshipMode(Body(frame));
  if (seat < 0 || !read) return;
  uint32_t mode = *read & 0xFFFF;
  server_.AddLog("trusteeship " + NameOf(seat) + " mode " + std::to_string(mode));
  bool on = mode != 0;
  std::string refused;
  if (on && !trusted_[seat]) {
    if (game_->phase() == TableGame::Waiting)
      refused = "no hand is running";
    else if (trustTimes_[seat] >= opt_.trustLimit)
      refused = "the limit per hand is reached";
  } else if (!on && !trusted_[seat]) {
    refused = "not in trusteeship";
  } else if (!on && trustTimes_[seat] >= opt_.trustLimit) {
    refused = "the last trusteeship of the hand lasts to its end";
  }
  if (!refused.empty()) {
    SendTrusteeshipResult(seat, mode, 0, !on && trusted_[seat]);
    server_.AddLog("trusteeship " + NameOf(seat) + " refused: " + refused);
    return;
  }
  if (on && !trusted_[seat]) ++trustTimes_[seat];
  trusted_[seat] = on;
  game_->SetBot(seat, on);
  game_->SetAutoReady(seat, !on);
  SendTrusteeshipResult(seat, mode, 1, true);
  std::vector<OutFrame> out;
  game_->RunBots(out);
  Deliver(out);
}

// {mode, counts (times in the low byte, the limit in the high one), name}; a grant goes to
// everyone at the table, a refusal to the seat alone.
void TableSession::SendTrusteeshipResult(int seat, uint32_t mode, uint32_t status, bool counts) {
  wire::Writer w;
  w.U16(static_cast<uint16_t>(mode));
  w.U16(counts ? static_cast<uint16_t>((trustTimes_[seat] & 0xFF) | ((opt_.trustLimit & 0xFF) << 8)) : 0);
  w.Field(NameOf(seat), 20);
  Frame body = w.Take();
  if (status == 1) {
    SendToAll(sysmsg::MSG_TRUSTEESHIP_RESULT, body, 1);
  } else if (seats_.count(seat)) {
    seats_[seat]->Send(sysmsg::MSG_TRUSTEESHIP_RESULT, body, status);
  }
}

// Trusteeship ends with the hand, and is always told: the client plays the next one itself.
void TableSession::EndTrusteeshipWithHand() {
  for (int seat = 0; seat < opt_.players; ++seat) {
    if (!trusted_[seat]) continue;
    trusted_[seat] = false;
    if (trustExited_.count(seat)) continue;
    game_->SetBot(seat, !seats_.count(seat) && opt_.bots);
    game_->SetAutoReady(seat, true);
    if (opt_.untoldTrustEnd) {
      server_.AddLog("trusteeship " + NameOf(seat) + " ended with the hand, untold");
      continue;
    }
    SendTrusteeshipResult(seat, 0, 1, true);
    server_.AddLog("trusteeship " + NameOf(seat) + " ended with the hand");
  }
  std::fill(trustTimes_.begin(), trustTimes_.end(), 0);
  std::fill(leaveCount_.begin(), leaveCount_.end(), 0);
}

// {seat, allow, 0}: a changed flag goes to everyone with the seat's cards (a watcher of the
// seat refills its hand from them).
void TableSession::OnWatchPermission(Conn& c, const Frame& frame) {
  int seat = SeatOf(c);
  auto w = ReadWords(Body(frame), 2);
  if (seat < 0 || !w) return;
  bool allow = (*w)[1] != 0;
  if (allow == game_->AllowsWatching(seat)) return;
  game_->SetAllowWatching(seat, allow);
  Frame body = Words({static_cast<uint32_t>(seat), allow ? 1u : 0u});
  const std::vector<int>& hand = game_->Hand(seat);
  wire::Writer cards;
  cards.U32(static_cast<uint32_t>(hand.size()));
  for (int code : hand) cards.U8(static_cast<uint8_t>(code));
  const Frame& tail = cards.bytes();
  body.insert(body.end(), tail.begin(), tail.end());
  SendToAll(MSG_WATCH_PERMISSION, body);
  server_.AddLog("watch permission " + NameOf(seat) + " " + std::to_string(allow ? 1 : 0));
}

// ---- complaints --------------------------------------------------------------------------

void TableSession::OpenComplaint() {
  if (!opt_.complaints) return;
  complaintWaiting_.clear();
  for (const auto& [seat, conn] : seats_)
    if (seat != game_->Declarer()) complaintWaiting_.insert(seat);
  // Bots never complain: without a person among the farmers there is nothing to offer.
  if (complaintWaiting_.empty()) return;
  complaintOpen_ = true;
  complained_ = false;
  std::vector<OutFrame> out;
  game_->SetHold(true, out);
  SendToPlayers(MSG_COMPLAINT_PROMPT, Words({opt_.complaintMs, kKeepAliveMs}));
  SendToPlayers(MSG_COMPLAINT_UPDATE, Words({kMemberFee, kNonMemberFee, 0, 0}));
  server_.AddLog("complaint offered");
}

void TableSession::OnComplaint(Conn& c, const Frame& frame) {
  int seat = SeatOf(c);
  if (seat < 0 || !complaintOpen_ || !complaintWaiting_.erase(seat)) return;
  bool complaint = FrameId(frame) == MSG_COMPLAINT;
  complained_ = complained_ || complaint;
  server_.AddLog(std::string(complaint ? "complaint by " : "no complaint by ") + NameOf(seat));
  CloseComplaintIfDone();
}

// Every farmer answered: a complaint ends the game (its outcome shown, then the clients are
// sent away); none lets the table deal again.
void TableSession::CloseComplaintIfDone() {
  if (!complaintOpen_ || !complaintWaiting_.empty()) return;
  complaintOpen_ = false;
  SendToPlayers(MSG_COMPLAINT_RESULT, Words({complained_ ? 1u : 0u, complained_ ? opt_.complaintOutcome : 0u}));
  server_.AddLog("complaint result " + std::to_string(complained_ ? 1 : 0) + " outcome " +
                 std::to_string(complained_ ? opt_.complaintOutcome : 0));
  if (complained_) {
    SendToAll(sysmsg::MSG_KICKED, {});
    return;
  }
  std::vector<OutFrame> out;
  game_->SetHold(false, out);
  Deliver(out);
}

// ---- delivery ----------------------------------------------------------------------------

// "hand over N series S over O changes a b c totals x y z in series H": what a score board shows.
void TableSession::LogHandOver(const Frame& body) {
  auto f = bodies::ReadHandOver(body);
  if (!f) return;
  std::string line = "hand over " + std::to_string(game_->HandsPlayed()) + " series " + std::to_string(f->seriesValue) +
                     " over " + std::to_string(f->seriesOver ? 1 : 0) + " changes";
  for (int v : f->change) line += " " + std::to_string(v);
  line += " totals";
  for (int v : f->seriesTotals) line += " " + std::to_string(v);
  line += " in series " + std::to_string(f->hand);
  server_.AddLog(line);
}

void TableSession::SendToPlayers(uint32_t id, const Frame& body, uint32_t status, int except) {
  for (const auto& [seat, conn] : seats_)
    if (seat != except) conn->Send(id, body, status);
}

void TableSession::SendToAll(uint32_t id, const Frame& body, uint32_t status) {
  SendToPlayers(id, body, status);
  for (const auto& [n, w] : watchers_)
    if (w.started) w.conn->Send(id, body, status);
}

// A hand begins: the connection is no longer ended, and watchers joining later replay it.
void TableSession::OnHandStart() {
  SendToPlayers(sysmsg::MSG_SET_STATE557, Words({0}));
  handFrames_.clear();
  for (Frame& d : dealBodies_) d.clear();
}

void TableSession::OnHandEnd(const Frame& handOver) {
  EndTrusteeshipWithHand();
  LogHandOver(handOver);
}

void TableSession::Deliver(const std::vector<OutFrame>& out) {
  for (size_t i = 0; i < out.size(); ++i) {
    const OutFrame& f = out[i];
    bool firstDeal = f.id == MSG_DEAL && (i == 0 || out[i - 1].id != MSG_DEAL);
    if (firstDeal) OnHandStart();
    if (f.id == MSG_HAND_OVER) OnHandEnd(f.body);
    if (f.id == MSG_DEAL && f.toSeat >= 0 && f.toSeat < opt_.players) dealBodies_[f.toSeat] = f.body;
    if (f.toSeat == -1 && f.id != MSG_HAND_OVER && f.id != MSG_READY) handFrames_.push_back(f);
    for (const auto& [seat, conn] : seats_) {
      if (f.toSeat != -1 && f.toSeat != seat) continue;
      if (f.id == MSG_DEAL || f.id == MSG_BOTTOM_CARDS || f.id == MSG_PLAY) {
        const std::string said = DescribeCards(f.id, seat, f.body, true);
        if (!said.empty()) server_.AddLog(said);
      }
      conn->Send(f.id, f.body, f.status);
    }
    // Watchers see what everyone sees and the watched seat's deal.
    for (const auto& [n, w] : watchers_) {
      if (!w.started || !(f.toSeat == -1 || (f.id == MSG_DEAL && f.toSeat == w.seat))) continue;
      w.conn->Send(f.id, f.body, f.status);
    }
    if (f.id == MSG_HAND_OVER) {
      handFrames_.clear();
      // Between hands closing takes the exit path; whether it is quiet depends on the series.
      SendToPlayers(sysmsg::MSG_SET_STATE557, Words({1}));
      SendToPlayers(MSG_ASK_WATCH_PERMISSION, Words({AtStake() ? 0u : 1u}));
      OpenComplaint();
    }
  }
}

}  // namespace tablegame
