#include "TableGame.h"

#include <algorithm>
#include <cstring>

#include "CardRules.h"
#include "GameMessages.h"
#include "WireBytes.h"

namespace tablegame {

// The client's rule engine, holding one seat's hand at a time for judging and bots.
struct TableGame::Rules : CCardTable {};

namespace {
std::vector<uint8_t> Words(std::initializer_list<uint32_t> w) {
  wire::Writer out;
  for (uint32_t x : w) out.U32(x);
  return out.Take();
}

bool IsBomb(int type) { return type == PLAY_ROCKET || (type >= PLAY_BOMB && type <= PLAY_FOUR_JOKERS); }
}  // namespace

TableGame::TableGame(const TableOptions& opt)
    : opt_(opt),
      rules_(new Rules),
      rng_(opt.seed),
      bots_(opt.players, false),
      ready_(opt.players, false),
      autoReady_(opt.players, true),
      hands_(opt.players),
      totals_(opt.players, 0),
      seriesTotals_(opt.players, 0) {
  rules_->SetRuleOptions(opt.players, 0, 0);
  multiplier_ = opt.baseMultiplier;
}

TableGame::~TableGame() { delete rules_; }

void TableGame::SetBot(int seat, bool bot) { bots_[seat] = bot; }

void TableGame::OnClientFrame(int seat, uint32_t id, const std::vector<uint8_t>& body, std::vector<OutFrame>& out) {
  if (seat < 0 || seat >= opt_.players) return;
  wire::Reader r(body.data(), body.size());
  switch (id) {
    case MSG_READY:
      Ready(seat, out);
      break;
    case MSG_BID: {
      int32_t a, c;
      uint32_t bid, d;
      if (r.I32(&a) && r.U32(&bid) && r.I32(&c) && r.U32(&d)) Bid(seat, static_cast<int>(bid), out);
      break;
    }
    case MSG_PLAY: {
      uint32_t s, n, z;
      int32_t m;
      if (!r.U32(&s) || !r.I32(&m) || !r.U32(&n) || !r.U32(&z) || n > 33 || r.remaining() < n * 4) break;
      std::vector<int> codes(n);
      for (auto& c : codes) {
        uint32_t v;
        r.U32(&v);
        c = static_cast<int>(v);
      }
      Play(seat, codes, out);
      break;
    }
    case MSG_TIMEOUT:
      // The client's clock ran out where it may not pass: the server acts for the seat once.
      if (phase_ == Waiting)
        Ready(seat, out);
      else if (turn_ == seat)
        ActFor(seat, out);
      break;
    default:
      break;
  }
  RunBots(out);
}

void TableGame::Ready(int seat, std::vector<OutFrame>& out) {
  if (phase_ != Waiting || ready_[seat]) return;
  ready_[seat] = true;
  out.push_back({-1, MSG_READY, 0, Words({static_cast<uint32_t>(seat)})});
  if (std::all_of(ready_.begin(), ready_.end(), [](bool b) { return b; })) Deal(out);
}

void TableGame::Deal(std::vector<OutFrame>& out) {
  int decks = opt_.players == 4 ? 2 : 1;
  std::vector<int> deck;
  for (int d = 0; d < decks; ++d)
    for (int c = 0; c < 54; ++c) deck.push_back(c + 54 * d);
  std::shuffle(deck.begin(), deck.end(), rng_);
  int bottomCount = opt_.players == 4 ? 8 : 3;
  int per = (static_cast<int>(deck.size()) - bottomCount) / opt_.players;
  for (int s = 0; s < opt_.players; ++s) hands_[s].assign(deck.begin() + s * per, deck.begin() + (s + 1) * per);
  bottom_.assign(deck.end() - bottomCount, deck.end());
  firstBidder_ = handNumber_ % opt_.players;
  turn_ = firstBidder_;
  bidsMade_ = 0;
  highBid_ = 0;
  highBidder_ = -1;
  declarer_ = -1;
  multiplier_ = opt_.baseMultiplier;
  lastPlayer_ = -1;
  lastPlay_.clear();
  phase_ = Bidding;
  for (int s = 0; s < opt_.players; ++s) {
    wire::Writer w;
    for (int i = 0; i < 4; ++i) w.U32(1);
    for (int i = 0; i < 4; ++i) w.U32(i < opt_.players ? static_cast<uint32_t>(totals_[i]) : 0);
    w.U32(0);
    w.U32(1);  // hints on
    w.U32(static_cast<uint32_t>(firstBidder_));
    w.U32(static_cast<uint32_t>(bottomCount));
    for (int c : hands_[s]) w.U8(static_cast<uint8_t>(c));
    out.push_back({s, MSG_DEAL, 0, w.Take()});
  }
}

void TableGame::Bid(int seat, int bid, std::vector<OutFrame>& out) {
  if (phase_ != Bidding || seat != turn_) return;
  if (bid < 0 || bid > 3 || (bid != 0 && bid <= highBid_)) bid = 0;
  if (bid > highBid_) {
    highBid_ = bid;
    highBidder_ = seat;
  }
  ++bidsMade_;
  bool over = highBid_ == 3 || bidsMade_ >= opt_.players;
  if (over && highBidder_ < 0) {
    // Nobody bid: the first bidder takes it at one point.
    highBid_ = 1;
    highBidder_ = firstBidder_;
  }
  if (!over) {
    turn_ = Next(seat);
    out.push_back({-1, MSG_BID, 0, Words({static_cast<uint32_t>(turn_), 0, 0xFFFFFFFF, static_cast<uint32_t>(bid)})});
    return;
  }
  declarer_ = highBidder_;
  out.push_back({-1, MSG_BID, 0, Words({0xFFFFFFFF, 0, static_cast<uint32_t>(declarer_), static_cast<uint32_t>(bid)})});
  wire::Writer w;
  w.U32(static_cast<uint32_t>(bottom_.size()));
  w.U32(static_cast<uint32_t>(declarer_));
  for (int c : bottom_) w.U32(static_cast<uint32_t>(c));
  out.push_back({-1, MSG_BOTTOM_CARDS, 0, w.Take()});
  hands_[declarer_].insert(hands_[declarer_].end(), bottom_.begin(), bottom_.end());
  turn_ = declarer_;
  lastPlayer_ = declarer_;
  phase_ = Playing;
}

bool TableGame::Play(int seat, const std::vector<int>& codes, std::vector<OutFrame>& out) {
  auto refuse = [&](int code) {
    out.push_back({seat, MSG_ACTION_ERROR, static_cast<uint32_t>(seat), Words({static_cast<uint32_t>(code)})});
    return false;
  };
  if (phase_ != Playing || seat != turn_) return refuse(ERR_NOT_YOUR_TURN);
  bool freeLead = lastPlayer_ == seat;
  int type = 0;
  if (codes.empty()) {
    if (freeLead) return refuse(ERR_NOT_BIGGER);
  } else {
    std::vector<int> rest = hands_[seat];
    for (int c : codes) {
      auto it = std::find(rest.begin(), rest.end(), c);
      if (it == rest.end()) return refuse(ERR_NOT_IN_HAND);
      rest.erase(it);
    }
    CARD_INFO mine[33], last[33];
    for (size_t i = 0; i < codes.size(); ++i) CCardRules::SetCardFromCode(&mine[i], codes[i]);
    type = rules_->ClassifyCards(mine, static_cast<int>(codes.size()));
    if (type == PLAY_INVALID) return refuse(ERR_INVALID);
    if (!freeLead) {
      for (size_t i = 0; i < lastPlay_.size(); ++i) CCardRules::SetCardFromCode(&last[i], lastPlay_[i]);
      if (rules_->CompareCards(mine, static_cast<int>(codes.size()), last, static_cast<int>(lastPlay_.size())) <= 0)
        return refuse(ERR_NOT_BIGGER);
    }
    hands_[seat] = rest;
    lastPlay_ = codes;
    lastPlayer_ = seat;
    if (IsBomb(type)) multiplier_ *= 2;
  }
  bool done = hands_[seat].empty();
  turn_ = done ? -1 : Next(seat);
  wire::Writer w;
  w.U32(static_cast<uint32_t>(seat));
  w.I32(turn_);
  w.U32(static_cast<uint32_t>(codes.size()));
  w.U32(static_cast<uint32_t>(multiplier_));
  for (int c : codes) w.U32(static_cast<uint32_t>(c));
  out.push_back({-1, MSG_PLAY, 0, w.Take()});
  if (done) HandOver(out);
  return true;
}

void TableGame::HandOver(std::vector<OutFrame>& out) {
  int winner = lastPlayer_;
  bool declarerWon = winner == declarer_;
  int unit = highBid_ * multiplier_;
  std::vector<int> change(opt_.players, 0);
  for (int s = 0; s < opt_.players; ++s) {
    if (s == declarer_) continue;
    change[s] = declarerWon ? -unit : unit;
    change[declarer_] -= change[s];
  }
  ++handNumber_;
  for (int s = 0; s < opt_.players; ++s) {
    totals_[s] += change[s];
    seriesTotals_[s] += change[s];
  }
  bool seriesOver = opt_.series && handNumber_ % opt_.handsPerSeries == 0;
  wire::Writer w;
  w.U32(static_cast<uint32_t>(opt_.players));
  w.U32(static_cast<uint32_t>(handNumber_));
  w.U32(seriesOver ? seriesValue_ + 1 : seriesValue_);
  w.U32(seriesOver ? 1 : 0);
  w.U32(0);
  w.U32(0);
  for (int i = 0; i < 4; ++i) w.I32(i < opt_.players ? change[i] : 0);
  for (int i = 0; i < 4; ++i) w.I32(i < opt_.players ? seriesTotals_[i] : 0);
  for (int i = 0; i < 4; ++i) w.U32(0);
  for (int i = 0; i < 4; ++i) w.U32(i < opt_.players ? static_cast<uint32_t>(hands_[i].size()) : 0);
  for (int s = 0; s < opt_.players; ++s)
    for (int c : hands_[s]) w.U32(static_cast<uint32_t>(c));
  out.push_back({-1, MSG_HAND_OVER, 0, w.Take()});
  if (seriesOver) {
    ++seriesValue_;
    std::fill(seriesTotals_.begin(), seriesTotals_.end(), 0);
  }
  phase_ = Waiting;
  std::fill(ready_.begin(), ready_.end(), false);
  for (int s = 0; s < opt_.players; ++s)
    if (bots_[s] && autoReady_[s]) Ready(s, out);
}

int TableGame::BotBid(int seat) {
  // Bid one point more than the table when holding a joker or a two and some bombs.
  int strong = 0;
  for (int c : hands_[seat]) {
    int v = c % 54;
    if (v >= 52 || v % 13 == 12) ++strong;
  }
  int want = strong >= 4 ? 3 : strong >= 3 ? 2 : strong >= 2 ? 1 : 0;
  return want > highBid_ ? want : 0;
}

std::vector<int> TableGame::BotPlay(int seat) {
  rules_->SetSeatCodes(CCardRules::OWN_POSITION, hands_[seat].data(), static_cast<int>(hands_[seat].size()));
  if (lastPlayer_ == seat)
    rules_->SetLastPlayCodes(nullptr, 0);
  else
    rules_->SetLastPlayCodes(lastPlay_.data(), static_cast<int>(lastPlay_.size()));
  rules_->SortSeatHand(CCardRules::OWN_POSITION, 0);
  rules_->InvalidateHint();
  const CARD_INFO* cards = nullptr;
  int n = rules_->FindHint(&cards);
  std::vector<int> codes;
  for (int i = 0; i < n; ++i) codes.push_back(cards[i].nCode);
  if (codes.empty() && lastPlayer_ == seat) {
    // A free lead always plays something: the lowest card.
    const CARD_INFO* hand = rules_->SeatCards(CCardRules::OWN_POSITION);
    codes.push_back(hand[rules_->SeatCardCount(CCardRules::OWN_POSITION) - 1].nCode);
  }
  return codes;
}

void TableGame::RunBots(std::vector<OutFrame>& out) {
  for (int guard = 0; guard < 400; ++guard) {
    if (phase_ == Waiting) {
      bool acted = false;
      for (int s = 0; s < opt_.players; ++s)
        if (bots_[s] && autoReady_[s] && !ready_[s]) {
          Ready(s, out);
          acted = true;
        }
      if (!acted) return;
      continue;
    }
    if (turn_ < 0 || !bots_[turn_]) return;
    if (!ActFor(turn_, out)) return;
  }
}

bool TableGame::ActFor(int seat, std::vector<OutFrame>& out) {
  if (phase_ == Bidding) {
    Bid(seat, BotBid(seat), out);
    return true;
  }
  if (Play(seat, BotPlay(seat), out)) return true;
  // The rules refused the bot's choice: pass, or on a free lead any single card.
  bool ok = Play(seat, {}, out);
  for (size_t i = 0; !ok && i < hands_[seat].size(); ++i) ok = Play(seat, {hands_[seat][i]}, out);
  return ok;
}

}  // namespace tablegame
