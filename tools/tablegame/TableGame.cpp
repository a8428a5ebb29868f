#include "TableGame.h"

#include <algorithm>
#include <cstring>

#include "CardRules.h"
#include "GameMessages.h"
#include "TableBodies.h"

namespace tablegame {

// The client's rule engine, holding one seat's hand at a time for judging and bots.
struct TableGame::Rules : CCardTable {};

namespace {
bool IsBomb(int type) { return type == PLAY_ROCKET || (type >= PLAY_BOMB && type <= PLAY_FOUR_JOKERS); }
}  // namespace

TableGame::TableGame(const TableOptions& opt)
    : opt_(opt),
      rules_(new Rules),
      rng_(opt.seed),
      bots_(opt.players, false),
      ready_(opt.players, false),
      autoReady_(opt.players, true),
      allow_(opt.players, 1),
      hands_(opt.players),
      totals_(opt.players, 0),
      seriesTotals_(opt.players, 0) {
  rules_->SetRuleOptions(opt.players, 0, 0);
  multiplier_ = opt.baseMultiplier;
}

TableGame::~TableGame() { delete rules_; }

void TableGame::SetBot(int seat, bool bot) { bots_[seat] = bot; }

bool TableGame::BotsMayReady() const {
  if (botsAlone_) return true;
  for (int s = 0; s < opt_.players; ++s)
    if (!bots_[s] || !autoReady_[s]) return true;
  return false;
}

bool TableGame::AllReady() const {
  return std::all_of(ready_.begin(), ready_.end(), [](bool b) { return b; });
}

void TableGame::SetHold(bool hold, std::vector<OutFrame>& out) {
  hold_ = hold;
  if (hold_ || phase_ != Waiting) return;
  RunBots(out);
  if (phase_ == Waiting && AllReady()) Deal(out);
}

void TableGame::OnClientFrame(int seat, uint32_t id, const std::vector<uint8_t>& body, std::vector<OutFrame>& out) {
  if (seat < 0 || seat >= opt_.players) return;
  switch (id) {
    case MSG_READY:
      Ready(seat, out);
      break;
    case MSG_BID:
      if (auto bid = bodies::ReadBid(body)) Bid(seat, *bid, out);
      break;
    case MSG_PLAY: {
      auto play = bodies::ReadPlay(body);
      if (play && play->cards.size() <= 33) Play(seat, play->cards, out);
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
  out.push_back({-1, MSG_READY, 0, bodies::ReadyNotice(seat)});
  if (!hold_ && AllReady()) Deal(out);
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
  // Hints are on.
  for (int s = 0; s < opt_.players; ++s)
    out.push_back({s, MSG_DEAL, 0, bodies::Deal(allow_, totals_, true, firstBidder_, bottomCount, hands_[s])});
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
    // Nobody bid: the first bidder takes it at one point, and the closing notice names that
    // point, since the clients show and score the hand by the bids the notices carry.
    highBid_ = 1;
    highBidder_ = firstBidder_;
    bid = highBid_;
  }
  if (!over) {
    turn_ = Next(seat);
    out.push_back({-1, MSG_BID, 0, bodies::BidNotice(turn_, 0, -1, bid)});
    return;
  }
  declarer_ = highBidder_;
  out.push_back({-1, MSG_BID, 0, bodies::BidNotice(-1, 0, declarer_, bid)});
  out.push_back({-1, MSG_BOTTOM_CARDS, 0, bodies::BottomCards(declarer_, bottom_)});
  hands_[declarer_].insert(hands_[declarer_].end(), bottom_.begin(), bottom_.end());
  turn_ = declarer_;
  lastPlayer_ = declarer_;
  phase_ = Playing;
}

bool TableGame::Play(int seat, const std::vector<int>& codes, std::vector<OutFrame>& out) {
  auto refuse = [&](int code) {
    out.push_back(
        {seat, MSG_ACTION_ERROR, static_cast<uint32_t>(seat), bodies::ActionError(static_cast<uint32_t>(code))});
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
  out.push_back({-1, MSG_PLAY, 0, bodies::Play(seat, turn_, static_cast<uint32_t>(multiplier_), codes)});
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
  ++handsInSeries_;
  for (int s = 0; s < opt_.players; ++s) {
    totals_[s] += change[s];
    seriesTotals_[s] += change[s];
  }
  bool seriesOver = opt_.series && handsInSeries_ >= opt_.handsPerSeries;
  bodies::HandOverFacts facts;
  facts.players = opt_.players;
  // Hands counted so far in the running series: a series that ends leaves none for the next.
  facts.hand = seriesOver ? 0 : handsInSeries_;
  facts.seriesValue = seriesOver ? seriesValue_ + 1 : seriesValue_;
  facts.seriesOver = seriesOver;
  facts.change = change;
  facts.seriesTotals = seriesTotals_;
  facts.left = hands_;
  out.push_back({-1, MSG_HAND_OVER, 0, bodies::HandOver(facts)});
  if (seriesOver) {
    ++seriesValue_;
    handsInSeries_ = 0;
    std::fill(seriesTotals_.begin(), seriesTotals_.end(), 0);
  }
  phase_ = Waiting;
  std::fill(ready_.begin(), ready_.end(), false);
  if (!BotsMayReady()) return;
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
      if (!BotsMayReady()) return;
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
