// Bodies of the game messages exchanged at a table: one decoder and one encoder per
// body. A decoder checks every length and count against the bytes received and gives
// nullopt when the body is too short for what it announces; what the values mean (a
// seat that sits at the table, a hand that fits its records) is the document's to judge.
// No windows, no sockets: CVeskDoc's handlers read and build their bodies here.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace gamemsg {

using Bytes = std::vector<uint8_t>;

// Names in game bodies are 8-bit texts in fixed fields of this many bytes.
constexpr size_t kNameField = 20;

// ---- seats and the start of a hand ----

// Server: a seat pressed start. {seat}
struct ReadyNotice {
  uint32_t seat = 0;
};
// Client: {seat, eleven zero words, allows watching}, 52 bytes.
struct ReadyRequest {
  uint32_t seat = 0;
  uint32_t allowWatching = 0;
};
constexpr size_t kReadyRequestSize = 52;

// {allows watching[4], score[4], 0, hints, first bidder, bottom count} then one byte per
// card of the receiving seat's hand: every byte after the 48 is a card.
struct Deal {
  std::array<uint32_t, 4> allowWatching{};
  std::array<uint32_t, 4> score{};
  uint32_t hint = 0;
  uint32_t firstBidder = 0;
  uint32_t bottomCount = 0;
  Bytes cards;
};
constexpr size_t kDealHeadSize = 48;

// {seat, allows watching, card count} then, for a watcher, that many card bytes. The
// cards are there only when the body holds all of them.
struct WatchPermission {
  uint32_t seat = 0;
  uint32_t allow = 0;
  uint32_t count = 0;
  std::optional<Bytes> cards;
};

// {quiet close}: the server asks for the watch permission again.
struct AskWatchPermission {
  uint32_t quiet = 0;
};

// One word per seat: the leave requests each has left.
struct SeatValues {
  std::array<uint32_t, 4> value{};
};

// {0, count} then count × {name[20], state}.
struct PlayerState {
  std::string name;
  uint32_t state = 0;
};
struct PlayerStates {
  std::vector<PlayerState> players;
};

// ---- bidding ----

// Server: {next bidder or -1 when the bidding is over, state, declarer, the bid made}.
struct BidNotice {
  int32_t next = -1;
  uint32_t state = 0;
  uint32_t declarer = 0;
  uint32_t bid = 0;
};
// Client: {-1, bid, -1, 0}.
struct BidRequest {
  uint32_t bid = 0;
};

// {count, declarer} then count card codes as words.
struct BottomCards {
  uint32_t declarer = 0;
  std::vector<uint32_t> codes;
};

// ---- play ----

// Both ways: {seat, next seat or -1, count, multiplier} then count card codes as words.
// The client sends next -1 and multiplier 0; an empty list is a pass.
struct Play {
  uint32_t seat = 0;
  int32_t next = -1;
  uint32_t multiplier = 0;
  std::vector<uint32_t> codes;
};

// The declarer's hand shown to all: the header status is the new multiplier, the body
// one byte per card.
struct ShowCards {
  uint32_t multiplier = 0;
  Bytes cards;
};

// The header status names the seat the error is for; {code}.
struct ActionError {
  uint32_t seat = 0;
  uint32_t code = 0;
};

// {milliseconds}
struct Pause {
  uint32_t ms = 0;
};

// {seat}: the client's clock ran out where it may not pass.
struct Timeout {
  uint32_t seat = 0;
};

// ---- the end of a hand ----

// {players, hand number, series value, series over, 0, 0, change[4], series total[4],
// 0[4], cards left[4]} then, seat by seat below `players`, the cards left as words.
struct HandOver {
  uint32_t players = 0;
  uint32_t hand = 0;
  uint32_t seriesValue = 0;
  uint32_t seriesOver = 0;
  std::array<int32_t, 4> change{};
  std::array<int32_t, 4> seriesTotal{};
  std::vector<std::vector<int32_t>> remaining;  // one list per seat below `players`
};
constexpr size_t kHandOverHeadSize = 88;

// ---- leaving ----

// Both ways: {seat, value}. The client asks with value 0.
struct LeaveRequest {
  uint32_t seat = 0;
  uint32_t value = 0;
};
// Both ways: {seat, value, agrees}. The confirmation the client sends has the same
// three words: {seat, value, leave anyway}.
struct LeaveAnswer {
  uint32_t seat = 0;
  uint32_t value = 0;
  uint32_t agree = 0;
};

// ---- table services ----

// Client: {mode, own name[20]}.
struct TrusteeshipRequest {
  uint32_t mode = 0;
  std::string name;
};

// Client: {own name[20], accused[20], 0 ..., reason at 140}, 404 bytes.
struct Complaint {
  std::string name;
  std::string accused;
  std::string reason;
};
constexpr size_t kComplaintSize = 404;
constexpr size_t kComplaintReasonAt = 140;

// The complaint prompt and result go to the complaint window as whole frames; a body
// shorter than its two leading words is refused.
constexpr size_t kComplaintMinSize = 8;

// {0, text}: the skin data text, zero-terminated or running to the end.
struct NetSkinData {
  std::string text;
};

// {flag, text}
struct ButtonText {
  uint32_t flag = 0;
  std::string text;
};

// The table notice: a text, zero-terminated or running to the end.
struct Notice {
  std::string text;
};

// Four bytes, one per seat.
struct SeatFlags {
  std::array<uint8_t, 4> flags{};
};

// A name of at most 20 bytes (fewer when the body is shorter).
struct HostName {
  std::string name;
};

// ---- decoders (body without its header) ----
std::optional<ReadyNotice> DecodeReadyNotice(const uint8_t* body, size_t size);
std::optional<ReadyRequest> DecodeReadyRequest(const uint8_t* body, size_t size);
std::optional<Deal> DecodeDeal(const uint8_t* body, size_t size);
std::optional<WatchPermission> DecodeWatchPermission(const uint8_t* body, size_t size);
std::optional<AskWatchPermission> DecodeAskWatchPermission(const uint8_t* body, size_t size);
std::optional<SeatValues> DecodeSeatValues(const uint8_t* body, size_t size);
std::optional<PlayerStates> DecodePlayerStates(const uint8_t* body, size_t size);
std::optional<BidNotice> DecodeBidNotice(const uint8_t* body, size_t size);
std::optional<BidRequest> DecodeBidRequest(const uint8_t* body, size_t size);
std::optional<BottomCards> DecodeBottomCards(const uint8_t* body, size_t size);
std::optional<Play> DecodePlay(const uint8_t* body, size_t size);
std::optional<ShowCards> DecodeShowCards(uint32_t status, const uint8_t* body, size_t size);
std::optional<ActionError> DecodeActionError(uint32_t status, const uint8_t* body, size_t size);
std::optional<Pause> DecodePause(const uint8_t* body, size_t size);
std::optional<Timeout> DecodeTimeout(const uint8_t* body, size_t size);
std::optional<HandOver> DecodeHandOver(const uint8_t* body, size_t size);
std::optional<LeaveRequest> DecodeLeaveRequest(const uint8_t* body, size_t size);
std::optional<LeaveAnswer> DecodeLeaveAnswer(const uint8_t* body, size_t size);
std::optional<TrusteeshipRequest> DecodeTrusteeshipRequest(const uint8_t* body, size_t size);
std::optional<Complaint> DecodeComplaint(const uint8_t* body, size_t size);
std::optional<NetSkinData> DecodeNetSkinData(const uint8_t* body, size_t size);
std::optional<ButtonText> DecodeButtonText(const uint8_t* body, size_t size);
std::optional<Notice> DecodeNotice(const uint8_t* body, size_t size);
std::optional<SeatFlags> DecodeSeatFlags(const uint8_t* body, size_t size);
std::optional<HostName> DecodeHostName(const uint8_t* body, size_t size);

// ---- encoders ----
Bytes Encode(const ReadyNotice& m);
Bytes Encode(const ReadyRequest& m);
Bytes Encode(const Deal& m);
Bytes Encode(const WatchPermission& m);
Bytes Encode(const AskWatchPermission& m);
Bytes Encode(const SeatValues& m);
Bytes Encode(const PlayerStates& m);
Bytes Encode(const BidNotice& m);
Bytes Encode(const BidRequest& m);
Bytes Encode(const BottomCards& m);
Bytes Encode(const Play& m);
Bytes Encode(const ShowCards& m);    // the body; the multiplier travels in the header
Bytes Encode(const ActionError& m);  // the body; the seat travels in the header
Bytes Encode(const Pause& m);
Bytes Encode(const Timeout& m);
Bytes Encode(const HandOver& m);
Bytes Encode(const LeaveRequest& m);
Bytes Encode(const LeaveAnswer& m);
Bytes Encode(const TrusteeshipRequest& m);
Bytes Encode(const Complaint& m);
Bytes Encode(const NetSkinData& m);
Bytes Encode(const ButtonText& m);
Bytes Encode(const Notice& m);
Bytes Encode(const SeatFlags& m);
Bytes Encode(const HostName& m);

}  // namespace gamemsg
