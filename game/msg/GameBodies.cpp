#include "GameBodies.h"

#include <tuple>

#include "WireBytes.h"

namespace gamemsg {

namespace {

// `count` words follow: refused unless the body holds all of them (no multiplication
// that a huge count could wrap).
bool ReadWords(wire::Reader& r, uint32_t count, std::vector<uint32_t>* out) {
  if (count > r.remaining() / 4) return false;
  out->resize(count);
  for (auto& w : *out) r.U32(&w);
  return r.ok();
}

Bytes Rest(const wire::Reader& r) { return Bytes(r.here(), r.here() + r.remaining()); }

void PutWords(wire::Writer& w, const std::vector<uint32_t>& words) {
  for (uint32_t x : words) w.U32(x);
}

template <class T>
std::optional<T> Done(const wire::Reader& r, T&& m) {
  if (!r.ok()) return std::nullopt;
  return std::optional<T>(std::move(m));
}

// Bodies made of words only are described once, as the list of their members in body
// order; the one list serves the decoder and the encoder.
void Get(wire::Reader& r, uint32_t& v) { r.U32(&v); }
void Get(wire::Reader& r, int32_t& v) { r.I32(&v); }
template <class W, size_t N>
void Get(wire::Reader& r, std::array<W, N>& a) {
  for (auto& x : a) Get(r, x);
}
void Put(wire::Writer& w, uint32_t v) { w.U32(v); }
void Put(wire::Writer& w, int32_t v) { w.I32(v); }
template <class W, size_t N>
void Put(wire::Writer& w, const std::array<W, N>& a) {
  for (auto x : a) Put(w, x);
}

template <class T, class Layout>
std::optional<T> DecodeWords(const uint8_t* body, size_t size, const Layout& layout) {
  wire::Reader r(body, size);
  T m;
  std::apply([&](auto... member) { (Get(r, m.*member), ...); }, layout);
  return Done(r, std::move(m));
}

template <class T, class Layout>
Bytes EncodeWords(const T& m, const Layout& layout) {
  wire::Writer w;
  std::apply([&](auto... member) { (Put(w, m.*member), ...); }, layout);
  return w.Take();
}

const auto kReadyNotice = std::make_tuple(&ReadyNotice::seat);
const auto kAskWatchPermission = std::make_tuple(&AskWatchPermission::quiet);
const auto kSeatValues = std::make_tuple(&SeatValues::value);
const auto kBidNotice = std::make_tuple(&BidNotice::next, &BidNotice::state, &BidNotice::declarer, &BidNotice::bid);
const auto kActionError = std::make_tuple(&ActionError::code);
const auto kPause = std::make_tuple(&Pause::ms);
const auto kTimeout = std::make_tuple(&Timeout::seat);
const auto kLeaveRequest = std::make_tuple(&LeaveRequest::seat, &LeaveRequest::value);
const auto kLeaveAnswer = std::make_tuple(&LeaveAnswer::seat, &LeaveAnswer::value, &LeaveAnswer::agree);

}  // namespace

// ---- seats and the start of a hand ----

std::optional<ReadyNotice> DecodeReadyNotice(const uint8_t* body, size_t size) {
  return DecodeWords<ReadyNotice>(body, size, kReadyNotice);
}

Bytes Encode(const ReadyNotice& m) { return EncodeWords(m, kReadyNotice); }

std::optional<ReadyRequest> DecodeReadyRequest(const uint8_t* body, size_t size) {
  wire::Reader r(body, size);
  ReadyRequest m;
  r.U32(&m.seat);
  r.Skip(44);
  r.U32(&m.allowWatching);
  return Done(r, std::move(m));
}

Bytes Encode(const ReadyRequest& m) {
  wire::Writer w;
  w.U32(m.seat);
  for (int i = 0; i < 11; ++i) w.U32(0);
  w.U32(m.allowWatching);
  return w.Take();
}

std::optional<Deal> DecodeDeal(const uint8_t* body, size_t size) {
  wire::Reader r(body, size);
  Deal m;
  for (auto& a : m.allowWatching) r.U32(&a);
  for (auto& s : m.score) r.U32(&s);
  r.Skip(4);
  r.U32(&m.hint);
  r.U32(&m.firstBidder);
  r.U32(&m.bottomCount);
  if (!r.ok()) return std::nullopt;
  m.cards = Rest(r);
  return m;
}

Bytes Encode(const Deal& m) {
  wire::Writer w;
  for (uint32_t a : m.allowWatching) w.U32(a);
  for (uint32_t s : m.score) w.U32(s);
  w.U32(0);
  w.U32(m.hint);
  w.U32(m.firstBidder);
  w.U32(m.bottomCount);
  w.Bytes(m.cards.data(), m.cards.size());
  return w.Take();
}

std::optional<WatchPermission> DecodeWatchPermission(const uint8_t* body, size_t size) {
  wire::Reader r(body, size);
  WatchPermission m;
  r.U32(&m.seat);
  r.U32(&m.allow);
  r.U32(&m.count);
  if (!r.ok()) return std::nullopt;
  if (m.count <= r.remaining()) m.cards = Bytes(r.here(), r.here() + m.count);
  return m;
}

Bytes Encode(const WatchPermission& m) {
  wire::Writer w;
  w.U32(m.seat);
  w.U32(m.allow);
  if (m.cards) {
    w.U32(static_cast<uint32_t>(m.cards->size()));
    w.Bytes(m.cards->data(), m.cards->size());
  } else {
    w.U32(m.count);
  }
  return w.Take();
}

std::optional<AskWatchPermission> DecodeAskWatchPermission(const uint8_t* body, size_t size) {
  return DecodeWords<AskWatchPermission>(body, size, kAskWatchPermission);
}

Bytes Encode(const AskWatchPermission& m) { return EncodeWords(m, kAskWatchPermission); }

std::optional<SeatValues> DecodeSeatValues(const uint8_t* body, size_t size) {
  return DecodeWords<SeatValues>(body, size, kSeatValues);
}

Bytes Encode(const SeatValues& m) { return EncodeWords(m, kSeatValues); }

std::optional<PlayerStates> DecodePlayerStates(const uint8_t* body, size_t size) {
  constexpr size_t kEntry = kNameField + 4;
  wire::Reader r(body, size);
  uint32_t count = 0;
  if (!r.Skip(4) || !r.U32(&count) || count > r.remaining() / kEntry) return std::nullopt;
  PlayerStates m;
  m.players.resize(count);
  for (auto& p : m.players) {
    r.Field(kNameField, &p.name);
    r.U32(&p.state);
  }
  return Done(r, std::move(m));
}

Bytes Encode(const PlayerStates& m) {
  wire::Writer w;
  w.U32(0);
  w.U32(static_cast<uint32_t>(m.players.size()));
  for (const auto& p : m.players) {
    w.Field(p.name, kNameField);
    w.U32(p.state);
  }
  return w.Take();
}

// ---- bidding ----

std::optional<BidNotice> DecodeBidNotice(const uint8_t* body, size_t size) {
  return DecodeWords<BidNotice>(body, size, kBidNotice);
}

Bytes Encode(const BidNotice& m) { return EncodeWords(m, kBidNotice); }

std::optional<BidRequest> DecodeBidRequest(const uint8_t* body, size_t size) {
  wire::Reader r(body, size);
  BidRequest m;
  r.Skip(4);
  r.U32(&m.bid);
  r.Skip(8);
  return Done(r, std::move(m));
}

Bytes Encode(const BidRequest& m) {
  wire::Writer w;
  w.I32(-1);
  w.U32(m.bid);
  w.I32(-1);
  w.U32(0);
  return w.Take();
}

std::optional<BottomCards> DecodeBottomCards(const uint8_t* body, size_t size) {
  wire::Reader r(body, size);
  BottomCards m;
  uint32_t count = 0;
  if (!r.U32(&count) || !r.U32(&m.declarer) || !ReadWords(r, count, &m.codes)) return std::nullopt;
  return m;
}

Bytes Encode(const BottomCards& m) {
  wire::Writer w;
  w.U32(static_cast<uint32_t>(m.codes.size()));
  w.U32(m.declarer);
  PutWords(w, m.codes);
  return w.Take();
}

// ---- play ----

std::optional<Play> DecodePlay(const uint8_t* body, size_t size) {
  wire::Reader r(body, size);
  Play m;
  uint32_t count = 0;
  if (!r.U32(&m.seat) || !r.I32(&m.next) || !r.U32(&count) || !r.U32(&m.multiplier) || !ReadWords(r, count, &m.codes))
    return std::nullopt;
  return m;
}

Bytes Encode(const Play& m) {
  wire::Writer w;
  w.U32(m.seat);
  w.I32(m.next);
  w.U32(static_cast<uint32_t>(m.codes.size()));
  w.U32(m.multiplier);
  PutWords(w, m.codes);
  return w.Take();
}

std::optional<ShowCards> DecodeShowCards(uint32_t status, const uint8_t* body, size_t size) {
  ShowCards m;
  m.multiplier = status;
  if (size) m.cards.assign(body, body + size);
  return m;
}

Bytes Encode(const ShowCards& m) { return m.cards; }

std::optional<ActionError> DecodeActionError(uint32_t status, const uint8_t* body, size_t size) {
  auto m = DecodeWords<ActionError>(body, size, kActionError);
  if (m) m->seat = status;
  return m;
}

Bytes Encode(const ActionError& m) { return EncodeWords(m, kActionError); }

std::optional<Pause> DecodePause(const uint8_t* body, size_t size) { return DecodeWords<Pause>(body, size, kPause); }

Bytes Encode(const Pause& m) { return EncodeWords(m, kPause); }

std::optional<Timeout> DecodeTimeout(const uint8_t* body, size_t size) {
  return DecodeWords<Timeout>(body, size, kTimeout);
}

Bytes Encode(const Timeout& m) { return EncodeWords(m, kTimeout); }

// ---- the end of a hand ----

std::optional<HandOver> DecodeHandOver(const uint8_t* body, size_t size) {
  wire::Reader r(body, size);
  HandOver m;
  std::array<uint32_t, 4> left{};
  r.U32(&m.players);
  r.U32(&m.hand);
  r.U32(&m.seriesValue);
  r.U32(&m.seriesOver);
  r.Skip(8);
  for (auto& c : m.change) r.I32(&c);
  for (auto& s : m.seriesTotal) r.I32(&s);
  r.Skip(16);
  for (auto& c : left) r.U32(&c);
  if (!r.ok() || m.players > 4) return std::nullopt;
  // Every announced card must be in the body (summed wide: four counts cannot wrap).
  uint64_t total = 0;
  for (uint32_t s = 0; s < m.players; ++s) total += left[s];
  if (total > r.remaining() / 4) return std::nullopt;
  m.remaining.resize(m.players);
  for (uint32_t s = 0; s < m.players; ++s) {
    m.remaining[s].resize(left[s]);
    for (auto& c : m.remaining[s]) r.I32(&c);
  }
  return Done(r, std::move(m));
}

Bytes Encode(const HandOver& m) {
  wire::Writer w;
  w.U32(m.players);
  w.U32(m.hand);
  w.U32(m.seriesValue);
  w.U32(m.seriesOver);
  w.U32(0);
  w.U32(0);
  for (int32_t c : m.change) w.I32(c);
  for (int32_t s : m.seriesTotal) w.I32(s);
  for (int i = 0; i < 4; ++i) w.U32(0);
  for (size_t s = 0; s < 4; ++s) w.U32(s < m.remaining.size() ? static_cast<uint32_t>(m.remaining[s].size()) : 0);
  for (const auto& hand : m.remaining)
    for (int32_t c : hand) w.I32(c);
  return w.Take();
}

// ---- leaving ----

std::optional<LeaveRequest> DecodeLeaveRequest(const uint8_t* body, size_t size) {
  return DecodeWords<LeaveRequest>(body, size, kLeaveRequest);
}

Bytes Encode(const LeaveRequest& m) { return EncodeWords(m, kLeaveRequest); }

std::optional<LeaveAnswer> DecodeLeaveAnswer(const uint8_t* body, size_t size) {
  return DecodeWords<LeaveAnswer>(body, size, kLeaveAnswer);
}

Bytes Encode(const LeaveAnswer& m) { return EncodeWords(m, kLeaveAnswer); }

// ---- table services ----

std::optional<TrusteeshipRequest> DecodeTrusteeshipRequest(const uint8_t* body, size_t size) {
  wire::Reader r(body, size);
  TrusteeshipRequest m;
  r.U32(&m.mode);
  r.Field(kNameField, &m.name);
  return Done(r, std::move(m));
}

Bytes Encode(const TrusteeshipRequest& m) {
  wire::Writer w;
  w.U32(m.mode);
  w.Field(m.name, kNameField);
  return w.Take();
}

std::optional<Complaint> DecodeComplaint(const uint8_t* body, size_t size) {
  if (size < kComplaintSize) return std::nullopt;
  wire::Reader r(body, size);
  Complaint m;
  r.Field(kNameField, &m.name);
  r.Field(kNameField, &m.accused);
  r.Skip(kComplaintReasonAt - 2 * kNameField);
  r.Field(kComplaintSize - kComplaintReasonAt, &m.reason);
  return Done(r, std::move(m));
}

Bytes Encode(const Complaint& m) {
  wire::Writer w;
  w.Field(m.name, kNameField);
  w.Field(m.accused, kNameField);
  Bytes body = w.Take();
  body.resize(kComplaintReasonAt, 0);
  // The reason keeps a zero before the end of the body.
  size_t room = kComplaintSize - kComplaintReasonAt - 1;
  body.insert(body.end(), m.reason.begin(), m.reason.begin() + (m.reason.size() < room ? m.reason.size() : room));
  body.resize(kComplaintSize, 0);
  return body;
}

std::optional<NetSkinData> DecodeNetSkinData(const uint8_t* body, size_t size) {
  wire::Reader r(body, size);
  NetSkinData m;
  r.Skip(4);
  r.CString(&m.text);
  return Done(r, std::move(m));
}

Bytes Encode(const NetSkinData& m) {
  wire::Writer w;
  w.U32(0);
  w.CString(m.text);
  return w.Take();
}

std::optional<ButtonText> DecodeButtonText(const uint8_t* body, size_t size) {
  wire::Reader r(body, size);
  ButtonText m;
  r.U32(&m.flag);
  r.CString(&m.text);
  return Done(r, std::move(m));
}

Bytes Encode(const ButtonText& m) {
  wire::Writer w;
  w.U32(m.flag);
  w.CString(m.text);
  return w.Take();
}

std::optional<Notice> DecodeNotice(const uint8_t* body, size_t size) {
  wire::Reader r(body, size);
  Notice m;
  r.CString(&m.text);
  return Done(r, std::move(m));
}

Bytes Encode(const Notice& m) {
  wire::Writer w;
  w.CString(m.text);
  return w.Take();
}

std::optional<SeatFlags> DecodeSeatFlags(const uint8_t* body, size_t size) {
  wire::Reader r(body, size);
  SeatFlags m;
  r.Bytes(m.flags.data(), m.flags.size());
  return Done(r, std::move(m));
}

Bytes Encode(const SeatFlags& m) { return Bytes(m.flags.begin(), m.flags.end()); }

std::optional<HostName> DecodeHostName(const uint8_t* body, size_t size) {
  wire::Reader r(body, size);
  HostName m;
  r.Field(size < kNameField ? size : kNameField, &m.name);
  return Done(r, std::move(m));
}

Bytes Encode(const HostName& m) {
  wire::Writer w;
  w.Field(m.name, kNameField);
  return w.Take();
}

}  // namespace gamemsg
