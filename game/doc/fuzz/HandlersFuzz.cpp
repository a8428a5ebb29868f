// Arbitrary frames for every game handler, in any order, against a three-player table.
#include <cstdint>
#include <cstring>
#include <vector>

#include "GameDocCore.h"
#include "tests/NullDocHost.h"

namespace {
struct NullHost : CNullDocHost {
  bool SendFrame(const std::vector<uint8_t>&) override { return true; }
  int ShowBoxId(int, uint32_t, int, const std::string&) override { return 6; }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CHANNEL_STATE ch;
  ch.nPlayerCount = 3;
  for (int p = 0; p < 3; ++p) ch.seats[p].wServerSeat = static_cast<uint16_t>(p);
  NullHost host;
  CGameDocCore doc(host.Hosts(), ch);
  doc.AttachTableView(&host);
  doc.LoadSeats();
  CMessageHandlerTable<CGameDocCore> table;
  doc.RegisterMessageHandlers(table);
  // Each record: one byte choosing the handler, two bytes of length, the body.
  size_t pos = 0;
  while (pos + 3 <= size) {
    int which = data[pos] % table.GetCount();
    size_t len = data[pos + 1] | (data[pos + 2] << 8);
    pos += 3;
    if (len > size - pos) len = size - pos;
    uint32_t id = table.GetId(which);
    std::vector<uint8_t> frame(12 + len);
    std::memcpy(&frame[0], &id, 4);
    uint32_t l = static_cast<uint32_t>(len);
    std::memcpy(&frame[4], &l, 4);
    size_t head = (id & 0x80000000u) ? 12 : 8;
    if (head == 12) std::memcpy(&frame[8], data + pos, len >= 4 ? 4 : 0);
    frame.resize(head + len);
    if (len) std::memcpy(&frame[head], data + pos, len);
    table.Dispatch(id, frame.data());
    pos += len;
    for (int p = 0; p < 4; ++p)
      if (doc.Seat(p).nCardCount < 0 || doc.Seat(p).nCardCount > CCardRules::MAX_CARDS ||
          doc.Seat(p).nLastPlayCount < 0 || doc.Seat(p).nLastPlayCount > CCardRules::MAX_CARDS)
        __builtin_trap();
  }
  doc.PlaySelectedCards();
  const CARD_INFO* hint;
  doc.FindHint(&hint);
  return 0;
}
