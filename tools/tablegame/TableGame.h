// The game server's table: deals, runs the bidding, gives the bottom cards, judges
// every play with the client's own card rules, ends the hand with scores and series,
// and plays for bots. Free of sockets: client frames go in, server frames come out.
#pragma once
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace tablegame {

struct OutFrame {
  int toSeat;  // -1: every seat
  uint32_t id;
  uint32_t status;  // the third header word of ids with bit 31
  std::vector<uint8_t> body;
};

struct TableOptions {
  int players = 3;
  uint32_t seed = 1;
  int baseMultiplier = 1;
  bool series = false;
  int handsPerSeries = 3;
};

// Action error codes the server answers refused plays with.
enum {
  ERR_NOT_YOUR_TURN = 201,
  ERR_NOT_IN_HAND = 202,
  ERR_INVALID = 203,
  ERR_NOT_BIGGER = 204,
};

class TableGame {
 public:
  enum Phase { Waiting, Bidding, Playing };

  explicit TableGame(const TableOptions& opt);
  ~TableGame();

  void SetBot(int seat, bool bot);
  // A seat the server only plays for a while (trusteeship) is not made ready for the next hand.
  void SetAutoReady(int seat, bool autoReady) { autoReady_[seat] = autoReady; }
  // The seat's "allow watching" flag, sent with every deal.
  void SetAllowWatching(int seat, bool allow) { allow_[seat] = allow ? 1 : 0; }
  bool AllowsWatching(int seat) const { return allow_[seat] != 0; }
  // While held (a complaint is being decided) ready seats wait; releasing deals when all are ready.
  void SetHold(bool hold, std::vector<OutFrame>& out);
  // Whether bots deal new hands among themselves when no person holds a seat (they do unless told).
  void SetBotsAlone(bool play) { botsAlone_ = play; }
  bool IsBot(int seat) const { return bots_[seat]; }
  int players() const { return opt_.players; }
  Phase phase() const { return phase_; }
  const std::vector<int>& Hand(int seat) const { return hands_[seat]; }
  int Declarer() const { return declarer_; }
  int Turn() const { return turn_; }
  int HandsPlayed() const { return handNumber_; }
  const std::vector<int>& Scores() const { return totals_; }
  // The running series: hands counted in it so far, its value and its totals per seat.
  int HandsInSeries() const { return handsInSeries_; }
  uint32_t SeriesValue() const { return seriesValue_; }
  const std::vector<int>& SeriesTotals() const { return seriesTotals_; }

  // A client frame (body without header) from a seat; answers go to `out`.
  void OnClientFrame(int seat, uint32_t id, const std::vector<uint8_t>& body, std::vector<OutFrame>& out);
  // Lets the bots act until a human has to (bounded).
  void RunBots(std::vector<OutFrame>& out);

 private:
  struct Rules;
  void Ready(int seat, std::vector<OutFrame>& out);
  void Deal(std::vector<OutFrame>& out);
  void Bid(int seat, int bid, std::vector<OutFrame>& out);
  bool Play(int seat, const std::vector<int>& codes, std::vector<OutFrame>& out);
  void HandOver(std::vector<OutFrame>& out);
  // Bids or plays for the seat as a bot would; false when nothing could be played.
  bool ActFor(int seat, std::vector<OutFrame>& out);
  int BotBid(int seat);
  std::vector<int> BotPlay(int seat);
  int Next(int seat) const { return (seat + 1) % opt_.players; }
  // Bots get ready while a person holds a seat, or always when they may play alone.
  bool BotsMayReady() const;
  bool AllReady() const;

  TableOptions opt_;
  Rules* rules_;
  std::mt19937 rng_;
  Phase phase_ = Waiting;
  std::vector<bool> bots_, ready_, autoReady_;
  std::vector<uint32_t> allow_;
  bool hold_ = false;
  bool botsAlone_ = true;
  int handsInSeries_ = 0;
  std::vector<std::vector<int>> hands_;
  std::vector<int> bottom_;
  std::vector<int> totals_, seriesTotals_;
  int firstBidder_ = 0, turn_ = 0, bidsMade_ = 0, highBid_ = 0, highBidder_ = -1;
  int declarer_ = -1, multiplier_ = 1, lastPlayer_ = -1;
  std::vector<int> lastPlay_;
  int handNumber_ = 0;
  uint32_t seriesValue_ = 0;  // counted from 0: the score board titles a series with value + 1
};

}  // namespace tablegame
