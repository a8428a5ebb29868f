#include "TableSession.h"

#include <cstring>

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
}  // namespace

TableSession::TableSession(peers::CTableServer& server, const SessionOptions& opt) : server_(server), opt_(opt) {
  TableOptions t;
  t.players = opt.players;
  t.seed = opt.seed;
  t.series = opt.series > 0;
  if (opt.series > 0) t.handsPerSeries = opt.series;
  game_ = std::make_unique<TableGame>(t);
  for (int s = 0; s < opt.players; ++s) game_->SetBot(s, opt.bots);
}

void TableSession::Install() {
  server_.SetCloseHook([this](peers::CTableConnection& c) { OnClosed(c.Number()); });
  server_.SetHandler(sysmsg::MSG_LOGIN,
                     [this](peers::CTableConnection& c, const std::vector<uint8_t>& f) { OnLogin(c, f); });
  for (uint32_t id : {sysmsg::MSG_QUIT, sysmsg::MSG_QUIT_FORCED})
    server_.SetHandler(id, [this](peers::CTableConnection& c, const std::vector<uint8_t>& f) { OnQuit(c, f); });
  // Keep-alive and the start notice need no answer.
  for (uint32_t id : {sysmsg::MSG_KEEPALIVE, sysmsg::MSG_CLIENT_START})
    server_.SetHandler(id, [](peers::CTableConnection&, const std::vector<uint8_t>&) {});
  server_.SetHandler(MSG_TRUSTEESHIP,
                     [this](peers::CTableConnection& c, const std::vector<uint8_t>& f) { OnTrusteeship(c, f); });
  for (uint32_t id : {static_cast<uint32_t>(MSG_READY), static_cast<uint32_t>(MSG_BID), static_cast<uint32_t>(MSG_PLAY),
                      static_cast<uint32_t>(MSG_TIMEOUT)})
    server_.SetHandler(id, [this](peers::CTableConnection& c, const std::vector<uint8_t>& f) { OnGame(c, f); });
}

std::string TableSession::NameOf(int seat) const {
  auto it = names_.find(seat);
  return it != names_.end() ? it->second : "bot" + std::to_string(seat);
}

int TableSession::SeatOf(const peers::CTableConnection& c) const {
  for (const auto& [seat, conn] : seats_)
    if (conn == &c) return seat;
  return -1;
}

void TableSession::OnLogin(peers::CTableConnection& c, const std::vector<uint8_t>& frame) {
  std::vector<uint8_t> body = Body(frame);
  wire::Reader r(body.data(), body.size());
  std::string user, key, title;
  uint16_t word = 0, seat = 0;
  r.Field(20, &user);
  r.Field(40, &key);
  r.Field(40, &title);
  r.U16(&word);
  r.U16(&seat);
  if (!r.ok() || seat >= opt_.players || seats_.count(seat)) {
    // Watching and taken seats are not served by this table.
    c.Reply(sysmsg::MSG_LOGIN, 2, {});
    server_.AddLog("login refused: seat " + std::to_string(seat));
    return;
  }
  seats_[seat] = &c;
  names_[seat] = user;
  game_->SetBot(seat, false);
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
  c.Reply(sysmsg::MSG_LOGIN, 1, w.Take());
  c.Send(sysmsg::MSG_STATE540, {}, opt_.optionFlags);
  server_.AddLog("login " + user + " seat " + std::to_string(seat));
}

void TableSession::OnGame(peers::CTableConnection& c, const std::vector<uint8_t>& frame) {
  int seat = SeatOf(c);
  if (seat < 0) return;
  const std::string said = DescribeCards(FrameId(frame), seat, Body(frame));
  if (!said.empty()) server_.AddLog(said);
  std::vector<OutFrame> out;
  game_->OnClientFrame(seat, FrameId(frame), Body(frame), out);
  Deliver(out);
}

// Trusteeship on (1, or 2 when the client's clock ran out) hands the seat to a bot until
// the client asks for it back (0); every client hears the result.
void TableSession::OnTrusteeship(peers::CTableConnection& c, const std::vector<uint8_t>& frame) {
  int seat = SeatOf(c);
  if (seat < 0) return;
  auto read = bodies::ReadTrusteeshipMode(Body(frame));
  if (!read) return;
  uint32_t mode = *read;
  bool on = mode != 0;
  trusted_[seat] = on;
  game_->SetBot(seat, on);
  game_->SetAutoReady(seat, !on);
  wire::Writer w;
  w.U16(static_cast<uint16_t>(mode));
  w.U16(0);
  w.Field(NameOf(seat), 20);
  std::vector<uint8_t> result = w.Take();
  for (const auto& [s, conn] : seats_) conn->Send(sysmsg::MSG_TRUSTEESHIP_RESULT, result, 1);
  server_.AddLog("trusteeship " + NameOf(seat) + " mode " + std::to_string(mode));
  std::vector<OutFrame> out;
  game_->RunBots(out);
  Deliver(out);
}

void TableSession::OnQuit(peers::CTableConnection& c, const std::vector<uint8_t>&) {
  OnClosed(c.Number());
  c.Close();
}

void TableSession::OnClosed(int connectionNumber) {
  for (auto it = seats_.begin(); it != seats_.end(); ++it) {
    if (it->second->Number() != connectionNumber) continue;
    int seat = it->first;
    seats_.erase(it);
    names_.erase(seat);
    trusted_.erase(seat);
    game_->SetBot(seat, opt_.bots);
    game_->SetAutoReady(seat, true);
    std::vector<OutFrame> out;
    game_->RunBots(out);
    Deliver(out);
    return;
  }
}

// "hand over N series S over O changes a b c totals x y z": what a score board shows.
void TableSession::LogHandOver(const std::vector<uint8_t>& body) {
  auto f = bodies::ReadHandOver(body);
  if (!f) return;
  std::string line = "hand over " + std::to_string(f->hand) + " series " + std::to_string(f->seriesValue) + " over " +
                     std::to_string(f->seriesOver ? 1 : 0) + " changes";
  for (int v : f->change) line += " " + std::to_string(v);
  line += " totals";
  for (int v : f->seriesTotals) line += " " + std::to_string(v);
  server_.AddLog(line);
}

void TableSession::Deliver(const std::vector<OutFrame>& out) {
  for (const auto& f : out) {
    if (f.id == MSG_HAND_OVER) {
      LogHandOver(f.body);
      // Trusteeship ends with the hand: the client plays the next one itself.
      for (auto& [seat, on] : trusted_) {
        if (!on) continue;
        on = false;
        game_->SetBot(seat, false);
        game_->SetAutoReady(seat, true);
        if (opt_.tellTrustEnd) {
          wire::Writer w;
          w.U16(0);
          w.U16(0);
          w.Field(NameOf(seat), 20);
          std::vector<uint8_t> result = w.Take();
          for (const auto& [s, conn] : seats_) conn->Send(sysmsg::MSG_TRUSTEESHIP_RESULT, result, 1);
          server_.AddLog("trusteeship " + NameOf(seat) + " ended with the hand");
        }
      }
    }
    for (const auto& [seat, conn] : seats_) {
      if (f.toSeat != -1 && f.toSeat != seat) continue;
      if (f.id == MSG_DEAL || f.id == MSG_BOTTOM_CARDS || f.id == MSG_PLAY) {
        const std::string said = DescribeCards(f.id, seat, f.body, true);
        if (!said.empty()) server_.AddLog(said);
      }
      conn->Send(f.id, f.body, f.status);
    }
  }
}

}  // namespace tablegame
