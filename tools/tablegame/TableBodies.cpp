#include "TableBodies.h"

namespace tablegame {
namespace bodies {

namespace {

void Put(Bytes& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void PutInt(Bytes& b, int v) { Put(b, static_cast<uint32_t>(v)); }

// A cursor over a body that remembers whether anything was missing.
struct Cursor {
  const Bytes& b;
  size_t at = 0;
  bool short_ = false;
  uint32_t Word() {
    if (at > b.size() || b.size() - at < 4) {
      short_ = true;
      at = b.size();
      return 0;
    }
    uint32_t v = b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
    at += 4;
    return v;
  }
  int Int() { return static_cast<int>(Word()); }
  size_t WordsLeft() const { return (b.size() - at) / 4; }
};

}  // namespace

Bytes ReadyNotice(int seat) {
  Bytes b;
  PutInt(b, seat);
  return b;
}

Bytes Deal(const std::vector<uint32_t>& allow, const std::vector<int>& scores, bool hints, int firstBidder,
           int bottomCount, const std::vector<int>& hand) {
  Bytes b;
  for (size_t s = 0; s < 4; ++s) Put(b, s < allow.size() ? allow[s] : 0);
  for (size_t s = 0; s < 4; ++s) PutInt(b, s < scores.size() ? scores[s] : 0);
  Put(b, 0);
  Put(b, hints ? 1 : 0);
  PutInt(b, firstBidder);
  PutInt(b, bottomCount);
  for (int c : hand) b.push_back(static_cast<uint8_t>(c));
  return b;
}

Bytes BidNotice(int next, uint32_t state, int declarer, int bid) {
  Bytes b;
  PutInt(b, next);
  Put(b, state);
  PutInt(b, declarer);
  PutInt(b, bid);
  return b;
}

Bytes BottomCards(int declarer, const std::vector<int>& cards) {
  Bytes b;
  Put(b, static_cast<uint32_t>(cards.size()));
  PutInt(b, declarer);
  for (int c : cards) PutInt(b, c);
  return b;
}

Bytes Play(int seat, int next, uint32_t multiplier, const std::vector<int>& cards) {
  Bytes b;
  PutInt(b, seat);
  PutInt(b, next);
  Put(b, static_cast<uint32_t>(cards.size()));
  Put(b, multiplier);
  for (int c : cards) PutInt(b, c);
  return b;
}

Bytes ActionError(uint32_t code) {
  Bytes b;
  Put(b, code);
  return b;
}

Bytes HandOver(const HandOverFacts& f) {
  auto at = [](const std::vector<int>& v, int s) { return s < static_cast<int>(v.size()) ? v[s] : 0; };
  Bytes b;
  PutInt(b, f.players);
  PutInt(b, f.hand);
  Put(b, f.seriesValue);
  Put(b, f.seriesOver ? 1 : 0);
  Put(b, 0);
  Put(b, 0);
  for (int s = 0; s < 4; ++s) PutInt(b, s < f.players ? at(f.change, s) : 0);
  for (int s = 0; s < 4; ++s) PutInt(b, s < f.players ? at(f.seriesTotals, s) : 0);
  for (int s = 0; s < 4; ++s) Put(b, 0);
  for (int s = 0; s < 4; ++s)
    Put(b, s < f.players && s < static_cast<int>(f.left.size()) ? static_cast<uint32_t>(f.left[s].size()) : 0);
  for (int s = 0; s < f.players && s < static_cast<int>(f.left.size()); ++s)
    for (int c : f.left[s]) PutInt(b, c);
  return b;
}

std::optional<PlayRead> ReadPlay(const Bytes& body) {
  Cursor c{body};
  PlayRead p;
  p.seat = c.Int();
  p.next = c.Int();
  uint32_t n = c.Word();
  p.multiplier = c.Word();
  if (c.short_ || n > c.WordsLeft()) return std::nullopt;
  for (uint32_t i = 0; i < n; ++i) p.cards.push_back(c.Int());
  return p;
}

std::optional<int> ReadBid(const Bytes& body) {
  Cursor c{body};
  c.Word();
  int bid = c.Int();
  c.Word();
  c.Word();
  if (c.short_) return std::nullopt;
  return bid;
}

std::optional<uint32_t> ReadTrusteeshipMode(const Bytes& body) {
  Cursor c{body};
  uint32_t mode = c.Word();
  if (c.short_) return std::nullopt;
  return mode;
}

std::optional<std::vector<int>> ReadDealCards(const Bytes& body) {
  if (body.size() < 48) return std::nullopt;
  return std::vector<int>(body.begin() + 48, body.end());
}

std::optional<BottomRead> ReadBottomCards(const Bytes& body) {
  Cursor c{body};
  uint32_t n = c.Word();
  BottomRead r;
  r.declarer = c.Int();
  if (c.short_ || n > c.WordsLeft()) return std::nullopt;
  for (uint32_t i = 0; i < n; ++i) r.cards.push_back(c.Int());
  return r;
}

std::optional<HandOverFacts> ReadHandOver(const Bytes& body) {
  Cursor c{body};
  HandOverFacts f;
  uint32_t players = c.Word();
  f.hand = c.Int();
  f.seriesValue = c.Word();
  f.seriesOver = c.Word() != 0;
  c.Word();
  c.Word();
  if (players > 4) return std::nullopt;
  f.players = static_cast<int>(players);
  f.change.resize(4);
  f.seriesTotals.resize(4);
  for (int& v : f.change) v = c.Int();
  for (int& v : f.seriesTotals) v = c.Int();
  for (int i = 0; i < 4; ++i) c.Word();
  uint32_t counts[4];
  for (uint32_t& n : counts) n = c.Word();
  if (c.short_) return std::nullopt;
  f.change.resize(players);
  f.seriesTotals.resize(players);
  for (uint32_t s = 0; s < players; ++s) {
    if (counts[s] > c.WordsLeft()) return std::nullopt;
    std::vector<int> hand;
    for (uint32_t i = 0; i < counts[s]; ++i) hand.push_back(c.Int());
    f.left.push_back(hand);
  }
  return f;
}

}  // namespace bodies
}  // namespace tablegame
