// The table server's own reading and writing of the game bodies it exchanges with the
// clients. Written apart from the client's codec on purpose: both are pinned to the same
// byte fixtures, so a mistake on either side shows up as a difference in bytes.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tablegame {
namespace bodies {

using Bytes = std::vector<uint8_t>;

// ---- what the table sends ----
Bytes ReadyNotice(int seat);
// {allows watching x4, score x4, 0, hints, first bidder, bottom count, one byte per card}
Bytes Deal(const std::vector<uint32_t>& allow, const std::vector<int>& scores, bool hints, int firstBidder,
           int bottomCount, const std::vector<int>& hand);
// {next (or -1 when over), state, declarer (or -1 while bidding), bid}
Bytes BidNotice(int next, uint32_t state, int declarer, int bid);
Bytes BottomCards(int declarer, const std::vector<int>& cards);
// {seat, next (or -1), count, multiplier, codes}
Bytes Play(int seat, int next, uint32_t multiplier, const std::vector<int>& cards);
Bytes ActionError(uint32_t code);

struct HandOverFacts {
  int players = 3;
  int hand = 0;
  uint32_t seriesValue = 0;
  bool seriesOver = false;
  std::vector<int> change, seriesTotals;  // one per seat
  std::vector<std::vector<int>> left;     // cards each seat still holds
};
Bytes HandOver(const HandOverFacts& f);

// ---- what the table reads (nullopt: too short for what it announces) ----
struct PlayRead {
  int seat = 0;
  int next = -1;
  uint32_t multiplier = 0;
  std::vector<int> cards;
};
std::optional<PlayRead> ReadPlay(const Bytes& body);
// The bid of a client's {-1, bid, -1, 0}.
std::optional<int> ReadBid(const Bytes& body);
// The mode word of a trusteeship request {mode, name[20]}.
std::optional<uint32_t> ReadTrusteeshipMode(const Bytes& body);
// The cards of a deal (every byte after the 48 of its head).
std::optional<std::vector<int>> ReadDealCards(const Bytes& body);
struct BottomRead {
  int declarer = 0;
  std::vector<int> cards;
};
std::optional<BottomRead> ReadBottomCards(const Bytes& body);
std::optional<HandOverFacts> ReadHandOver(const Bytes& body);

}  // namespace bodies
}  // namespace tablegame
