// Ticket replies shaped like frames: the input chooses the id's reply bit, the status, how the
// announced length relates to the bytes that came, the ticket number and the text (with or
// without its terminator). The answer must match what the reply says, and a refused reply
// must leave the result untouched.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "ServicesCore.h"

namespace {

struct Reader {
  const uint8_t* p;
  size_t n;
  uint8_t Byte() { return n ? (--n, *p++) : 0; }
  uint32_t U32() { return Byte() | Byte() << 8 | Byte() << 16 | uint32_t(Byte()) << 24; }
};

void Put32(std::vector<uint8_t>& v, size_t at, uint32_t x) {
  for (int i = 0; i < 4; ++i) v[at + i] = uint8_t(x >> (8 * i));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Reader in{data, size};
  uint8_t shape = in.Byte();
  uint32_t id = (shape & 1) ? 0x8000065Bu : 0x0000065Bu;
  uint32_t status = (shape & 2) ? 1 : in.U32();
  uint32_t ticket = in.U32();
  size_t textLen = in.Byte() % 64;
  bool terminated = shape & 4;
  std::vector<uint8_t> body(4 + textLen + (terminated ? 1 : 0), 0);
  Put32(body, 0, ticket);
  for (size_t i = 0; i < textLen; ++i) body[4 + i] = in.Byte();
  // The announced length: exact, shorter, longer than what came, or anything.
  uint32_t length = uint32_t(body.size());
  switch ((shape >> 3) & 3) {
    case 1:
      length = length > 0 ? length - in.Byte() % (length + 1) : 0;
      break;
    case 2:
      length += 1 + in.Byte();
      break;
    case 3:
      length = in.U32();
      break;
  }
  std::vector<uint8_t> frame(12 + body.size());
  Put32(frame, 0, id);
  Put32(frame, 4, length);
  Put32(frame, 8, status);
  std::memcpy(frame.data() + 12, body.data(), body.size());
  size_t cut = (shape & 32) ? in.Byte() % (frame.size() + 1) : frame.size();

  TICKET_RESULT r;
  r.nTicket = -7;
  r.strTicket = "untouched";
  int code = ParseTicketReply(frame.data(), cut, &r);
  bool acceptable = cut >= 12 && (id & 0x80000000u) && status == 1 && length >= 4 && length <= cut - 12;
  if ((code == TICKET_OK) != acceptable) abort();
  if (code != TICKET_OK) {
    if (code != TICKET_BAD_REPLY || r.nTicket != -7 || r.strTicket != "untouched") abort();
    return 0;
  }
  if (uint32_t(r.nTicket) != ticket) abort();
  // The text is what lies before the first zero inside the announced body.
  size_t limit = length - 4, expect = 0;
  while (expect < limit && frame[16 + expect] != 0) ++expect;
  if (r.strTicket.size() != expect || std::memcmp(r.strTicket.data(), frame.data() + 16, expect) != 0) abort();
  return 0;
}
